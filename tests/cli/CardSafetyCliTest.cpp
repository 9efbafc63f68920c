#include "CliRunner.h"
#include "FullProject.h"
#include "OddFiles.h"
#include "TestFiles.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>
#include <vector>

// What a hostile file system, a second writer, a clock set back or a cut file does to the tool: nothing outside
// the target is harmed, and no failure is reported as success.
namespace tolvane {
namespace {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;
using testing_support::CliRun;
using testing_support::contents;
using testing_support::names;
using testing_support::readFile;
using testing_support::runCli;
using testing_support::writeFile;

const char* const CardFiles[] = {"programs.dat", "config.dat", "seq.dat", "kur.bin"};

class CardSafetyCli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        dir = fs::temp_directory_path() / ("tolvane-safety-" + name + "-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "card");
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

    // A project file with a serial number of its own, so that its card files tell it apart.
    fs::path project(const std::string& name, const std::string& serial) const {
        ProjectData p;
        p.identity().setSerial(serial);
        writeFile(dir / name, projectfile::store(p));
        return dir / name;
    }
    CliRun writeCard(const fs::path& project, const std::string& more = {}) const {
        return runCli("write-card " + quoted(project) + " " + quoted(dir / "card") + more);
    }
    static fs::path backupRoot() { return testing_support::cliDataHome() / "Nesmar" / "Tolvane" / "card-backups"; }

    fs::path dir;
};

bool isRoot() {
    return ::geteuid() == 0;
}

// ---- backups ----------------------------------------------------------------------------------------------------

// A link with a backup's name, leading to a folder of the user's, among more backups than are kept: pruning
// removes real backups only, never what a link leads to, and leaves the link and a file of such a name alone.
TEST_F(CardSafetyCli, PruningNeverDeletesThroughALink) {
    const fs::path victim = dir / "victim";
    fs::create_directories(victim / "inner");
    writeFile(victim / "thesis.txt", std::string_view("years of work"));
    writeFile(victim / "inner" / "data.txt", std::string_view("more"));
    fs::create_directories(backupRoot());
    fs::create_directory_symlink(victim, backupRoot() / "2000-01-01_00-00-00-000");
    writeFile(backupRoot() / "2000-01-01_00-00-00-001", std::string_view("a file of a backup's name"));
    for (int i = 0; i < 25; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "2001-01-01_00-00-%02d-000", i);
        fs::create_directories(backupRoot() / name);
        writeFile(backupRoot() / name / "config.dat", std::string_view("old"));
    }
    ASSERT_EQ(writeCard(project("a.tpm", "111111")).exitCode, 0);
    for (const char* serial : {"222222", "333333"}) {
        const CliRun r = writeCard(project("p.tpm", serial));
        ASSERT_EQ(r.exitCode, 0) << r.out;
    }
    EXPECT_EQ(readFile(victim / "thesis.txt"), (Bytes{'y', 'e', 'a', 'r', 's', ' ', 'o', 'f', ' ', 'w', 'o', 'r', 'k'}));
    EXPECT_TRUE(fs::exists(victim / "inner" / "data.txt"));
    EXPECT_TRUE(fs::is_symlink(backupRoot() / "2000-01-01_00-00-00-000"));
    EXPECT_TRUE(fs::is_regular_file(backupRoot() / "2000-01-01_00-00-00-001"));
    std::size_t folders = 0;
    for (const auto& entry : fs::directory_iterator(backupRoot())) {
        folders += entry.is_directory() && !entry.is_symlink() ? 1 : 0;
    }
    EXPECT_EQ(folders, 20u);
}

// Backups of a clock far ahead (or a time zone set back since): each new write still has its folder, which is the
// newest and holds what it replaced.
TEST_F(CardSafetyCli, AClockSetBackNeverPrunesTheNewBackup) {
    fs::create_directories(backupRoot());
    for (int i = 0; i < 20; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "2099-12-31_23-59-%02d-000", i);
        fs::create_directories(backupRoot() / name);
        writeFile(backupRoot() / name / "kur.bin", std::string_view("future"));
    }
    ASSERT_EQ(writeCard(project("a.tpm", "111111")).exitCode, 0);
    for (const char* serial : {"222222", "333333"}) {
        const auto before = contents(dir / "card");
        const CliRun r = writeCard(project("p.tpm", serial));
        ASSERT_EQ(r.exitCode, 0) << r.out;
        const std::string kept = "previous files kept in ";
        const auto at = r.out.find(kept);
        ASSERT_NE(at, std::string::npos) << r.out;
        const fs::path folder = r.out.substr(at + kept.size(), r.out.find('\n', at) - at - kept.size());
        ASSERT_TRUE(fs::is_directory(folder)) << folder;
        EXPECT_EQ(contents(folder), before);
    }
}

