#include "platform/FirmwareDetection.h"

#include "LauncherFixtures.h"
#include "card/CardImages.h"
#include "project/ProjectData.h"
#include "project/ProjectFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace tolvane {
namespace {

using namespace tolvane::firmware;
using tolvane::testing::allDat;
using tolvane::testing::cardImage;
using tolvane::testing::projectHeader;
using tolvane::testing::writeFile;

TEST(FirmwareTags, EachKnownTagLeadsToItsFolderAndAnythingElseIsNotRecognised) {
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {"V1_02", "1.24"}, {"V1_03", "1.28"},
        {"V1_05", "1.33"}, {"V1_06", "1.41"},
        {"V1_04", "2.01"}, {"V2_01", "2.01"},
        {"V3_00", "3.01"}, {"V3_02", "3.12"},
        {"V1_01", "1.00"}, {"V3_04", "1.00"},
        {"v1_06", "1.00"}, {"V1_0", "1.00"},
        {"", "1.00"},      {QByteArray("V1_06", 5).left(4) + '\0', "1.00"},
    };
    for (const auto& [tag, folder] : cases) {
        SCOPED_TRACE(tag.toStdString());
        EXPECT_EQ(folderForTag(tag), folder);
    }
}

TEST(FirmwareTags, FormatNumbersOfProjectFiles) {
    const std::map<int, QString> known = {{19, "1.24"}, {20, "1.28"}, {21, "2.01"}, {23, "1.41"},
                                          {24, "3.01"}, {25, "3.04"}, {26, "3.12"}};
    for (int number = 0; number < 256; ++number) {
        SCOPED_TRACE(number);
        const auto found = known.find(number);
        EXPECT_EQ(folderForFormatNumber(number), found == known.end() ? NotRecognised : found->second);
    }
}

TEST(FirmwareTags, TheTableOffersEveryLabelOnceAndSkipsTheFirmwareThatNeverExisted) {
    std::map<QString, int> seen;
    int total = 0;
    for (const FirmwareGroup& group : firmwareTable()) {
        for (const char* label : group.labels) {
            ++seen[QString::fromLatin1(label)];
            ++total;
        }
    }
    EXPECT_EQ(total, 53);
    EXPECT_EQ(static_cast<int>(seen.size()), total);
    for (const char* absent : {"1.36", "1.39", "1.40"}) {
        EXPECT_EQ(seen.count(QString::fromLatin1(absent)), 0u) << absent;
    }
}

class FirmwareDetection : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    void put(const QString& name, const QByteArray& bytes) const { writeFile(path(name), bytes); }

    QTemporaryDir dir;
};

TEST_F(FirmwareDetection, CardFolders) {
    struct Case {
        const char* what;
        std::map<QString, QByteArray> files;
        QString folder;
    };
    const std::vector<Case> cases = {
        {"programs.dat tagged V1_06", {{"programs.dat", cardImage("V1_06")}}, "1.41"},
        {"only seq.dat tagged V3_02", {{"seq.dat", cardImage("V3_02")}}, "3.12"},
        {"all.dat decides whatever the images say",
         {{"all.dat", allDat("V1_03")}, {"programs.dat", cardImage("V1_06")}, {"seq.dat", cardImage("V3_02")}},
         "1.28"},
        {"an unknown all.dat is not overruled by the images",
         {{"all.dat", allDat("V9_99")}, {"programs.dat", cardImage("V1_06")}},
         "1.00"},
        {"all.dat of 22 bytes is too short",
         {{"all.dat", allDat("V1_05", 22)}, {"programs.dat", cardImage("V1_06")}},
         "1.00"},
        {"all.dat of exactly 23 bytes", {{"all.dat", allDat("V1_05")}}, "1.33"},
        {"the first recognised image wins",
         {{"programs.dat", cardImage("V3_00")}, {"config.dat", cardImage("V1_06")}},
         "3.01"},
        {"an unknown programs.dat gives way to config.dat",
         {{"programs.dat", cardImage("XXXXX")}, {"config.dat", cardImage("V1_04")}, {"seq.dat", cardImage("V1_06")}},
         "2.01"},
        {"an image of 65,540 bytes is too short", {{"programs.dat", cardImage("V1_06", 65540)}}, "1.00"},
        {"an image of 65,541 bytes is long enough", {{"programs.dat", cardImage("V1_06", 65541)}}, "1.41"},
        {"a short image gives way to the next",
         {{"programs.dat", cardImage("V1_06", 1000)}, {"seq.dat", cardImage("V1_02")}},
         "1.24"},
        {"kur.bin alone says nothing", {{"kur.bin", QByteArray(9600, '\0')}}, "1.00"},
        {"an empty card", {}, "1.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir card;
        for (const auto& [name, bytes] : c.files) {
            writeFile(QDir(card.path()).filePath(name), bytes);
        }
        EXPECT_EQ(detectFolder(card.path()), c.folder);
        EXPECT_EQ(detectFolder(card.path() + "/"), c.folder);
    }
}

TEST_F(FirmwareDetection, AFolderThatCannotBeReadIsNotRecognised) {
    EXPECT_EQ(detectFolder(path("missing")), NotRecognised);
    ASSERT_TRUE(QDir(dir.path()).mkpath("programs.dat"));
    EXPECT_EQ(detectFolder(dir.path()), NotRecognised);
}

TEST_F(FirmwareDetection, ProjectFiles) {
    const std::vector<std::pair<QByteArray, QString>> cases = {
        {projectHeader(23), "1.41"},
        {projectHeader(19), "1.24"},
        {projectHeader(26), "3.12"},
        {projectHeader(22), "1.00"}, // bytes 0x16 0x4D 0x50 0x54
        {projectHeader(0), "1.00"},
        {QByteArray("\x17MPX", 4), "1.00"},
        {QByteArray("\x17MP", 3), "1.00"},
        {QByteArray(), "1.00"},
        {QByteArray("\x17\x4D\x50\x54", 4), "1.41"}, // the header alone is enough
    };
    for (const auto& [bytes, folder] : cases) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        put("a.tpm", bytes);
        EXPECT_EQ(detectProjectFile(path("a.tpm")), folder);
    }
    EXPECT_EQ(detectProjectFile(path("missing.tpm")), NotRecognised);
    EXPECT_EQ(detectProjectFile(dir.path()), NotRecognised);
}

