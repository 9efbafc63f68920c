#include "DocumentEdit.h"
#include "ShellTestSupport.h"
#include "UserActions.h"

#include "gui/app/CDataPage.h"
#include "gui/app/CProgramSet.h"
#include "gui/app/CTarvelinDoc.h"
#include "project/ProjectFile.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <tuple>

namespace tolvane {
namespace {

using testing::childTexts;
using testing::ShellFixture;
using testing::treeItem;
using Answer = PromptService::Answer;

QStringList menuTitles(const CMainFrame& frame) {
    QStringList titles;
    for (QAction* menu : frame.menus()->actions()) {
        titles << menu->text();
    }
    return titles;
}

class MainFrameTest : public ::testing::Test, protected ShellFixture {};

TEST_F(MainFrameTest, ToolBarAndMenusFollowTheDocumentState) {
    CMainFrame& f = *frame;
    EXPECT_GE(f.minimumWidth(), 920);
    EXPECT_GE(f.minimumHeight(), 600);
    const auto shown = [&](CMainFrame::Command command) { return f.toolBarAction(command)->isVisible(); };

    EXPECT_EQ(menuTitles(f), QStringList({"t119", "t124", "t127", "t129"}));
    EXPECT_TRUE(shown(CMainFrame::CmdNew) && shown(CMainFrame::CmdOpen) && shown(CMainFrame::CmdReadCard));
    EXPECT_TRUE(f.driveListAction()->isVisible());
    EXPECT_FALSE(shown(CMainFrame::CmdClose));
    EXPECT_FALSE(f.action(CMainFrame::CmdSave)->isEnabled());
    EXPECT_EQ(f.action(CMainFrame::CmdNew)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(f.action(CMainFrame::CmdOpen)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(f.action(CMainFrame::CmdSave)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));

    // Read from card follows the drive list.
    EXPECT_FALSE(f.driveList()->isEnabled());
    EXPECT_FALSE(f.action(CMainFrame::CmdReadCard)->isEnabled());
    EXPECT_FALSE(f.readFromCard());
    f.driveList()->setEnabled(true);
    EXPECT_TRUE(f.action(CMainFrame::CmdReadCard)->isEnabled());
    f.driveList()->setEnabled(false);
    EXPECT_FALSE(f.toolBarAction(CMainFrame::CmdReadCard)->isEnabled());

    ASSERT_TRUE(f.newDocument());
    EXPECT_EQ(menuTitles(f), QStringList({"t119", "t2000", "t140", "t143", "t145"}));
    EXPECT_TRUE(shown(CMainFrame::CmdClose));
    EXPECT_FALSE(shown(CMainFrame::CmdNew) || shown(CMainFrame::CmdOpen) || shown(CMainFrame::CmdReadCard));
    EXPECT_FALSE(f.driveListAction()->isVisible());
    EXPECT_TRUE(f.action(CMainFrame::CmdSave)->isEnabled());
    // One project at a time.
    EXPECT_FALSE(f.action(CMainFrame::CmdNew)->isEnabled());
    EXPECT_FALSE(f.newDocument());
    EXPECT_EQ(f.statusPane(0).left(6), "Firm: ");
    EXPECT_EQ(f.statusPane(1).left(6), "Boot: ");
    EXPECT_EQ(f.statusPane(2).left(8), "Serial: ");

    ASSERT_TRUE(f.closeDocument());
    EXPECT_EQ(f.document(), nullptr);
    EXPECT_EQ(menuTitles(f), QStringList({"t119", "t124", "t127", "t129"}));
    EXPECT_FALSE(shown(CMainFrame::CmdClose));
    EXPECT_TRUE(shown(CMainFrame::CmdNew));
    EXPECT_TRUE(f.statusPane(0).isEmpty());
}

TEST_F(MainFrameTest, TreeItemsBringTheirPagesToTheFront) {
    ASSERT_TRUE(frame->newDocument());
    CTarvelinView& view = *frame->view();
    testing::userEdit(*frame->document(), [](ProjectData& p) { p.general().setSpecialTollingOn(false); });
    view.buildTree();

    QTreeWidget& tree = *view.tree();
    std::vector<int> top;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        top.push_back(tree.topLevelItem(i)->data(0, CTarvelinView::TextRole).toInt());
    }
    EXPECT_EQ(top, (std::vector<int>{157, 158, 165, 825, 164}));
    EXPECT_EQ(childTexts(tree.topLevelItem(1)), (std::vector<int>{159, 160, 161, 162, 163, 169, 2450}));
    EXPECT_EQ(childTexts(tree.topLevelItem(2)), (std::vector<int>{598, 166, 167, 168, 170, 171, 602, 599, 600}));
    EXPECT_EQ(childTexts(tree.topLevelItem(4)), (std::vector<int>{696}));
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tree.topLevelItem(i)->isExpanded(), i == 1 || i == 2 || i == 4);
    }

