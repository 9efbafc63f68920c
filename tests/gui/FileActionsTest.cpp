// The main window's commands as the user gives them: each action of the menus and the tool bar found by its object
// name where the user sees it (a shown menu, the tool bar), triggered, and what it did.

#include "DocumentEdit.h"
#include "ShellTestSupport.h"
#include "UserActions.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/widgets/CRemoveDirCombo.h"
#include "project/ProjectFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <functional>

namespace tolvane {
namespace {

struct FileActionsTest;

// One command: what is there before it, the action the user takes, and what the command must have done.
struct ActionCase {
    const char* name;
    const char* action;
    std::function<void(FileActionsTest&)> before;
    std::function<void(FileActionsTest&)> after;
};

struct FileActionsTest : public ::testing::TestWithParam<ActionCase>, public testing::ShellFixture {
    CTarvelinDoc* doc() const { return frame->document(); }
    std::string location() const { return doc() ? doc()->project().general().locationName() : std::string("-"); }

    // A project file `name` of a tower named `tower`.
    QString savedProject(const QString& name, const std::string& tower) const {
        ProjectData project;
        project.general().setLocationName(tower);
        const std::vector<std::uint8_t> bytes = projectfile::store(project);
        const QString at = path(name);
        EXPECT_TRUE(testing::writeBytes(
            at, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()))));
        return at;
    }

    // A folder holding the four card files of a tower named `name`.
    QString cardFiles(const QString& folder, const std::string& name) const {
        ProjectData project;
        project.general().setLocationName(name);
        EXPECT_TRUE(QDir().mkpath(path(folder)));
        EXPECT_TRUE(testing::writeCardFolder(project, path(folder), app.context.tempFolder));
        return path(folder);
    }

    // The tool bar's drive list shows a card at `root`. The list asks the system's removable drives, which a test
    // cannot script: its polling is stopped and the entry it would make is put in, as the list makes it (the text,
    // the root as the item's data), and the list enabled as it enables itself for a card.
    void showCard(const QString& root) const {
        auto* drives = qobject_cast<CRemoveDirCombo*>(frame->driveList());
        ASSERT_NE(drives, nullptr);
        drives->enableRefreshing(false);
        drives->addItem(QStringLiteral("CARD ") + root, root);
        drives->setCurrentIndex(drives->count() - 1);
        drives->setEnabled(true);
    }

    // Opens `project` and closes it again, so that it joins the recent files.
    void openedOnce(const QString& project) const {
        ASSERT_TRUE(frame->openDocument(project));
        ASSERT_TRUE(frame->closeDocument());
    }

    // The tower named in `project`, as opening it shows.
    std::string reopened(const QString& project) const {
        if (doc()) {
            EXPECT_TRUE(frame->closeDocument());
        }
        EXPECT_TRUE(frame->openDocument(project));
        return location();
    }

    QString file;        // a file the case made
    bool hidden = false; // the status bar before the case
};

TEST_P(FileActionsTest, TheCommandDoesWhatItsEntrySays) {
    const ActionCase& c = GetParam();
    frame->show();
    if (c.before) {
        c.before(*this);
    }
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    ASSERT_TRUE(testing::triggerAction(*frame, QString::fromLatin1(c.action)));
    c.after(*this);
    EXPECT_TRUE(app.dialogs.done()) << "a scripted dialog never opened";
}

