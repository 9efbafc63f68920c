// Editing through the document as a user does it: typing on the chimes page, the Edit menu's Undo and Redo, the
// keys, and what "modified" means for Save, Close and the exit check.

#include "DocumentEdit.h"
#include "FullProject.h"
#include "ShellTestSupport.h"
#include "TextNumbers.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/card/CPropWymiana.h"
#include "gui/ringing/CKurantyModel.h"
#include "gui/ringing/CKurantyPage.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "project/ProjectFile.h"

#include <QAbstractItemModelTester>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QUndoStack>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Answer = PromptService::Answer;

class UndoTest : public ::testing::Test, protected testing::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    CTarvelinDoc& doc() { return *frame->document(); }
    CKurantyPage& chimesPage() { return *qobject_cast<CKurantyPage*>(frame->view()->page(PageId::Kuranty)); }
    QAction* menuAction(const char* name) { return frame->findChild<QAction*>(QString::fromLatin1(name)); }
    void trigger(const char* name) {
        QAction* action = menuAction(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }

    static void clickRow(QTableView* list, int row) {
        const QModelIndex index = list->model()->index(row, 1);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }

    // Brings the chimes page to the front through its tree item, selects chime `number` (1-based) and types.
    void nameChime(int number, const QString& name) {
        frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 825));
        CKurantyPage& page = chimesPage();
        page.list()->setFocus();
        clickRow(page.list(), number - 1);
        ASSERT_TRUE(page.nameField()->isVisible());
        page.nameField()->setFocus();
        page.nameField()->selectAll();
        QTest::keyClicks(page.nameField(), name);
    }

    std::string chime(int number) const { return frame->document()->project().chimes().name(number - 1); }

    // The chime image as the card gets it.
    std::vector<std::uint8_t> chimeImage() const {
        std::vector<std::uint8_t> image(ChimeNameTable::ImageSize, 0xFF);
        ChimeNameTable copy;
        copy.setState(frame->document()->project().chimes().state());
        copy.packImage(image);
        return image;
    }
};

TEST_F(UndoTest, ATypedChimeNameIsOneStepThatUndoesAndRedoesWithItsMarks) {
    const std::vector<std::uint8_t> before = chimeImage();
    nameChime(5, QStringLiteral("Angelus"));
    EXPECT_EQ(chime(5), "Angelus");
    EXPECT_EQ(doc().undoStack()->count(), 1) << "seven keystrokes, one step";
    EXPECT_EQ(menuAction("actionUndo")->text(), "t2003 t2005 5");
    EXPECT_TRUE(menuAction("actionUndo")->isEnabled());
    EXPECT_FALSE(menuAction("actionRedo")->isEnabled());
    EXPECT_TRUE(frame->isWindowModified());
    const QModelIndex cell = chimesPage().model()->index(4, CKurantyModel::NameColumn);
    EXPECT_EQ(cell.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(CKurantyModel::ChangedColor));
    EXPECT_EQ(cell.data(Qt::AccessibleDescriptionRole).toString(), "t2007");

    trigger("actionUndo");
    EXPECT_EQ(chime(5), "");
    EXPECT_EQ(chimeImage(), before) << "the card bytes are those before the edit";
    EXPECT_TRUE(doc().project().chimes().isChanged(4)) << "what the undo changed shows as changed";
    EXPECT_EQ(chimesPage().nameField()->text(), "") << "the page shows the chime the undo restored";
    EXPECT_EQ(menuAction("actionRedo")->text(), "t2004 t2005 5");
    EXPECT_FALSE(menuAction("actionUndo")->isEnabled());
    EXPECT_EQ(menuAction("actionUndo")->text(), "t2001");

    trigger("actionRedo");
    EXPECT_EQ(chime(5), "Angelus");
    EXPECT_EQ(chimesPage().nameField()->text(), "Angelus");
    std::vector<std::uint8_t> expected = before;
    const std::string angelus = "Angelus";
    std::copy(angelus.begin(), angelus.end(), expected.begin() + 4 * 32);
    expected[4 * 32 + angelus.size()] = 0;
    EXPECT_EQ(chimeImage(), expected);
}