    // Each item, its page and that page's header.
    struct Case {
        int itemText;
        PageId page;
        QString header;
    };
    const Case cases[] = {
        {157, PageId::Wymiana, "t174"},  {158, PageId::Programy, "t173"},  {159, PageId::Tyg, "t175"},
        {160, PageId::Rok, "t181"},      {161, PageId::Swi, "t180"},       {162, PageId::Jed, "t182"},
        {163, PageId::Pog, "t183"},      {169, PageId::Swieta, "t177"},    {165, PageId::Settings, "t176"},
        {598, PageId::User, "t598"},     {166, PageId::Korekty, "t179"},   {167, PageId::Gongi, "t178"},
        {168, PageId::Settings, "t176"}, {170, PageId::Settings, "t176"},  {171, PageId::Settings, "t176"},
        {602, PageId::Settings, "t176"}, {599, PageId::Sekwencje, "t599"}, {600, PageId::Krosownica, "t600"},
        {825, PageId::Kuranty, "t825"},  {164, PageId::Raport, "t164"},    {696, PageId::Druk, "t696"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.itemText);
        QTreeWidgetItem* item = treeItem(view, c.itemText);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(0), QStringLiteral("t%1").arg(c.itemText));
        tree.setCurrentItem(item);
        EXPECT_EQ(view.currentPage(), view.page(c.page));
        EXPECT_EQ(view.currentPage()->headerTitle(), c.header);
    }
    // Clicking the item that is already selected brings its page to the front again.
    frame->show();
    QTreeWidgetItem* report = treeItem(view, 164);
    tree.setCurrentItem(report);
    view.findChild<QStackedWidget*>(QStringLiteral("pageStack"))->setCurrentWidget(view.page(PageId::Druk));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(report).center());
    EXPECT_EQ(view.currentPage(), view.page(PageId::Raport));
}

TEST_F(MainFrameTest, SpecialTollingItemFollowsTheOptionWithoutRebuildingTheTree) {
    ASSERT_TRUE(frame->newDocument());
    CTarvelinView& view = *frame->view();
    CTarvelinDoc& doc = *frame->document();
    testing::userEdit(doc, [](ProjectData& p) { p.general().setSpecialTollingOn(false); });
    ASSERT_EQ(view.specialTollingItem(), nullptr);
    QTreeWidgetItem* programs = treeItem(view, 158);
    QTreeWidgetItem* weekly = treeItem(view, 159);

    testing::userEdit(doc, [](ProjectData& p) { p.general().setSpecialTollingOn(true); });
    ASSERT_NE(view.specialTollingItem(), nullptr);
    EXPECT_EQ(childTexts(programs), (std::vector<int>{159, 160, 161, 162, 163, 879, 169, 2450}));
    EXPECT_EQ(view.specialTollingItem()->text(0), "t879");
    EXPECT_EQ(treeItem(view, 158), programs); // the same items: no rebuild
    EXPECT_EQ(treeItem(view, 159), weekly);
    view.tree()->setCurrentItem(view.specialTollingItem());
    EXPECT_EQ(view.currentPage(), view.page(PageId::PogSpec));
    EXPECT_EQ(view.currentPage()->headerTitle(), "t878");

    testing::userEdit(doc, [](ProjectData& p) { p.general().setSpecialTollingOn(false); });
    EXPECT_EQ(view.specialTollingItem(), nullptr);
    EXPECT_EQ(childTexts(programs), (std::vector<int>{159, 160, 161, 162, 163, 169, 2450}));
    EXPECT_EQ(treeItem(view, 159), weekly);
}

