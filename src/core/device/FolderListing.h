#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// The files of one folder that match a simple wildcard (such as the card files "*.dat"), sorted by name, with
// their total size. Sub-folders and the "." and ".." entries are never listed.
struct FolderListing {
    // File names, or full paths when asked for; UTF-8, in ascending byte order of the file name.
    std::vector<std::string> entries;
    // The sum of the sizes of the listed files, in bytes.
    std::uintmax_t totalSize = 0;

    // Lists `folder`. A folder that does not exist or cannot be read gives an empty listing.
    static FolderListing list(const std::filesystem::path& folder, std::string_view pattern, bool fullPaths);
};

// True when `name` matches `pattern`: '*' stands for any run of characters, '?' for exactly one, everything else
// for itself with ASCII letters compared without regard to case (card file systems do not keep case reliably).
// The pattern "*.*" matches every name, as it does on the PC the card files come from.
bool matchesWildcard(std::string_view name, std::string_view pattern);

// The folder part of a path, ending in a separator: the path itself when it already ends in '/' or '\\', else
// everything up to and including the last '/' or '\\'. A bare name without any separator gives an empty text
// (the current folder), never the root.
std::string folderOfPath(std::string_view path);

} // namespace tolvane