TEST_F(FirmwareDetection, AProjectFileOfThisEditorFitsItsOwnFolder) {
    ProjectData project;
    const std::vector<std::uint8_t> stored = projectfile::store(project);
    put("tower.tpm", QByteArray(reinterpret_cast<const char*>(stored.data()), static_cast<qsizetype>(stored.size())));
    EXPECT_EQ(detectProjectFile(path("tower.tpm")), "1.41");
}

TEST_F(FirmwareDetection, CardImagesOfThisEditorFitItsOwnFolder) {
    ProjectData project;
    std::vector<std::uint8_t> image(card::ImageSize, 0xFF);
    card::packSequencesImage(project, std::span<std::uint8_t, card::ImageSize>(image.data(), card::ImageSize));
    put("seq.dat", QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size())));
    EXPECT_EQ(detectFolder(dir.path()), "1.41");
}

TEST_F(FirmwareDetection, VersionFoldersAreTheFourCharacterNamesWithAFullStopSecond) {
    for (const char* name : {"2.01", "1.41", "x.yz", "abcd", "1.4", "10.41", "1.410", "Language"}) {
        ASSERT_TRUE(QDir(dir.path()).mkpath(name));
    }
    put("3.12", "a file, not a folder");
    EXPECT_EQ(versionFolders(dir.path()), (QStringList{"1.41", "2.01", "x.yz"}));
    EXPECT_TRUE(isVersionName("1.41"));
    EXPECT_FALSE(isVersionName("1,41"));
    EXPECT_TRUE(versionFolders(path("missing")).isEmpty());
}

TEST_F(FirmwareDetection, VersionDialogListsTheLabelsOfTheFoldersPresentSorted) {
    for (const char* name : {"2.01", "1.41", "9.99", "x.yz"}) {
        ASSERT_TRUE(QDir(dir.path()).mkpath(name));
    }
    const QList<VersionChoice> choices = versionChoices(dir.path());
    QList<VersionChoice> expected;
    for (int i = 1; i <= 13; ++i) {
        expected.append(VersionChoice{QString("1.%1 VARDELO").arg(i, 2, 10, QLatin1Char('0')), "2.01"});
    }
    for (const char* label : {"1.41", "1.42", "1.43", "1.44", "1.45"}) {
        expected.append(VersionChoice{label, "1.41"});
    }
    EXPECT_EQ(choices, expected);
    EXPECT_EQ(folderForLabel(choices, "1.01 VARDELO"), "2.01");
    EXPECT_EQ(folderForLabel(choices, "1.44"), "1.41");
    EXPECT_EQ(folderForLabel(choices, "1.28"), NotRecognised);

    EXPECT_EQ(preselectedIndex(choices, "1.43"), 15);
    EXPECT_EQ(preselectedIndex(choices, "1.28"), 0); // the default label, its folder absent
    EXPECT_EQ(preselectedIndex({}, "1.28"), -1);
}

TEST_F(FirmwareDetection, WithEveryVersionFolderTheLabelsInterleaveByText) {
    for (const FirmwareGroup& group : firmwareTable()) {
        ASSERT_TRUE(QDir(dir.path()).mkpath(group.folder));
    }
    const QList<VersionChoice> choices = versionChoices(dir.path());
    ASSERT_EQ(choices.size(), 53);
    for (qsizetype i = 1; i < choices.size(); ++i) {
        EXPECT_LT(choices[i - 1].label, choices[i].label);
    }
    EXPECT_EQ(choices.front(), (VersionChoice{"1.01 VARDELO", "2.01"}));
    EXPECT_EQ(choices[13], (VersionChoice{"1.16", "1.24"}));
    EXPECT_EQ(choices.back(), (VersionChoice{"2.12 TOLVANE2", "3.12"}));
    EXPECT_EQ(folderForLabel(choices, "1.28"), "1.28");
    EXPECT_EQ(folderForLabel(choices, "1.38"), "1.33");
    EXPECT_EQ(folderForLabel(choices, "2.04 TOLVANE2"), "3.04");
}

TEST(EditorProgram, LivesInItsVersionFolder) {
    EXPECT_EQ(editorProgramPath("/opt/tolvane", "1.41"),
              QDir::toNativeSeparators("/opt/tolvane/1.41/" + tolvane::testing::EditorName));
    EXPECT_EQ(editorProgramPath("/opt/tolvane/", "3.12"),
              QDir::toNativeSeparators("/opt/tolvane/3.12/" + tolvane::testing::EditorName));
}

} // namespace
} // namespace tolvane
