#include "FullProject.h"
#include "TestFiles.h"
#include "card/CardFiles.h"
#include "card/CardImages.h"
#include "platform/PlatformCardFileSystem.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using card::FileKind;
using Bytes = std::vector<std::uint8_t>;

// Which files the exit check writes back, from how the project was begun and which files were read from the card.
TEST(CardWriteBack, FilesFromHowTheProjectBeganAndWhatWasRead) {
    struct Case {
        const char* name;
        std::uint8_t opened, programs, config, sequences, chimes;
        std::vector<FileKind> expected;
    };
    const Case cases[] = {
        {"nothing read, not opened", 0, 0, 0, 0, 0, {}},
        {"only kur.bin read", 0, 0, 0, 0, 1, {}},
        {"programs read", 0, 1, 0, 0, 0, {FileKind::Programs}},
        {"configuration read", 0, 0, 1, 0, 0, {FileKind::Config}},
        {"sequences read", 0, 0, 0, 1, 0, {FileKind::Sequences}},
        {"programs and sequences read", 0, 1, 0, 1, 1, {FileKind::Programs, FileKind::Sequences}},
        {"all four read", 0, 1, 1, 1, 1, {FileKind::Programs, FileKind::Config, FileKind::Sequences}},
        {"opened from a project file", 1, 0, 0, 0, 0, {FileKind::Programs, FileKind::Config, FileKind::Sequences}},
        {"opened, and a file read since", 1, 0, 1, 0, 1, {FileKind::Programs, FileKind::Config, FileKind::Sequences}},
        // Any nonzero byte counts, as a project file may hold one.
        {"flags other than one", 0, 2, 0, 0xFF, 0, {FileKind::Programs, FileKind::Sequences}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectData project;
        project.projectOpened = c.opened;
        project.programsFromCard = c.programs;
        project.configFromCard = c.config;
        project.sequencesFromCard = c.sequences;
        project.chimesFromCard = c.chimes;
        EXPECT_EQ(card::writeBackKinds(project), c.expected);
    }
}

// A project whose settings hold a signature other than the constant one, as a card or an old project file may
// leave it, with every group carrying change marks.
void foreignSignatureProject(ProjectData& project) {
    testing_support::fillProject(project);
    Bytes block(GeneralSettings::ImageSize, 0xFF);
    project.general().writeImage(block);
    std::fill_n(block.begin() + GeneralSettings::SignatureOffset, 4, std::uint8_t{0});
    project.general().unpackImage(block);
    project.general().setDisplayContrast(61);
}

class CardWriteChanges : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tolvane-writeback-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "card");
        fs::create_directories(root / "temp");
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
    PlatformCardFileSystem files;
};

// Writing card files changes the project's change marks and nothing else: the signature the card needs goes into
// the image only, so the document may take a write as moving marks without an undo step.
TEST_F(CardWriteChanges, OnlyTheMarksOfTheProjectChange) {
    ProjectData project;
    foreignSignatureProject(project);
    ASSERT_EQ(project.general().signature(), 0U);
    ASSERT_TRUE(project.isModifiedAll());
    std::array<SectionState, SectionIdCount> before;
    for (int i = 0; i < SectionIdCount; ++i) {
        before[static_cast<std::size_t>(i)] = project.state(static_cast<SectionId>(i));
    }

    const std::vector<card::WriteResult> results =
        card::writeCardFiles(project, card::AllKinds, (root / "card").string(), (root / "temp").string(), files);
    for (const card::WriteResult& result : results) {
        EXPECT_TRUE(result.ok) << result.text << " " << result.reason;
    }
    EXPECT_FALSE(project.isModifiedAll()) << "every written group's marks are cleared";
    for (int i = 0; i < SectionIdCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(project.state(static_cast<SectionId>(i)).content, before[static_cast<std::size_t>(i)].content);
    }
    EXPECT_EQ(project.general().signature(), 0U);

    // The card still gets the constant signature, high byte first.
    const Bytes config = testing_support::readFile(root / "card" / "config.dat");
    ASSERT_EQ(config.size(), card::ImageSize);
    const Bytes signature(config.begin() + card::GeneralOffset + GeneralSettings::SignatureOffset,
                          config.begin() + card::GeneralOffset + GeneralSettings::SignatureOffset + 4);
    EXPECT_EQ(signature, (Bytes{0xAA, 0x55, 0xA5, 0xA5}));
}

// The project file saved after a card write holds the same bytes as one saved without the write: storing puts
// the constant signature in as it always did.
TEST_F(CardWriteChanges, TheProjectFileIsTheSameAsWithoutTheWrite) {
    ProjectData written;
    ProjectData twin;
    foreignSignatureProject(written);
    foreignSignatureProject(twin);
    for (const card::WriteResult& result :
         card::writeCardFiles(written, card::AllKinds, (root / "card").string(), (root / "temp").string(), files)) {
        ASSERT_TRUE(result.ok) << result.text;
    }
    EXPECT_EQ(projectfile::encode(written), projectfile::encode(twin));
    EXPECT_EQ(written.general().signature(), GeneralSettings::Signature) << "stored as the file holds it";
}

} // namespace
} // namespace tolvane