TEST_F(MainFrameTest, ReportItemBlinksOnlyWhileTheProjectHasProblems) {
    ASSERT_TRUE(frame->newDocument());
    CTarvelinView& view = *frame->view();
    CTarvelinDoc& doc = *frame->document();
    const auto ticks = [&view] {
        std::vector<int> icons;
        for (int i = 0; i < 4; ++i) {
            view.blinkTick();
            icons.push_back(view.reportIconIndex());
        }
        return icons;
    };
    // An amplifier lead time of 0 s is a critical error.
    testing::userEdit(doc, [](ProjectData& p) { p.amplifier().setLeadTimeSeconds(0); });
    ASSERT_TRUE(hasCritical(doc.project().validate()));
    std::vector<int> blinking = ticks();
    std::sort(blinking.begin(), blinking.end());
    EXPECT_EQ(blinking, (std::vector<int>{12, 12, 18, 18}));

    // Mended, the new project has only the notes of its factory access codes left: notes do not blink, the item
    // keeps its plain icon.
    testing::userEdit(doc, [](ProjectData& p) { p.amplifier().setLeadTimeSeconds(10); });
    ASSERT_EQ(doc.project().validate(), (IssueList{{100, 0, 18, 2}, {100, 1, 18, 2}}));
    EXPECT_EQ(ticks(), (std::vector<int>{12, 12, 12, 12}));

    // The view's own timer makes the item blink: with the error back, the icon changes with nobody calling a tick.
    testing::userEdit(doc, [](ProjectData& p) { p.amplifier().setLeadTimeSeconds(0); });
    const int before = view.reportIconIndex();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.reportIconIndex() != before; }, 5000)) << "the item never blinked";
}

// The exit check with a changed project: the save question, then the write-back question.
struct ExitCase {
    const char* name;
    std::vector<Answer> answers;
    bool exits;
    bool saved;
};

class ExitCheckTest : public ::testing::TestWithParam<ExitCase>, protected ShellFixture {};

TEST_P(ExitCheckTest, AnswersDecide) {
    const ExitCase& c = GetParam();
    ASSERT_TRUE(frame->newDocument());
    testing::userEdit(*frame->document(), [](ProjectData& p) { p.timeCorrection().setSyncStartHour(2); });
    for (Answer answer : c.answers) {
        app.prompts.answer(answer);
    }
    const QString target = path(QStringLiteral("saved.tpm"));
    if (c.saved) {
        app.choosers.saveFileAnswer(target);
    }
    frame->statusBar()->hide();
    app.current.statusBar = 1;

    EXPECT_EQ(frame->canExit(), c.exits);
    ASSERT_GE(app.prompts.texts().size(), 1);
    EXPECT_EQ(app.prompts.texts().at(0), "t322");
    if (c.answers.size() > 1) {
        EXPECT_EQ(app.prompts.texts().at(1), "t659");
    }
    EXPECT_EQ(QFileInfo(target).size(), c.saved ? 121663 : 0);
    // Settings are written at every exit, with the status bar as it is.
    app.settingsFile.sync();
    EXPECT_EQ(app.store.read().statusBar, c.exits ? 0 : 1);
    EXPECT_EQ(frame->document()->isModified(), !c.exits);
}

INSTANTIATE_TEST_SUITE_P(Answers, ExitCheckTest,
                         ::testing::Values(ExitCase{"CancelSave", {Answer::Cancel}, false, false},
                                           ExitCase{"DiscardNoCard", {Answer::No, Answer::No}, true, false},
                                           ExitCase{"SaveNoCard", {Answer::Yes, Answer::No}, true, true},
                                           ExitCase{"DiscardCancelCard", {Answer::No, Answer::Cancel}, false, false},
                                           // Writing to a card with no card chosen fails: the editor stays open.
                                           ExitCase{
                                               "DiscardCardWithoutDrive", {Answer::No, Answer::Yes}, false, false}),
                         [](const ::testing::TestParamInfo<ExitCase>& param) { return std::string(param.param.name); });

TEST_F(MainFrameTest, UnchangedProjectClosesWithoutAQuestion) {
    ASSERT_TRUE(frame->newDocument());
    EXPECT_TRUE(frame->canExit());
    EXPECT_TRUE(app.prompts.boxes().empty());
    frame->close();
    EXPECT_EQ(frame->document(), nullptr);
}

