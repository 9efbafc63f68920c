#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tolvane::testing_support {

struct CliRun {
    int exitCode = -1;
    std::string out;
};

// A settings folder of this test process, so the tool never reads or writes the user's own settings.
inline std::string isolatedConfigHome() {
    static const std::string dir = [] {
        const auto path = std::filesystem::temp_directory_path() / ("tolvane-cli-config-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return dir;
}

// The settings file the tool reads in that folder (QSettings("Nesmar", "Tolvane") on Linux).
inline std::filesystem::path cliSettingsFile() {
    return std::filesystem::path(isolatedConfigHome()) / "Nesmar" / "Tolvane.conf";
}

// Runs the built tolvane-cli with `args` (already quoted for the shell). Standard error is folded into the
// output unless `withErrors` is false, in which case it is dropped.
inline CliRun runCli(const std::string& args, bool withErrors = true) {
    const std::string command = "XDG_CONFIG_HOME='" + isolatedConfigHome() + "' '" + TOLVANE_CLI_PATH + "' " + args +
                                (withErrors ? " 2>&1" : " 2>/dev/null");
    CliRun result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return result;
    }
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) {
        result.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The stage folder the tool was built into (its data folders live in the version folder below it).
inline std::filesystem::path stageFolder() {
    return std::filesystem::path(TOLVANE_CLI_PATH).parent_path();
}

} // namespace tolvane::testing_support
