// The day plan page as a user reads it: the calendar's marked days, the chosen day's programs, a collision, and a
// double click that opens the program on its page.

#include "DocumentEdit.h"
#include "ShellTestSupport.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/schedules/CProgramPage.h"
#include "gui/schedules/CPropPlan.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTextCharFormat>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

class DayPlanPageTest : public ::testing::Test, protected testing::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        // Monday to Friday at 6:00 and, on Wednesdays only, a second program at 6:00 too; an annual program on
        // 24.12 at 23:45.
        testing::userEdit(*frame->document(), [](ProjectData& p) {
            ScheduleProgram& weekly = p.program(Weekly);
            const int workdays = weekly.addEntry();
            weekly.setTime(workdays, 6, 0, 0);
            weekly.setDays(workdays, 0x1F);
            const int wednesday = weekly.addEntry();
            weekly.setTime(wednesday, 6, 0, 30);
            weekly.setDays(wednesday, 0x04);
            weekly.setPriority(wednesday, 9);
            ScheduleProgram& annual = p.program(Annual);
            const int eve = annual.addEntry();
            annual.setTime(eve, 23, 45, 0);
            annual.setStartDate(eve, 24, 12);
        });
        frame->view()->tree()->setCurrentItem(testing::treeItem(*frame->view(), 2450));
        page = qobject_cast<CPropPlan*>(frame->view()->currentPage());
        ASSERT_NE(page, nullptr);
    }

    void choose(const QDate& day) {
        page->calendar()->setFocus();
        page->calendar()->setSelectedDate(day);
    }

    QStringList column(int c) const {
        QStringList cells;
        for (int row = 0; row < page->dayList()->rowCount(); ++row) {
            cells << page->dayList()->item(row, c)->text();
        }
        return cells;
    }

    CPropPlan* page = nullptr;
};

TEST_F(DayPlanPageTest, TheCalendarMarksDaysWithProgramsAndCollisions) {
    choose(QDate(2026, 12, 7));
    QCalendarWidget* calendar = page->calendar();
    const auto weight = [calendar](int day) { return calendar->dateTextFormat(QDate(2026, 12, day)).fontWeight(); };
    EXPECT_EQ(weight(7), QFont::Bold) << "a Monday";
    EXPECT_NE(weight(6), QFont::Bold) << "a Sunday";
    EXPECT_EQ(weight(24), QFont::Bold) << "Christmas Eve, a Thursday";
    EXPECT_EQ(calendar->dateTextFormat(QDate(2026, 12, 9)).foreground().color(), QColor(CPropPlan::CollisionColor))
        << "two programs at 6:00 on Wednesdays";
    EXPECT_NE(calendar->dateTextFormat(QDate(2026, 12, 10)).foreground().color(), QColor(CPropPlan::CollisionColor));
    EXPECT_EQ(page->readingsYear(), 2026);
    choose(QDate(2027, 3, 29));
    EXPECT_EQ(page->readingsYear(), 2027) << "the summer-time dates follow the year shown";
}

TEST_F(DayPlanPageTest, TheChosenDayListsItsProgramsInTimeOrderAndOpensThem) {
    choose(QDate(2026, 12, 24));
    EXPECT_EQ(column(0), (QStringList{"06:00:00", "23:45:00"}));
    EXPECT_EQ(column(2), (QStringList{"001", "003"}));
    choose(QDate(2026, 12, 9));
    ASSERT_EQ(page->dayList()->rowCount(), 2);
    EXPECT_EQ(column(3), (QStringList{"5", "10"}));
    EXPECT_FALSE(page->dayList()->item(1, 0)->data(Qt::AccessibleDescriptionRole).toString().isEmpty());
    choose(QDate(2026, 12, 13));
    EXPECT_EQ(page->dayList()->rowCount(), 0) << "nothing rings on a Sunday";

    // Keyboard: Enter from the calendar into the list, Enter on a program opens it on its page.
    choose(QDate(2026, 12, 24));
    QTest::keyClick(page->calendar(), Qt::Key_Return);
    ASSERT_TRUE(page->dayList()->hasFocus());
    QTest::keyClick(page->dayList(), Qt::Key_Down);
    QTest::keyClick(page->dayList(), Qt::Key_Return);
    auto* annual = qobject_cast<CProgramPage*>(frame->view()->currentPage());
    ASSERT_NE(annual, nullptr);
    EXPECT_EQ(annual->kind(), Annual);
    EXPECT_EQ(annual->list()->currentIndex().row(), 0);
}