TEST_F(MainFrameTest, DamagedProjectIsRefusedWithItsTextAndNoDocument) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;
    };
    QByteArray badTerminator = QByteArray::fromHex("174d5054") + QByteArray::fromHex("25000000170000000000");
    badTerminator.append(QByteArray(21, '\0'));
    badTerminator.append(QByteArray::fromHex("fd000000"));
    const Case cases[] = {
        {"format22", QByteArray::fromHex("164d5054"), "t319"},
        {"notAProject", QByteArray::fromHex("174d5055"), "t320"},
        {"unknownSection", QByteArray::fromHex("174d505463000000"), "t321"},
        {"badTerminator", badTerminator, "t113"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QString::fromLatin1(c.name) + ".tpm");
        ASSERT_TRUE(testing::writeBytes(file, c.bytes));
        app.prompts.clear();
        app.choosers.openFileAnswer(file);
        EXPECT_FALSE(frame->openWithChooser());
        EXPECT_EQ(app.prompts.texts(), QStringList{c.message});
        EXPECT_EQ(app.prompts.boxes().at(0).icon, PromptService::Icon::Information);
        EXPECT_EQ(frame->document(), nullptr);
        EXPECT_EQ(frame->view(), nullptr);
        EXPECT_EQ(menuTitles(*frame), QStringList({"t119", "t124", "t127", "t129"}));
    }
    // The open dialog: its title, the filter, and the folder remembered as LastDir.
    const auto& call = app.choosers.calls().back();
    EXPECT_EQ(call.title, "t131");
    EXPECT_EQ(call.filter, "Tolvane Files (*.tpm)");
    app.settingsFile.sync();
    EXPECT_EQ(app.store.read().lastDir, app.dir.path());
}

// A project file that ends cleanly after its first section (a copy cut short) opens, and the user is told at once
// that sections are missing; the same project whole opens without a word.
TEST_F(MainFrameTest, ACutProjectOpensWithAWarning) {
    ProjectData fresh;
    const std::vector<std::uint8_t> whole = projectfile::store(fresh);
    // The header, then the first section: its tag, its length, its body and the terminator after it.
    const std::uint32_t length = whole[8] | whole[9] << 8 | whole[10] << 16 | static_cast<std::uint32_t>(whole[11]) << 24;
    const QByteArray bytes(reinterpret_cast<const char*>(whole.data()), static_cast<qsizetype>(whole.size()));
    for (const auto& [name, size, warned] : {std::tuple{"cut.tpm", static_cast<qsizetype>(12 + length + 4), true},
                                             std::tuple{"whole.tpm", bytes.size(), false}}) {
        SCOPED_TRACE(name);
        const QString file = path(QString::fromLatin1(name));
        ASSERT_TRUE(testing::writeBytes(file, bytes.first(size)));
        app.prompts.clear();
        app.choosers.openFileAnswer(file);
        ASSERT_TRUE(frame->openWithChooser());
        ASSERT_NE(frame->document(), nullptr);
        if (warned) {
            ASSERT_EQ(app.prompts.boxes().size(), 1u);
            EXPECT_EQ(app.prompts.boxes().front().icon, PromptService::Icon::Warning);
            EXPECT_EQ(app.prompts.texts().front(), QDir::toNativeSeparators(file) + "\nt2652");
            EXPECT_NE(frame->document()->project().sectionsMissingFromFile, 0u);
        } else {
            EXPECT_TRUE(app.prompts.boxes().empty());
        }
        ASSERT_TRUE(frame->closeDocument());
    }
}

TEST_F(MainFrameTest, AFailedSaveKeepsTheProjectUnsaved) {
    ASSERT_TRUE(frame->newDocument());
    testing::userEdit(*frame->document(), [](ProjectData& p) { p.general().setLocationName("Wieża"); });
    app.choosers.saveFileAnswer(path(QStringLiteral("no/such/folder/tower")));
    EXPECT_FALSE(frame->saveDocument());
    // The failure is reported, and the change marks stay so that the exit check still offers to save.
    EXPECT_FALSE(app.prompts.texts().isEmpty());
    EXPECT_TRUE(frame->document()->isModified());
    EXPECT_TRUE(frame->document()->project().general().isModified());
}

TEST_F(MainFrameTest, SavedProjectReopensUnchangedAndJoinsTheRecentFiles) {
    ASSERT_TRUE(frame->newDocument());
    testing::userEdit(*frame->document(), [](ProjectData& p) { p.general().setLocationName("Wieża"); });
    ASSERT_TRUE(frame->document()->isModified());
    app.choosers.saveFileAnswer(path(QStringLiteral("tower")));
    ASSERT_TRUE(frame->saveDocument());
    const QString saved = path(QStringLiteral("tower.tpm"));
    EXPECT_EQ(frame->document()->path(), saved);
    EXPECT_FALSE(frame->document()->isModified());
    EXPECT_TRUE(frame->windowTitle().contains("tower.tpm"));
    EXPECT_FALSE(frame->isWindowModified());
    ASSERT_TRUE(frame->closeDocument());

    ASSERT_TRUE(frame->openDocument(saved));
    EXPECT_EQ(frame->document()->project().general().locationName(), "Wieża");
    EXPECT_FALSE(frame->document()->isModified());
    EXPECT_EQ(frame->document()->project().projectOpened, 1);
    EXPECT_EQ(frame->recentFiles().files().value(0), saved);
}

