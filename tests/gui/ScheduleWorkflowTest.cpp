// A schedule page as an installer works through a long list: it keeps the program they were on when they come back
// to it, keeps its order when a time is changed, gives a bell its times back when it is ticked again, names the
// second bell value after the settings, and its caption-less boxes answer a click anywhere in their cell.

#include "DocumentEdit.h"
#include "ShellTestSupport.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/report/CPropRaport.h"
#include "gui/report/CRaportModel.h"
#include "gui/schedules/CProgramPage.h"
#include "gui/schedules/CPropPlan.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using testing::userEdit;

constexpr int WeeklyTreeText = 159;
constexpr int OverviewTreeText = 158;
constexpr int ReportTreeText = 164;
constexpr int SettingsTreeText = 165;

class ScheduleWorkflowTest : public ::testing::Test, protected testing::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->resize(1100, 800);
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }

    CTarvelinDoc& doc() { return *frame->document(); }
    const ScheduleProgram& weekly() { return doc().project().program(Weekly); }
    CProgramPage& page() { return *qobject_cast<CProgramPage*>(frame->view()->page(PageId::Tyg)); }

    // The user clicks a tree item.
    void choose(int treeText) {
        QTreeWidgetItem* item = testing::treeItem(*frame->view(), treeText);
        ASSERT_NE(item, nullptr) << treeText;
        QTreeWidget* tree = frame->view()->tree();
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }

    template <typename T> T* child(const char* name) {
        T* found = page().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Weekly programs at the given hours, numbered 1, 2, ... in that order (one step, as a paste would be).
    void addWeekly(const std::vector<int>& hours) {
        userEdit(doc(), [&hours](ProjectData& p) {
            for (int hour : hours) {
                const int i = p.program(Weekly).addEntry();
                p.program(Weekly).setTime(i, static_cast<std::uint8_t>(hour), 0, 0);
            }
        });
    }

    void clickRow(int row) {
        QTableView* list = page().list();
        const QModelIndex index = list->model()->index(row, 1);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }

    // The selected row, and whether it is alone in the selection and in view.
    int selectedRow() {
        QTableView* list = page().list();
        const QModelIndexList rows = list->selectionModel()->selectedRows();
        if (rows.size() != 1) {
            return -1;
        }
        QApplication::processEvents();
        const QRect cell = list->visualRect(rows.front());
        EXPECT_TRUE(list->viewport()->rect().intersects(cell)) << "row " << rows.front().row() << " out of view";
        return rows.front().row();
    }

    // The second start option on the settings page, scrolled into view as a user would.
    void clickStartOption() {
        auto* radio = frame->view()->page(PageId::Settings)->findChild<QRadioButton*>(QStringLiteral("startMode1"));
        ASSERT_NE(radio, nullptr);
        radio->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(radio->height() / 2, radio->height() / 2));
    }

    std::vector<std::uint16_t> identifiers() {
        std::vector<std::uint16_t> ids;
        for (int i = 0; i < weekly().usedCount(); ++i) {
            ids.push_back(weekly().entry(i).identifier());
        }
        return ids;
    }

    void type(const char* field, const QString& text) {
        auto* edit = child<QLineEdit>(field);
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

// The fourth program of a short list, and one far down a list of a hundred (it has to be scrolled back into view).
class SchedulePlaceTest : public ScheduleWorkflowTest, public ::testing::WithParamInterface<int> {};

TEST_P(SchedulePlaceTest, ThePageSelectsTheProgramTheUserWasOnWhenItComesBack) {
    const int count = GetParam() < 10 ? 6 : 100;
    std::vector<int> hours(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        hours[static_cast<std::size_t>(i)] = i * 24 / count;
    }
    addWeekly(hours);
    choose(WeeklyTreeText);
    const int row = GetParam();
    clickRow(row);
    ASSERT_EQ(selectedRow(), row);
    const QString number = page().list()->model()->index(row, 1).data().toString();
    const auto steps = doc().undoStack()->count();

    // To the report and back through the tree.
    choose(ReportTreeText);
    page().list()->scrollToTop();
    choose(WeeklyTreeText);
    EXPECT_EQ(selectedRow(), row);
    EXPECT_TRUE(child<QWidget>("programEditor")->isVisible());

    // To the overview and back through its ">>".
    choose(OverviewTreeText);
    page().list()->scrollToTop();
    QTest::mouseClick(frame->view()->page(PageId::Programy)->findChild<QPushButton*>(QStringLiteral("overviewOpen0")),
                      Qt::LeftButton);
    EXPECT_EQ(frame->view()->currentPage(), &page());
    EXPECT_EQ(selectedRow(), row);

    // An edit on another page and its undo, which reloads every page, then back through the tree.
    choose(SettingsTreeText);
    clickStartOption();
    ASSERT_TRUE(frame->undo());
    choose(WeeklyTreeText);
    EXPECT_EQ(selectedRow(), row);
    EXPECT_EQ(page().list()->model()->index(selectedRow(), 1).data().toString(), number);
    EXPECT_EQ(doc().undoStack()->index(), steps) << "coming and going made no step";
}

INSTANTIATE_TEST_SUITE_P(Rows, SchedulePlaceTest, ::testing::Values(3, 90));

TEST_F(ScheduleWorkflowTest, AChangedTimePutsTheListInOrderAsTheFieldIsLeftInsideTheEditsStep) {
    addWeekly({10, 11, 12});
    choose(WeeklyTreeText);
    clickRow(2);
    const auto steps = doc().undoStack()->count();

    type("hourField", QStringLiteral("09"));
    // Not while typing: the program is still where it was.
    EXPECT_EQ(identifiers(), (std::vector<std::uint16_t>{1, 2, 3}));
    EXPECT_EQ(weekly().entry(2).hour(), 9);
    EXPECT_EQ(selectedRow(), 2);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(identifiers(), (std::vector<std::uint16_t>{3, 1, 2}));
    EXPECT_EQ(selectedRow(), 0) << "the edited program stays selected";
    EXPECT_EQ(page().list()->model()->index(0, 2).data().toString(), "09:00:00");
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>("minuteField")) << "the focus went where Tab took it";
    EXPECT_EQ(child<QLineEdit>("hourField")->text(), "09");
    EXPECT_EQ(doc().undoStack()->count(), steps + 1) << "the time and the new order are one step";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(identifiers(), (std::vector<std::uint16_t>{1, 2, 3}));
    EXPECT_EQ(weekly().entry(2).hour(), 12);
    EXPECT_EQ(doc().undoStack()->index(), steps);
    EXPECT_EQ(frame->view()->currentPage(), &page());
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(child<QLineEdit>("hourField")->text(), "12");

    // Redo brings the time and the order back, with the program selected where it went.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(identifiers(), (std::vector<std::uint16_t>{3, 1, 2}));
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(child<QLineEdit>("hourField")->text(), "09");
}

