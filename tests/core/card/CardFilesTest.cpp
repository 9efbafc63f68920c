#include "card/CardFiles.h"
#include "FullProject.h"
#include "TestFiles.h"
#include "TextNumbers.h"
#include "card/CardImages.h"
#include "platform/PlatformCardFileSystem.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using card::FileKind;

using testing_support::readFile;
using testing_support::writeFile;

// A file layer that fails at the step a test names.
class FailingFiles final : public CardFileSystem {
public:
    enum class Fail { Nothing, TempWrite, Copy, ReadBack, CorruptCopy, Unconfirmed };
    Fail fail = Fail::Nothing;

    bool exists(const std::string& path) const override { return real.exists(path); }
    std::optional<Bytes> read(const std::string& path, std::size_t maxBytes) const override {
        if (fail == Fail::ReadBack) {
            return std::nullopt;
        }
        return real.read(path, maxBytes);
    }
    bool write(const std::string& path, std::span<const std::uint8_t> data) override {
        return fail != Fail::TempWrite && real.write(path, data);
    }
    bool replaceWithCopy(const std::string& from, const std::string& to) override {
        if (fail == Fail::Copy) {
            return false;
        }
        if (fail == Fail::CorruptCopy) {
            auto data = real.read(from, 1 << 20);
            (*data)[100] ^= 0x01;
            return real.write(to, *data);
        }
        return real.replaceWithCopy(from, to);
    }
    // Unconfirmed: every file is put in place, but the sync of the card folder after the renames fails.
    void replaceWithCopies(std::vector<Copy>& copies) override {
        if (fail != Fail::Unconfirmed) {
            CardFileSystem::replaceWithCopies(copies);
            return;
        }
        real.replaceWithCopies(copies);
        for (Copy& copy : copies) {
            if (copy.inPlace) {
                copy.confirmed = false;
                copy.reason = "Input/output error";
            }
        }
    }
    void remove(const std::string& path) override { real.remove(path); }

    PlatformCardFileSystem real;
};

class CardFiles : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("tolvane-card-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "card");
        fs::create_directories(root / "temp");
    }
    void TearDown() override { fs::remove_all(root); }

    std::string cardFolder() const { return (root / "card").string(); }
    std::string tempFolder() const { return (root / "temp").string(); }
    fs::path cardFile(FileKind kind) const { return root / "card" / std::string(card::fileName(kind)); }

    card::WriteResult write(ProjectData& p, FileKind kind) {
        return card::writeCardFile(p, kind, cardFolder(), tempFolder(), files);
    }
    card::ReadResult read(ProjectData& p, FileKind kind) {
        return card::readCardFile(p, kind, cardFile(kind).string(), files);
    }

    fs::path root;
    PlatformCardFileSystem files;
};

TEST_F(CardFiles, WrittenFilesReadBackIntoAFreshProject) {
    ProjectData source;
    testing_support::fillProject(source);
    source.identity().setFormatTag("V1_06");
    for (FileKind kind : card::AllKinds) {
        SCOPED_TRACE(std::string(card::fileName(kind)));
        const card::WriteResult w = write(source, kind);
        EXPECT_TRUE(w.ok);
        EXPECT_EQ(w.text, 190);
        EXPECT_EQ(fs::file_size(cardFile(kind)), card::fileSize(kind));
    }
    EXPECT_FALSE(source.isModifiedAll());
    EXPECT_TRUE(fs::is_empty(root / "temp"));

    ProjectData target;
    for (FileKind kind : {FileKind::Programs, FileKind::Sequences, FileKind::Config, FileKind::Chimes}) {
        EXPECT_TRUE(read(target, kind).ok);
    }
    EXPECT_EQ(target.identity().serial(), "314159");
    EXPECT_EQ(target.program(OneTime).usedCount(), 128);
    EXPECT_EQ(target.holidays().usedCount(), 128);
    EXPECT_EQ(target.sequences().stepCount(41), 155);
    EXPECT_EQ(target.chimes().name(7), source.chimes().name(7));
    EXPECT_EQ(target.general().locationName(), source.general().locationName());
    EXPECT_EQ(target.programsFromCard + target.sequencesFromCard + target.configFromCard + target.chimesFromCard, 4);
    // Every sequence read from a card shows as changed; the other groups come in unmarked.
    EXPECT_TRUE(target.sequences().isChanged(0));
    target.clearSequencesMarks();
    EXPECT_FALSE(target.isModifiedAll());
}