TEST_F(MainFrameTest, LanguageChangeRetextsMenusTreeAndPages) {
    ASSERT_TRUE(testing::writeLanguage(path(QStringLiteral("Language")), QStringLiteral("Other"),
                                       testing::numberedTexts(QStringLiteral("o"))));
    ASSERT_TRUE(frame->newDocument());
    CTarvelinView& view = *frame->view();
    frame->document()->edit({2005, {5LL}}, {SectionId::Chimes, 4, 0},
                            [](ProjectData& p) { p.chimes().setName(4, "Angelus"); });
    ASSERT_EQ(frame->action(CMainFrame::CmdUndo)->text(), "t2003 t2005 5");
    view.tree()->setCurrentItem(treeItem(view, 159));

    testing::chooseLanguage(*frame, app.dialogs, QStringLiteral("Other"));
    EXPECT_EQ(app.dialogs.lastTitle(), "t153");

    EXPECT_EQ(app.prompts.texts(), QStringList{"t656"});
    app.settingsFile.sync();
    EXPECT_EQ(app.store.read().lastLang, "Other");
    EXPECT_EQ(treeItem(view, 157)->text(0), "o157");
    EXPECT_EQ(treeItem(view, 164)->text(0), "o164");
    EXPECT_EQ(view.page(PageId::Wymiana)->headerTitle(), "o174");
    EXPECT_EQ(view.currentPage(), view.page(PageId::Tyg)); // the page shown stays
    EXPECT_EQ(menuTitles(*frame), QStringList({"o119", "o2000", "o140", "o143", "o145"}));
    EXPECT_EQ(frame->action(CMainFrame::CmdOpen)->text(), "o121");
    EXPECT_EQ(frame->action(CMainFrame::CmdUndo)->text(), "o2003 o2005 5") << "the history speaks the new language";
}

TEST_F(MainFrameTest, ProgramSettingsWithoutAChoiceStaysOpen) {
    QDir(path(QStringLiteral("Language"))).removeRecursively();
    QDir().mkpath(path(QStringLiteral("Language")));
    app.dialogs.then([this](QDialog& dialog) {
        auto* settings = qobject_cast<CProgramSet*>(&dialog);
        ASSERT_NE(settings, nullptr);
        EXPECT_FALSE(settings->noLanguagesLabel()->isHidden());
        EXPECT_EQ(settings->noLanguagesLabel()->text(), "t155");
        QTest::mouseClick(settings->buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        EXPECT_EQ(app.prompts.texts(), QStringList{"t156"});
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(settings->buttons()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    ASSERT_TRUE(testing::triggerAction(*frame, QStringLiteral("actionSettings")));
    EXPECT_EQ(app.dialogs.runs(), 1);
    EXPECT_EQ(frame->action(CMainFrame::CmdOpen)->text(), "t121");
}

TEST_F(MainFrameTest, RefusedLanguageOffersToSaveAndKeepsTheWorkingLanguage) {
    ASSERT_TRUE(testing::writeBytes(path(QStringLiteral("Language/Broken.json")),
                                    R"({"version": "0x01000000", "texts": {"157": "b157"}})"));
    ASSERT_TRUE(frame->newDocument());
    testing::userEdit(*frame->document(), [](ProjectData& p) { p.timeCorrection().setSyncStartHour(2); });
    frame->show();
    app.current.lastLang = QStringLiteral("Broken");
    app.store.write(app.current);
    app.prompts.answer(Answer::Cancel); // the save question: stay

    EXPECT_FALSE(frame->applyLanguage());
    ASSERT_EQ(app.prompts.texts().size(), 2);
    EXPECT_EQ(app.prompts.texts().at(1), "t322");
    EXPECT_NE(frame->document(), nullptr);
    EXPECT_EQ(treeItem(*frame->view(), 157)->text(0), "t157");
    app.settingsFile.sync();
    EXPECT_EQ(app.store.read().lastLang, "Test");
}

} // namespace
} // namespace tolvane
