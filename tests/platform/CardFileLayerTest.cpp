#include "FullProject.h"
#include "TestFiles.h"
#include "Watchdog.h"
#include "card/CardFiles.h"
#include "platform/CardBackups.h"
#include "platform/PlatformCardFileSystem.h"
#include "platform/RemoveOnSignal.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
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

std::set<std::string> names(const fs::path& folder) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        found.insert(entry.path().filename().string());
    }
    return found;
}

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
                      PlantCase{"SymlinkUnderTheFirstNameTried", "programs.dat.AAAAAA.tmp~", Planted::Symlink},
                      PlantCase{"HardLinkUnderTheFirstNameTried", "programs.dat.AAAAAA.tmp~", Planted::HardLink},
                      PlantCase{"AnotherWritersTemporaryFile", "programs.dat.AAAAAA.tmp~", Planted::OtherWritersFile},
                      PlantCase{"SymlinkInPlaceOfTheCardFile", "programs.dat", Planted::Symlink}),
    [](const ::testing::TestParamInfo<PlantCase>& param) { return std::string(param.param.name); });

// Every name taken: the write gives up with a reason and leaves the old file.
TEST_F(CardFolder, WhenNoTemporaryNameIsFreeTheOldFileStays) {
    writeFile(card("kur.bin"), std::string_view("old"));
    const auto always = [] { return std::make_unique<NativeAtomicWrite>([] { return std::string("TAKEN0"); }); };
    writeFile(card("kur.bin.TAKEN0.tmp~"), std::string_view("other"));
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

// One folder per write, named by its time; the last twenty are kept, and nothing else in the folder is touched.
TEST(CardBackupFolders, EachWriteHasAFolderAndTheLastTwentyAreKept) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.filePath(QStringLiteral("card-backups"));
    const QDateTime start(QDate(2024, 1, 1), QTime(8, 0));
    for (int i = 0; i < 25; ++i) {
        ASSERT_TRUE(QDir().mkpath(root + "/" + start.addSecs(i).toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz"))));
    }
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/my notes")));
    const std::string oldFile = dir.filePath(QStringLiteral("config.dat")).toStdString();
    writeFile(oldFile, std::string_view("the old configuration"));

    const QDateTime now(QDate(2025, 6, 1), QTime(12, 0, 0, 250));
    CardBackups backups(root, now);
    QString error;
    ASSERT_TRUE(backups.keep(oldFile, &error)) << error.toStdString();
    EXPECT_EQ(backups.folder(), root + QStringLiteral("/2025-06-01_12-00-00-250"));
    EXPECT_EQ(readFile(backups.folder().toStdString() + "/config.dat"), readFile(oldFile));

    QStringList writes = CardBackups::writes(root);
    ASSERT_EQ(writes.size(), CardBackups::KeptWrites);
    EXPECT_EQ(writes.front(), start.addSecs(6).toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz")));
    EXPECT_EQ(writes.back(), QStringLiteral("2025-06-01_12-00-00-250"));
    EXPECT_TRUE(QFileInfo(root + QStringLiteral("/my notes")).isDir());

    // A second write in the same millisecond has a folder of its own, after the first.
    CardBackups again(root, now);
    ASSERT_TRUE(again.keep(oldFile, &error)) << error.toStdString();
    writes = CardBackups::writes(root);
    EXPECT_EQ(writes.back(), QStringLiteral("2025-06-01_12-00-00-250_01"));
    EXPECT_EQ(writes.size(), CardBackups::KeptWrites);
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
