#include "CliRunner.h"
#include "TestFiles.h"
#include "platform/Languages.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

using RunResult = testing_support::CliRun;
using testing_support::readFile;
using testing_support::runCli;
using testing_support::writeFile;

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tolvane-cli-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return "'" + (dir / name).string() + "'"; }

    fs::path dir;
};

TEST_F(Cli, NewProjectIsAFullProjectFileAndInfoDescribesIt) {
    ASSERT_EQ(runCli("new " + path("a.tpm") + " --lang English").exitCode, 0);
    EXPECT_EQ(fs::file_size(dir / "a.tpm"), 121663u);
    const RunResult info = runCli("info " + path("a.tpm"));
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_EQ(info.out, "firmware: V1_41\nboot: 00000\nserial: 000000\nweekly: 0\nholiday-day: 0\nannual: 0\n"
                        "one-time: 0\nfuneral: 8\nspecial: 3\nholidays: 0\nsequences: 1\nchimes: 0\n");
}

TEST_F(Cli, NewRefusesToReplaceAnExistingFileUnlessForced) {
    writeFile(dir / "a.tpm", {1, 2, 3});
    EXPECT_EQ(runCli("new " + path("a.tpm")).exitCode, 2);
    EXPECT_EQ(readFile(dir / "a.tpm"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(runCli("new " + path("a.tpm") + " --force").exitCode, 0);
    EXPECT_EQ(fs::file_size(dir / "a.tpm"), 121663u);
}

TEST_F(Cli, NewSetsTheControllerLanguageOfTheEditorLanguage) {
    for (const auto& [lang, expected] : {std::pair{"Polski", 0}, {"Deutsch", 1}, {"Francais", 3}}) {
        SCOPED_TRACE(lang);
        ASSERT_EQ(runCli("new " + path("l.tpm") + " --force --lang " + lang).exitCode, 0);
        auto opened = projectfile::open(readFile(dir / "l.tpm"));
        ASSERT_TRUE(opened.project);
        EXPECT_EQ(opened.project->general().controllerLanguage(), expected);
    }
}

TEST_F(Cli, SaveStoresTheSameBytesAgain) {
    ProjectData project;
    project.identity().setSerial("424242");
    writeFile(dir / "in.tpm", projectfile::store(project));
    ASSERT_EQ(runCli("save " + path("in.tpm") + " " + path("out.tpm")).exitCode, 0);
    EXPECT_EQ(readFile(dir / "out.tpm"), readFile(dir / "in.tpm"));
}

TEST_F(Cli, ValidateListsIssuesAndExitsOneOnCriticalErrors) {
    ProjectData project;
    project.general().setUserCode(2468); // codes of the tower's own: no notes
    project.general().setServiceCode(1357);
    project.amplifier().setU16(0, 0x0000); // switching on, no amplifier relay: a warning
    writeFile(dir / "warn.tpm", projectfile::store(project));
    // Descriptions and places in the chosen language, straight from its catalog.
    Languages english(QString::fromStdString((testing_support::stageFolder() / "1.41" / "Language").string()));
    ASSERT_TRUE(english.setLanguage("English").ok);
    const std::string t39 = english.text(448) + "\t" + english.text(411);
    const std::string t37 = english.text(446) + "\t" + english.text(411);
    ASSERT_NE(english.text(448), "---");
    RunResult warn = runCli("validate " + path("warn.tpm") + " --format tsv --lang English");
    EXPECT_EQ(warn.exitCode, 0);
    EXPECT_EQ(warn.out, "1\t39\t0\t13\t" + t39 + "\n");

    project.amplifier().setU16(2, 0); // lead time 0: critical
    writeFile(dir / "bad.tpm", projectfile::store(project));
    RunResult bad = runCli("validate --lang=English " + path("bad.tpm") + " --format tsv");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, "0\t37\t0\t13\t" + t37 + "\n1\t39\t0\t13\t" + t39 + "\n");

    RunResult text = runCli("--lang English validate " + path("bad.tpm"));
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_NE(text.out.find("critical: " + english.text(446) + " (" + english.text(411) + ") [code 37]"),
              std::string::npos);
    EXPECT_NE(text.out.find("2 issues: 1 critical, 1 warnings, 0 notes"), std::string::npos);
}

TEST_F(Cli, ExitStatusTellsUsageErrorsUnreadableAndDamagedFilesApart) {
    writeFile(dir / "format22.tpm", {0x16, 0x4D, 0x50, 0x54});
    writeFile(dir / "cut.tpm", {0x17, 0x4D, 0x50, 0x54, 22, 0});
    const std::pair<std::string, int> cases[] = {
        {"", 2},
        {"frobnicate", 2},
        {"info", 2},
        {"validate " + path("format22.tpm") + " --format xml", 2},
        {"info " + path("missing.tpm"), 2},
        {"info " + path("format22.tpm"), 3},
        {"validate " + path("cut.tpm"), 3},
        {"save " + path("cut.tpm") + " " + path("out.tpm"), 3},
        {"--help", 0},
        {"info --help", 0},
    };
    for (const auto& [args, code] : cases) {
        SCOPED_TRACE(args);
        const RunResult r = runCli(args);
        EXPECT_EQ(r.exitCode, code);
        EXPECT_FALSE(r.out.empty());
    }
    EXPECT_FALSE(fs::exists(dir / "out.tpm"));
}

TEST_F(Cli, RefusalNamesTheTextNumber) {
    writeFile(dir / "format22.tpm", {0x16, 0x4D, 0x50, 0x54});
    const RunResult r = runCli("info " + path("format22.tpm") + " --lang English");
    Languages english(QString::fromStdString((testing_support::stageFolder() / "1.41" / "Language").string()));
    ASSERT_TRUE(english.setLanguage("English").ok);
    EXPECT_NE(r.out.find(english.text(319) + " (text 319)"), std::string::npos) << r.out;
}

TEST_F(Cli, SaveIntoAMissingFolderFailsWithoutCreatingAnything) {
    ASSERT_EQ(runCli("new " + path("a.tpm")).exitCode, 0);
    const RunResult r = runCli("save " + path("a.tpm") + " " + path("no/such/folder/b.tpm"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.out.find("cannot write"), std::string::npos);
}

} // namespace
} // namespace tolvane