const auto opensTheChosenProject = [](FileActionsTest& fx) {
    ASSERT_NE(fx.doc(), nullptr);
    EXPECT_EQ(fx.doc()->path(), fx.file);
    EXPECT_EQ(fx.location(), "Otwarta");
    EXPECT_EQ(fx.app.choosers.calls().at(0).title, "t131");
};
const auto opensAnEmptyProject = [](FileActionsTest& fx) {
    ASSERT_NE(fx.doc(), nullptr);
    EXPECT_TRUE(fx.doc()->path().isEmpty());
    EXPECT_FALSE(fx.doc()->isModified());
    EXPECT_TRUE(fx.app.prompts.boxes().empty());
};
const auto readsTheCard = [](FileActionsTest& fx) {
    ASSERT_NE(fx.doc(), nullptr);
    EXPECT_EQ(fx.location(), "Karta");
    EXPECT_EQ(fx.doc()->project().configFromCard, 1);
    EXPECT_EQ(fx.app.prompts.texts(), QStringList{"t505"}) << "every card file read";
};
const auto savesToItsFile = [](FileActionsTest& fx) {
    ASSERT_NE(fx.doc(), nullptr);
    EXPECT_FALSE(fx.doc()->isModified());
    EXPECT_EQ(fx.reopened(fx.file), "Nowa");
};
const auto closesTheProject = [](FileActionsTest& fx) {
    EXPECT_EQ(fx.doc(), nullptr);
    EXPECT_EQ(fx.frame->view(), nullptr);
};
const auto undoesTheStep = [](FileActionsTest& fx) {
    EXPECT_EQ(fx.doc()->project().timeCorrection().syncStartHour(), 1);
    EXPECT_TRUE(fx.doc()->canRedo());
};
const auto endsTheEditor = [](FileActionsTest& fx) {
    EXPECT_FALSE(fx.frame->isVisible());
    EXPECT_EQ(fx.doc(), nullptr);
};

const auto openChoice = [](FileActionsTest& fx) {
    fx.file = fx.savedProject(QStringLiteral("opened.tpm"), "Otwarta");
    fx.app.choosers.openFileAnswer(fx.file);
};
const auto aCard = [](FileActionsTest& fx) { fx.showCard(fx.cardFiles(QStringLiteral("card"), "Karta")); };
const auto anOpenFileChanged = [](FileActionsTest& fx) {
    fx.file = fx.savedProject(QStringLiteral("tower.tpm"), "Stara");
    ASSERT_TRUE(fx.frame->openDocument(fx.file));
    testing::userEdit(*fx.doc(), [](ProjectData& p) { p.general().setLocationName("Nowa"); });
};
const auto aNewProject = [](FileActionsTest& fx) { ASSERT_TRUE(fx.frame->newDocument()); };
const auto anEdit = [](FileActionsTest& fx) {
    ASSERT_TRUE(fx.frame->newDocument());
    testing::userEdit(*fx.doc(), [](ProjectData& p) { p.timeCorrection().setSyncStartHour(2); });
};
const auto anUndoneEdit = [](FileActionsTest& fx) {
    anEdit(fx);
    ASSERT_TRUE(fx.frame->undo());
};
const auto redoesTheStep = [](FileActionsTest& fx) {
    EXPECT_EQ(fx.doc()->project().timeCorrection().syncStartHour(), 2);
};
const auto twoRecentFiles = [](FileActionsTest& fx) {
    fx.file = fx.savedProject(QStringLiteral("older.tpm"), "Starsza");
    fx.openedOnce(fx.file);
    fx.openedOnce(fx.savedProject(QStringLiteral("newer.tpm"), "Nowsza"));
};

