// The sequences page as a user works it: the sequence list with New, Delete and Copy, the step list with New step,
// Delete step and the step editor (worked through its kind list, unit boxes, fields and the step chooser), the
// refusals, the totals and the timeline.

#include "DocumentEdit.h"
#include "ShellTestSupport.h"
#include "UserActions.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/sequences/CPropGongi.h"
#include "gui/sequences/CPropSekwencje.h"
#include "gui/sequences/CSelKrok.h"
#include "gui/sequences/CSeqElemDlg.h"
#include "gui/sequences/CSequenceListModel.h"
#include "gui/sequences/CSequenceTimeline.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "gui/widgets/ChangeHighlight.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tolvane {
namespace {

using Step = testing::ScriptedDialogs::Step;

// Kind list positions.
constexpr int BellsA = 0;
constexpr int BellsB = 1;
constexpr int Hammers = 2;
constexpr int Pause = 3;
constexpr int RepeatCount = 4;

SequenceStep timed(StepKind kind, std::uint16_t tenths, std::uint8_t hundredths = 0, std::uint16_t units = 1) {
    SequenceStep s;
    s.makeFresh();
    s.setKind(kind);
    s.setTenths(tenths);
    s.setHundredths(hundredths);
    s.setUnitMask(units);
    return s;
}

SequenceStep repeat(std::uint8_t first, std::uint8_t last, std::uint16_t count) {
    SequenceStep s;
    s.makeFresh();
    s.setKind(StepKind::RepeatCount);
    s.setFirstStep(first);
    s.setLastStep(last);
    s.setCount(count);
    s.setHundredths(0);
    return s;
}

CSeqElemDlg& editor(QDialog& dialog) {
    auto* e = qobject_cast<CSeqElemDlg*>(&dialog);
    EXPECT_NE(e, nullptr) << "not the step editor: " << dialog.windowTitle().toStdString();
    return *e;
}

// The user picks a kind in the kind list with the keyboard.
void chooseKind(CSeqElemDlg& e, int position) {
    QComboBox* kinds = e.kindList();
    kinds->setFocus();
    QTest::keyClick(kinds, Qt::Key_Home);
    for (int i = 0; i < position; ++i) {
        QTest::keyClick(kinds, Qt::Key_Down);
    }
}

// The user types into a numeric field (entering it selects its text, so typing replaces it).
void type(CSeqElemDlg& e, int field, const QString& digits) {
    CFireEdit* f = e.field(field);
    ASSERT_NE(f, nullptr);
    f->setFocus();
    f->selectAll();
    QTest::keyClicks(f, digits);
}

void typePause(CSeqElemDlg& e, const QString& minutes, const QString& seconds, const QString& hundredths) {
    type(e, CSeqElemDlg::PauseMinutes, minutes);
    type(e, CSeqElemDlg::PauseSeconds, seconds);
    type(e, CSeqElemDlg::PauseHundredths, hundredths);
}

void ok(QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
}

void cancel(QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cancel")), Qt::LeftButton);
}

// A step of `kind` lasting mm:ss.hh.
Step timedStep(int kind, const QString& minutes, const QString& seconds, const QString& hundredths) {
    return [=](QDialog& dialog) {
        CSeqElemDlg& e = editor(dialog);
        chooseKind(e, kind);
        typePause(e, minutes, seconds, hundredths);
        ok(dialog);
    };
}

// In the step chooser: what it offered, then a click on the row of step `step` (or nothing) and OK.
struct Offered {
    QString title;
    QStringList numbers;
    QString preselected;
};

Step pickStep(int step, Offered* offered = nullptr) {
    return [=](QDialog& dialog) {
        auto* chooser = qobject_cast<CSelKrok*>(&dialog);
        ASSERT_NE(chooser, nullptr);
        QTreeWidget* list = chooser->list();
        if (offered) {
            offered->title = dialog.windowTitle();
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                offered->numbers << list->topLevelItem(i)->text(0);
            }
            const auto selected = list->selectedItems();
            offered->preselected = selected.isEmpty() ? QString() : selected.front()->text(0);
        }
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = list->topLevelItem(i);
            if (item->data(0, Qt::UserRole).toInt() == step) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
            }
        }
        QTest::keyClick(list, Qt::Key_Return);
        if (dialog.isVisible()) {
            dialog.reject();
        }
    };
}