TEST_F(CardFiles, MissingFilesGiveTheirTextsButAMissingChimeFileIsFine) {
    ProjectData p;
    const std::pair<FileKind, card::ReadResult> expected[] = {{FileKind::Programs, {false, 193}},
                                                              {FileKind::Config, {false, 194}},
                                                              {FileKind::Sequences, {false, 585}},
                                                              {FileKind::Chimes, {true, 0}}};
    for (const auto& [kind, result] : expected) {
        SCOPED_TRACE(std::string(card::fileName(kind)));
        const card::ReadResult r = read(p, kind);
        EXPECT_EQ(r.ok, result.ok);
        EXPECT_EQ(r.text, result.text);
    }
    EXPECT_FALSE(card::readCardFile(p, FileKind::Programs, "", files).ok);
    EXPECT_EQ(card::readCardFile(p, FileKind::Programs, "", files).text, 0);
}

// A damaged file of each kind: its text, and a project left as it was (or with only the identity taken).
TEST_F(CardFiles, DamagedFilesAreRefusedWithTheirTexts) {
    struct Case {
        FileKind kind;
        const char* damage;
        int text;
        bool identityTaken;
    };
    const Case cases[] = {
        {FileKind::Programs, "payload", 584, true},  {FileKind::Config, "payload", 584, true},
        {FileKind::Sequences, "payload", 584, true}, {FileKind::Programs, "tag", 673, false},
        {FileKind::Config, "tag", 675, false},       {FileKind::Sequences, "tag", 674, false},
        {FileKind::Programs, "short", 195, false},   {FileKind::Config, "short", 191, false},
        {FileKind::Sequences, "long", 195, false},   {FileKind::Chimes, "short", 195, false},
        {FileKind::Programs, "folder", 195, false},  {FileKind::Config, "checksum", 584, true},
    };
    ProjectData source;
    testing_support::fillProject(source);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(card::fileName(c.kind)) + " " + c.damage);
        fs::remove_all(cardFile(c.kind));
        ASSERT_TRUE(write(source, c.kind).ok);
        Bytes bytes = readFile(cardFile(c.kind));
        const std::string damage = c.damage;
        if (damage == "payload") {
            bytes[0x1234] ^= 0x01;
        } else if (damage == "checksum") {
            bytes[card::ChecksumOffset + 1] ^= 0x80;
        } else if (damage == "tag") {
            const std::string tag = "V3_02";
            std::copy(tag.begin(), tag.end(), bytes.begin() + card::TrailerOffset);
        } else if (damage == "short") {
            bytes.pop_back();
        } else if (damage == "long") {
            bytes.push_back(0xFF);
        }
        if (damage == "folder") {
            fs::remove(cardFile(c.kind));
            fs::create_directory(cardFile(c.kind));
        } else {
            writeFile(cardFile(c.kind), bytes);
        }

        ProjectData target;
        const Bytes before = projectfile::store(target);
        const card::ReadResult r = read(target, c.kind);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(target.identity().serial(), c.identityTaken ? "314159" : "000000");
        // Apart from the identity trailer nothing changed.
        target.identity() = ProjectData().identity();
        EXPECT_EQ(projectfile::store(target), before);
        EXPECT_EQ(target.programsFromCard + target.configFromCard + target.sequencesFromCard + target.chimesFromCard,
                  0);
    }
}

TEST_F(CardFiles, CriticalErrorsWriteNoneOfTheCheckedFiles) {
    ProjectData p;
    p.amplifier().setU16(2, 0); // a critical error
    p.chimes().setName(0, "Kurant");
    for (FileKind kind : {FileKind::Programs, FileKind::Config, FileKind::Sequences}) {
        const card::WriteResult r = write(p, kind);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.text, 459);
        EXPECT_FALSE(fs::exists(cardFile(kind)));
    }
    // The chime names are not checked.
    EXPECT_TRUE(write(p, FileKind::Chimes).ok);
}

