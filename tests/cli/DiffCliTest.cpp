#include "CliRunner.h"
#include "TestFiles.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

using testing_support::readFile;
using testing_support::runCli;
using testing_support::writeFile;

// The example tower, and a copy of it where the first weekly program rings an hour later and bell 2 runs up
// a second longer; a card folder written from the example.
class DiffCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tolvane-diff-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "card");
        fs::copy_file(TOLVANE_EXAMPLE_PROJECT, dir / "parish.tpm");
        auto opened = projectfile::open(readFile(dir / "parish.tpm"));
        ASSERT_TRUE(opened.project);
        ProjectData& p = *opened.project;
        ASSERT_GT(p.program(Weekly).usedCount(), 0);
        const ProgramEntry& first = p.program(Weekly).entry(0);
        firstNumber = first.identifier();
        p.program(Weekly).setTime(0, static_cast<std::uint8_t>((first.hour() + 1) % 24), first.minute(),
                                  first.second());
        runUp = p.bells().record(1).runUpSeconds() + 1;
        p.bells().setRunUpSeconds(1, runUp);
        writeFile(dir / "changed.tpm", projectfile::store(p));
        ASSERT_EQ(runCli("write-card " + path("parish.tpm") + " " + path("card") + " --lang English").exitCode, 0);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return "'" + (dir / name).string() + "'"; }

    fs::path dir;
    int firstNumber = 0;
    int runUp = 0;
};

TEST_F(DiffCli, ExitStatusTellsEqualFromDifferentAsDiffDoes) {
    struct Case {
        std::string a;
        std::string b;
        int exitCode;
    };
    const Case cases[] = {
        {"parish.tpm", "parish.tpm", 0},   {"card", "parish.tpm", 0},     {"parish.tpm", "changed.tpm", 1},
        {"card", "changed.tpm", 1},        {"parish.tpm", "missing.tpm", 2}, {"empty", "parish.tpm", 2},
        {"damaged.tpm", "parish.tpm", 3},
    };
    fs::create_directories(dir / "empty");
    writeFile(dir / "damaged.tpm", std::string_view("TPM1 not a project"));
    for (const Case& c : cases) {
        const auto run = runCli("diff " + path(c.a) + " " + path(c.b) + " --lang English");
        EXPECT_EQ(run.exitCode, c.exitCode) << c.a << " " << c.b << "\n" << run.out;
    }
    EXPECT_EQ(runCli("diff " + path("parish.tpm")).exitCode, 2);
    EXPECT_EQ(runCli("diff " + path("parish.tpm") + " " + path("changed.tpm") + " --format xml").exitCode, 2);
}

TEST_F(DiffCli, TextSaysWhatAWriteWouldChangeInPlainWords) {
    const auto run = runCli("diff " + path("card") + " " + path("changed.tpm") + " --lang English", false);
    EXPECT_EQ(run.exitCode, 1);
    for (const std::string& expected : {
             std::string("Weekly programs\n  Program ") + std::to_string(firstNumber) + ", Time: ",
             std::string("\nController settings\n  Bells, Bell 2, Run-up time [s]: "),
             " -> " + std::to_string(runUp) + "\n",
             std::string("\nDifferences: 2\n"),
         }) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\nin\n" << run.out;
    }
    const auto equal = runCli("diff " + path("card") + " " + path("parish.tpm") + " --lang Deutsch");
    EXPECT_EQ(equal.out, "Keine Unterschiede.\n");
}

TEST_F(DiffCli, TsvAndHtmlCarryTheSameRows) {
    const auto tsv = runCli("diff " + path("parish.tpm") + " " + path("changed.tpm") + " --format tsv --lang English",
                            false);
    EXPECT_EQ(tsv.exitCode, 1);
    const std::string head = "Area\tRecord\tField\tChange\tBefore\tAfter\n";
    ASSERT_EQ(tsv.out.substr(0, head.size()), head) << tsv.out;
    EXPECT_EQ(std::count(tsv.out.begin(), tsv.out.end(), '\n'), 3) << tsv.out;
    EXPECT_NE(tsv.out.find("\nController settings\tBells, Bell 2\tRun-up time [s]\t\t"), std::string::npos) << tsv.out;

    const auto html =
        runCli("diff " + path("parish.tpm") + " " + path("changed.tpm") + " --format html --lang English", false);
    EXPECT_EQ(html.exitCode, 1);
    EXPECT_EQ(html.out.rfind("<html>", 0), 0u) << html.out.substr(0, 200);
    // The printout's style inside the document, which so stands alone on standard output.
    EXPECT_NE(html.out.find("<style type=\"text/css\">"), std::string::npos);
    EXPECT_NE(html.out.find("<td>Bells, Bell 2</td><td>Run-up time [s]</td>"), std::string::npos) << html.out;
    EXPECT_NE(html.out.find("</body></html>"), std::string::npos);
}

} // namespace
} // namespace tolvane