class SequencesPageTest : public ::testing::Test, public testing::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->resize(1280, 800);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        showPage();
    }

    // The user goes to the page through its tree item (from another page, so it reads the project again).
    void showPage() {
        frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 157));
        frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 599));
        ASSERT_EQ(frame->view()->currentPage(), &page());
    }

    CPropSekwencje& page() const { return *qobject_cast<CPropSekwencje*>(frame->view()->page(PageId::Sekwencje)); }
    CTarvelinDoc& doc() const { return *frame->document(); }
    const SequenceTable& table() const { return doc().project().sequences(); }
    int steps() const { return doc().undoStack()->count(); }

    QString cell(QTableView* list, int row, int column) const {
        return list->model()->index(row, column).data().toString();
    }
    QStringList column(QTableView* list, int c) const {
        QStringList texts;
        for (int r = 0; r < list->model()->rowCount(); ++r) {
            texts << cell(list, r, c);
        }
        return texts;
    }

    void clickRow(QTableView* list, int row, Qt::KeyboardModifiers modifiers = {}) {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, r.center());
    }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Clicks `button` with the dialogs it opens answered by `dialogSteps`.
    void clickWith(QPushButton* button, std::vector<Step> dialogSteps) {
        for (Step& s : dialogSteps) {
            app.dialogs.then(std::move(s));
        }
        click(button);
        ASSERT_TRUE(app.dialogs.done()) << "not every dialog opened";
    }

    // Sequence 2 (record 1) with `steps`, made in one edit, and selected.
    void sequenceWith(std::initializer_list<SequenceStep> stepsOf) {
        ASSERT_TRUE(testing::userEdit(doc(), [&](ProjectData& p) {
            const int i = p.sequences().createSequence();
            for (const SequenceStep& s : stepsOf) {
                p.sequences().insertStep(i, s, 0);
            }
        }));
        showPage();
        clickRow(page().sequenceList(), 1);
        ASSERT_EQ(page().currentSequence(), 1);
    }
};

TEST_F(SequencesPageTest, ANewProjectShowsTheFactorySequence) {
    QAbstractItemModelTester sequences(page().sequenceModel());
    QAbstractItemModelTester stepsTester(page().stepModel());
    EXPECT_EQ(column(page().sequenceList(), 0), QStringList{"t535 1"});
    EXPECT_EQ(cell(page().sequenceList(), 0, 1), "00:00:00.5");
    EXPECT_EQ(cell(page().sequenceList(), 0, 2), "1");
    EXPECT_EQ(page().sequenceList()->columnWidth(0), 220);
    EXPECT_EQ(page().sequenceList()->columnWidth(1), 80);
    EXPECT_EQ(page().stepList()->columnWidth(0), 150);
    EXPECT_EQ(page().currentSequence(), 0);
    EXPECT_EQ(column(page().stepList(), 0), QStringList{"t553 1____"});
    EXPECT_EQ(column(page().stepList(), 1), QStringList{"00:00.50"});
    EXPECT_TRUE(page().stepList()->isVisible());
    EXPECT_FALSE(page().sequenceModel()->index(0, 0).data(Qt::BackgroundRole).value<QColor>() ==
                 QColor(CSequenceListModel::ChangedColor));
    EXPECT_EQ(page().timeline()->line().blocks.size(), 1u);
    EXPECT_EQ(page().timeline()->accessibleDescription(), "<1> t553 1____ 00:00.50");
    EXPECT_EQ(steps(), 0) << "looking changes nothing";
}

