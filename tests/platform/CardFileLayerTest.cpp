#include "FullProject.h"
#include "TestFiles.h"
#include "Watchdog.h"
#include "card/CardFiles.h"
#include "platform/CardBackups.h"
#include "platform/PlatformCardFileSystem.h"
#include "platform/RemoveOnSignal.h"
#include "FailingWrite.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using card::FileKind;
using testing_support::readFile;
using testing_support::writeFile;

// The random part of the temporary names, told by the test: each write tries "AAAAAA", then "BBBBBB", ...
std::function<std::string()> scriptedNames() {
    return [next = 0]() mutable { return std::string(6, static_cast<char>('A' + next++)); };
}

PlatformCardFileSystem::WriteLayer scriptedLayers() {
    return [] { return std::make_unique<NativeAtomicWrite>(scriptedNames()); };
}

using testing_support::names;

class CardFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path().toStdString();
        for (const char* folder : {"card", "temp", "outside"}) {
            fs::create_directory(root / folder);
        }
        writeFile(victim(), std::string_view("precious"));
    }
    fs::path card(std::string_view name) const { return root / "card" / name; }
    fs::path victim() const { return root / "outside" / "victim.dat"; }
    card::WriteResult write(ProjectData& project, FileKind kind, CardFileSystem& files) {
        return card::writeCardFile(project, kind, (root / "card").string(), (root / "temp").string(), files);
    }

    QTemporaryDir dir;
    fs::path root;
};

// What a hostile folder or a second writer may have put beside programs.dat before a write.
enum class Planted { Symlink, HardLink, OtherWritersFile };

struct PlantCase {
    const char* name;
    const char* plantedAs;
    Planted planted;
};

class PlantedNames : public CardFolder, public ::testing::WithParamInterface<PlantCase> {};

