#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace tolvane::testing_support {

struct CliRun {
    int exitCode = -1;
    std::string out;
};

// The folder the tool uses as its user's home in this test: its settings folder (XDG_CONFIG_HOME) and its data
// folder (XDG_DATA_HOME, where card backups go), so that the tool never reads or writes the user's own. Made on
// first use in a test and removed when the test ends.
inline std::filesystem::path& cliHomeSlot() {
    static std::filesystem::path home;
    return home;
}

inline void removeCliHome() {
    std::filesystem::path& home = cliHomeSlot();
    if (!home.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
        home.clear();
    }
}

// Removes the test's home after every test, whatever the test did.
class CliHomeCleaner final : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { removeCliHome(); }
};

inline const bool cliHomeCleanerInstalled = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new CliHomeCleaner);
    return true;
}();

inline std::filesystem::path cliHome() {
    static_cast<void>(cliHomeCleanerInstalled);
    std::filesystem::path& home = cliHomeSlot();
    if (home.empty()) {
        static int made = 0;
        home = std::filesystem::temp_directory_path() /
               ("tolvane-cli-home-" + std::to_string(getpid()) + "-" + std::to_string(++made));
        std::filesystem::create_directories(home / "config");
        std::filesystem::create_directories(home / "data");
    }
    return home;
}

// The settings folder of this test, so the tool never reads or writes the user's own settings.
inline std::string isolatedConfigHome() {
    return (cliHome() / "config").string();
}

// The user's data folder of this test; card backups are made in "Nesmar/Tolvane/card-backups" below it.
inline std::filesystem::path cliDataHome() {
    return cliHome() / "data";
}

// The settings file the tool reads in that folder (QSettings("Nesmar", "Tolvane") on Linux).
inline std::filesystem::path cliSettingsFile() {
    return std::filesystem::path(isolatedConfigHome()) / "Nesmar" / "Tolvane.conf";
}

// How long the tool may take before the watchdog ends it: a run that hangs fails its test (exit status 137)
// instead of holding the suite up.
constexpr int CliWatchdogSeconds = 120;

// Runs the built tolvane-cli (or `program`, a copy of it) with `args` (already quoted for the shell). Standard
// error is folded into the output unless `withErrors` is false, in which case it is dropped. `before` is shell
// text run first in the same shell (limits, traps).
inline CliRun runCli(const std::string& args, bool withErrors = true, const std::string& before = {},
                     const std::string& program = TOLVANE_CLI_PATH) {
    const std::string command = before + " XDG_CONFIG_HOME='" + isolatedConfigHome() + "' XDG_DATA_HOME='" +
                                cliDataHome().string() + "' timeout -s KILL " + std::to_string(CliWatchdogSeconds) +
                                " '" + program + "' " + args + (withErrors ? " 2>&1" : " 2>/dev/null");
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