namespace tolvane {
namespace {

TEST_F(Cli, WriteCardThenReadCardGivesTheSameProject) {
    ProjectData project;
    project.identity().setFormatTag("V1_06");
    project.identity().setSerial("271828");
    project.program(Weekly).addItem();
    project.chimes().setName(2, "Gaude Mater");
    writeFile(dir / "in.tpm", projectfile::store(project));
    fs::create_directories(dir / "card");

    const RunResult written = runCli("write-card " + path("in.tpm") + " " + path("card"));
    EXPECT_EQ(written.exitCode, 0) << written.out;
    for (const char* name : {"programs.dat", "config.dat", "seq.dat"}) {
        EXPECT_EQ(fs::file_size(dir / "card" / name), 65559u) << name;
    }
    EXPECT_EQ(fs::file_size(dir / "card" / "kur.bin"), 9600u);

    const RunResult read = runCli("read-card " + path("card") + " " + path("out.tpm"));
    ASSERT_EQ(read.exitCode, 0) << read.out;
    auto back = projectfile::open(readFile(dir / "out.tpm"));
    ASSERT_TRUE(back.project);
    EXPECT_EQ(back.project->identity().serial(), "271828");
    EXPECT_EQ(back.project->program(Weekly).usedCount(), 1);
    EXPECT_EQ(back.project->chimes().name(2), "Gaude Mater");
}

TEST_F(Cli, WriteCardWritesOnlyWhatItIsAskedFor) {
    ASSERT_EQ(runCli("new " + path("a.tpm")).exitCode, 0);
    fs::create_directories(dir / "card");
    EXPECT_EQ(runCli("write-card " + path("a.tpm") + " " + path("card") + " --only chimes,config").exitCode, 0);
    EXPECT_TRUE(fs::exists(dir / "card" / "kur.bin"));
    EXPECT_TRUE(fs::exists(dir / "card" / "config.dat"));
    EXPECT_FALSE(fs::exists(dir / "card" / "programs.dat"));
    EXPECT_EQ(runCli("write-card " + path("a.tpm") + " " + path("card") + " --only bells").exitCode, 2);
    EXPECT_EQ(runCli("write-card " + path("a.tpm") + " " + path("nowhere")).exitCode, 2);
}

TEST_F(Cli, WriteCardRefusesTheCheckedFilesOfAProjectWithCriticalErrors) {
    ProjectData project;
    project.amplifier().setU16(4, 99); // switch-off delay out of range: critical
    writeFile(dir / "bad.tpm", projectfile::store(project));
    fs::create_directories(dir / "card");
    const RunResult r = runCli("write-card " + path("bad.tpm") + " " + path("card"));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("text 459"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "card" / "programs.dat"));
    EXPECT_FALSE(fs::exists(dir / "card" / "config.dat"));
    EXPECT_FALSE(fs::exists(dir / "card" / "seq.dat"));
}

TEST_F(Cli, ReadCardStopsAtARefusedFileAndWritesNoProject) {
    ASSERT_EQ(runCli("new " + path("a.tpm")).exitCode, 0);
    fs::create_directories(dir / "card");
    ASSERT_EQ(runCli("write-card " + path("a.tpm") + " " + path("card")).exitCode, 0);

    auto bytes = readFile(dir / "card" / "seq.dat");
    bytes[10] ^= 0xFF;
    writeFile(dir / "card" / "seq.dat", bytes);
    RunResult r = runCli("read-card " + path("card") + " " + path("out.tpm"));
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.out.find("text 584"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "out.tpm"));

