#include "CliRunner.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

using RunResult = testing_support::CliRun;

// Standard output only, so the printed folder can be compared whole.
RunResult runCli(const std::string& args) {
    return testing_support::runCli(args, false);
}

using testing_support::writeFile;

// A full card image, 0xFF but for its five-byte tag at 0x10000.
std::string cardImage(const std::string& tag) {
    std::string image(0x10017, '\xFF');
    image.replace(0x10000, tag.size(), tag);
    return image;
}

class DetectCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tolvane-detect-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path folder(const std::string& name) const {
        fs::create_directories(dir / name);
        return dir / name;
    }
    static std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

    fs::path dir;
};

TEST_F(DetectCli, ANewProjectFitsThisEditor) {
    const fs::path project = dir / "tower 1.tpm";
    ASSERT_EQ(runCli("new " + quoted(project)).exitCode, 0);
    const RunResult detected = runCli("detect " + quoted(project));
    EXPECT_EQ(detected.exitCode, 0);
    EXPECT_EQ(detected.out, "1.41\n");
}

TEST_F(DetectCli, PrintsTheFolderOfTheDecidingFile) {
    const fs::path onlySeq = folder("only seq");
    writeFile(onlySeq / "seq.dat", cardImage("V3_02"));
    const fs::path withAll = folder("with all");
    writeFile(withAll / "all.dat", std::string("V1_03") + std::string(18, '\0'));
    writeFile(withAll / "programs.dat", cardImage("V1_06"));
    const fs::path project = dir / "old.tpm";
    writeFile(project, std::string("\x18MPT", 4));
    const std::pair<fs::path, std::string> cases[] = {{onlySeq, "3.12\n"}, {withAll, "1.28\n"}, {project, "3.01\n"}};
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(path.string());
        const RunResult detected = runCli("detect " + quoted(path));
        EXPECT_EQ(detected.exitCode, 0);
        EXPECT_EQ(detected.out, expected);
    }
}

TEST_F(DetectCli, NothingRecognisedPrints100WithExitStatus3) {
    const fs::path empty = folder("empty");
    const fs::path format22 = dir / "format22.tpm";
    writeFile(format22, std::string("\x16MPT", 4));
    const fs::path foreign = folder("foreign");
    writeFile(foreign / "programs.dat", cardImage("V0_99"));
    for (const fs::path& path : {empty, format22, foreign}) {
        SCOPED_TRACE(path.string());
        const RunResult detected = runCli("detect " + quoted(path));
        EXPECT_EQ(detected.exitCode, 3);
        EXPECT_EQ(detected.out, "1.00\n");
    }
}

TEST_F(DetectCli, AMissingPathOrAWrongCommandLineIsAUsageError) {
    for (const std::string& args : {"detect " + quoted(dir / "missing"), std::string("detect"),
                                    "detect " + quoted(dir) + " " + quoted(dir), "detect --verbose " + quoted(dir)}) {
        SCOPED_TRACE(args);
        const RunResult detected = runCli(args);
        EXPECT_EQ(detected.exitCode, 2);
        EXPECT_EQ(detected.out, "");
    }
}

} // namespace
} // namespace tolvane