// ---- one writer per card ----------------------------------------------------------------------------------------

// Two writers started together, round after round: the card is always exactly one project's card, as a single
// writer leaves it, and a writer that found the card busy says so with exit status 2 and wrote nothing.
TEST_F(CardSafetyCli, TwoWritersNeverMixACard) {
    const fs::path a = project("a.tpm", "111111");
    const fs::path b = project("b.tpm", "222222");
    std::map<std::string, std::map<std::string, Bytes>> single;
    for (const auto& [name, file] : {std::pair{"a", a}, std::pair{"b", b}}) {
        fs::create_directories(dir / ("single-" + std::string(name)));
        ASSERT_EQ(runCli("write-card " + quoted(file) + " " + quoted(dir / ("single-" + std::string(name)))).exitCode,
                  0);
        single[name] = contents(dir / ("single-" + std::string(name)));
    }
    ASSERT_NE(single["a"], single["b"]);
    int busy = 0;
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        fs::remove_all(dir / "card");
        fs::create_directories(dir / "card");
        // Both in one shell, started as close together as a shell can start them, in the test's own home.
        const std::string cli = std::string("'") + TOLVANE_CLI_PATH + "' write-card ";
        const std::string home = "export XDG_CONFIG_HOME=" + quoted(testing_support::isolatedConfigHome()) +
                                 " XDG_DATA_HOME=" + quoted(testing_support::cliDataHome()) + "; ";
        const CliRun r = runCli("--version >/dev/null; " + cli + quoted(a) + " " + quoted(dir / "card") + " >" +
                                    quoted(dir / "a.out") + " 2>&1 & p1=$!; " + cli + quoted(b) + " " +
                                    quoted(dir / "card") + " >" + quoted(dir / "b.out") +
                                    " 2>&1 & p2=$!; wait $p1; echo a=$?; wait $p2; echo b=$?",
                                true, home);
        const bool aDone = r.out.find("a=0") != std::string::npos;
        const bool bDone = r.out.find("b=0") != std::string::npos;
        ASSERT_TRUE(aDone || bDone) << r.out;
        const auto card = contents(dir / "card");
        if (aDone && bDone) {
            EXPECT_TRUE(card == single["a"] || card == single["b"]);
            continue;
        }
        ++busy;
        const char* loser = aDone ? "b" : "a";
        EXPECT_NE(r.out.find(std::string(loser) + "=2"), std::string::npos) << r.out;
        const Bytes said = readFile(dir / (std::string(loser) + ".out"));
        EXPECT_NE(std::string(said.begin(), said.end()).find("the card is busy"), std::string::npos);
        EXPECT_EQ(card, single[aDone ? "a" : "b"]);
    }
    RecordProperty("busy rounds", busy);
}

// ---- truncated projects -----------------------------------------------------------------------------------------

struct CutCase {
    const char* name;
    std::size_t sections; // how many sections the cut file keeps; 0: the header alone
    const char* options;
    int exitCode;
    bool written;
};

class CutProjects : public CardSafetyCli, public ::testing::WithParamInterface<CutCase> {};

