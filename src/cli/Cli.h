#pragma once

#include <ostream>

namespace tolvane::cli {

// Exit status of every command.
enum Exit : int {
    Success = 0,
    CriticalErrors = 1, // the project has critical errors
    UsageOrIo = 2,      // usage error, or a file that cannot be read or written
    Refused = 3,        // a file refused as damaged, foreign or with a bad checksum
};

// Runs tolvane-cli with its command line; normal output goes to `out`, errors to `err`.
int run(int argc, char** argv, std::ostream& out, std::ostream& err);

} // namespace tolvane::cli
