#include "platform/EditorLauncher.h"

#include "LauncherFixtures.h"
#include "RecordingProgramStarter.h"
#include "platform/LauncherTexts.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Outcome = EditorLauncher::Outcome;
using tolvane::testing::addVersionFolder;
using tolvane::testing::allDat;
using tolvane::testing::cardImage;
using tolvane::testing::projectHeader;
using tolvane::testing::writeFile;

// A launcher folder with the editors 1.41, 2.01 and 3.12 installed and a card (or DAT) folder beside it.
class EditorLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(launcherDir.isValid() && cardDir.isValid());
        for (const char* version : {"1.41", "2.01", "3.12"}) {
            addVersionFolder(launcherDir.path(), version);
        }
    }
    QString editor(const QString& version) const {
        return QDir::toNativeSeparators(QDir(launcherDir.path()).filePath(version + "/" + testing::EditorName));
    }
    QString onCard(const QString& name) const { return QDir(cardDir.path()).filePath(name); }

    QTemporaryDir launcherDir;
    QTemporaryDir cardDir;
    testing::RecordingProgramStarter starter;
    EditorLauncher launcher{launcherDir.path(), starter};
};

TEST_F(EditorLauncherTest, ACardTaggedV106StartsTheEditorOf141WithTheCardRoot) {
    writeFile(onCard("programs.dat"), cardImage("V1_06"));
    const EditorLauncher::Result result = launcher.readCard(cardDir.path());
    EXPECT_EQ(result.outcome, Outcome::Started);
    const QString root = launch::nativeFolder(cardDir.path());
    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].program, editor("1.41"));
    EXPECT_EQ(starter.calls[0].arguments, QStringList{root + ";card"});
    EXPECT_EQ(launch::parseEditorParameters(starter.calls[0].arguments[0]),
              (launch::EditorRequest{launch::EditorCommand::Card, root}));
}

TEST_F(EditorLauncherTest, ACardWithOnlySeqDatTaggedV302StartsTheEditorOf312) {
    writeFile(onCard("seq.dat"), cardImage("V3_02"));
    EXPECT_EQ(launcher.readCard(cardDir.path()).outcome, Outcome::Started);
    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].program, editor("3.12"));
}

TEST_F(EditorLauncherTest, ARecognisedVersionWithoutItsEditorStartsNothing) {
    writeFile(onCard("all.dat"), allDat("V1_03"));
    writeFile(onCard("programs.dat"), cardImage("V1_06"));
    const EditorLauncher::Result result = launcher.readCard(cardDir.path());
    EXPECT_EQ(result.outcome, Outcome::ProgramMissing);
    EXPECT_EQ(result.version, "1.28");
    EXPECT_EQ(result.program, editor("1.28"));
    EXPECT_EQ(LauncherTexts::forLanguage("Polski").missingProgram(result.program), "Brak pliku:" + editor("1.28"));
    EXPECT_TRUE(starter.calls.empty());
}

TEST_F(EditorLauncherTest, DataNobodyRecognisesStartsNothing) {
    EXPECT_EQ(launcher.readCard(cardDir.path()).outcome, Outcome::NotRecognised); // an empty card
    writeFile(onCard("old.tpm"), projectHeader(22));
    EXPECT_EQ(launcher.openProject(onCard("old.tpm")).outcome, Outcome::NotRecognised);
    EXPECT_EQ(launcher.startWithoutParameters(firmware::NotRecognised).outcome, Outcome::NotRecognised);
    EXPECT_TRUE(starter.calls.empty());
}

TEST_F(EditorLauncherTest, OpenPassesTheProjectPathWithDollarsForSpaces) {
    ASSERT_TRUE(QDir(cardDir.path()).mkpath("My projects"));
    const QString project = QDir::toNativeSeparators(onCard("My projects/a b.tpm"));
    writeFile(project, projectHeader(21));
    EXPECT_EQ(launcher.openProject(project).outcome, Outcome::Started);
    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].program, editor("2.01"));
    QString expected = project;
    expected.replace(" ", "$$");
    EXPECT_EQ(starter.calls[0].arguments, QStringList{expected + ";open"});
    EXPECT_EQ(launch::parseEditorParameters(starter.calls[0].arguments[0]).argument, project);
}

TEST_F(EditorLauncherTest, APathTheEditorWouldReadAsAnotherIsNotPassed) {
    const QString project = onCard("a$$b.tpm");
    writeFile(project, projectHeader(23));
    writeFile(onCard("a b.tpm"), projectHeader(23)); // the file the editor would open instead
    EXPECT_EQ(launcher.openProject(project).outcome, Outcome::ArgumentRefused);
    EXPECT_TRUE(starter.calls.empty());
}

TEST_F(EditorLauncherTest, NewStartsTheFolderOfTheChosenLabel) {
    const QList<firmware::VersionChoice> choices = firmware::versionChoices(launcherDir.path());
    const QString folder = firmware::folderForLabel(choices, "1.01 VARDELO");
    EXPECT_EQ(launcher.newProject(folder, "1.01 VARDELO").outcome, Outcome::Started);
    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].program, editor("2.01"));
    // One argument, space and all: nothing can split the label from its token.
    EXPECT_EQ(starter.calls[0].arguments, QStringList{"1.01 VARDELO;new"});
}

TEST_F(EditorLauncherTest, DatGivesTheFolderItsTrailingSeparatorAndKeepsItsSpaces) {
    ASSERT_TRUE(QDir(cardDir.path()).mkpath("tower data"));
    const QString folder = onCard("tower data");
    writeFile(QDir(folder).filePath("config.dat"), cardImage("V1_04"));
    EXPECT_EQ(launcher.importDat(folder).outcome, Outcome::Started);
    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].program, editor("2.01"));
    EXPECT_EQ(starter.calls[0].arguments, QStringList{launch::nativeFolder(folder) + ";dat"});
}

TEST_F(EditorLauncherTest, TheAutomaticStartPassesNoParameters) {
    EXPECT_EQ(launcher.startWithoutParameters("1.41").outcome, Outcome::Started);
    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].program, editor("1.41"));
    EXPECT_TRUE(starter.calls[0].arguments.isEmpty());
}

TEST_F(EditorLauncherTest, AStartTheSystemRefusesIsReported) {
    starter.succeeds = false;
    writeFile(onCard("programs.dat"), cardImage("V1_06"));
    const EditorLauncher::Result result = launcher.readCard(cardDir.path());
    EXPECT_EQ(result.outcome, Outcome::StartFailed);
    EXPECT_EQ(result.program, editor("1.41"));
    EXPECT_EQ(starter.calls.size(), 1u);
}

} // namespace
} // namespace tolvane