// A project cut at a section boundary opens, but write-card refuses it unless --force; the header alone is not a
// project at all.
TEST_P(CutProjects, WriteCardRefusesWhatWouldWipeTheCard) {
    const CutCase& c = GetParam();
    ProjectData full;
    testing_support::fillProject(full);
    const Bytes file = projectfile::store(full);
    std::size_t end = 4;
    for (std::size_t i = 0; i < c.sections; ++i) {
        const std::uint32_t length = static_cast<std::uint32_t>(file[end + 4]) | (file[end + 5] << 8) |
                                     (file[end + 6] << 16) | (static_cast<std::uint32_t>(file[end + 7]) << 24);
        end += 4 + 4 + length + 4;
    }
    writeFile(dir / "cut.tpm", Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(end)));
    const CliRun r = writeCard(dir / "cut.tpm", std::string(" ") + c.options);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
    EXPECT_EQ(!names(dir / "card").empty(), c.written) << r.out;
    if (c.exitCode == 3 && c.sections > 0) {
        EXPECT_NE(r.out.find("lacks " + std::to_string(18 - c.sections) + " of its sections"), std::string::npos)
            << r.out;
    }
}

INSTANTIATE_TEST_SUITE_P(Cuts, CutProjects,
                         ::testing::Values(CutCase{"HeaderAlone", 0, "", 3, false},
                                           CutCase{"HeaderAloneWithForce", 0, "--force", 3, false},
                                           CutCase{"AfterTheSchedules", 6, "", 3, false},
                                           CutCase{"BeforeTheChimes", 16, "", 3, false},
                                           CutCase{"BeforeTheChimesWithForce", 16, "--force", 0, true},
                                           CutCase{"Whole", 18, "", 0, true}),
                         [](const ::testing::TestParamInfo<CutCase>& param) { return std::string(param.param.name); });

// ---- outputs that are no regular file ---------------------------------------------------------------------------

enum class Node { Fifo, CharDevice, BlockDevice, Folder };

struct NodeCase {
    const char* name;
    Node node;
    const char* command; // OUT stands for the node, P for a project, CARD for a card folder
};

class OutputNodes : public CardSafetyCli, public ::testing::WithParamInterface<NodeCase> {};