TEST_F(UndoTest, AnotherChimeStartsANewStepAndTwentyUndosRestoreThemOneByOne) {
    for (int i = 1; i <= 20; ++i) {
        nameChime(i, QStringLiteral("Melody %1").arg(i, 3, 10, QLatin1Char('0')).left(10));
    }
    ASSERT_EQ(doc().undoStack()->count(), 20);
    for (int undone = 1; undone <= 20; ++undone) {
        frame->undo();
        for (int i = 1; i <= 20; ++i) {
            EXPECT_EQ(chime(i).empty(), i > 20 - undone) << "after " << undone << " undos, chime " << i;
        }
    }
    EXPECT_FALSE(frame->undo());
}

TEST_F(UndoTest, CtrlZInTheNameFieldUndoesTheDocumentNotTheField) {
    nameChime(5, QStringLiteral("Angelus"));
    ASSERT_TRUE(chimesPage().nameField()->hasFocus());
    QTest::keyClick(chimesPage().nameField(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(chime(5), "");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(chime(5), "Angelus");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(chime(5), "");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(chime(5), "Angelus");
}

TEST_F(UndoTest, TheChimesPageWorksFromTheKeyboardAlone) {
    // Arrowing through the navigation tree shows each page but leaves the focus in the tree; Tab goes on to the
    // page's list.
    QTreeWidget* tree = frame->view()->tree();
    tree->setFocus();
    tree->setCurrentItem(testing::treeItem(*frame->view(), 600));
    QTest::keyClick(tree, Qt::Key_Down);
    ASSERT_EQ(frame->view()->currentPage(), &chimesPage());
    EXPECT_TRUE(tree->hasFocus());
    CKurantyPage& page = chimesPage();
    QTableView* list = page.list();
    QTest::keyClick(tree, Qt::Key_Tab);
    ASSERT_TRUE(list->hasFocus());
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(list->currentIndex().row(), 299);
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(list, Qt::Key_Down);
    }
    EXPECT_EQ(list->currentIndex().row(), 4);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_TRUE(page.nameField()->hasFocus()) << "Enter goes into the name field";
    QTest::keyClicks(page.nameField(), QStringLiteral("Gloria"));
    QTest::keyClick(page.nameField(), Qt::Key_Escape);
    EXPECT_TRUE(list->hasFocus()) << "Escape goes back to the list";
    EXPECT_EQ(chime(5), "Gloria");
    // Escape in the list and Enter in the field belong to neither shortcut.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(page.nameField()->text(), "");

    // Two rows selected: no name field.
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_FALSE(page.nameField()->isVisible());

    // Screen readers: the list, the field and a changed value are named.
    EXPECT_EQ(list->accessibleName(), "t825");
    EXPECT_EQ(page.nameField()->accessibleName(), "t826");
    clickRow(list, 4);
    EXPECT_EQ(page.nameField()->accessibleDescription(), "t2007");
    EXPECT_EQ(page.nameField()->maxLength(), 31);
}

TEST_F(UndoTest, TheChimeModelPassesTheModelTester) {
    QAbstractItemModelTester tester(chimesPage().model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(chimesPage().model()->rowCount(), 300);
    nameChime(7, QStringLiteral("Te Deum"));
    chimesPage().reload(6);
    frame->undo();
}

TEST_F(UndoTest, ALetterTypedAndDeletedLeavesNoStepButItsMark) {
    nameChime(3, QStringLiteral("A"));
    QTest::keyClick(chimesPage().nameField(), Qt::Key_Backspace);
    EXPECT_EQ(chime(3), "");
    EXPECT_EQ(doc().undoStack()->count(), 0);
    EXPECT_TRUE(doc().project().chimes().isChanged(2));
}

// Deleting or sorting moves or clears change marks: with a freshly saved project, only the history tells that
// something was changed.
TEST_F(UndoTest, AChangeThatClearsMarksInASavedProjectStillMakesTheExitCheckAsk) {
    testing::userEdit(doc(), [](ProjectData& p) {
        for (int i = 0; i < 3; ++i) {
            p.program(Weekly).setPriority(p.program(Weekly).addItem(), static_cast<std::uint8_t>(3 - i));
        }
    });
    app.choosers.saveFileAnswer(path(QStringLiteral("tower.tpm")));
    ASSERT_TRUE(frame->saveDocument());
    ASSERT_FALSE(doc().isModified());
    testing::userEdit(doc(), [](ProjectData& p) { p.program(Weekly).sortEntries(SortKey::Priority, 0); });
    ASSERT_EQ(doc().project().program(Weekly).entry(0).priority(), 1) << "sorted";
    ASSERT_FALSE(doc().project().isModifiedAll()) << "sorting moves marks and sets none";
    EXPECT_TRUE(doc().isModified());
    EXPECT_TRUE(frame->isWindowModified());
    app.prompts.answer(Answer::Cancel);
    EXPECT_FALSE(frame->canExit());
    EXPECT_EQ(app.prompts.texts(), QStringList{"t322"});
}

struct PastSaveCase {
    const char* name;
    Answer answer;
    bool fileHasTheName;
};

class UndoPastSaveTest : public UndoTest, public ::testing::WithParamInterface<PastSaveCase> {};

TEST_P(UndoPastSaveTest, UndoingPastASaveMakesTheExitCheckAsk) {
    const QString file = path(QStringLiteral("tower.tpm"));
    nameChime(5, QStringLiteral("Angelus"));
    app.choosers.saveFileAnswer(file);
    ASSERT_TRUE(frame->saveDocument());
    ASSERT_FALSE(frame->isWindowModified());
    frame->undo();
    EXPECT_TRUE(doc().isModified());
    EXPECT_TRUE(doc().project().chimes().isChanged(4));
    app.prompts.answer(GetParam().answer).answer(Answer::No);
    EXPECT_TRUE(frame->canExit());
    EXPECT_EQ(app.prompts.texts(), (QStringList{"t322", "t659"}));
    ProjectData reread;
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    ASSERT_EQ(projectfile::load(reread, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                  static_cast<std::size_t>(bytes.size()))),
              0);
    EXPECT_EQ(reread.chimes().name(4), GetParam().fileHasTheName ? "Angelus" : "");
}

INSTANTIATE_TEST_SUITE_P(Answers, UndoPastSaveTest,
                         ::testing::Values(PastSaveCase{"NoKeepsTheSavedFile", Answer::No, true},
                                           PastSaveCase{"YesSavesTheUndoneState", Answer::Yes, false}),
                         [](const ::testing::TestParamInfo<PastSaveCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(UndoTest, AnEditACardWriteAndAnUndoAskTheWriteBackQuestion) {
    const QString card = path(QStringLiteral("card"));
    QDir().mkpath(card);
    auto* cardPage = qobject_cast<CPropWymiana*>(frame->view()->page(PageId::Wymiana));
    cardPage->setDatMode(true, card);
    nameChime(5, QStringLiteral("Angelus"));
    app.prompts.answer(Answer::Yes);
    cardPage->write(card::FileKind::Chimes);
    ASSERT_FALSE(doc().project().isModifiedAll()) << "the card has the name";
    frame->undo();
    EXPECT_TRUE(doc().project().isModifiedAll()) << "the project differs from the card again";
    app.prompts.clear();
    app.prompts.answer(Answer::No).answer(Answer::No);
    EXPECT_TRUE(frame->canExit());
    EXPECT_EQ(app.prompts.texts(), (QStringList{"t322", "t659"}));
}

TEST_F(UndoTest, AnEditRightAfterACardWriteIsAStepOfItsOwn) {
    // Two edits with the same key and nothing between them but a card write that cleared the marks.
    const EditKey key{SectionId::Chimes, 4, 0};
    doc().edit({text::ChimeNameStep, {5LL}}, key, [](ProjectData& p) { p.chimes().setName(4, "Angel"); });
    doc().changeMarks([](ProjectData& p) { p.chimes().clearModified(); });
    doc().edit({text::ChimeNameStep, {5LL}}, key, [](ProjectData& p) { p.chimes().setName(4, "Angelus"); });
    EXPECT_EQ(doc().undoStack()->count(), 2);
    trigger("actionUndo");
    EXPECT_EQ(chime(5), "Angel");
    trigger("actionUndo");
    EXPECT_EQ(chime(5), "");
    EXPECT_EQ(doc().undoStack()->count(), 2) << "the history is whole";
}

TEST_F(UndoTest, OneCardFileReadIsOneStepThatUndoRestores) {
    ProjectData source;
    testing_support::fillProject(source);
    const QString card = path(QStringLiteral("card"));
    QDir().mkpath(card);
    ASSERT_TRUE(testing::writeCardFolder(source, card, path(QString())));
    auto* cardPage = qobject_cast<CPropWymiana*>(frame->view()->page(PageId::Wymiana));
    cardPage->setDatMode(true, card);
    const SectionState chimesBefore = doc().project().state(SectionId::Chimes);
    app.prompts.answer(Answer::Yes);
    cardPage->read(card::FileKind::Chimes);
    ASSERT_EQ(doc().project().chimes().name(0), source.chimes().name(0));
    EXPECT_EQ(doc().undoStack()->count(), 1);
    EXPECT_EQ(menuAction("actionUndo")->text(), "t2003 t2006 kur.bin");

    frame->view()->showPage(PageId::Kuranty);
    trigger("actionUndo");
    EXPECT_EQ(doc().project().state(SectionId::Chimes).content, chimesBefore.content);
    EXPECT_EQ(frame->view()->currentPage(), frame->view()->page(PageId::Wymiana)) << "the undone read is shown";
}

TEST_F(UndoTest, NewOpenAndCloseStartAnEmptyHistory) {
    nameChime(5, QStringLiteral("Angelus"));
    app.choosers.saveFileAnswer(path(QStringLiteral("tower.tpm")));
    ASSERT_TRUE(frame->saveDocument());
    ASSERT_TRUE(frame->closeDocument());
    EXPECT_FALSE(menuAction("actionUndo")->isEnabled());
    ASSERT_TRUE(frame->openDocument(path(QStringLiteral("tower.tpm"))));
    EXPECT_EQ(doc().undoStack()->count(), 0);
    EXPECT_FALSE(menuAction("actionUndo")->isEnabled());
    EXPECT_EQ(chime(5), "Angelus");
    ASSERT_TRUE(frame->closeDocument());
    ASSERT_TRUE(frame->newDocument());
    EXPECT_EQ(doc().undoStack()->count(), 0);
    EXPECT_FALSE(doc().isModified());
}

TEST_F(UndoTest, TheEditMenuSitsBetweenFileAndViewAndTheToolBarHasUndoAndRedo) {
    QStringList titles;
    for (QAction* menu : frame->menus()->actions()) {
        titles << menu->text();
    }
    EXPECT_EQ(titles.mid(0, 3), (QStringList{"t119", "t2000", "t140"}));
    QAction* undoTool = frame->toolBarAction(CMainFrame::CmdUndo);
    ASSERT_NE(undoTool, nullptr);
    EXPECT_TRUE(undoTool->isVisible());
    EXPECT_FALSE(undoTool->isEnabled());
    nameChime(2, QStringLiteral("Ave"));
    EXPECT_TRUE(undoTool->isEnabled());
    EXPECT_EQ(undoTool->toolTip(), "t2003 t2005 2");
    undoTool->trigger();
    EXPECT_EQ(chime(2), "");
}

// A numeric field hands Enter on, so a dialog is confirmed from it; its own keys still work.
TEST(NumericFieldKeys, EnterConfirmsTheDialogAndEscapeCancelsIt) {
    for (const auto& [key, accepted] : {std::pair{Qt::Key_Return, true}, std::pair{Qt::Key_Escape, false}}) {
        QDialog dialog;
        auto* field = new CFireEdit(&dialog);
        field->setUp(0, 59, 2, false, false, 1, true);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(field);
        layout->addWidget(buttons);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("7"));
        QSignalSpy finished(&dialog, &QDialog::finished);
        QTest::keyClick(field, key);
        ASSERT_EQ(finished.count(), 1) << "key " << key;
        EXPECT_EQ(finished.at(0).at(0).toInt(), accepted ? QDialog::Accepted : QDialog::Rejected);
        if (accepted) {
            EXPECT_EQ(field->text(), "07") << "the value is normalised as on leaving the field";
        }
    }
}

TEST(LinkLabelKeys, TabReachesItAndEnterOrSpaceOpensIt) {
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* link = new CLinkStatic(&window);
    link->setBracketedValue(7);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(before);
    layout->addWidget(link);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_TRUE(link->hasFocus());
    QSignalSpy clicked(link, &CLinkStatic::clicked);
    QTest::keyClick(link, Qt::Key_Return);
    QTest::keyClick(link, Qt::Key_Space);
    QTest::keyClick(link, Qt::Key_A);
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_EQ(link->accessibleName(), "[7]");
}

} // namespace
} // namespace tolvane
