#include "CliRunner.h"
#include "OddFiles.h"
#include "TestFiles.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;
using testing_support::CliRun;
using testing_support::OddFile;
using testing_support::readFile;
using testing_support::runCli;
using testing_support::writeFile;

const char* const CardFiles[] = {"programs.dat", "config.dat", "seq.dat", "kur.bin"};

using testing_support::contents;
using testing_support::names;

class HardeningCli : public ::testing::Test {
protected:
    void SetUp() override {
        // A parameterised test's name holds a '/': one folder per test all the same.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        dir = fs::temp_directory_path() / ("tolvane-hardening-" + name + "-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }
    std::string path(const std::string& name) const { return quoted(dir / name); }

    // A project file with a serial number of its own, so that its card files tell it apart.
    fs::path project(const std::string& name, const std::string& serial = "000000") const {
        ProjectData p;
        p.identity().setSerial(serial);
        writeFile(dir / name, projectfile::store(p));
        return dir / name;
    }

    // A copy of the tool in an installation of its own (stage/tolvane-cli beside stage/1.41 with its Language,
    // Data and print folders), so that a test may plant files in the installation. Returns the copy's path.
    fs::path copiedStage() const {
        const fs::path built = testing_support::stageFolder();
        const fs::path stage = dir / "stage";
        fs::create_directories(stage / "1.41");
        fs::copy_file(built / "tolvane-cli", stage / "tolvane-cli");
        fs::create_directory_symlink(built / "1.41" / "Language", stage / "1.41" / "Language");
        fs::copy(built / "1.41" / "Data", stage / "1.41" / "Data", fs::copy_options::recursive);
        fs::copy(built / "1.41" / "print", stage / "1.41" / "print", fs::copy_options::recursive);
        return stage / "tolvane-cli";
    }

    fs::path dir;
};

// ---- never write outside the target ---------------------------------------------------------------------------

enum class Plant { SymlinkUnderOldTemporaryName, HardLinkUnderOldTemporaryName, SymlinkAsCardFile };

class PlantedCardNames : public HardeningCli, public ::testing::WithParamInterface<Plant> {};

// Links planted in the card folder under the fixed name the temporary files once had, or in place of the card
// files: write-card goes around them, the file outside keeps its bytes, and every card file is a regular file.
TEST_P(PlantedCardNames, WriteCardTouchesNothingOutsideTheFolder) {
    const fs::path outside = dir / "outside.txt";
    writeFile(outside, std::string_view("precious"));
    fs::create_directories(dir / "card");
    for (const char* name : CardFiles) {
        switch (GetParam()) {
        case Plant::SymlinkUnderOldTemporaryName:
            fs::create_symlink(outside, dir / "card" / (std::string(name) + ".tmp~"));
            break;
        case Plant::HardLinkUnderOldTemporaryName:
            fs::create_hard_link(outside, dir / "card" / (std::string(name) + ".tmp~"));
            break;
        case Plant::SymlinkAsCardFile:
            fs::create_symlink(outside, dir / "card" / name);
            break;
        }
    }
    const std::set<std::string> planted = names(dir / "card");
    const CliRun r = runCli("write-card " + quoted(project("p.tpm")) + " " + path("card"));
    ASSERT_EQ(r.exitCode, 0) << r.out;

    EXPECT_EQ(readFile(outside), (Bytes{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
    for (const char* name : CardFiles) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(fs::is_symlink(dir / "card" / name));
        EXPECT_TRUE(fs::is_regular_file(dir / "card" / name));
        EXPECT_EQ(fs::file_size(dir / "card" / name), std::string(name) == "kur.bin" ? 9600u : 65559u);
    }
    std::set<std::string> expected(std::begin(CardFiles), std::end(CardFiles));
    if (GetParam() != Plant::SymlinkAsCardFile) {
        expected.insert(planted.begin(), planted.end()); // left exactly where they were
        EXPECT_EQ(fs::hard_link_count(outside), GetParam() == Plant::HardLinkUnderOldTemporaryName ? 5u : 1u);
    }
    EXPECT_EQ(names(dir / "card"), expected);
}

INSTANTIATE_TEST_SUITE_P(Plants, PlantedCardNames,
                         ::testing::Values(Plant::SymlinkUnderOldTemporaryName, Plant::HardLinkUnderOldTemporaryName,
                                           Plant::SymlinkAsCardFile),
                         [](const ::testing::TestParamInfo<Plant>& param) {
                             return std::string(param.param == Plant::SymlinkUnderOldTemporaryName ? "SymlinkOldName"
                                                : param.param == Plant::HardLinkUnderOldTemporaryName
                                                    ? "HardLinkOldName"
                                                    : "SymlinkAsCardFile");
                         });

// ---- print never destroys the installation or its input -------------------------------------------------------

struct PrintCase {
    const char* name;
    const char* output; // relative to the test folder
    const char* options;
    int exitCode;
};

class PrintTargets : public HardeningCli, public ::testing::WithParamInterface<PrintCase> {};

// Whatever the output: the installation's print folder keeps every file and byte, the project stays as it was, a
// user's file in a print folder stays; a refused printout changes nothing, an accepted one is written whole.
TEST_P(PrintTargets, NothingButThePrintoutAndItsCopiesChanges) {
    const PrintCase& c = GetParam();
    const fs::path cli = copiedStage();
    const fs::path programPrint = dir / "stage" / "1.41" / "print";
    const auto installed = contents(programPrint);
    ASSERT_TRUE(installed.count("style.css"));
    const fs::path input = project("p.tpm", "424242");
    const Bytes projectBytes = readFile(input);
    fs::create_hard_link(input, dir / "alias.tpm");
    fs::create_directories(dir / "out" / "print");
    writeFile(dir / "out" / "print" / "notes.txt", std::string_view("mine"));
    writeFile(dir / "out" / "print" / "style.css", std::string_view("stale"));
    writeFile(dir / "out" / "existing.html", std::string_view("old printout"));
    const fs::path output = dir / c.output;
    const bool existed = fs::exists(output);
    const Bytes before = existed ? readFile(output) : Bytes{};

    const CliRun r = runCli("print " + quoted(input) + " " + quoted(output) + " " + c.options, true, {}, cli.string());
    EXPECT_EQ(r.exitCode, c.exitCode) << r.out;

    EXPECT_EQ(contents(programPrint), installed);
    EXPECT_EQ(readFile(input), projectBytes);
    EXPECT_EQ(readFile(dir / "out" / "print" / "notes.txt"), (Bytes{'m', 'i', 'n', 'e'}));
    if (c.exitCode == 0) {
        const Bytes html = readFile(output);
        EXPECT_NE(std::string(html.begin(), html.end()).find("charset=utf-8"), std::string::npos);
        const fs::path copies = output.parent_path() / "print";
        EXPECT_EQ(readFile(copies / "style.css"), installed.at("style.css"));
    } else {
        EXPECT_EQ(fs::exists(output), existed);
        if (existed) {
            EXPECT_EQ(readFile(output), before);
        }
        EXPECT_EQ(readFile(dir / "out" / "print" / "style.css"), (Bytes{'s', 't', 'a', 'l', 'e'}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, PrintTargets,
    ::testing::Values(PrintCase{"IntoTheFolderHoldingTheProgramsPrintFolder", "stage/1.41/summary.html", "", 0},
                      PrintCase{"IntoAPrintFolderHoldingAFileOfTheUsers", "out/summary.html", "", 0},
                      PrintCase{"OntoAnExistingFile", "out/existing.html", "", 2},
                      PrintCase{"OntoAnExistingFileWithForce", "out/existing.html", "--force", 0},
                      PrintCase{"OntoTheProject", "p.tpm", "--force", 2},
                      PrintCase{"OntoASecondNameOfTheProject", "alias.tpm", "--force", 2},
                      PrintCase{"IntoTheProgramsPrintFolder", "stage/1.41/print/style.css", "--force", 2}),
    [](const ::testing::TestParamInfo<PrintCase>& param) { return std::string(param.param.name); });

// ---- bounded, non-blocking reads -------------------------------------------------------------------------------

struct OddCase {
    const char* name;
    OddFile odd;
    int projectExit;        // reading it as a project file
    const char* projectWhy; // in the message
};

class OddInputs : public HardeningCli, public ::testing::WithParamInterface<OddCase> {};

// As a project file every command refuses it at once, without waiting on it or reading it into memory; the
// watchdog of the runner fails a run that hangs.
TEST_P(OddInputs, AsAProjectFileTheyAreRefused) {
    const OddCase& c = GetParam();
    testing_support::plantOddFile(c.odd, dir / "odd.tpm");
    fs::create_directories(dir / "card");
    const std::vector<std::string> commands{"info " + path("odd.tpm"), "validate " + path("odd.tpm"),
                                            "write-card " + path("odd.tpm") + " " + path("card")};
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const CliRun r = runCli(command);
        EXPECT_EQ(r.exitCode, c.projectExit) << r.out;
        EXPECT_NE(r.out.find(c.projectWhy), std::string::npos) << r.out;
    }
    EXPECT_TRUE(fs::is_empty(dir / "card"));
}

// As the holiday file of a new project's language the file is refused with a message; the project is made
// without holidays.
TEST_P(OddInputs, AsAHolidayFileTheyAreRefused) {
    const fs::path cli = copiedStage();
    const fs::path holidays = dir / "stage" / "1.41" / "Data" / "swietaPL.dat";
    fs::remove(holidays);
    testing_support::plantOddFile(GetParam().odd, holidays);
    const CliRun r = runCli("new " + path("n.tpm") + " --lang Polski", true, {}, cli.string());
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("swietaPL.dat"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("no holidays set"), std::string::npos) << r.out;
    const auto opened = projectfile::open(readFile(dir / "n.tpm"));
    ASSERT_TRUE(opened.project);
    EXPECT_EQ(opened.project->holidays().usedCount(), 0);
}

// In a card folder detection passes it over: all.dat decides alone (nothing recognised), a card file is skipped
// for the next one.
TEST_P(OddInputs, DetectionDoesNotWaitOnThem) {
    fs::create_directories(dir / "card");
    ASSERT_EQ(runCli("new " + path("p.tpm")).exitCode, 0);
    ASSERT_EQ(runCli("write-card " + path("p.tpm") + " " + path("card") + " --only config").exitCode, 0);
    testing_support::plantOddFile(GetParam().odd, dir / "card" / "programs.dat");
    CliRun r = runCli("detect " + path("card"), false);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "1.41\n");
    testing_support::plantOddFile(GetParam().odd, dir / "card" / "all.dat");
    r = runCli("detect " + path("card"), false);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.out, "1.00\n");
}

INSTANTIATE_TEST_SUITE_P(Kinds, OddInputs,
                         ::testing::Values(OddCase{"Fifo", OddFile::Fifo, 2, "not a regular file"},
                                           OddCase{"DevZero", OddFile::DevZero, 2, "not a regular file"},
                                           OddCase{"SparseFourGigabytes", OddFile::Sparse, 3,
                                                   "larger than 121663 bytes"}),
                         [](const ::testing::TestParamInfo<OddCase>& param) { return std::string(param.param.name); });

// ---- file names as the system gives them -----------------------------------------------------------------------

// Names in Latin-1 (not UTF-8): each command finds and makes exactly the files named, byte for byte.
TEST_F(HardeningCli, LatinOneFileNamesAreKeptByteForByte) {
    const std::string project = "wie\xdf.tpm"; // "wieß.tpm"
    const std::string copy = "kopia-\xfc.tpm"; // "kopia-ü.tpm"
    const std::string card = "Karte-\xe9";     // "Karte-é"
    const std::string back = "zur\xfc"
                             "ck.tpm"; // "zurück.tpm"
    ASSERT_EQ(runCli("new " + path(project)).exitCode, 0);
    EXPECT_EQ(names(dir), std::set<std::string>{project});

    const CliRun info = runCli("info " + path(project));
    EXPECT_EQ(info.exitCode, 0) << info.out;
    EXPECT_EQ(info.out.rfind("firmware: V1_41\n", 0), 0u) << info.out;

    ASSERT_EQ(runCli("save " + path(project) + " " + path(copy)).exitCode, 0);
    EXPECT_EQ(readFile(dir / copy), readFile(dir / project));

    fs::create_directory(dir / card);
    const CliRun written = runCli("write-card " + path(copy) + " " + path(card));
    EXPECT_EQ(written.exitCode, 0) << written.out;
    EXPECT_EQ(names(dir / card), std::set<std::string>(std::begin(CardFiles), std::end(CardFiles)));

    EXPECT_EQ(runCli("read-card " + path(card) + " " + path(back)).exitCode, 0);
    EXPECT_EQ(runCli("detect " + path(card), false).out, "1.41\n");
    EXPECT_EQ(names(dir), (std::set<std::string>{project, copy, card, back}));
}

// ---- honest exit statuses and messages ------------------------------------------------------------------------

// Output that cannot be written is a failure (2), whatever the command found; the same commands succeed when their
// output arrives.
TEST_F(HardeningCli, OutputThatCannotBeWrittenFailsWithTwo) {
    ProjectData warned;
    warned.amplifier().setU16(0, 0x0000); // switching on, no amplifier relay: a warning to list
    writeFile(dir / "p.tpm", projectfile::store(warned));
    const fs::path p = dir / "p.tpm";
    fs::create_directories(dir / "card");
    const std::vector<std::string> commands{"validate " + quoted(p),
                                            "validate " + quoted(p) + " --format tsv",
                                            "info " + quoted(p),
                                            "detect " + quoted(p),
                                            "--help",
                                            "write-card " + quoted(p) + " " + path("card")};
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        EXPECT_EQ(runCli(command + " >/dev/null", false).exitCode, 0);
        EXPECT_EQ(runCli(command + " >/dev/full", false).exitCode, 2);
    }
}

struct OnlyCase {
    const char* name;
    const char* options;
    int exitCode;
    std::set<std::string> written;
};

class OnlyOption : public HardeningCli, public ::testing::WithParamInterface<OnlyCase> {};

// --only takes a comma-separated list and may be repeated; an empty list or an empty name is a usage error that
// writes nothing.
TEST_P(OnlyOption, WritesTheNamedFilesOrNothing) {
    const OnlyCase& c = GetParam();
    fs::create_directories(dir / "card");
    const CliRun r = runCli("write-card " + quoted(project("p.tpm")) + " " + path("card") + " " + c.options);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
    EXPECT_EQ(names(dir / "card"), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, OnlyOption,
    ::testing::Values(OnlyCase{"EmptyValue", "--only ''", 2, {}}, OnlyCase{"EmptyAfterEquals", "--only=", 2, {}},
                      OnlyCase{"TrailingComma", "--only programs,", 2, {}},
                      OnlyCase{"LeadingComma", "--only ,config", 2, {}},
                      OnlyCase{"UnknownInASecondOption", "--only config --only bells", 2, {}},
                      OnlyCase{
                          "RepeatedOptionsCombine", "--only programs --only config", 0, {"programs.dat", "config.dat"}},
                      OnlyCase{"ANameTwiceCountsOnce", "--only chimes --only chimes,chimes", 0, {"kur.bin"}}),
    [](const ::testing::TestParamInfo<OnlyCase>& param) { return std::string(param.param.name); });

// A write the system refuses (here a file-size limit, as a full card gives) names the system's reason, and the
// card keeps the files it had.
TEST_F(HardeningCli, AFailedCardWriteNamesTheSystemsReason) {
    fs::create_directories(dir / "card");
    ASSERT_EQ(runCli("write-card " + quoted(project("old.tpm", "111111")) + " " + path("card")).exitCode, 0);
    const auto before = contents(dir / "card");
    const CliRun r = runCli("write-card " + quoted(project("new.tpm", "222222")) + " " + path("card"), true,
                            "trap '' XFSZ; ulimit -f 64;");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.out.find("programs.dat: not written"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("File too large"), std::string::npos) << r.out;
    EXPECT_EQ(contents(dir / "card"), before);
}

// Names with control characters are shown escaped: every issue stays on one line, and no escape sequence reaches
// the terminal.
TEST_F(HardeningCli, ValidateKeepsOneIssuePerLineWhateverTheNames) {
    ProjectData p;
    HolidayTable& holidays = p.holidays();
    struct Named : TextSource {
        std::string text(int) const override { return "x"; }
    } texts;
    for (int i = 0; i < 2; ++i) {
        const int slot = holidays.addHoliday(texts);
        ASSERT_GE(slot, 0);
        holidays.setName(slot, "Evil\n\tname\x1b[2J");
    }
    // Codes of its own, so the only issues are the holidays' warnings.
    p.general().setUserCode(2468);
    p.general().setServiceCode(1357);
    writeFile(dir / "evil.tpm", projectfile::store(p));
    const auto opened = projectfile::open(readFile(dir / "evil.tpm"));
    ASSERT_TRUE(opened.project);
    ASSERT_NE(opened.project->holidays().name(0).find('\x1b'), std::string::npos)
        << "the name must keep its control characters for this test";

    const CliRun text = runCli("validate " + path("evil.tpm") + " --lang English", false);
    EXPECT_EQ(text.out.find('\x1b'), std::string::npos);
    EXPECT_NE(text.out.find("Evil\\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("\\x1b[2J"), std::string::npos) << text.out;
    std::size_t issueLines = 0;
    std::size_t start = 0;
    for (std::size_t end = text.out.find('\n'); end != std::string::npos; end = text.out.find('\n', start)) {
        const std::string line = text.out.substr(start, end - start);
        start = end + 1;
        if (line.find(" issues: ") == std::string::npos) {
            EXPECT_EQ(line.rfind("warning: ", 0), 0u) << line;
            ++issueLines;
        }
    }
    EXPECT_GE(issueLines, 1u);

    const CliRun tsv = runCli("validate " + path("evil.tpm") + " --format tsv --lang English", false);
    EXPECT_EQ(tsv.out.find('\x1b'), std::string::npos);
    std::size_t lines = 0;
    start = 0;
    for (std::size_t end = tsv.out.find('\n'); end != std::string::npos; end = tsv.out.find('\n', start)) {
        const std::string line = tsv.out.substr(start, end - start);
        start = end + 1;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 5) << line;
        ++lines;
    }
    EXPECT_EQ(lines, issueLines);
}

// ---- a card's previous files are kept -------------------------------------------------------------------------

// Each write that replaces card files keeps them first, in a dated folder of the user's data folder and never on
// the card: after two writes over a card, its first and second contents can be put back.
TEST_F(HardeningCli, TheBackupFolderAfterTwoWrites) {
    fs::create_directories(dir / "card");
    const fs::path backups = testing_support::cliDataHome() / "Nesmar" / "Tolvane" / "card-backups";
    CliRun r = runCli("write-card " + quoted(project("a.tpm", "111111")) + " " + path("card"), false);
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.find("previous files kept"), std::string::npos) << "an empty card has nothing to keep";
    const auto first = contents(dir / "card");

    r = runCli("write-card " + quoted(project("b.tpm", "222222")) + " " + path("card"), false);
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("previous files kept in " + backups.string()), std::string::npos) << r.out;
    const auto second = contents(dir / "card");
    ASSERT_NE(second, first);

    ASSERT_EQ(runCli("write-card " + quoted(project("c.tpm", "333333")) + " " + path("card")).exitCode, 0);
    std::vector<fs::path> writes;
    for (const auto& entry : fs::directory_iterator(backups)) {
        writes.push_back(entry.path());
    }
    std::sort(writes.begin(), writes.end());
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(contents(writes[0]), first);
    EXPECT_EQ(contents(writes[1]), second);
    EXPECT_EQ(names(dir / "card"), std::set<std::string>(std::begin(CardFiles), std::end(CardFiles)));
}

} // namespace
} // namespace tolvane
