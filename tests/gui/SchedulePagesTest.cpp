// The schedule pages as a user works them: the weekly, annual and one-time programs and the overview, by mouse
// and by keyboard, with undo.

#include "DocumentEdit.h"
#include "ScriptedDialogs.h"
#include "ShellTestSupport.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/schedules/CProgramPage.h"
#include "gui/schedules/CPropProgramy.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "gui/widgets/CTrackEdytorCtrl.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using testing::userEdit;

class SchedulePagesTest : public ::testing::Test, protected testing::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    CTarvelinDoc& doc() { return *frame->document(); }
    const ScheduleProgram& programs(int kind) { return doc().project().program(kind); }

    static int captionOf(int kind) { return kind == Weekly ? 159 : kind == Annual ? 160 : 162; }
    static PageId pageOf(int kind) { return kind == Weekly ? PageId::Tyg : kind == Annual ? PageId::Rok : PageId::Jed; }

    // Brings the page of `kind` to the front through its tree item.
    CProgramPage& open(int kind) {
        frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), captionOf(kind)));
        auto* page = qobject_cast<CProgramPage*>(frame->view()->page(pageOf(kind)));
        EXPECT_EQ(frame->view()->currentPage(), page);
        return *page;
    }

    template <typename T> static T* child(const CProgramPage& page, const char* name) {
        T* found = page.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    static void clickRow(QTableView* list, int row, Qt::KeyboardModifiers keys = {}) {
        const QModelIndex index = list->model()->index(row, 1);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, list->visualRect(index).center());
    }

    static void type(CProgramPage& page, const char* field, const QString& text) {
        auto* edit = child<QLineEdit>(page, field);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // Adds `count` weekly programs at 00:00, 00:01, ... through the document, as one step.
    void addWeekly(int count) {
        userEdit(doc(), [count](ProjectData& p) {
            for (int n = 0; n < count; ++n) {
                const int i = p.program(Weekly).addEntry();
                p.program(Weekly).setTime(i, static_cast<std::uint8_t>(n / 60), static_cast<std::uint8_t>(n % 60), 0);
            }
        });
    }

    // Every section's bytes and change marks.
    std::vector<SectionState> projectBytes() {
        std::vector<SectionState> states;
        for (int id = 0; id < SectionIdCount; ++id) {
            states.push_back(doc().project().state(static_cast<SectionId>(id)));
        }
        return states;
    }

    std::vector<std::uint16_t> identifiers(int kind) {
        std::vector<std::uint16_t> ids;
        for (int i = 0; i < programs(kind).usedCount(); ++i) {
            ids.push_back(programs(kind).entry(i).identifier());
        }
        return ids;
    }
};

TEST_F(SchedulePagesTest, ANewWeeklyProgramShowsItsDefaultsInListAndEditor) {
    CProgramPage& page = open(Weekly);
    click(child<QPushButton>(page, "addButton"));
    ASSERT_EQ(programs(Weekly).usedCount(), 1);
    const QAbstractItemModel* model = page.list()->model();
    const QStringList row{model->index(0, 1).data().toString(), model->index(0, 2).data().toString(),
                          model->index(0, 3).data().toString(), model->index(0, 4).data().toString(),
                          model->index(0, 5).data().toString(), model->index(0, 6).data().toString()};
    EXPECT_EQ(row, (QStringList{"001", "12:00:00", "01.01", "31.12", "t258______", "5"}));
    EXPECT_EQ(model->index(0, 8).data().toString(), "1____");
    EXPECT_EQ(model->index(0, 2).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(CProgramModel::ChangedColor));
    EXPECT_EQ(child<QComboBox>(page, "actionList")->currentText(), "t242");
    EXPECT_EQ(child<QLineEdit>(page, "hourField")->text(), "12");
    EXPECT_EQ(child<QLineEdit>(page, "priorityField")->text(), "05");
    EXPECT_EQ(child<QLineEdit>(page, "ringingMinutesField")->text(), "03");
    EXPECT_TRUE(child<QCheckBox>(page, "bellBox0")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(page, "bellBox1")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(page, "weekday0")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(page, "summerBox")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(page, "winterBox")->isChecked());
    EXPECT_EQ(child<QLabel>(page, "countLabel")->text(), "t240 1");
    EXPECT_EQ(child<QProgressBar>(page, "usedBar")->value(), 1);
    EXPECT_EQ(doc().undoStack()->count(), 1);
}