INSTANTIATE_TEST_SUITE_P(
    Commands, FileActionsTest,
    ::testing::Values(ActionCase{"New", "actionNew", {}, opensAnEmptyProject},
                      ActionCase{"NewButton", "toolBarNew", {}, opensAnEmptyProject},
                      ActionCase{"Open", "actionOpen", openChoice, opensTheChosenProject},
                      ActionCase{"OpenButton", "toolBarOpen", openChoice, opensTheChosenProject},
                      // The recent files, newest first: each entry opens its own file.
                      ActionCase{"RecentFileNewest", "actionRecentFile1", twoRecentFiles,
                                 [](FileActionsTest& fx) { EXPECT_EQ(fx.location(), "Nowsza"); }},
                      ActionCase{"RecentFileOlder", "actionRecentFile2", twoRecentFiles,
                                 [](FileActionsTest& fx) {
                                     ASSERT_NE(fx.doc(), nullptr);
                                     EXPECT_EQ(fx.doc()->path(), fx.file);
                                     EXPECT_EQ(fx.location(), "Starsza");
                                 }},
                      ActionCase{"ReadCard", "actionReadCard", aCard, readsTheCard},
                      ActionCase{"ReadCardButton", "toolBarReadCard", aCard, readsTheCard},
                      ActionCase{"LoadDat", "actionLoadDat",
                                 [](FileActionsTest& fx) {
                                     fx.file = fx.cardFiles(QStringLiteral("dat"), "Katalog");
                                     fx.app.choosers.folderAnswer(fx.file);
                                 },
                                 [](FileActionsTest& fx) {
                                     ASSERT_NE(fx.doc(), nullptr);
                                     EXPECT_EQ(fx.location(), "Katalog");
                                     EXPECT_EQ(fx.app.current.lastDatDir, fx.file + "/");
                                     EXPECT_EQ(fx.app.prompts.texts(), QStringList{"t505"});
                                 }},
                      ActionCase{"Save", "actionSave", anOpenFileChanged, savesToItsFile},
                      ActionCase{"SaveButton", "toolBarSave", anOpenFileChanged, savesToItsFile},
                      ActionCase{"SaveAs", "actionSaveAs",
                                 [](FileActionsTest& fx) {
                                     anOpenFileChanged(fx);
                                     fx.app.choosers.saveFileAnswer(fx.path(QStringLiteral("copy")));
                                 },
                                 [](FileActionsTest& fx) {
                                     const QString copy = fx.path(QStringLiteral("copy.tpm"));
                                     ASSERT_NE(fx.doc(), nullptr);
                                     EXPECT_EQ(fx.doc()->path(), copy);
                                     EXPECT_EQ(fx.reopened(copy), "Nowa");
                                     EXPECT_EQ(fx.reopened(fx.file), "Stara")
                                         << "the file it came from stays as it was";
                                 }},
                      ActionCase{"Close", "actionClose", aNewProject, closesTheProject},
                      ActionCase{"CloseButton", "toolBarClose", aNewProject, closesTheProject},
                      ActionCase{"Undo", "actionUndo", anEdit, undoesTheStep},
                      ActionCase{"UndoButton", "toolBarUndo", anEdit, undoesTheStep},
                      ActionCase{"Redo", "actionRedo", anUndoneEdit, redoesTheStep},
                      ActionCase{"RedoButton", "toolBarRedo", anUndoneEdit, redoesTheStep},
                      ActionCase{"StatusBar", "actionStatusBar",
                                 [](FileActionsTest& fx) { fx.hidden = fx.frame->statusBar()->isHidden(); },
                                 [](FileActionsTest& fx) { EXPECT_NE(fx.frame->statusBar()->isHidden(), fx.hidden); }},
                      ActionCase{"Exit", "actionExit", {}, endsTheEditor},
                      ActionCase{"ExitWithAProject", "actionDocumentExit", aNewProject, endsTheEditor},
                      // Tools -> Program settings: the language chosen there is stored and speaks at once.
                      ActionCase{"Settings", "actionSettings",
                                 [](FileActionsTest& fx) {
                                     ASSERT_TRUE(testing::writeLanguage(fx.path(QStringLiteral("Language")),
                                                                        QStringLiteral("Other"),
                                                                        testing::numberedTexts(QStringLiteral("o"))));
                                     fx.app.dialogs.then(testing::chooseLanguageStep(QStringLiteral("Other")));
                                 },
                                 [](FileActionsTest& fx) {
                                     EXPECT_EQ(fx.app.dialogs.lastTitle(), "t153");
                                     EXPECT_EQ(fx.frame->action(CMainFrame::CmdOpen)->text(), "o121");
                                     fx.app.settingsFile.sync();
                                     EXPECT_EQ(fx.app.store.read().lastLang, "Other");
                                 }}),
    [](const ::testing::TestParamInfo<ActionCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace tolvane