TEST_F(CardFiles, AFailedWriteKeepsTheOldFileAndTheChangeMarks) {
    ProjectData p;
    ASSERT_TRUE(write(p, FileKind::Programs).ok);
    const Bytes old = readFile(cardFile(FileKind::Programs));

    FailingFiles failing;
    for (auto fail : {FailingFiles::Fail::TempWrite, FailingFiles::Fail::Copy, FailingFiles::Fail::ReadBack,
                      FailingFiles::Fail::CorruptCopy}) {
        SCOPED_TRACE(static_cast<int>(fail));
        failing.fail = fail;
        p.program(Weekly).addItem();
        ASSERT_TRUE(p.isModifiedAll());
        const card::WriteResult r = card::writeCardFile(p, FileKind::Programs, cardFolder(), tempFolder(), failing);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.text, 192);
        EXPECT_TRUE(p.program(Weekly).isModified());
        EXPECT_TRUE(fs::is_empty(root / "temp"));
        // Until the copy has been put in place the old file is untouched.
        if (fail == FailingFiles::Fail::TempWrite || fail == FailingFiles::Fail::Copy) {
            EXPECT_EQ(readFile(cardFile(FileKind::Programs)), old);
        }
        // No temporary copy is left beside the card file.
        EXPECT_EQ(std::distance(fs::directory_iterator(root / "card"), fs::directory_iterator()), 1);
    }
}

// A file that is in place and reads back right, but whose storage the card could not confirm, is reported as
// written but unconfirmed with the system's reason, never as "not written"; its change marks stay, so the next
// write offers it again.
TEST_F(CardFiles, AFileInPlaceButNotConfirmedIsReportedSoAndKeepsTheMarks) {
    ProjectData p;
    ASSERT_TRUE(write(p, FileKind::Programs).ok);
    const Bytes old = readFile(cardFile(FileKind::Programs));
    p.program(Weekly).addItem();
    FailingFiles failing;
    failing.fail = FailingFiles::Fail::Unconfirmed;
    const card::WriteResult r = card::writeCardFile(p, FileKind::Programs, cardFolder(), tempFolder(), failing);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.text, text::CardNotConfirmed);
    EXPECT_EQ(r.reason, "Input/output error");
    EXPECT_TRUE(p.program(Weekly).isModified());
    // The new file is the one in place.
    EXPECT_NE(readFile(cardFile(FileKind::Programs)), old);
    ProjectData back;
    ASSERT_TRUE(read(back, FileKind::Programs).ok);
    EXPECT_EQ(back.program(Weekly).usedCount(), 1);
    EXPECT_TRUE(fs::is_empty(root / "temp"));
}

TEST_F(CardFiles, WritingIntoAMissingFolderFails) {
    ProjectData p;
    const card::WriteResult r = card::writeCardFile(p, FileKind::Chimes, (root / "gone").string(), tempFolder(), files);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.text, 192);
}

TEST_F(CardFiles, ATemporaryFileThatCannotBeWrittenGivesItsKindsText) {
    FailingFiles failing;
    failing.fail = FailingFiles::Fail::TempWrite;
    ProjectData p;
    for (const auto& [kind, text] : {std::pair{FileKind::Programs, 192},
                                     {FileKind::Config, 658},
                                     {FileKind::Sequences, 658},
                                     {FileKind::Chimes, 658}}) {
        SCOPED_TRACE(std::string(card::fileName(kind)));
        const card::WriteResult r = card::writeCardFile(p, kind, cardFolder(), tempFolder(), failing);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.text, text);
        EXPECT_FALSE(fs::exists(cardFile(kind)));
    }
}

TEST_F(CardFiles, ReadingAConfigurationEmptiesTheChimesAndKurBinRestoresThem) {
    ProjectData source;
    source.chimes().setName(5, "Bogurodzica");
    ASSERT_TRUE(write(source, FileKind::Config).ok);
    ASSERT_TRUE(write(source, FileKind::Chimes).ok);

    ProjectData target;
    target.chimes().setName(5, "old");
    ASSERT_TRUE(read(target, FileKind::Config).ok);
    EXPECT_EQ(target.chimes().name(5), "");
    ASSERT_TRUE(read(target, FileKind::Chimes).ok);
    EXPECT_EQ(target.chimes().name(5), "Bogurodzica");
}

// Paths are joined as bytes: a folder name that is not UTF-8 (Latin-1 "Karte-é") comes out exactly as it went in.
TEST(CardPaths, AFolderAndANameJoinByteForByte) {
    const std::pair<std::string, std::string> cases[] = {{"card", "card/seq.dat"},
                                                         {"card/", "card/seq.dat"},
                                                         {"/media/Karte-\xe9", "/media/Karte-\xe9/seq.dat"},
                                                         {"", "seq.dat"}};
    for (const auto& [folder, joined] : cases) {
        SCOPED_TRACE(folder);
        EXPECT_EQ(card::joinPath(folder, "seq.dat"), joined);
    }
}

} // namespace
} // namespace tolvane
