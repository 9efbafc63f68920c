#include "platform/ProgramInformation.h"
#include "platform/AppPaths.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {
namespace {

// Every program prints the version of the build it belongs to. Its first two numbers are the name of the version
// folder the editor lives in, which the launcher looks for and the build stages: a version raised without the
// folder (or the other way round) would start an editor whose version is not the one it prints.
TEST(ProgramInformation, TheVersionIsTheProjectVersion) {
    EXPECT_EQ(programVersion(), TOLVANE_PROJECT_VERSION);
    EXPECT_EQ(versionLine("tolvane-cli"), std::string("tolvane-cli ") + TOLVANE_PROJECT_VERSION + "\n");
    const std::string version(programVersion());
    ASSERT_EQ(std::count(version.begin(), version.end(), '.'), 2) << version;
    EXPECT_EQ(version.substr(0, version.rfind('.')), AppPaths::VersionFolder);
    EXPECT_EQ(QFileInfo(QStringLiteral(TOLVANE_VERSION_DIR)).fileName(), QString::fromLatin1(AppPaths::VersionFolder));
}

// Only --version or --help as the one argument is a request for information; anything else (a project to open, a
// parameter string, more arguments) starts the program as usual.
TEST(ProgramInformation, OnlyALoneVersionOrHelpArgumentIsARequest) {
    const std::string usage = "usage: Tolvane [PROJECT.tpm]\n";
    const std::string version = versionLine("Tolvane");
    struct Case {
        std::vector<const char*> arguments;
        std::optional<std::string> printed;
    };
    const std::vector<Case> cases = {
        {{"Tolvane", "--version"}, version},
        {{"/usr/bin/Tolvane", "--help"}, usage},
        {{"Tolvane"}, std::nullopt},
        {{"Tolvane", "parish.tpm"}, std::nullopt},
        {{"Tolvane", "1.41;new"}, std::nullopt},
        {{"Tolvane", "--version", "parish.tpm"}, std::nullopt},
        {{"Tolvane", "parish.tpm", "--version"}, std::nullopt},
        {{"Tolvane", "-version"}, std::nullopt},
        {{"Tolvane", "--Version"}, std::nullopt},
        {{"Tolvane", "--versions"}, std::nullopt},
        {{"Tolvane", ""}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.size() > 1 ? c.arguments[1] : "(none)");
        std::vector<const char*> argv = c.arguments;
        argv.push_back(nullptr);
        EXPECT_EQ(informationRequested(static_cast<int>(c.arguments.size()), argv.data(), "Tolvane", usage), c.printed);
    }
    EXPECT_EQ(informationRequested(0, nullptr, "Tolvane", usage), std::nullopt);
}

} // namespace
} // namespace tolvane
