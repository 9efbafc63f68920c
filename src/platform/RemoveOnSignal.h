#pragma once

#include "NativeFile.h"

namespace tolvane {

// Keeps a temporary file or working folder from outliving the process. While a RemoveOnSignal holds a path, ending
// the process with SIGINT, SIGTERM or SIGHUP removes it first (files, then folders, which by then hold nothing of
// ours), and the signal then ends the process as it would have. SIGQUIT, SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM and
// SIGXFSZ (a file-size limit) are handled alike. Normal paths remove their own files; this covers
// the user pressing Ctrl+C or a system shutting the program down in the middle of a write.
//
// The handler is installed on the first use, and only for signals whose handling nobody else has changed. A
// bounded number of paths is guarded at once; a path beyond that, or longer than the system's limit, is not.
// On Windows nothing is guarded.
class RemoveOnSignal {
public:
    enum class Kind { File, Folder };

    RemoveOnSignal() = default;
    RemoveOnSignal(const NativePath& path, Kind kind);
    ~RemoveOnSignal();
    RemoveOnSignal(RemoveOnSignal&& other) noexcept;
    RemoveOnSignal& operator=(RemoveOnSignal&& other) noexcept;
    RemoveOnSignal(const RemoveOnSignal&) = delete;
    RemoveOnSignal& operator=(const RemoveOnSignal&) = delete;

    // Stops guarding the path (it is then in place, or removed by its owner).
    void release();
    bool guarding() const { return slot_ >= 0; }

private:
    int slot_ = -1;
};

} // namespace tolvane