TEST_F(SequencesPageTest, NewDeleteAndCopyReuseTheLowestFreeRecord) {
    for (int i = 0; i < 4; ++i) {
        click(page().newButton());
    }
    EXPECT_EQ(column(page().sequenceList(), 0), QStringList({"t535 1", "t535 2", "t535 3", "t535 4", "t535 5"}));
    EXPECT_EQ(page().currentSequence(), 4) << "the new sequence is selected";
    EXPECT_EQ(cell(page().sequenceList(), 4, 2), "-");
    EXPECT_EQ(page().sequenceModel()->index(4, 0).data(Qt::BackgroundRole).value<QColor>(),
              QColor(CSequenceListModel::ChangedColor));
    EXPECT_EQ(page().sequenceModel()->index(4, 0).data(Qt::AccessibleDescriptionRole).toString(), "t2007");
    EXPECT_EQ(steps(), 4);

    clickRow(page().sequenceList(), 2);
    click(page().deleteButton());
    EXPECT_EQ(column(page().sequenceList(), 0), QStringList({"t535 1", "t535 2", "t535 4", "t535 5"}));
    EXPECT_EQ(page().currentSequence(), 1) << "the sequence before the deleted one";
    click(page().newButton());
    EXPECT_EQ(page().currentSequence(), 2) << "sequence 3 again";
    EXPECT_EQ(table().usedCount(), 5);

    // Copy two selected sequences: the copies take records 5 and 6.
    clickRow(page().sequenceList(), 0);
    clickRow(page().sequenceList(), 1, Qt::ControlModifier);
    EXPECT_FALSE(page().stepList()->isVisible()) << "the steps are shown for one sequence only";
    click(page().copyButton());
    EXPECT_EQ(table().usedCount(), 7);
    EXPECT_EQ(table().record(5), table().record(0));
    EXPECT_EQ(page().currentSequence(), 6) << "the last copy is selected";
    EXPECT_TRUE(app.prompts.boxes().empty());

    // One undo per action.
    const int before = steps();
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(table().usedCount(), 5);
    EXPECT_EQ(steps(), before);
    EXPECT_EQ(frame->view()->currentPage(), &page());
}

TEST_F(SequencesPageTest, TheFortyThirdSequenceIsRefusedAndACopyStopsWhenFull) {
    ASSERT_TRUE(testing::userEdit(doc(), [](ProjectData& p) {
        while (p.sequences().usedCount() < 41) {
            p.sequences().createSequence();
        }
    }));
    showPage();
    // Three selected, one record free: one copy, then text 630.
    clickRow(page().sequenceList(), 0);
    clickRow(page().sequenceList(), 2, Qt::ShiftModifier);
    const int before = steps();
    click(page().copyButton());
    EXPECT_EQ(table().usedCount(), 42);
    EXPECT_EQ(app.prompts.texts(), QStringList{"t630"});
    EXPECT_EQ(steps(), before + 1);

    const auto full = doc().project().state(SectionId::Sequences);
    page().sequenceList()->setFocus();
    QTest::keyClick(page().sequenceList(), Qt::Key_Insert);
    click(page().copyButton());
    EXPECT_EQ(app.prompts.texts(), QStringList({"t630", "t630", "t630"}));
    EXPECT_EQ(doc().project().state(SectionId::Sequences), full);
    EXPECT_EQ(steps(), before + 1);
}

