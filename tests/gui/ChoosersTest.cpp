// The sequence, hammer and program-number choosers, each run as a page runs it (through the dialog service) and
// worked with the keyboard.

#include "TestAppContext.h"

#include "gui/choosers/CSelMlotek.h"
#include "gui/choosers/CSelNumerDlg.h"
#include "gui/choosers/CSelSekwDlg.h"
#include "project/ProjectData.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace tolvane {
namespace {

using Keys = std::vector<Qt::Key>;

const std::map<int, QString> Texts{
    {104, "Cancel"},
    {108, "OK"},
    {109, "None"},
    {112, "No project"},
    {114, "Nothing chosen"},
    {159, "Weekly"},
    {160, "Annual"},
    {161, "Holiday"},
    {162, "One-time"},
    {534, "Hammer %d"},
    {535, "Sequence %d"},
    {572, "Choose a sequence"},
    {594, "No sequences"},
    {634, "Hammer"},
    {2090, "Program number"},
    {2091, "Number"},
    {2092, "Used by"},
    {2093, "free"},
    {2094, "used by %s"},
};

class ChoosersTest : public ::testing::Test {
protected:
    // Runs `dialog` through the dialog service as a page does; the step presses `keys` in its list.
    int runWithKeys(ChooserDialog& dialog, const Keys& keys) {
        app.dialogs.then([&](QDialog&) {
            for (Qt::Key key : keys) {
                QTest::keyClick(dialog.list(), key);
            }
        });
        return app.context.dialogs.run(dialog);
    }

    static QStringList rows(const QTreeWidget* list, int column = 0) {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            texts << list->topLevelItem(i)->text(column);
        }
        return texts;
    }

    static QString selectedText(const QTreeWidget* list) {
        const QList<QTreeWidgetItem*> selected = list->selectedItems();
        return selected.size() == 1 ? selected.first()->text(0) : QString();
    }

    testing::TestAppContext app{Texts};
};

// Sequences 1 and 3 in use (record 1 deleted again), with their total times.
class SequenceChooserTest : public ChoosersTest {
protected:
    void SetUp() override {
        SequenceTable& table = project.sequences();
        ASSERT_EQ(table.createSequence(), 1);
        ASSERT_EQ(table.createSequence(), 2);
        ASSERT_TRUE(table.deleteSequence(1));
    }
    ProjectData project;
};

