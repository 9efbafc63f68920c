#include "ProgramInformation.h"

namespace tolvane {

std::string_view programVersion() {
    return TOLVANE_VERSION;
}

std::string versionLine(std::string_view program) {
    std::string line(program);
    line += ' ';
    line += programVersion();
    line += '\n';
    return line;
}

std::optional<std::string> informationRequested(int argc, const char* const* argv, std::string_view program,
                                                std::string_view usage) {
    if (argc != 2 || argv == nullptr || argv[1] == nullptr) {
        return std::nullopt;
    }
    const std::string_view argument = argv[1];
    if (argument == "--version") {
        return versionLine(program);
    }
    if (argument == "--help") {
        return std::string(usage);
    }
    return std::nullopt;
}

} // namespace tolvane