// Whatever the command and --force, an output that is a device, a FIFO or a folder is refused with exit status 2
// and stays what it was; nothing is made beside it.
TEST_P(OutputNodes, AreRefusedAndStayWhatTheyWere) {
    const NodeCase& c = GetParam();
    const fs::path node = dir / "out" / "node";
    fs::create_directories(dir / "out");
    switch (c.node) {
    case Node::Fifo:
        ASSERT_EQ(::mkfifo(node.c_str(), 0600), 0);
        break;
    case Node::CharDevice:
    case Node::BlockDevice:
        if (!isRoot()) {
            GTEST_SKIP() << "device nodes are made as root only";
        }
        ASSERT_EQ(::mknod(node.c_str(), (c.node == Node::CharDevice ? S_IFCHR : S_IFBLK) | 0600,
                          c.node == Node::CharDevice ? makedev(1, 3) : makedev(7, 200)),
                  0);
        break;
    case Node::Folder:
        fs::create_directory(node);
        break;
    }
    struct stat before {};
    ASSERT_EQ(::lstat(node.c_str(), &before), 0);
    ASSERT_EQ(writeCard(project("p.tpm", "424242")).exitCode, 0);
    std::string command = c.command;
    const auto put = [&command](const std::string& what, const std::string& with) {
        for (auto at = command.find(what); at != std::string::npos; at = command.find(what, at + with.size())) {
            command.replace(at, what.size(), with);
        }
    };
    put("OUT", quoted(node));
    put("P", quoted(dir / "p.tpm"));
    put("CARD", quoted(dir / "card"));
    const CliRun r = runCli(command);
    EXPECT_EQ(r.exitCode, 2) << r.out;
    struct stat after {};
    ASSERT_EQ(::lstat(node.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    EXPECT_EQ(names(dir / "out"), std::set<std::string>{"node"});
}

INSTANTIATE_TEST_SUITE_P(
    Nodes, OutputNodes,
    ::testing::Values(NodeCase{"SaveOntoAFifo", Node::Fifo, "save P OUT"},
                      NodeCase{"NewOntoAFifo", Node::Fifo, "new OUT --force"},
                      NodeCase{"PrintOntoAFifo", Node::Fifo, "print P OUT --force"},
                      NodeCase{"SaveOntoACharacterDevice", Node::CharDevice, "save P OUT"},
                      NodeCase{"NewOntoACharacterDevice", Node::CharDevice, "new OUT --force"},
                      NodeCase{"PrintOntoACharacterDevice", Node::CharDevice, "print P OUT --force"},
                      NodeCase{"ReadCardOntoACharacterDevice", Node::CharDevice, "read-card CARD OUT --force"},
                      NodeCase{"SaveOntoABlockDevice", Node::BlockDevice, "save P OUT"},
                      NodeCase{"NewOntoAFolder", Node::Folder, "new OUT --force"},
                      NodeCase{"SaveOntoAFolder", Node::Folder, "save P OUT"}),
    [](const ::testing::TestParamInfo<NodeCase>& param) { return std::string(param.param.name); });

// ---- print's folder beside the output, read-card's own input ---------------------------------------------------

// A link named "print" beside the printout is never written through: the printout fails (exit 2, with the
// reason) and the folder it leads to stays empty. A project inside the print folder is refused before anything is
// written, so the style sheet never replaces it.
TEST_F(CardSafetyCli, PrintNeverWritesThroughItsAssetsLinkOrOverItsInput) {
    const fs::path p = project("p.tpm", "424242");
    fs::create_directories(dir / "out");
    fs::create_directories(dir / "victim");
    fs::create_directory_symlink(dir / "victim", dir / "out" / "print");
    CliRun r = runCli("print " + quoted(p) + " " + quoted(dir / "out" / "summary.html"));
    EXPECT_EQ(r.exitCode, 2) << r.out;
    EXPECT_NE(r.out.find("not a folder of its own"), std::string::npos) << r.out;
    EXPECT_TRUE(fs::is_empty(dir / "victim"));

    fs::create_directories(dir / "two" / "print");
    fs::copy_file(p, dir / "two" / "print" / "style.css");
    const Bytes input = readFile(p);
    r = runCli("print " + quoted(dir / "two" / "print" / "style.css") + " " + quoted(dir / "two" / "s.html"));
    EXPECT_EQ(r.exitCode, 2) << r.out;
    EXPECT_EQ(readFile(dir / "two" / "print" / "style.css"), input);
    EXPECT_FALSE(fs::exists(dir / "two" / "s.html"));
}

// read-card never writes its project over one of the card files it reads, whatever name leads to it.
TEST_F(CardSafetyCli, ReadCardNeverReplacesItsOwnInput) {
    ASSERT_EQ(writeCard(project("p.tpm", "424242")).exitCode, 0);
    fs::create_hard_link(dir / "card" / "kur.bin", dir / "alias.bin");
    const auto card = contents(dir / "card");
    for (const fs::path& output : {dir / "card" / "config.dat", dir / "alias.bin", dir / "card" / "seq.dat"}) {
        SCOPED_TRACE(output);
        const CliRun r = runCli("read-card " + quoted(dir / "card") + " " + quoted(output) + " --force");
        EXPECT_EQ(r.exitCode, 2) << r.out;
        EXPECT_NE(r.out.find("is one of the card files being read"), std::string::npos) << r.out;
    }
    EXPECT_EQ(contents(dir / "card"), card);
}

// ---- names and messages -----------------------------------------------------------------------------------------

// A file name of the longest length a folder allows can be written: the temporary name beside it is short.
TEST_F(CardSafetyCli, TheLongestNameCanBeSaved) {
    const std::string name = std::string(250, 'n') + ".tpm";
    ASSERT_EQ(name.size(), 254u);
    const CliRun r = runCli("save " + quoted(project("p.tpm", "424242")) + " " + quoted(dir / name));
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(readFile(dir / name), readFile(dir / "p.tpm"));
}

struct MessageCase {
    const char* name;
    const char* setUp;   // shell text run in the test folder first; DATA stands for the tool's data folder
    const char* before;  // shell text in the tool's own shell (limits)
    const char* command; // run in the test folder
    int exitCode;
    const char* said;    // what the output says
    const char* notSaid; // what it must not say (empty: nothing)
};

class Messages : public CardSafetyCli, public ::testing::WithParamInterface<MessageCase> {};

// Each message says what happened, on one line with the control characters of names escaped, with the exit
// status the README gives.
TEST_P(Messages, SayWhatHappened) {
    const MessageCase& c = GetParam();
    project("p.tpm", "424242");
    const std::string in = "cd " + quoted(dir) + " && ";
    std::string setUp = c.setUp;
    for (const auto& [word, folder] : {std::pair<std::string, fs::path>{"DATA", testing_support::cliDataHome()},
                                        {"CONF", fs::path(testing_support::isolatedConfigHome())}}) {
        for (auto at = setUp.find(word); at != std::string::npos; at = setUp.find(word, at)) {
            setUp.replace(at, word.size(), quoted(folder));
        }
    }
    ASSERT_EQ(std::system((in + setUp).c_str()), 0);
    const CliRun r = runCli(c.command, true, in + c.before);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
    EXPECT_NE(r.out.find(c.said), std::string::npos) << r.out;
    if (*c.notSaid != 0) {
        EXPECT_EQ(r.out.find(c.notSaid), std::string::npos) << r.out;
    }
    EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << "a raw escape reached the terminal";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Messages,
    ::testing::Values(
        MessageCase{"CannotReadAnEscapedName", "true", "", "info \"$(printf 'a\\033[2Jb.tpm')\"", 2,
                    "cannot read a\\x1b[2Jb.tpm", ""},
        MessageCase{"AlreadyExistsEscaped", "cp p.tpm \"$(printf 'x\\ny.tpm')\"", "", "new \"$(printf 'x\\ny.tpm')\"", 2,
                    "x\\ny.tpm already exists", ""},
        MessageCase{"PrintedOutputLineEscaped", "true", "", "print p.tpm \"$(printf 'o\\033.html')\"", 0, "o\\x1b.html",
                    ""},
        MessageCase{"PlanHeaderEscaped", "cp p.tpm \"$(printf 'q\\033.tpm')\"", "",
                    "plan \"$(printf 'q\\033.tpm')\" --days 1", 0, "q\\x1b.tpm", ""},
        MessageCase{"NewOntoTheCurrentFolder", "true", "", "new . --force", 2, "is a folder", "busy"},
        // A config.dat that cannot be opened (a link that leads to itself: unreadable even for root).
        MessageCase{"UnreadableConfigIsAnInputError", "mkdir c && ln -s config.dat c/config.dat", "",
                    "read-card c out.tpm", 2, "cannot read c/config.dat: ", "cannot be opened"},
        // The image that cannot go into the temporary folder is not a full card.
        MessageCase{"AFullTemporaryFolderIsNoFullCard", "printf old > card/kur.bin", "trap '' XFSZ; ulimit -f 8;",
                    "write-card p.tpm card --only chimes", 2, "cannot be prepared in the temporary folder", ""},
        // A backup folder that cannot be made says why.
        MessageCase{"ABackupFolderThatCannotBeMade",
                    "printf old > card/kur.bin && : > DATA/Nesmar", "", "write-card p.tpm card --only chimes", 2, "cannot create the folder", ""},
        // A settings file that is no regular file of a sensible size is not read: the command goes on with the
        // defaults and says so, and a FIFO there never makes it wait.
        MessageCase{"ASettingsFifoIsNotWaitedOn", "mkdir -p CONF/Nesmar && mkfifo CONF/Nesmar/Tolvane.conf", "",
                    "info p.tpm", 0, "warning: the settings file", ""},
        MessageCase{"AHugeSettingsFileIsNotRead",
                    "mkdir -p CONF/Nesmar && truncate -s 1048577 CONF/Nesmar/Tolvane.conf", "", "info p.tpm", 0,
                    "the defaults are used", ""},
        MessageCase{"ASettingsFolderIsNotRead", "mkdir -p CONF/Nesmar/Tolvane.conf", "", "info p.tpm", 0,
                    "warning: the settings file", ""}),
    [](const ::testing::TestParamInfo<MessageCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace tolvane