TEST_F(SequencesPageTest, ANewStepGoesAfterTheSelectedStepAndStartsWithBellOne) {
    // Sequence 2: hammers 0.50 s, pause 1.00 s.
    sequenceWith({timed(StepKind::Hammers, 5), timed(StepKind::Pause, 10)});
    clickRow(page().stepList(), 0);
    bool bellOne = false;
    bool otherBells = true;
    app.dialogs.then([&](QDialog& dialog) {
        CSeqElemDlg& e = editor(dialog);
        EXPECT_EQ(dialog.windowTitle(), "t595");
        EXPECT_EQ(e.kindList()->currentIndex(), BellsA);
        EXPECT_EQ(e.field(CSeqElemDlg::PauseSeconds)->text(), "01");
        bellOne = e.bellBox(0)->isChecked() && e.bellBox(0)->text() == "1";
        otherBells = e.bellBox(2)->isChecked() || !e.bellBox(2)->text().isEmpty();
        QTest::mouseClick(e.bellBox(2), Qt::LeftButton);
        QTest::mouseClick(e.bellBox(0), Qt::LeftButton);
        QTest::mouseClick(e.bellBox(2), Qt::LeftButton); // the last one cleared: bell 1 comes back
        typePause(e, "00", "02", "50");
        ok(dialog);
    });
    // Insert in the step list opens the editor.
    page().stepList()->setFocus();
    QTest::keyClick(page().stepList(), Qt::Key_Insert);
    ASSERT_TRUE(app.dialogs.done());
    EXPECT_TRUE(bellOne);
    EXPECT_FALSE(otherBells);
    EXPECT_EQ(column(page().stepList(), 0), QStringList({"t553 1____", "t883 1____", "t660"}));
    EXPECT_EQ(cell(page().stepList(), 1, 1), "00:02.50");
    EXPECT_EQ(page().currentStep(), 1) << "the new step is selected";
    EXPECT_EQ(cell(page().sequenceList(), 1, 1), "00:00:04.0");
    EXPECT_EQ(cell(page().sequenceList(), 1, 2), "3");

    // Cancel adds nothing.
    const int before = steps();
    clickWith(page().newStepButton(), {[](QDialog& dialog) { cancel(dialog); }});
    EXPECT_EQ(steps(), before);
    EXPECT_EQ(table().stepCount(1), 3);

    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(table().stepCount(1), 2);
    EXPECT_EQ(cell(page().sequenceList(), 1, 1), "00:00:01.5");
}