TEST_F(DayPlanPageTest, ThePlanFollowsAnEditAndLookingChangesNothing) {
    const int steps = frame->document()->undoStack()->count();
    choose(QDate(2026, 12, 13));
    EXPECT_EQ(page->dayList()->rowCount(), 0);
    frame->document()->endEditBurst();
    testing::userEdit(*frame->document(), [](ProjectData& p) { p.program(Weekly).setDays(0, 0x7F); });
    EXPECT_EQ(page->dayList()->rowCount(), 1) << "the Sunday now has the every-day program";
    EXPECT_EQ(frame->document()->undoStack()->count(), steps + 1);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The user types the first day and the number of days, sees the range, and exports it where the chooser says:
// 24 to 26 December 2026 hold the workday program on the Thursday and Friday and the annual one on Christmas Eve.
TEST_F(DayPlanPageTest, ExportCalendarWritesTheRangeShownOnThePage) {
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    EXPECT_EQ(page->exportRange()->text(),
              "t2457 " + today + " " + QDate::currentDate().addDays(365).toString(Qt::ISODate) + " 366")
        << "from today, for a year";
    ASSERT_TRUE(QDir(app.dir.path()).mkpath(QStringLiteral("docs")));
    ASSERT_TRUE(frame->document()->save(path(QStringLiteral("docs/tower.tpm"))).isEmpty());
    const int steps = frame->document()->undoStack()->count();

    // Tab from the lists reaches the export's fields and its button.
    page->onDemandList()->setFocus();
    QTest::keyClick(page->onDemandList(), Qt::Key_Tab);
    ASSERT_TRUE(page->exportFrom()->hasFocus());
    QTest::keyClick(page->exportFrom(), Qt::Key_Home);
    QTest::keyClicks(page->exportFrom(), QStringLiteral("2026-12-24"));
    EXPECT_EQ(page->exportFrom()->date(), QDate(2026, 12, 24));
    page->exportDays()->setFocus();
    page->exportDays()->selectAll();
    QTest::keyClicks(page->exportDays(), QStringLiteral("3"));
    EXPECT_EQ(page->exportRange()->text(), QStringLiteral("t2457 2026-12-24 2026-12-26 3"));
    EXPECT_TRUE(page->exportButton()->accessibleDescription().endsWith(page->exportRange()->text()));

    app.choosers.saveFileAnswer(path(QStringLiteral("docs/christmas"))); // typed without the extension
    page->exportButton()->setFocus();
    QTest::keyClick(page->exportButton(), Qt::Key_Space);
    ASSERT_EQ(app.choosers.calls().size(), 1u);
    EXPECT_EQ(app.choosers.calls()[0].title, "t2551");
    EXPECT_EQ(app.choosers.calls()[0].filter, "t2552");
    EXPECT_EQ(app.choosers.calls()[0].start, path(QStringLiteral("docs/tower.ics"))) << "beside the project";
    const QString written = path(QStringLiteral("docs/christmas.ics"));
    const QByteArray ics = readAll(written);
    EXPECT_TRUE(ics.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_EQ(ics.count("BEGIN:VEVENT\r\n"), 3);
    EXPECT_TRUE(ics.contains(":20261224T060000\r\n"));
    EXPECT_TRUE(ics.contains(":20261224T234500\r\n"));
    EXPECT_TRUE(ics.contains(":20261225T060000\r\n"));
    EXPECT_EQ(app.prompts.texts(), QStringList{"t2556 " + QDir::toNativeSeparators(written) + " 3"});
    EXPECT_EQ(frame->document()->undoStack()->count(), steps) << "exporting changes nothing";
}

TEST_F(DayPlanPageTest, ExportCancelledWritesNothingAndTheProjectIsNeverReplaced) {
    const QString project = path(QStringLiteral("tower.tpm"));
    ASSERT_TRUE(frame->document()->save(project).isEmpty());
    const QByteArray bytes = readAll(project);
    app.choosers.saveFileAnswer(QString());
    QTest::mouseClick(page->exportButton(), Qt::LeftButton);
    EXPECT_TRUE(app.prompts.boxes().empty());
    EXPECT_TRUE(QDir(app.dir.path()).entryList({QStringLiteral("*.ics")}, QDir::Files).isEmpty());

    // A project named .ics is the chooser's suggestion for its own calendar: refused. So is a folder that is missing.
    const QString namedIcs = path(QStringLiteral("tower.ics"));
    ASSERT_TRUE(frame->document()->save(namedIcs).isEmpty());
    for (const QString& chosen : {namedIcs, path(QStringLiteral("missing/plan.ics"))}) {
        SCOPED_TRACE(chosen.toStdString());
        app.prompts.clear();
        app.choosers.saveFileAnswer(chosen);
        QTest::mouseClick(page->exportButton(), Qt::LeftButton);
        ASSERT_EQ(app.prompts.boxes().size(), 1u);
        EXPECT_EQ(app.prompts.boxes()[0].icon, PromptService::Icon::Warning);
        EXPECT_TRUE(app.prompts.boxes()[0].text.startsWith("t2555 " + QDir::toNativeSeparators(chosen)));
    }
    EXPECT_EQ(readAll(namedIcs), bytes);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("missing"))));
}

} // namespace
} // namespace tolvane
