#include "card/CardFolder.h"

namespace tolvane::card {

FolderReadResult readCardFolder(ProjectData& project, const std::string& folder, const CardFileSystem& files) {
    for (FileKind kind : {FileKind::Programs, FileKind::Sequences, FileKind::Config, FileKind::Chimes}) {
        const std::string path = joinPath(folder, fileName(kind));
        const bool optional = kind == FileKind::Programs || kind == FileKind::Sequences;
        if (optional && !files.exists(path)) {
            continue;
        }
        const ReadResult read = readCardFile(project, kind, path, files);
        if (!read.ok) {
            return {false, read.text, path};
        }
    }
    project.sortSchedulesByTime();
    return {true, 0, {}};
}

} // namespace tolvane::card