// The list keeps the order of the column the user chose: a priority typed on a list ordered by priority moves its
// program when the field is left, and a time typed then does not move it out of that order.
TEST_F(ScheduleWorkflowTest, AnEditKeepsTheOrderOfTheChosenColumn) {
    addWeekly({10, 11, 12});
    choose(WeeklyTreeText);
    QHeaderView* header = page().list()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(6) + 5, header->height() / 2));
    ASSERT_EQ(page().sortKey(), static_cast<int>(SortKey::Priority));
    clickRow(0);
    type("priorityField", QStringLiteral("9"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(identifiers(), (std::vector<std::uint16_t>{2, 3, 1}));
    EXPECT_EQ(selectedRow(), 2);

    clickRow(0);
    type("hourField", QStringLiteral("13"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(identifiers(), (std::vector<std::uint16_t>{3, 2, 1})) << "same priority: by time";
    EXPECT_EQ(selectedRow(), 1);
}

TEST_F(ScheduleWorkflowTest, ABellTickedAgainGetsBackItsDelayAndAdvance) {
    addWeekly({12});
    choose(WeeklyTreeText);
    clickRow(0);
    auto* bell = child<QCheckBox>("bellBox1");
    ASSERT_FALSE(bell->isChecked());
    QTest::mouseClick(bell, Qt::LeftButton);
    ASSERT_TRUE(bell->isChecked());
    type("bellSeconds1", QStringLiteral("20"));
    type("secondSeconds1", QStringLiteral("30"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(weekly().entry(0).bellDelay(1), 20);

    QTest::mouseClick(bell, Qt::LeftButton);
    EXPECT_FALSE(weekly().entry(0).bellRung(1));
    QTest::mouseClick(bell, Qt::LeftButton);
    EXPECT_EQ(weekly().entry(0).bellDelay(1), 20);
    EXPECT_EQ(weekly().entry(0).secondTime(1), 30);
    EXPECT_EQ(child<QLineEdit>("bellMinutes1")->text(), "00");
    EXPECT_EQ(child<QLineEdit>("bellSeconds1")->text(), "20");
    EXPECT_EQ(child<QLineEdit>("secondSeconds1")->text(), "30");
}

TEST_F(ScheduleWorkflowTest, TheSecondColumnIsNamedAfterTheStartOptionWheneverThePageIsShown) {
    addWeekly({12});
    choose(WeeklyTreeText);
    clickRow(0);
    EXPECT_EQ(child<QLabel>("secondColumnLabel")->text(), "t458");

    choose(SettingsTreeText);
    clickStartOption();
    ASSERT_EQ(doc().project().general().startMode(), 1);
    choose(WeeklyTreeText);
    EXPECT_EQ(child<QLabel>("secondColumnLabel")->text(), "t457");
    EXPECT_TRUE(child<QLineEdit>("secondMinutes0")->accessibleName().contains(QLatin1String("t457")));

    // The undo shows the settings page; the schedule page follows it as well.
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(child<QLabel>("secondColumnLabel")->text(), "t458");
    EXPECT_TRUE(child<QLineEdit>("secondMinutes0")->accessibleName().contains(QLatin1String("t458")));
}

// Boxes whose caption is missing (an unticked bell or weekday) or stands beside them (the settings page).
struct CellBoxCase {
    PageId page;
    int treeText;
    const char* box;
};

class CellCheckBoxTest : public ScheduleWorkflowTest, public ::testing::WithParamInterface<CellBoxCase> {};

TEST_P(CellCheckBoxTest, AClickAnywhereInTheBoxTogglesItAndItsFocusShows) {
    const CellBoxCase& c = GetParam();
    addWeekly({12});
    choose(c.treeText);
    if (c.page == PageId::Tyg) {
        clickRow(0);
    }
    auto* box = frame->view()->page(c.page)->findChild<QCheckBox*>(QString::fromLatin1(c.box));
    ASSERT_NE(box, nullptr);
    box->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(box->isVisible());
    const bool before = box->isChecked();
    ASSERT_TRUE(box->text().isEmpty());
    // Far from the square, at the end of the box's cell.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 3, box->height() / 2));
    EXPECT_NE(box->isChecked(), before);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 3, box->height() - 2));
    EXPECT_EQ(box->isChecked(), before);

    // With the focus a frame is drawn that is not there without it.
    box->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(box->hasFocus());
    const QImage focused = box->grab().toImage();
    box->clearFocus();
    const QImage unfocused = box->grab().toImage();
    EXPECT_NE(focused, unfocused);
}

INSTANTIATE_TEST_SUITE_P(Boxes, CellCheckBoxTest,
                         ::testing::Values(CellBoxCase{PageId::Tyg, WeeklyTreeText, "bellBox2"},
                                           CellBoxCase{PageId::Tyg, WeeklyTreeText, "weekday4"},
                                           CellBoxCase{PageId::Settings, SettingsTreeText, "amplifierSwitch"},
                                           CellBoxCase{PageId::Settings, SettingsTreeText, "clockLock"}));

// Pages that sum the project up follow an edit made elsewhere at once, while nobody looks at them: a weekday
// unticked on the weekly page empties the day plan's Monday and adds the report's warning of a program that rings
// on no day; the undo takes both back. Neither page is brought to the front, and neither makes a step.
TEST_F(ScheduleWorkflowTest, AWeeklyEditIsSeenAtOnceOnTheDayPlanAndTheReportWithoutShowingThem) {
    userEdit(doc(), [](ProjectData& p) {
        const int monday = p.program(Weekly).addEntry();
        p.program(Weekly).setTime(monday, 6, 0, 0);
        p.program(Weekly).setDays(monday, 0x01);
    });
    auto* plan = qobject_cast<CPropPlan*>(frame->view()->page(PageId::Plan));
    auto* report = qobject_cast<CPropRaport*>(frame->view()->page(PageId::Raport));
    ASSERT_NE(plan, nullptr);
    ASSERT_NE(report, nullptr);
    plan->calendar()->setSelectedDate(QDate(2026, 12, 7)); // a Monday
    ASSERT_EQ(plan->dayList()->rowCount(), 1);
    const int issues = report->model()->rowCount();

    choose(WeeklyTreeText);
    clickRow(0);
    const int steps = doc().undoStack()->count();
    QTest::mouseClick(child<QCheckBox>("weekday0"), Qt::LeftButton);
    ASSERT_EQ(weekly().entry(0).days(), 0);
    EXPECT_EQ(plan->dayList()->rowCount(), 0) << "the Monday program rings on no day now";
    EXPECT_EQ(report->model()->rowCount(), issues + 1) << "the warning of a program without days";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(plan->dayList()->rowCount(), 1);
    EXPECT_EQ(report->model()->rowCount(), issues);
    EXPECT_EQ(frame->view()->currentPage(), &page());
    EXPECT_EQ(doc().undoStack()->count(), steps + 1) << "following made no step of its own";
}

} // namespace
} // namespace tolvane
