#include "CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

using testing_support::runCli;

// All three programs print the version of their build, and do so without a display: the editor and the launcher
// answer before they make a window.
TEST(ProgramVersion, EveryProgramPrintsTheProjectVersion) {
    const std::pair<const char*, std::string> programs[] = {
        {"tolvane-cli", TOLVANE_CLI_PATH},
        {"Tolvane", TOLVANE_EDITOR_PATH},
        {"TolvaneManager", TOLVANE_LAUNCHER_PATH},
    };
    for (const auto& [name, path] : programs) {
        SCOPED_TRACE(name);
        const auto run = runCli("--version", true, "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM", path);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, std::string(name) + " " + TOLVANE_PROJECT_VERSION + "\n");
    }
    const auto usage = runCli("--help");
    EXPECT_EQ(usage.exitCode, 0);
    EXPECT_NE(usage.out.find("'tolvane-cli --version' prints the version"), std::string::npos) << usage.out;
}

// Started through links (as from /usr/bin in the package), the tool still finds the catalogs and holiday files of
// the version folder beside its real location: a new German project gets the German holidays and German texts.
TEST(ProgramLocation, AProgramStartedThroughLinksFindsItsDataFolders) {
    const fs::path dir = fs::temp_directory_path() / ("tolvane-links-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "bin");
    fs::create_symlink(fs::path(TOLVANE_CLI_PATH), dir / "bin" / "real-link");
    fs::create_symlink("real-link", dir / "bin" / "tolvane-cli");

    const auto direct = runCli("new '" + (dir / "direct.tpm").string() + "' --lang Deutsch");
    ASSERT_EQ(direct.exitCode, 0) << direct.out;
    const auto linked =
        runCli("new '" + (dir / "linked.tpm").string() + "' --lang Deutsch", true, "", (dir / "bin" / "tolvane-cli"));
    ASSERT_EQ(linked.exitCode, 0) << linked.out;

    const auto expected = runCli("info '" + (dir / "direct.tpm").string() + "'");
    const auto info = runCli("info '" + (dir / "linked.tpm").string() + "'", true, "", dir / "bin" / "tolvane-cli");
    EXPECT_EQ(info.out, expected.out);
    EXPECT_EQ(info.out.find("holidays: 0\n"), std::string::npos) << info.out;

    // The project check's descriptions come from the German catalog through the link as well.
    const std::string check = "validate '" + (dir / "linked.tpm").string() + "' --lang ";
    const auto german = runCli(check + "Deutsch", true, "", dir / "bin" / "tolvane-cli");
    EXPECT_EQ(german.out, runCli(check + "Deutsch").out);
    EXPECT_NE(german.out, runCli(check + "English").out);
    EXPECT_EQ(german.out.find("---"), std::string::npos) << german.out;
    fs::remove_all(dir);
}

} // namespace
} // namespace tolvane