TEST_F(SchedulePagesTest, AddingToAFullTableShows196AndKeeps128) {
    addWeekly(127);
    CProgramPage& page = open(Weekly);
    click(child<QPushButton>(page, "addButton"));
    EXPECT_EQ(programs(Weekly).usedCount(), 128);
    EXPECT_TRUE(app.prompts.texts().isEmpty());
    click(child<QPushButton>(page, "addButton"));
    EXPECT_EQ(programs(Weekly).usedCount(), 128);
    EXPECT_EQ(app.prompts.texts(), QStringList{"t196"});
}

struct CopyCase {
    int used;
    int copies;
    bool message;
};

class ScheduleCopyTest : public SchedulePagesTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(ScheduleCopyTest, CopyingThreeProgramsStopsAtTheLimit) {
    addWeekly(GetParam().used);
    CProgramPage& page = open(Weekly);
    clickRow(page.list(), 0);
    clickRow(page.list(), 1, Qt::ControlModifier);
    clickRow(page.list(), 2, Qt::ControlModifier);
    page.list()->setFocus();
    QTest::keyClick(page.list(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(programs(Weekly).usedCount(), GetParam().used + GetParam().copies);
    EXPECT_EQ(app.prompts.texts(), GetParam().message ? QStringList{"t196"} : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(Cases, ScheduleCopyTest,
                         ::testing::Values(CopyCase{127, 1, true}, CopyCase{125, 3, true}, CopyCase{128, 0, false},
                                           CopyCase{10, 3, false}),
                         [](const ::testing::TestParamInfo<CopyCase>& param) {
                             return "Used" + std::to_string(param.param.used);
                         });

TEST_F(SchedulePagesTest, DeletingSelectedRowsFocusesTheRowBeforeTheFirst) {
    addWeekly(6);
    CProgramPage& page = open(Weekly);
    const std::vector<std::uint16_t> before = identifiers(Weekly);
    clickRow(page.list(), 3);
    clickRow(page.list(), 5, Qt::ControlModifier);
    page.list()->setFocus();
    QTest::keyClick(page.list(), Qt::Key_Delete);
    EXPECT_EQ(identifiers(Weekly), (std::vector<std::uint16_t>{before[0], before[1], before[2], before[4]}));
    EXPECT_EQ(page.list()->currentIndex().row(), 2);
    EXPECT_TRUE(page.list()->hasFocus());

    clickRow(page.list(), 0);
    click(child<QPushButton>(page, "deleteButton"));
    EXPECT_EQ(programs(Weekly).usedCount(), 3);
    EXPECT_EQ(page.list()->currentIndex().row(), 0);
    EXPECT_EQ(doc().undoStack()->count(), 3) << "the programs added, then two deletes";
}

// Sorting: the programs are built so that each column orders them differently; equal keys keep their order.
struct SortCase {
    const char* name;
    int kind;
    int column;
    std::vector<int> order; // identifiers after the click
};

class ScheduleSortTest : public SchedulePagesTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(ScheduleSortTest, AColumnClickSortsInPlaceKeepingEqualKeysInOrder) {
    const int kind = GetParam().kind;
    userEdit(doc(), [kind](ProjectData& p) {
        ScheduleProgram& s = p.program(kind);
        // number: time, start day.month, end day.month, action, priority, weekdays, year
        struct Spec {
            int hour, startDay, startMonth, endDay, endMonth;
            std::uint8_t action;
            int priority;
            std::uint8_t days;
            int year;
        };
        const Spec specs[] = {{6, 1, 3, 30, 6, 1, 4, 0x01, 31},
                              {6, 15, 2, 31, 12, 2, 2, 0x40, 30},
                              {5, 1, 3, 1, 5, 1, 9, 0x01, 30},
                              {7, 1, 1, 31, 12, 255, 4, 0x02, 29}};
        for (const Spec& spec : specs) {
            const int i = s.addEntry();
            s.setTime(i, static_cast<std::uint8_t>(spec.hour), 0, 0);
            s.setStartDate(i, static_cast<std::uint8_t>(spec.startDay), static_cast<std::uint8_t>(spec.startMonth));
            s.setEndDate(i, static_cast<std::uint8_t>(spec.endDay), static_cast<std::uint8_t>(spec.endMonth));
            s.setAction(i, spec.action);
            if (spec.action == ProgramEntry::ActionMelody) {
                s.setMelodyNumber(i, 3);
            }
            s.setPriority(i, static_cast<std::uint8_t>(spec.priority));
            s.setDays(i, spec.days);
            s.setYear(i, static_cast<std::uint8_t>(spec.year));
        }
    });
    CProgramPage& page = open(kind);
    const int steps = doc().undoStack()->count();
    QHeaderView* header = page.list()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(GetParam().column) + 5, header->height() / 2));
    const std::vector<std::uint16_t> expected(GetParam().order.begin(), GetParam().order.end());
    EXPECT_EQ(identifiers(kind), expected);
    const std::vector<std::uint16_t> before{1, 2, 3, 4};
    // A new order is one step; a click that changes no order makes none.
    EXPECT_EQ(doc().undoStack()->count(), steps + (expected == before ? 0 : 1));
    if (expected != before) {
        frame->undo();
        EXPECT_EQ(identifiers(kind), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Columns, ScheduleSortTest,
    ::testing::Values(SortCase{"Time", Weekly, 2, {3, 1, 2, 4}}, SortCase{"StartDate", Weekly, 3, {4, 2, 3, 1}},
                      SortCase{"EndDate", Weekly, 4, {3, 1, 2, 4}}, SortCase{"Action", Weekly, 0, {1, 3, 2, 4}},
                      SortCase{"Weekdays", Weekly, 5, {2, 4, 3, 1}}, SortCase{"Priority", Weekly, 6, {2, 1, 4, 3}},
                      SortCase{"Identifier", Weekly, 1, {1, 2, 3, 4}},
                      SortCase{"OneTimeDate", OneTime, 3, {4, 2, 3, 1}},
                      SortCase{"AnnualDate", Annual, 3, {4, 2, 3, 1}}),
    [](const ::testing::TestParamInfo<SortCase>& param) { return std::string(param.param.name); });

// Which editor controls each kind and action shows.
struct ControlsCase {
    const char* name;
    int kind;
    int actionPosition;
    std::vector<const char*> shown;
    std::vector<const char*> hidden;
};

class ScheduleControlsTest : public SchedulePagesTest, public ::testing::WithParamInterface<ControlsCase> {};

TEST_P(ScheduleControlsTest, TheEditorShowsWhatTheKindAndActionUse) {
    CProgramPage& page = open(GetParam().kind);
    click(child<QPushButton>(page, "addButton"));
    auto* actions = child<QComboBox>(page, "actionList");
    actions->setFocus();
    // The user picks the action with the arrow keys.
    QTest::keyClick(actions, Qt::Key_Home);
    for (int i = 0; i < GetParam().actionPosition; ++i) {
        QTest::keyClick(actions, Qt::Key_Down);
    }
    ASSERT_EQ(actions->currentIndex(), GetParam().actionPosition);
    for (const char* name : GetParam().shown) {
        EXPECT_TRUE(child<QWidget>(page, name)->isVisible()) << name;
    }
    for (const char* name : GetParam().hidden) {
        EXPECT_FALSE(child<QWidget>(page, name)->isVisible()) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    KindsAndActions, ScheduleControlsTest,
    ::testing::Values(
        ControlsCase{"WeeklyBells",
                     Weekly,
                     1,
                     {"endDayField", "weekday6", "evenWeeksBox", "oddMonthsBox", "angelusBox", "bellBox4",
                      "ringingGraph", "ringingMinutesField"},
                     {"yearField", "melodyField", "sequenceLink", "silenceDaysField"}},
        ControlsCase{"WeeklyMelody", Weekly, 2, {"melodyField", "repetitionsField"}, {"angelusBox", "bellBox0"}},
        ControlsCase{"WeeklySequence", Weekly, 3, {"sequenceLink", "angelusBox"}, {"ringingGraph"}},
        ControlsCase{"WeeklySilence",
                     Weekly,
                     6,
                     {"silenceDaysField", "silenceBellsBox", "silenceGongsBox"},
                     {"angelusBox", "melodyField"}},
        ControlsCase{"WeeklyOutput", Weekly, 4, {"hourField"}, {"angelusBox", "bellBox0", "melodyField"}},
        ControlsCase{"AnnualBells",
                     Annual,
                     1,
                     {"startDayField", "bellBox0"},
                     {"endDayField", "weekday0", "evenWeeksBox", "yearField"}},
        ControlsCase{
            "OneTimeBells", OneTime, 1, {"startDayField", "yearField"}, {"endDayField", "weekday0", "oddWeeksBox"}}),
    [](const ::testing::TestParamInfo<ControlsCase>& param) { return std::string(param.param.name); });

TEST_F(SchedulePagesTest, BellBoxesAndTimePairsWrapAtOneHour) {
    CProgramPage& page = open(Weekly);
    click(child<QPushButton>(page, "addButton"));
    auto* bell2 = child<QCheckBox>(page, "bellBox1");
    click(bell2);
    EXPECT_TRUE(bell2->isChecked());
    EXPECT_EQ(bell2->text(), "2");
    EXPECT_TRUE(child<QWidget>(page, "bellMinutes1")->isVisible());
    EXPECT_EQ(programs(Weekly).entry(0).bellDelay(1), 0);

    type(page, "bellMinutes1", QStringLiteral("01"));
    type(page, "bellSeconds1", QStringLiteral("30"));
    EXPECT_EQ(programs(Weekly).entry(0).bellDelay(1), 90);
    type(page, "secondMinutes1", QStringLiteral("60"));
    EXPECT_EQ(programs(Weekly).entry(0).secondTime(1), 0) << "60:00 wraps to 00:00";
    EXPECT_EQ(child<QLineEdit>(page, "secondMinutes1")->text(), "00");
    EXPECT_EQ(child<QLineEdit>(page, "secondSeconds1")->text(), "00");
    EXPECT_EQ(page.list()->model()->index(0, 8).data().toString(), "12___");

    click(bell2);
    EXPECT_FALSE(programs(Weekly).entry(0).bellRung(1));
    EXPECT_EQ(bell2->text(), "");
    EXPECT_FALSE(child<QWidget>(page, "bellMinutes1")->isVisible());
    EXPECT_EQ(page.list()->model()->index(0, 8).data().toString(), "1____");
}

TEST_F(SchedulePagesTest, ParityPairsKeepOneBoxAndWeekdaysWarnWhenEmpty) {
    CProgramPage& page = open(Weekly);
    click(child<QPushButton>(page, "addButton"));
    auto* even = child<QCheckBox>(page, "evenWeeksBox");
    auto* odd = child<QCheckBox>(page, "oddWeeksBox");
    click(even);
    EXPECT_FALSE(programs(Weekly).entry(0).evenWeeks());
    click(odd);
    EXPECT_TRUE(even->isChecked()) << "unticking the last box of the pair ticks even again";
    EXPECT_TRUE(programs(Weekly).entry(0).evenWeeks());
    EXPECT_FALSE(programs(Weekly).entry(0).oddWeeks());
    click(child<QCheckBox>(page, "oddMonthsBox"));
    click(child<QCheckBox>(page, "evenMonthsBox"));
    EXPECT_TRUE(programs(Weekly).entry(0).evenMonths());
    EXPECT_FALSE(programs(Weekly).entry(0).oddMonths());

    click(child<QCheckBox>(page, "weekday0"));
    EXPECT_EQ(programs(Weekly).entry(0).weekdayMask(), 0);
    EXPECT_EQ(app.prompts.texts(), QStringList{"t413"});
    click(child<QCheckBox>(page, "weekday6"));
    EXPECT_EQ(programs(Weekly).entry(0).weekdayMask(), 0x40);
    EXPECT_EQ(child<QCheckBox>(page, "weekday6")->text(), "t203");
    EXPECT_EQ(child<QCheckBox>(page, "weekday0")->text(), "");
}

TEST_F(SchedulePagesTest, TheOneTimeYearIsStoredAsItsLowByte) {
    CProgramPage& page = open(OneTime);
    click(child<QPushButton>(page, "addButton"));
    type(page, "yearField", QStringLiteral("2031"));
    EXPECT_EQ(programs(OneTime).entry(0).year(), 31);
    EXPECT_EQ(page.list()->model()->index(0, 3).data().toString(), "01.01.2031");
    type(page, "yearField", QStringLiteral("1999"));
    EXPECT_EQ(programs(OneTime).entry(0).year(), 255);
    page.reload(0);
    EXPECT_EQ(child<QLineEdit>(page, "yearField")->text(), "20255");
}

TEST_F(SchedulePagesTest, TheGraphWritesTheDelayBackAndFollowsTheFields) {
    CProgramPage& page = open(Weekly);
    click(child<QPushButton>(page, "addButton"));
    auto* graph = child<CTrackEdytorCtrl>(page, "ringingGraph");
    ASSERT_EQ(graph->trackCount(), 5);
    graph->setFocus();
    QTest::keyClick(graph, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(graph, Qt::Key_Right);
    EXPECT_EQ(programs(Weekly).entry(0).bellDelay(0), 11);
    EXPECT_EQ(child<QLineEdit>(page, "bellSeconds0")->text(), "11");
    EXPECT_TRUE(programs(Weekly).isMarked(0, EntryField::BellDelay1));

    type(page, "ringingMinutesField", QStringLiteral("00"));
    type(page, "ringingSecondsField", QStringLiteral("08"));
    EXPECT_EQ(programs(Weekly).entry(0).ringingTime(), 8);
    graph->setFocus();
    QTest::keyClick(graph, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_LE(graph->firstValue(0), 3) << "a delay stops five seconds before the end of the ringing";
}

TEST_F(SchedulePagesTest, TheOverviewCountsEachKindAndOpensItsPage) {
    addWeekly(10);
    userEdit(doc(), [](ProjectData& p) { p.program(OneTime).addEntry(); });
    frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 158));
    auto* overview = qobject_cast<CPropProgramy*>(frame->view()->currentPage());
    ASSERT_NE(overview, nullptr);
    EXPECT_EQ(overview->title(0)->text(), "t257 10/128");
    EXPECT_EQ(overview->bar(0)->value(), 10);
    EXPECT_EQ(overview->bar(0)->maximum(), 128);
    EXPECT_EQ(overview->title(3)->text(), "t254 1/128");
    EXPECT_EQ(overview->title(2)->text(), "t255 0/128");
    click(overview->opener(3));
    EXPECT_EQ(frame->view()->currentPage(), frame->view()->page(PageId::Jed));
}

TEST_F(SchedulePagesTest, LookingAtPagesAndProgramsNeverModifiesTheProject) {
    // A saved project whose programs hold values the editor shows corrected, in an order the pages do not use.
    addWeekly(3);
    userEdit(doc(), [](ProjectData& p) {
        ScheduleProgram& w = p.program(Weekly);
        w.setTime(0, 20, 0, 0);
        w.setRingingTime(1, 5000);
        w.setBellDelay(2, 0, 4000);
        ScheduleProgram& a = p.program(Annual);
        const int i = a.addEntry();
        a.setAction(i, ProgramEntry::ActionMelody);
        a.setMelodyNumber(i, 2000);
        const int j = p.program(OneTime).addEntry();
        p.program(OneTime).setAction(j, ProgramEntry::ActionSilence);
        p.program(OneTime).setSilenceDuration(j, 40u * 86400u);
    });
    const QString path = this->path(QStringLiteral("look.tpm"));
    ASSERT_EQ(doc().save(path), QString());
    ASSERT_EQ(doc().open(path), 0);
    EXPECT_EQ(programs(Weekly).entry(2).hour(), 20) << "opening puts the programs in time order";
    ASSERT_FALSE(doc().isModified());
    const auto bytes = projectBytes();

    for (int kind : {Weekly, Annual, OneTime}) {
        CProgramPage& page = open(kind);
        for (int row = 0; row < page.list()->model()->rowCount(); ++row) {
            clickRow(page.list(), row);
        }
        // And through the list with the keyboard: first row, last row, and back up row by row.
        QTest::keyClick(page.list(), Qt::Key_Home);
        EXPECT_EQ(page.list()->currentIndex().row(), 0);
        QTest::keyClick(page.list(), Qt::Key_End);
        EXPECT_EQ(page.list()->currentIndex().row(), page.list()->model()->rowCount() - 1);
        for (int row = 1; row < page.list()->model()->rowCount(); ++row) {
            QTest::keyClick(page.list(), Qt::Key_Up);
        }
        EXPECT_EQ(page.list()->currentIndex().row(), 0);
    }
    frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 158));
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(doc().undoStack()->count(), 0);
    EXPECT_EQ(projectBytes(), bytes);

    // The corrected value is shown and written with the next edit of that program, in the same step.
    CProgramPage& weekly = open(Weekly);
    clickRow(weekly.list(), 0);
    EXPECT_EQ(child<QLineEdit>(weekly, "ringingMinutesField")->text(), "59");
    type(weekly, "priorityField", QStringLiteral("07"));
    EXPECT_EQ(programs(Weekly).entry(0).ringingTime(), 3599);
    EXPECT_EQ(programs(Weekly).entry(0).priority(), 6);
    frame->undo();
    EXPECT_EQ(programs(Weekly).entry(0).ringingTime(), 5000);
}

TEST_F(SchedulePagesTest, ProgramsCopiedToTheClipboardArePastedIntoAnotherProject) {
    addWeekly(4);
    CProgramPage& page = open(Weekly);
    clickRow(page.list(), 1);
    clickRow(page.list(), 2, Qt::ShiftModifier);
    clickRow(page.list(), 3, Qt::ShiftModifier);
    page.list()->setFocus();
    QTest::keyClick(page.list(), Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied.count(QLatin1Char('\n')), 4) << "a header and three programs";

    // Close the first project without saving it or writing it to a card.
    app.prompts.answer(PromptService::Answer::No).answer(PromptService::Answer::No);
    frame->findChild<QAction*>(QStringLiteral("actionClose"))->trigger();
    app.prompts.clear();
    ASSERT_TRUE(frame->newDocument());
    addWeekly(1);
    CProgramPage& other = open(Weekly);
    other.list()->setFocus();
    QTest::keyClick(other.list(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(programs(Weekly).usedCount(), 4);
    EXPECT_EQ(identifiers(Weekly), (std::vector<std::uint16_t>{1, 2, 3, 4}));
    EXPECT_EQ(programs(Weekly).entry(3).minute(), 3);
    EXPECT_EQ(doc().undoStack()->count(), 2) << "the paste is one step";

    // Programs of another kind, or text that is not a program list, are refused.
    open(Annual).list()->setFocus();
    QTest::keyClick(frame->view()->page(PageId::Rok)->findChild<QTableView*>(), Qt::Key_V, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(QStringLiteral("Angelus\t12:00"));
    QTest::keyClick(other.list(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(app.prompts.texts(), (QStringList{"t2070", "t2070"}));
    EXPECT_EQ(programs(Annual).usedCount(), 0);
}

TEST_F(SchedulePagesTest, AnEditOnEachPageIsOneUndoStep) {
    for (int kind : {Weekly, Annual, OneTime}) {
        CProgramPage& page = open(kind);
        click(child<QPushButton>(page, "addButton"));
        const int steps = doc().undoStack()->count();
        type(page, "hourField", QStringLiteral("06"));
        type(page, "minuteField", QStringLiteral("45"));
        EXPECT_EQ(doc().undoStack()->count(), steps + 2) << kind;
        EXPECT_EQ(programs(kind).entry(0).hour(), 6);
        EXPECT_EQ(doc().undoStack()->undoText(), "t2075 1");
        frame->undo();
        EXPECT_EQ(programs(kind).entry(0).minute(), 0);
        EXPECT_EQ(programs(kind).entry(0).hour(), 6);
        EXPECT_EQ(frame->view()->currentPage(), &page) << "undo shows the page it changed";
        frame->undo();
        frame->undo();
        EXPECT_EQ(programs(kind).usedCount(), 0);
    }
}

TEST_F(SchedulePagesTest, ChoosersSetTheSequenceTheHammerAndTheNumber) {
    addWeekly(2);
    CProgramPage& page = open(Weekly);
    clickRow(page.list(), 1);
    auto* actions = child<QComboBox>(page, "actionList");
    actions->setFocus();
    QTest::keyClick(actions, Qt::Key_Down); // melody
    QTest::keyClick(actions, Qt::Key_Down); // sequence
    ASSERT_EQ(programs(Weekly).entry(1).action(), ProgramEntry::ActionSequence);
    auto* link = child<CLinkStatic>(page, "sequenceLink");
    EXPECT_EQ(link->text(), "t535 1") << "sequence 1 is in use in a new project";
    app.dialogs.then([](QDialog& dialog) { dialog.accept(); });
    link->setFocus();
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_EQ(app.dialogs.runs(), 1);
    EXPECT_EQ(programs(Weekly).entry(1).sequenceIndex(), 0);

    // The number picker: double click on the row; the chosen number sorts nothing by time.
    app.dialogs.then([](QDialog& dialog) { dialog.reject(); });
    page.list()->setFocus();
    QTest::keyClick(page.list(), Qt::Key_F2);
    EXPECT_EQ(app.dialogs.runs(), 2);
    EXPECT_EQ(identifiers(Weekly), (std::vector<std::uint16_t>{1, 2}));
}

TEST_F(SchedulePagesTest, TheListModelPassesTheModelTester) {
    CProgramPage& page = open(Weekly);
    QAbstractItemModelTester tester(page.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    click(child<QPushButton>(page, "addButton"));
    click(child<QPushButton>(page, "addButton"));
    type(page, "hourField", QStringLiteral("07"));
    click(child<QPushButton>(page, "deleteButton"));
    frame->undo();
    EXPECT_EQ(page.model()->rowCount(), 2);
}

// The whole week of a parish, from the keyboard alone: Insert adds, Enter goes into the editor, Tab moves on,
// Escape comes back.
TEST_F(SchedulePagesTest, AParishWeekIsBuiltFromTheKeyboardAlone) {
    CProgramPage& page = open(Weekly);
    QTableView* list = page.list();
    list->setFocus();
    const auto typeInto = [](QWidget* field, const QString& text) {
        ASSERT_TRUE(field->hasFocus()) << field->objectName().toStdString();
        QTest::keyClicks(field, text);
    };
    for (const char* time : {"06", "12", "18"}) {
        QTest::keyClick(list, Qt::Key_Insert);
        QTest::keyClick(list, Qt::Key_Return);
        ASSERT_TRUE(child<QComboBox>(page, "actionList")->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        typeInto(QApplication::focusWidget(), QString::fromLatin1(time));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        ASSERT_TRUE(list->hasFocus());
    }
    ASSERT_EQ(programs(Weekly).usedCount(), 3);
    EXPECT_EQ(programs(Weekly).entry(2).hour(), 18);
    // Every weekday for the 12:00 program: select it, go into the editor and tab to the weekday boxes.
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex().row(), 1);
    for (int d = 1; d < 7; ++d) {
        child<QCheckBox>(page, QStringLiteral("weekday%1").arg(d).toLatin1().constData())->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    }
    EXPECT_EQ(programs(Weekly).entry(1).weekdayMask(), 0x7F);
    EXPECT_EQ(programs(Weekly).entry(1).hour(), 12);
    EXPECT_EQ(list->accessibleName(), "t159");
    EXPECT_EQ(child<QWidget>(page, "hourField")->accessibleName(), "t2053");
    EXPECT_EQ(child<QWidget>(page, "ringingGraph")->accessibleName(), "t2067");
}

} // namespace
} // namespace tolvane