TEST_F(SequenceChooserTest, ListsTheUsedSequencesAndChoosesWithTheArrowsAndEnter) {
    const struct {
        int current;
        Keys keys;
        QString preselected;
        int result;
        int chosen;
    } cases[] = {
        {0, {Qt::Key_Down, Qt::Key_Return}, "Sequence 1", QDialog::Accepted, 2},
        {2, {Qt::Key_Up, Qt::Key_Enter}, "Sequence 3", QDialog::Accepted, 0},
        {2, {Qt::Key_Return}, "Sequence 3", QDialog::Accepted, 2},
        {0, {Qt::Key_Down, Qt::Key_Escape}, "Sequence 1", QDialog::Rejected, 2},
        // The current record is not in use: nothing is preselected and the first arrow lands on the first row.
        {1, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, "", QDialog::Accepted, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        CSelSekwDlg dialog(&project, c.current, app.languages, app.prompts);
        EXPECT_EQ(dialog.windowTitle(), "Choose a sequence");
        EXPECT_EQ(rows(dialog.list()), QStringList({"Sequence 1", "Sequence 3"}));
        EXPECT_EQ(rows(dialog.list(), 1), QStringList({QString::fromStdString(project.sequences().totalText(0)),
                                                       QString::fromStdString(project.sequences().totalText(2))}));
        EXPECT_EQ(dialog.list()->columnWidth(0), 100);
        EXPECT_EQ(dialog.list()->columnWidth(1), 70);
        EXPECT_EQ(selectedText(dialog.list()), c.preselected);
        EXPECT_EQ(runWithKeys(dialog, c.keys), c.result);
        EXPECT_EQ(dialog.chosenIndex(), c.chosen);
    }
    EXPECT_TRUE(app.prompts.boxes().empty());
}

TEST_F(SequenceChooserTest, OkWithNothingSelectedSaysSoAndStaysOpen) {
    CSelSekwDlg dialog(&project, 1, app.languages, app.prompts);
    app.dialogs.then([&](QDialog&) {
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        EXPECT_EQ(app.prompts.texts(), QStringList{"Nothing chosen"});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), -1) << "not ended";
        QTest::keyClick(dialog.list(), Qt::Key_Down);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(app.context.dialogs.run(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenIndex(), 0);
    EXPECT_EQ(app.prompts.boxes().size(), 1u);
}

TEST_F(SequenceChooserTest, WithoutSequencesOrProjectTheListSaysWhyAndNothingCanBeChosen) {
    ProjectData empty;
    ASSERT_TRUE(empty.sequences().deleteSequence(0));
    const struct {
        const ProjectData* project;
        QString shown;
    } cases[] = {{&empty, "No sequences"}, {nullptr, "No project"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        CSelSekwDlg dialog(c.project, 0, app.languages, app.prompts);
        EXPECT_EQ(rows(dialog.list()), QStringList{c.shown});
        EXPECT_FALSE(dialog.list()->isEnabled());
        EXPECT_FALSE(dialog.okButton()->isEnabled());
        // Enter finds no OK to press (at most Cancel, when it has the focus); Escape cancels.
        app.dialogs.then([&](QDialog&) {
            QTest::keyClick(&dialog, Qt::Key_Return);
            EXPECT_NE(dialog.result(), QDialog::Accepted);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(app.context.dialogs.run(dialog), QDialog::Rejected);
        EXPECT_EQ(dialog.chosenIndex(), -1);
    }
    EXPECT_TRUE(app.prompts.boxes().empty());
}

TEST_F(ChoosersTest, HammerChooserOffersNoneOnlyWhenAllowed) {
    const struct {
        bool allowNone;
        std::uint8_t current;
        QString preselected;
        Keys keys;
        std::uint8_t chosen;
    } cases[] = {
        {true, 0xFF, "None", {Qt::Key_Down, Qt::Key_Return}, 0},
        {true, 2, "Hammer 3", {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Return}, 0xFF},
        {false, 4, "Hammer 5", {Qt::Key_Up, Qt::Key_Return}, 3},
        {false, 0, "Hammer 1", {Qt::Key_End, Qt::Key_Return}, 4},
        {false, 0xFF, "", {Qt::Key_Down, Qt::Key_Return}, 0}, // none is not offered: nothing preselected
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.allowNone << " " << int(c.current));
        CSelMlotek dialog(c.allowNone, c.current, app.languages, app.prompts);
        EXPECT_EQ(dialog.windowTitle(), "Hammer");
        QStringList expected{"Hammer 1", "Hammer 2", "Hammer 3", "Hammer 4", "Hammer 5"};
        if (c.allowNone) {
            expected.prepend("None");
        }
        EXPECT_EQ(rows(dialog.list()), expected);
        EXPECT_EQ(selectedText(dialog.list()), c.preselected);
        EXPECT_EQ(runWithKeys(dialog, c.keys), QDialog::Accepted);
        EXPECT_EQ(dialog.chosen(), c.chosen);
    }
    EXPECT_TRUE(app.prompts.boxes().empty());
}

TEST_F(ChoosersTest, HammerChooserRefusesOkWithoutASelection) {
    CSelMlotek dialog(false, 0xFF, app.languages, app.prompts);
    app.dialogs.then([&](QDialog&) {
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(dialog.list(), Qt::Key_Escape);
    });
    EXPECT_EQ(app.context.dialogs.run(dialog), QDialog::Rejected);
    EXPECT_EQ(app.prompts.texts(), QStringList{"Nothing chosen"});
}

// Weekly entries 7 and 3, an annual entry also holding 7 and a one-time entry holding 300.
class NumberPickerTest : public ChoosersTest {
protected:
    void SetUp() override {
        addWith(Weekly, 7);
        addWith(Weekly, 3);
        addWith(Annual, 7);
        addWith(OneTime, 300);
        project.program(Annual).setTime(0, 6, 0, 0);
    }
    void addWith(int kind, std::uint16_t number) {
        ScheduleProgram& program = project.program(kind);
        const int i = program.addEntry();
        ASSERT_GE(i, 0);
        program.setIdentifier(i, number);
    }
    ProjectData project;
};

TEST_F(NumberPickerTest, MarksTheUsedNumbersWithTheirPrograms) {
    CSelNumerDlg dialog(project, 7, app.languages, app.prompts);
    const QTreeWidget* list = dialog.list();
    EXPECT_EQ(dialog.windowTitle(), "Program number");
    EXPECT_EQ(list->headerItem()->text(0), "Number");
    EXPECT_EQ(list->headerItem()->text(1), "Used by");
    ASSERT_EQ(list->topLevelItemCount(), 512);
    EXPECT_EQ(selectedText(list), "007");
    const struct {
        int number;
        QString usedBy;
        QString accessible;
    } cases[] = {
        {7, "Weekly 12:00:00; Annual 06:00:00", "007, used by Weekly 12:00:00; Annual 06:00:00"},
        {3, "Weekly 12:00:00", "003, used by Weekly 12:00:00"},
        {300, "One-time 12:00:00", "300, used by One-time 12:00:00"},
        {1, "free", "001, free"},
        {512, "free", "512, free"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        const QTreeWidgetItem* row = list->topLevelItem(c.number - 1);
        EXPECT_EQ(row->text(0), QString::asprintf("%.3d", c.number));
        EXPECT_EQ(row->text(1), c.usedBy);
        EXPECT_EQ(row->data(0, Qt::AccessibleTextRole).toString(), c.accessible);
        EXPECT_EQ(row->icon(0).isNull(), c.usedBy == "free") << "a used number carries the mark";
    }
}

TEST_F(NumberPickerTest, TypingANumberJumpsToItAndAUsedNumberCanBeChosen) {
    const struct {
        const char* typed;
        Keys keys;
        int chosen;
    } cases[] = {
        {"12", {}, 12},
        {"300", {}, 300},         // used by a one-time entry: allowed, validation reports duplicates
        {"600", {}, 60},          // a digit beyond 512 starts a new number: "0" names none
        {"5", {Qt::Key_Down}, 6}, // the arrows move on from there
        {"", {}, 7},              // Enter alone takes the preselected number
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        CSelNumerDlg dialog(project, 7, app.languages, app.prompts);
        app.dialogs.then([&](QDialog&) {
            QTest::keyClicks(dialog.list(), QString::fromLatin1(c.typed));
            for (Qt::Key key : c.keys) {
                QTest::keyClick(dialog.list(), key);
            }
            QTest::keyClick(dialog.list(), Qt::Key_Return);
        });
        EXPECT_EQ(app.context.dialogs.run(dialog), QDialog::Accepted);
        EXPECT_EQ(dialog.chosenNumber(), c.chosen);
    }
    EXPECT_TRUE(app.prompts.boxes().empty());
}

TEST_F(NumberPickerTest, PageDownMovesAPageAndPageUpBack) {
    CSelNumerDlg dialog(project, 7, app.languages, app.prompts);
    app.dialogs.then([&](QDialog&) {
        QTest::keyClick(dialog.list(), Qt::Key_PageDown);
        const int down = dialog.chosenNumber();
        EXPECT_GT(down, 8);
        QTest::keyClick(dialog.list(), Qt::Key_PageUp);
        EXPECT_LT(dialog.chosenNumber(), down);
        QTest::keyClick(dialog.list(), Qt::Key_Escape);
    });
    EXPECT_EQ(app.context.dialogs.run(dialog), QDialog::Rejected);
}

TEST_F(NumberPickerTest, WithoutACurrentNumberOkAsksForOne) {
    CSelNumerDlg dialog(project, 0, app.languages, app.prompts);
    app.dialogs.then([&](QDialog&) {
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        EXPECT_EQ(app.prompts.texts(), QStringList{"Nothing chosen"});
        QTest::keyClick(dialog.list(), Qt::Key_Down); // the first move lands on number 1
        QTest::keyClick(dialog.list(), Qt::Key_Down);
        QTest::keyClick(dialog.list(), Qt::Key_Return);
    });
    EXPECT_EQ(app.context.dialogs.run(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenNumber(), 2);
}

} // namespace
} // namespace tolvane