TEST_F(SequencesPageTest, TotalsFollowTheStepsAsTheyAreTyped) {
    struct Case {
        const char* what;
        std::vector<std::vector<QString>> pauses; // mm, ss, hh per step
        QString total;
    };
    const Case cases[] = {
        {"0.50 + 0.25 + 0.05", {{"00", "00", "50"}, {"00", "00", "25"}, {"00", "00", "05"}}, "00:00:00.8"},
        {"0.04", {{"00", "00", "04"}}, "00:00:00.0"},
        {"0.05", {{"00", "00", "05"}}, "00:00:00.1"},
        {"1:02.30", {{"01", "02", "30"}}, "00:01:02.3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        click(page().newButton());
        const int sequence = page().currentSequence();
        for (const auto& p : c.pauses) {
            clickWith(page().newStepButton(), {timedStep(Pause, p[0], p[1], p[2])});
        }
        EXPECT_EQ(QString::fromStdString(table().totalText(sequence)), c.total);
        EXPECT_EQ(cell(page().sequenceList(), page().sequenceList()->currentIndex().row(), 1), c.total);
    }
}

TEST_F(SequencesPageTest, ARepeatOfThreeTimesOneAndAHalfSecondsMakesSixSeconds) {
    click(page().newButton());
    clickWith(page().newStepButton(), {timedStep(Hammers, "00", "01", "00")});
    clickWith(page().newStepButton(), {timedStep(Pause, "00", "00", "50")});
    Offered firsts;
    Offered lasts;
    app.dialogs
        .then([](QDialog& dialog) {
            CSeqElemDlg& e = editor(dialog);
            chooseKind(e, RepeatCount);
            EXPECT_EQ(e.firstStepLink()->text(), "<1>");
            EXPECT_TRUE(e.field(CSeqElemDlg::Repetitions)->isVisible());
            EXPECT_FALSE(e.field(CSeqElemDlg::PauseMinutes)->isVisible());
            // The last step through the keyboard: Tab to its label and Enter.
            e.lastStepLink()->setFocus();
            QTest::keyClick(e.lastStepLink(), Qt::Key_Return);
            EXPECT_EQ(e.lastStepLink()->text(), "<2>");
            QTest::mouseClick(e.firstStepLink(), Qt::LeftButton);
            type(e, CSeqElemDlg::Repetitions, "03");
            ok(dialog);
        })
        .then(pickStep(1, &lasts))
        .then(pickStep(0, &firsts));
    // The steps are selected (the pause): the repeat goes after it, at the end.
    click(page().newStepButton());
    ASSERT_TRUE(app.dialogs.done());
    EXPECT_EQ(lasts.title, "t670");
    EXPECT_EQ(lasts.numbers, QStringList({"<1>", "<2>"})) << "its own position is not offered";
    EXPECT_EQ(lasts.preselected, "<1>");
    EXPECT_EQ(firsts.title, "t669");
    EXPECT_EQ(firsts.numbers, QStringList({"<1>", "<2>"}));
    const int sequence = page().currentSequence();
    EXPECT_EQ(column(page().stepList(), 0), QStringList({"t553 1____", "t660", "t661"}));
    EXPECT_EQ(cell(page().stepList(), 2, 1), "00:04.50");
    EXPECT_EQ(QString::fromStdString(table().totalText(sequence)), "00:00:06.0");

    // The timeline: the repeat is one block of 4.5 s with a bracket over steps 1 to 3 saying "×3".
    const Timeline& line = page().timeline()->line();
    ASSERT_EQ(line.blocks.size(), 3u);
    ASSERT_EQ(line.brackets.size(), 1u);
    EXPECT_EQ(line.brackets[0].label, "\u00d73");
    EXPECT_NEAR(line.blocks[2].width, 9 * line.blocks[1].width, 9);
    EXPECT_EQ(page().timeline()->selected(), 2);
}

TEST_F(SequencesPageTest, TheStepChooserOffersNothingBeforeTheFirstStepAndOkSaysSo) {
    // A new repeat step in an empty sequence: its range can start nowhere.
    click(page().newButton());
    Offered offered;
    app.dialogs
        .then([](QDialog& dialog) {
            CSeqElemDlg& e = editor(dialog);
            chooseKind(e, RepeatCount);
            QTest::mouseClick(e.firstStepLink(), Qt::LeftButton);
            ok(dialog); // the range starts at the step itself
            EXPECT_TRUE(dialog.isVisible());
            cancel(dialog);
        })
        .then(pickStep(-1, &offered));
    click(page().newStepButton());
    ASSERT_TRUE(app.dialogs.done());
    EXPECT_TRUE(offered.numbers.isEmpty());
    EXPECT_EQ(app.prompts.texts(), QStringList({"t114", "t676"}));
    EXPECT_EQ(table().stepCount(page().currentSequence()), 0);
}

TEST_F(SequencesPageTest, OkRefusesARangeOverARepeatStepOrBeyondTheSteps) {
    // Hammers, a repeat of step 1, a pause; and a repeat at step 4 whose stored range 6-7 lies beyond the steps.
    sequenceWith({timed(StepKind::Hammers, 5), repeat(0, 0, 2), timed(StepKind::Pause, 5), repeat(5, 6, 2)});
    clickRow(page().stepList(), 2);
    app.dialogs
        .then([](QDialog& dialog) {
            CSeqElemDlg& e = editor(dialog);
            chooseKind(e, RepeatCount);
            QTest::mouseClick(e.lastStepLink(), Qt::LeftButton);
            ok(dialog);
            EXPECT_TRUE(dialog.isVisible());
            cancel(dialog);
        })
        .then(pickStep(1));
    click(page().newStepButton());
    ASSERT_TRUE(app.dialogs.done());

    clickRow(page().stepList(), 3);
    app.dialogs.then([](QDialog& dialog) {
        CSeqElemDlg& e = editor(dialog);
        EXPECT_EQ(e.firstStepLink()->text(), "<6>");
        EXPECT_EQ(e.field(CSeqElemDlg::Repetitions)->text(), "02");
        ok(dialog);
        EXPECT_TRUE(dialog.isVisible());
        cancel(dialog);
    });
    // Enter on the step opens the editor.
    QTest::keyClick(page().stepList(), Qt::Key_Return);
    ASSERT_TRUE(app.dialogs.done());
    EXPECT_EQ(app.prompts.texts(), QStringList({"t667", "t666"}));
    EXPECT_EQ(table().stepCount(1), 4);
}

TEST_F(SequencesPageTest, ABellStepIsRefusedInASequenceTheQuartersPlay) {
    // The factory quarters play sequence 1: a pause may go in, a new bell step may not.
    clickWith(page().newStepButton(), {timedStep(Pause, "00", "01", "00")});
    ASSERT_EQ(table().stepCount(0), 2);
    const auto before = doc().project().state(SectionId::Sequences);
    const Sequence withPause = table().record(0);
    const int stepsBefore = steps();
    clickWith(page().newStepButton(), {[](QDialog& dialog) { ok(dialog); }});
    EXPECT_EQ(app.prompts.texts(), QStringList{"t686"});
    // Editing the pause into bells B: refused too.
    clickRow(page().stepList(), 1);
    app.dialogs.then([](QDialog& dialog) {
        chooseKind(editor(dialog), BellsB);
        ok(dialog);
    });
    QTest::mouseDClick(page().stepList()->viewport(), Qt::LeftButton, {},
                       page().stepList()->visualRect(page().stepModel()->index(1, 0)).center());
    ASSERT_TRUE(app.dialogs.done());
    EXPECT_EQ(app.prompts.texts(), QStringList({"t686", "t686"}));
    EXPECT_EQ(doc().project().state(SectionId::Sequences), before);
    EXPECT_EQ(steps(), stepsBefore);

    // A hammer step is welcome, and its edit is one undo step.
    clickRow(page().stepList(), 1);
    app.dialogs.then([](QDialog& dialog) {
        CSeqElemDlg& e = editor(dialog);
        chooseKind(e, BellsA);
        chooseKind(e, Hammers);
        QTest::mouseClick(e.hammerBox(3), Qt::LeftButton);
        ok(dialog);
    });
    QTest::keyClick(page().stepList(), Qt::Key_Enter);
    EXPECT_EQ(column(page().stepList(), 0), QStringList({"t553 1____", "t553 1__4_"}));
    EXPECT_EQ(column(page().stepList(), 1), QStringList({"00:00.50", "00:01.00"}));
    EXPECT_EQ(steps(), stepsBefore + 1);
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(table().record(0), withPause);
}

TEST_F(SequencesPageTest, AFullSequenceTakesNoStepAndARangeNeverReachesTheNewStep) {
    sequenceWith({timed(StepKind::Hammers, 5), timed(StepKind::Pause, 5), timed(StepKind::Hammers, 5)});
    // A repeat step going in after step 1 may repeat step 1 only: steps 2 and 3 will follow it.
    clickRow(page().stepList(), 0);
    Offered offered;
    app.dialogs
        .then([](QDialog& dialog) {
            CSeqElemDlg& e = editor(dialog);
            chooseKind(e, RepeatCount);
            QTest::mouseClick(e.lastStepLink(), Qt::LeftButton);
            ok(dialog);
        })
        .then(pickStep(0, &offered));
    click(page().newStepButton());
    ASSERT_TRUE(app.dialogs.done());
    EXPECT_EQ(offered.numbers, QStringList{"<1>"});
    EXPECT_EQ(column(page().stepList(), 0), QStringList({"t553 1____", "t661", "t660", "t553 1____"}));
    for (const ValidationIssue& issue : doc().project().validate()) {
        EXPECT_NE(issue.area, SequenceTable::Area) << "the range is sound: code " << issue.code;
    }

    ASSERT_TRUE(testing::userEdit(doc(), [](ProjectData& p) {
        while (p.sequences().hasFreeStep(1)) {
            p.sequences().insertStep(1, timed(StepKind::Pause, 1), 0);
        }
    }));
    showPage();
    clickRow(page().sequenceList(), 1);
    const int before = steps();
    click(page().newStepButton());
    EXPECT_EQ(app.prompts.texts(), QStringList{"t571"});
    EXPECT_EQ(steps(), before);
    EXPECT_EQ(table().stepCount(1), SequenceTable::MaxSteps);
}

TEST_F(SequencesPageTest, DeleteStepAndTheTimelineFollowEveryChange) {
    // 0.50 s, 0.25 s, 0.05 s: on a wide page at the largest scale 100, 50 and 10 pixels.
    sequenceWith({timed(StepKind::Hammers, 5), timed(StepKind::Pause, 2, 5), timed(StepKind::BellsB, 0, 5, 0b11)});
    const CSequenceTimeline* line = page().timeline();
    std::vector<int> widths;
    for (const TimelineBlock& b : line->line().blocks) {
        widths.push_back(b.width);
    }
    EXPECT_EQ(widths, (std::vector<int>{100, 50, 10}));
    EXPECT_EQ(line->line().blocks[2].label, "12");
    EXPECT_EQ(line->accessibleName(), "t2259");
    EXPECT_EQ(line->accessibleDescription(), "<1> t553 1____ 00:00.50; <2> t660 00:00.25; <3> t884 12___ 00:00.05");

    // A click on a block selects its step; the timeline outlines it and changes nothing.
    QTest::mouseClick(const_cast<CSequenceTimeline*>(line), Qt::LeftButton, {}, line->blockRect(1).center());
    EXPECT_EQ(page().currentStep(), 1);
    EXPECT_EQ(line->selected(), 1);
    EXPECT_EQ(steps(), 1);

    QTest::keyClick(page().stepList(), Qt::Key_Delete);
    EXPECT_EQ(column(page().stepList(), 0), QStringList({"t553 1____", "t884 12___"}));
    EXPECT_EQ(line->line().blocks.size(), 2u);
    EXPECT_EQ(cell(page().sequenceList(), 1, 1), "00:00:00.6");
    EXPECT_EQ(page().currentStep(), 1);
    click(page().deleteStepButton());
    click(page().deleteStepButton());
    EXPECT_EQ(table().stepCount(1), 0);
    EXPECT_FALSE(page().deleteStepButton()->isEnabled());
    EXPECT_TRUE(line->line().blocks.empty());
    EXPECT_EQ(steps(), 4);
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(table().stepCount(1), 1);
}

TEST_F(SequencesPageTest, KeysAreScopedToTheirListAndLanguageRefreshReTexts) {
    // Enter in the sequence list goes to the step list, Escape back; Delete in the step list deletes the step, not
    // the sequence; Ctrl+D in the sequence list copies the sequence.
    page().sequenceList()->setFocus();
    QTest::keyClick(page().sequenceList(), Qt::Key_Return);
    EXPECT_TRUE(page().stepList()->hasFocus());
    EXPECT_EQ(page().currentStep(), 0);
    QTest::keyClick(page().stepList(), Qt::Key_Delete);
    EXPECT_EQ(table().stepCount(0), 0);
    EXPECT_EQ(table().usedCount(), 1);
    QTest::keyClick(page().stepList(), Qt::Key_Escape);
    EXPECT_TRUE(page().sequenceList()->hasFocus());
    QTest::keyClick(page().sequenceList(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(table().usedCount(), 2);
    EXPECT_EQ(page().newButton()->text(), "t2250");

    // Tools -> Program settings, another language: the page speaks it at once, its lists included.
    ASSERT_TRUE(testing::writeLanguage(app.dir.filePath(QStringLiteral("Language")), QStringLiteral("Other"),
                                       testing::numberedTexts(QStringLiteral("o"))));
    testing::chooseLanguage(*frame, app.dialogs, QStringLiteral("Other"));
    EXPECT_EQ(page().newButton()->text(), "o2250");
    EXPECT_EQ(page().stepList()->accessibleName(), "o595");
    EXPECT_EQ(page().newStepButton()->text(), "o606");
    EXPECT_EQ(cell(page().sequenceList(), 1, 0), "o535 2");
    EXPECT_EQ(steps(), 2) << "the delete and the copy; the language changes nothing";
}

// A hammer step striking hammer `hammer` (1-5), lasting ss.hh.
Step strike(int hammer, const QString& seconds, const QString& hundredths) {
    return [=](QDialog& dialog) {
        CSeqElemDlg& e = editor(dialog);
        chooseKind(e, Hammers);
        if (hammer != 1) {
            QTest::mouseClick(e.hammerBox(hammer - 1), Qt::LeftButton);
            QTest::mouseClick(e.hammerBox(0), Qt::LeftButton);
        }
        typePause(e, "00", seconds, hundredths);
        ok(dialog);
    };
}

// A new user composes a quarter on hammers 4-1, lets quarter 1 play it, switches the striking on with a night
// silence from 22:00 to 7:00, and undoes a step change.
TEST_F(SequencesPageTest, AQuarterOnFourHammersIsComposedGivenToTheQuartersAndUndone) {
    click(page().newButton());
    const int quarter = page().currentSequence();
    for (int hammer : {4, 3, 2, 1}) {
        clickWith(page().newStepButton(), {strike(hammer, "00", "80")});
    }
    clickWith(page().newStepButton(), {timedStep(Pause, "00", "02", "00")});
    EXPECT_EQ(column(page().stepList(), 0),
              QStringList({"t553 ___4_", "t553 __3__", "t553 _2___", "t553 1____", "t660"}));
    EXPECT_EQ(cell(page().sequenceList(), 1, 1), "00:00:05.2");
    EXPECT_EQ(page().timeline()->line().blocks.size(), 5u);

    // The striking page: quarter 1 plays the new sequence; hours with repetition; silent from 22:00 to 7:00.
    frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 167));
    auto& gongs = *qobject_cast<CPropGongi*>(frame->view()->page(PageId::Gongi));
    ASSERT_EQ(frame->view()->currentPage(), &gongs);
    app.dialogs.then([](QDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
        QTest::keyClick(list, Qt::Key_Return);
    });
    QTest::mouseClick(gongs.series(0, 0), Qt::LeftButton);
    ASSERT_TRUE(app.dialogs.done());
    const auto press = [](QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); };
    press(gongs.modeRadio(2));
    press(gongs.quarterStriking());
    for (NightBlock b : {NightBlock::Hour, NightBlock::Quarter}) {
        const char* const typed[] = {"22", "00", "07", "00"};
        for (int which = 0; which < 4; ++which) {
            CFireEdit* f = gongs.blockField(b, which);
            f->setFocus();
            f->selectAll();
            QTest::keyClicks(f, QString::fromLatin1(typed[which]));
            QApplication::focusWidget()->clearFocus();
        }
    }
    const StrikingRecord& r = doc().project().striking().record();
    EXPECT_EQ(r.seriesSequence(0, 0), quarter);
    EXPECT_EQ(gongs.series(0, 0)->text(), "S2");
    EXPECT_EQ(r.hourMode(), 2);
    EXPECT_TRUE(r.quarterStrikingOn());
    EXPECT_EQ(r.blockStartHour(NightBlock::Quarter), 22);
    EXPECT_EQ(r.blockEndHour(NightBlock::Hour), 7);
    for (const ValidationIssue& issue : doc().project().validate()) {
        EXPECT_NE(issue.area, StrikingSettings::AreaQuarters) << "code " << issue.code;
        EXPECT_NE(issue.area, SequenceTable::Area) << "code " << issue.code;
    }

    // Back on the sequences page: the last stroke made longer, then undone.
    showPage();
    clickRow(page().sequenceList(), 1);
    clickRow(page().stepList(), 3);
    const Sequence composed = table().record(quarter);
    app.dialogs.then([](QDialog& dialog) {
        typePause(editor(dialog), "00", "01", "60");
        ok(dialog);
    });
    QTest::keyClick(page().stepList(), Qt::Key_Return);
    EXPECT_EQ(cell(page().stepList(), 3, 1), "00:01.60");
    EXPECT_EQ(cell(page().sequenceList(), 1, 1), "00:00:06.0");
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(frame->view()->currentPage(), &page());
    EXPECT_EQ(table().record(quarter), composed);
    EXPECT_EQ(cell(page().sequenceList(), 1, 1), "00:00:05.2");
    EXPECT_EQ(page().currentSequence(), quarter);
}

} // namespace
} // namespace tolvane