// The write never opens an existing name: whatever was planted stays as it was, the file outside is untouched,
// and programs.dat ends up a regular file with the image in it.
TEST_P(PlantedNames, TheWriteGoesAroundThemAndNothingOutsideIsTouched) {
    const PlantCase& c = GetParam();
    const fs::path planted = card(c.plantedAs);
    switch (c.planted) {
    case Planted::Symlink:
        fs::create_symlink(victim(), planted);
        break;
    case Planted::HardLink:
        fs::create_hard_link(victim(), planted);
        break;
    case Planted::OtherWritersFile:
        writeFile(planted, std::string_view("another writer's half-written file"));
        break;
    }
    ProjectData project;
    testing_support::fillProject(project);
    PlatformCardFileSystem files(nullptr, scriptedLayers());
    const card::WriteResult written = write(project, FileKind::Programs, files);
    ASSERT_TRUE(written.ok) << written.reason;

    EXPECT_EQ(readFile(victim()), (std::vector<std::uint8_t>{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
    const fs::path programs = card("programs.dat");
    EXPECT_FALSE(fs::is_symlink(programs));
    EXPECT_TRUE(fs::is_regular_file(programs));
    EXPECT_EQ(fs::hard_link_count(programs), 1u);
    ProjectData back;
    EXPECT_TRUE(card::readCardFile(back, FileKind::Programs, programs.string(), files).ok);
    EXPECT_EQ(back.program(Weekly).usedCount(), 128);

    if (planted != programs) {
        EXPECT_EQ(names(root / "card"), (std::set<std::string>{"programs.dat", c.plantedAs}));
        if (c.planted == Planted::Symlink) {
            EXPECT_EQ(fs::read_symlink(planted), victim());
        } else if (c.planted == Planted::HardLink) {
            EXPECT_EQ(fs::hard_link_count(victim()), 2u);
        } else {
            EXPECT_EQ(fs::file_size(planted), 34u);
        }
    } else {
        EXPECT_EQ(names(root / "card"), std::set<std::string>{"programs.dat"});
    }
    EXPECT_TRUE(fs::is_empty(root / "temp"));
}

INSTANTIATE_TEST_SUITE_P(
    Plants, PlantedNames,
    ::testing::Values(PlantCase{"SymlinkUnderTheOldFixedName", "programs.dat.tmp~", Planted::Symlink},
                      PlantCase{"HardLinkUnderTheOldFixedName", "programs.dat.tmp~", Planted::HardLink},
                      PlantCase{"SymlinkUnderTheFirstNameTried", ".tolvane-AAAAAA.tmp~", Planted::Symlink},
                      PlantCase{"HardLinkUnderTheFirstNameTried", ".tolvane-AAAAAA.tmp~", Planted::HardLink},
                      PlantCase{"AnotherWritersTemporaryFile", ".tolvane-AAAAAA.tmp~", Planted::OtherWritersFile},
                      PlantCase{"SymlinkInPlaceOfTheCardFile", "programs.dat", Planted::Symlink}),
    [](const ::testing::TestParamInfo<PlantCase>& param) { return std::string(param.param.name); });

// Every name taken: the write gives up with a reason and leaves the old file.
TEST_F(CardFolder, WhenNoTemporaryNameIsFreeTheOldFileStays) {
    writeFile(card("kur.bin"), std::string_view("old"));
    const auto always = [] { return std::make_unique<NativeAtomicWrite>([] { return std::string("TAKEN0"); }); };
    writeFile(card(".tolvane-TAKEN0.tmp~"), std::string_view("other"));
    PlatformCardFileSystem files(nullptr, always);
    ProjectData project;
    const card::WriteResult written = write(project, FileKind::Chimes, files);
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.reason.empty());
    EXPECT_EQ(readFile(card("kur.bin")), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

// Before a card file is replaced the old one is copied to the backups; a write onto an empty card keeps nothing.
TEST_F(CardFolder, AReplacedCardFileIsKeptInTheBackups) {
    const QString backupRoot = dir.filePath(QStringLiteral("card-backups"));
    ProjectData first;
    first.chimes().setName(3, "Te Deum");
    {
        CardBackups backups(backupRoot);
        PlatformCardFileSystem files(&backups);
        ASSERT_TRUE(write(first, FileKind::Chimes, files).ok);
        EXPECT_TRUE(backups.folder().isEmpty());
    }
    const std::vector<std::uint8_t> firstFile = readFile(card("kur.bin"));
    ProjectData second;
    second.chimes().setName(3, "Salve Regina");
    CardBackups backups(backupRoot);
    PlatformCardFileSystem files(&backups);
    ASSERT_TRUE(write(second, FileKind::Chimes, files).ok);
    ASSERT_FALSE(backups.folder().isEmpty());
    EXPECT_EQ(CardBackups::writes(backupRoot).size(), 1);
    EXPECT_EQ(readFile(fs::path(backups.folder().toStdString()) / "kur.bin"), firstFile);
    EXPECT_NE(readFile(card("kur.bin")), firstFile);
    EXPECT_EQ(names(root / "card"), std::set<std::string>{"kur.bin"});
}

// A folder of the older naming (local time alone) holding one file, as earlier versions left them.
void olderBackup(const QString& root, const QDateTime& when) {
    const QString folder = root + "/" + when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz"));
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(folder.toStdString() + "/config.dat", std::string_view("kept"));
}

// One folder per write, numbered one past the highest number there and named by its UTC time; folders of the
// older naming count as older than every numbered one. The last twenty are kept once a write has replaced files,
// and nothing else in the folder is touched.
TEST(CardBackupFolders, EachWriteHasAFolderAndTheLastTwentyAreKept) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.filePath(QStringLiteral("card-backups"));
    // Dated far ahead, as a clock that was wrong or a time zone set back since leaves them.
    const QDateTime start(QDate(2099, 1, 1), QTime(8, 0));
    for (int i = 0; i < 25; ++i) {
        olderBackup(root, start.addSecs(i));
    }
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/my notes")));
    const std::string oldFile = dir.filePath(QStringLiteral("config.dat")).toStdString();
    writeFile(oldFile, std::string_view("the old configuration"));

    const QDateTime now(QDate(2025, 6, 1), QTime(12, 0, 0, 250), Qt::UTC);
    CardBackups backups(root, now);
    QString error;
    ASSERT_TRUE(backups.keep(oldFile, &error)) << error.toStdString();
    EXPECT_EQ(backups.folder(), root + QStringLiteral("/000001_2025-06-01_12-00-00-250Z"));
    EXPECT_EQ(readFile(backups.folder().toStdString() + "/config.dat"), readFile(oldFile));
    EXPECT_EQ(CardBackups::writes(root).size(), 26) << "nothing is removed before the write is done";
    ASSERT_TRUE(backups.sync(&error)) << error.toStdString();
    backups.finish(true);

    QStringList writes = CardBackups::writes(root);
    ASSERT_EQ(writes.size(), CardBackups::KeptWrites);
    EXPECT_EQ(writes.front(), start.addSecs(6).toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz")));
    EXPECT_EQ(writes.back(), QStringLiteral("000001_2025-06-01_12-00-00-250Z"));
    EXPECT_TRUE(QFileInfo(root + QStringLiteral("/my notes")).isDir());

    // A second write at the same moment, or with the clock set back, has the next number, after the first.
    CardBackups again(root, now.addYears(-3));
    ASSERT_TRUE(again.keep(oldFile, &error)) << error.toStdString();
    again.finish(true);
    writes = CardBackups::writes(root);
    EXPECT_EQ(writes.back(), QStringLiteral("000002_2022-06-01_12-00-00-250Z"));
    EXPECT_EQ(writes.size(), CardBackups::KeptWrites);
}

// Writes that replace nothing (here the card refuses every new file) keep no folder and evict no backup; an empty
// folder left by an interrupted write long ago does not count and is removed by the next write that succeeds.
TEST_F(CardFolder, FailedWritesNeverEvictBackups) {
    const QString backupRoot = dir.filePath(QStringLiteral("card-backups"));
    for (int i = 0; i < CardBackups::KeptWrites; ++i) {
        olderBackup(backupRoot, QDateTime(QDate(2024, 1, 1), QTime(8, 0)).addSecs(i));
    }
    const QString empty = backupRoot + QStringLiteral("/000007_2024-02-01_08-00-00-000Z");
    ASSERT_TRUE(QDir().mkpath(empty));
    fs::last_write_time(empty.toStdString(), fs::file_time_type::clock::now() - std::chrono::hours(2));
    const QStringList before = CardBackups::writes(backupRoot);
    ProjectData project;
    testing_support::fillProject(project);
    {
        CardBackups backups(backupRoot);
        PlatformCardFileSystem files(&backups);
        const FileKind all[] = {FileKind::Programs, FileKind::Config, FileKind::Sequences, FileKind::Chimes};
        for (const card::WriteResult& r :
             card::writeCardFiles(project, all, (root / "card").string(), (root / "temp").string(), files)) {
            ASSERT_TRUE(r.ok) << r.reason;
        }
    }
    const QStringList kept = CardBackups::writes(backupRoot);
    for (int attempt = 0; attempt < 5; ++attempt) {
        CardBackups backups(backupRoot);
        const std::string cardFolder = (root / "card").string();
        PlatformCardFileSystem files(&backups, [cardFolder] {
            return std::make_unique<testing_support::FailingWrite>(testing_support::FailingWrite::Step::Commit, 0,
                                                                   cardFolder);
        });
        const FileKind all[] = {FileKind::Programs, FileKind::Config, FileKind::Sequences, FileKind::Chimes};
        for (const card::WriteResult& r :
             card::writeCardFiles(project, all, cardFolder, (root / "temp").string(), files)) {
            EXPECT_FALSE(r.ok);
        }
        EXPECT_TRUE(backups.folder().isEmpty());
    }
    EXPECT_EQ(CardBackups::writes(backupRoot), kept);
    // The first write, onto an empty card, kept nothing: it pruned, but only the empty folder went.
    EXPECT_FALSE(QFileInfo::exists(empty));
    QStringList withoutEmpty = before;
    withoutEmpty.removeAll(QFileInfo(empty).fileName());
    EXPECT_EQ(kept, withoutEmpty);
}

// A layer that ends the process with a signal once the new file's content is on the device, just before the
// rename: the moment a Ctrl+C or a shutdown would find the temporary files there.
class SignalAtSync final : public AtomicWriteFile {
public:
    explicit SignalAtSync(int signal) : signal_(signal) {}
    bool open(const NativePath& path) override {
        onCard_ = path.find("/card/") != NativePath::npos;
        return real_.open(path);
    }
    bool write(QByteArrayView chunk) override { return real_.write(chunk); }
    bool flush() override { return real_.flush(); }
    bool sync() override {
        const bool synced = real_.sync();
        if (onCard_) {
            std::raise(signal_);
        }
        return synced;
    }
    bool commit() override { return real_.commit(); }
    void cancel() override { real_.cancel(); }
    QString errorString() const override { return real_.errorString(); }

private:
    int signal_;
    bool onCard_ = false;
    NativeAtomicWrite real_;
};

class EndedBySignal : public CardFolder, public ::testing::WithParamInterface<int> {};

// The process ended by a signal in the middle of a write leaves neither the temporary file beside the card file
// nor the working folder with its image; the old card file stays.
TEST_P(EndedBySignal, NoTemporaryFileOrWorkingFolderIsLeft) {
    const int signal = GetParam();
    writeFile(card("seq.dat"), std::string_view("old"));
    const fs::path working = root / "temp" / "run";
    const auto end = testing_support::runInChild([&] {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            return 77; // ignored by whoever started the tests: nothing to try
        }
        fs::create_directory(working);
        const RemoveOnSignal guard(working.string(), RemoveOnSignal::Kind::Folder);
        PlatformCardFileSystem files(nullptr, [signal] { return std::make_unique<SignalAtSync>(signal); });
        ProjectData project;
        card::writeCardFile(project, FileKind::Sequences, (root / "card").string(), working.string(), files);
        return 1; // the signal should have ended the process before this
    });
    ASSERT_TRUE(end.finished);
    if (end.exitCode == 77) {
        GTEST_SKIP() << "the signal is ignored in this test run";
    }
    EXPECT_EQ(end.signal, signal);
    EXPECT_EQ(names(root / "card"), std::set<std::string>{"seq.dat"});
    EXPECT_EQ(readFile(card("seq.dat")), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_FALSE(fs::exists(working));
}

INSTANTIATE_TEST_SUITE_P(
    Signals, EndedBySignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP), [](const ::testing::TestParamInfo<int>& param) {
        return std::string(param.param == SIGTERM ? "SIGTERM" : param.param == SIGINT ? "SIGINT" : "SIGHUP");
    });

} // namespace
} // namespace tolvane
