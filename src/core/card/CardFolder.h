#pragma once

#include "card/CardFiles.h"

#include <string>

namespace tolvane::card {

// What reading a folder of card files did: `ok` when every file present was read; else the path of the file
// that was refused and the text number of why.
struct FolderReadResult {
    bool ok = false;
    int text = 0;
    std::string path;
};

// Reads a folder of card files into a project as the editor does when it starts from a card: programs.dat and
// seq.dat when present, then config.dat (required), then kur.bin when present; the dated schedules are then put
// in time order, as their pages list them. Stops at the first file refused.
FolderReadResult readCardFolder(ProjectData& project, const std::string& folder, const CardFileSystem& files);

} // namespace tolvane::card