    // Without programs.dat and seq.dat the configuration alone is enough; without config.dat nothing is.
    fs::remove(dir / "card" / "seq.dat");
    fs::remove(dir / "card" / "programs.dat");
    EXPECT_EQ(runCli("read-card " + path("card") + " " + path("out.tpm")).exitCode, 0);
    fs::remove(dir / "card" / "config.dat");
    r = runCli("read-card " + path("card") + " " + path("other.tpm"));
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.out.find("text 194"), std::string::npos);
}

} // namespace
} // namespace tolvane

namespace tolvane {
namespace {

TEST_F(Cli, NewProjectTakesTheCountrysHolidaysFromTheDataFolder) {
    for (const char* lang : {"Polski", "Deutsch", "Francais"}) {
        SCOPED_TRACE(lang);
        ASSERT_EQ(runCli("new " + path("h.tpm") + " --force --lang " + lang).exitCode, 0);
        auto opened = projectfile::open(readFile(dir / "h.tpm"));
        ASSERT_TRUE(opened.project);
        EXPECT_GT(opened.project->holidays().usedCount(), 20);
    }
    ASSERT_EQ(runCli("new " + path("e.tpm") + " --lang English").exitCode, 0);
    auto english = projectfile::open(readFile(dir / "e.tpm"));
    ASSERT_TRUE(english.project);
    EXPECT_EQ(english.project->holidays().usedCount(), 0);
    EXPECT_EQ(english.project->general().controllerLanguage(), 0);
}

TEST_F(Cli, WithoutLangTheEditorsLastLanguageIsUsed) {
    const fs::path settings = testing_support::cliSettingsFile();
    fs::create_directories(settings.parent_path());
    std::ofstream(settings) << "[Settings]\nLastLang=Francais\n";
    writeFile(dir / "f22.tpm", {0x16, 0x4D, 0x50, 0x54});
    const RunResult r = runCli("info " + path("f22.tpm"));
    fs::remove(settings);
    Languages french(QString::fromStdString((testing_support::stageFolder() / "1.41" / "Language").string()));
    ASSERT_TRUE(french.setLanguage("Francais").ok);
    EXPECT_NE(r.out.find(french.text(319)), std::string::npos) << r.out;
}

TEST_F(Cli, AnUnknownLanguageFallsBackToPolish) {
    writeFile(dir / "f22.tpm", {0x16, 0x4D, 0x50, 0x54});
    const RunResult r = runCli("info " + path("f22.tpm") + " --lang Klingon");
    EXPECT_EQ(r.exitCode, 3);
    Languages polish(QString::fromStdString((testing_support::stageFolder() / "1.41" / "Language").string()));
    ASSERT_TRUE(polish.setLanguage("Polski").ok);
    EXPECT_NE(r.out.find(polish.text(319)), std::string::npos) << r.out;
    EXPECT_EQ(runCli("info --lang").exitCode, 2);
}

TEST_F(Cli, PrintWritesTheDocumentWithItsPrintFolder) {
    ProjectData project;
    project.program(Weekly).addItem();
    writeFile(dir / "p.tpm", projectfile::store(project));
    fs::create_directories(dir / "out");
    // The second printout replaces the first, which takes --force.
    for (const char* details : {"", " --details --force"}) {
        SCOPED_TRACE(details);
        const RunResult r = runCli("print " + path("p.tpm") + " " + path("out/summary.html") + details);
        EXPECT_EQ(r.exitCode, 0) << r.out;
        const auto html = readFile(dir / "out" / "summary.html");
        const std::string text(html.begin(), html.end());
        EXPECT_NE(text.find("charset=utf-8"), std::string::npos);
        EXPECT_TRUE(fs::exists(dir / "out" / "print" / "style.css"));
    }
    EXPECT_EQ(runCli("print " + path("p.tpm") + " " + path("missing/summary.html")).exitCode, 2);
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

} // namespace
} // namespace tolvane
