#include "report/DayPlan.h"

#include "project/ProjectData.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using calendar::Date;

class Texts final : public TextSource {
public:
    std::string text(int id) const override {
        switch (id) {
        case dayplan::SummerDatesText:
            return "summer %d: %s-%s";
        default:
            return "T" + std::to_string(id);
        }
    }
};

constexpr std::uint8_t MondayToFriday = 0x1F;
constexpr std::uint8_t EveryDay = 0x7F;

// A small project built program by program: each add returns the entry's index.
class DayPlanTest : public ::testing::Test {
protected:
    int add(ProgramKind kind, int hour, int minute, std::uint8_t days = EveryDay) {
        ScheduleProgram& program = project.program(kind);
        const int i = program.addItem();
        program.setTime(i, static_cast<std::uint8_t>(hour), static_cast<std::uint8_t>(minute), 0);
        program.setDays(i, days);
        return i;
    }
    ScheduleProgram& weekly() { return project.program(Weekly); }

    // "kind:entry" of each program of a day, in plan order.
    std::vector<std::string> on(const Date& date) const {
        std::vector<std::string> out;
        for (const dayplan::PlannedProgram& p : dayplan::planDay(project, date).programs) {
            out.push_back(std::to_string(p.kind) + ":" + std::to_string(p.entry));
        }
        return out;
    }
    // The days of a range on which anything rings.
    std::vector<std::string> daysWithPrograms(const Date& from, int days) const {
        std::vector<std::string> out;
        for (const dayplan::DayMark& mark : dayplan::marks(project, from, days)) {
            if (mark.hasPrograms) {
                out.push_back(calendar::isoText(mark.date));
            }
        }
        return out;
    }

    ProjectData project;
    Texts texts;
};

using Strings = std::vector<std::string>;

TEST_F(DayPlanTest, WeeklyWindowThatWrapsOverTheNewYear) {
    const int e = add(Weekly, 7, 0, MondayToFriday);
    weekly().setStartDate(e, 1, 11);
    weekly().setEndDate(e, 31, 3);
    const struct {
        Date date;
        bool rings;
    } cases[] = {
        {{2026, 1, 14}, true},  // a January Wednesday
        {{2026, 7, 15}, false}, // a July Wednesday
        {{2026, 1, 17}, false}, // a January Saturday
        {{2026, 11, 2}, true},  // the Monday after the window opens
        {{2026, 3, 31}, true},  // its last day, a Tuesday
        {{2026, 4, 1}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(on(c.date), c.rings ? Strings{"0:0"} : Strings{}) << calendar::isoText(c.date);
    }
}

TEST_F(DayPlanTest, SeasonFlagsOnTheDaysAroundEachTimeChange) {
    const int winterOnly = add(Weekly, 8, 0);
    weekly().setSummer(winterOnly, false);
    const int summerOnly = add(Weekly, 9, 0);
    weekly().setWinter(summerOnly, false);
    const int off = add(Weekly, 10, 0);
    weekly().setSummer(off, false);
    weekly().setWinter(off, false);
    const struct {
        Date date;
        Strings programs;
    } cases[] = {
        {{2026, 3, 28}, {"0:0"}}, // the Saturday before summer time
        {{2026, 3, 29}, {"0:1"}}, // the change day counts as summer
        {{2026, 10, 24}, {"0:1"}},
        {{2026, 10, 25}, {"0:0"}}, // the change day counts as winter
    };
    for (const auto& c : cases) {
        EXPECT_EQ(on(c.date), c.programs) << calendar::isoText(c.date);
    }
}

TEST_F(DayPlanTest, WeekAndMonthParityAroundAYearWithIsoWeek53) {
    const int oddWeeks = add(Weekly, 8, 0);
    weekly().setWeekParity(oddWeeks, true, false);
    const int evenWeeks = add(Weekly, 9, 0);
    weekly().setWeekParity(evenWeeks, false, true);
    const int evenMonths = add(Weekly, 10, 0);
    weekly().setMonthParity(evenMonths, false, true);
    const struct {
        Date date;
        Strings programs;
    } cases[] = {
        {{2026, 12, 21}, {"0:1", "0:2"}}, // week 52
        {{2026, 12, 31}, {"0:0", "0:2"}}, // week 53
        {{2027, 1, 3}, {"0:0"}},          // still week 53, in an odd month
        {{2027, 1, 4}, {"0:0"}},          // week 1
        {{2027, 1, 11}, {"0:1"}},         // week 2
        {{2027, 2, 1}, {"0:0", "0:2"}},   // week 5, an even month
    };
    for (const auto& c : cases) {
        EXPECT_EQ(on(c.date), c.programs) << calendar::isoText(c.date);
    }
}

TEST_F(DayPlanTest, AnnualProgramOnTheLeapDayRingsOnlyInLeapYears) {
    const int e = add(Annual, 12, 0);
    project.program(Annual).setStartDate(e, 29, 2);
    EXPECT_EQ(daysWithPrograms({2027, 2, 20}, 20), Strings{});
    EXPECT_EQ(daysWithPrograms({2028, 2, 20}, 20), Strings{"2028-02-29"});
}

TEST_F(DayPlanTest, OneTimeProgramRingsOnItsDateOnly) {
    const int e = add(OneTime, 18, 0);
    project.program(OneTime).setStartDate(e, 30, 3);
    project.program(OneTime).setYear(e, 27);
    EXPECT_EQ(daysWithPrograms({2026, 3, 1}, 366), Strings{});
    EXPECT_EQ(daysWithPrograms({2027, 3, 1}, 60), Strings{"2027-03-30"});
}

TEST_F(DayPlanTest, HolidayProgramOnEasterMondayAndOnAThreeDayHoliday) {
    HolidayTable& holidays = project.holidays();
    const int easterMonday = holidays.addHoliday(texts);
    holidays.setOffset(easterMonday, 1);
    const int christmas = holidays.addHoliday(texts);
    holidays.setMovable(christmas, false);
    holidays.setFixedDate(christmas, 24, 12);
    holidays.setDays(christmas, 3);

    const int onEasterMonday = add(HolidayDay, 10, 0, 0x01); // Monday, the default mask
    project.program(HolidayDay).setHolidayIndex(onEasterMonday, static_cast<std::uint8_t>(easterMonday));
    const int atChristmas = add(HolidayDay, 11, 0, MondayToFriday);
    project.program(HolidayDay).setHolidayIndex(atChristmas, static_cast<std::uint8_t>(christmas));

    EXPECT_EQ(daysWithPrograms({2026, 3, 25}, 20), Strings{"2026-04-06"});
    EXPECT_EQ(daysWithPrograms({2027, 3, 20}, 20), Strings{"2027-03-29"});
    EXPECT_EQ(daysWithPrograms({2038, 4, 20}, 10), Strings{"2038-04-26"});
    // 24-26 December 2026 are Thursday to Saturday: the weekday mask leaves the Saturday out.
    EXPECT_EQ(daysWithPrograms({2026, 12, 20}, 10), (Strings{"2026-12-24", "2026-12-25"}));
    // In 2027 they are Friday to Sunday.
    EXPECT_EQ(daysWithPrograms({2027, 12, 20}, 10), Strings{"2027-12-24"});
}

TEST_F(DayPlanTest, HolidayThatBeginsAtTheEndOfTheYearReachesIntoTheNext) {
    HolidayTable& holidays = project.holidays();
    const int h = holidays.addHoliday(texts);
    holidays.setMovable(h, false);
    holidays.setFixedDate(h, 31, 12);
    holidays.setDays(h, 2);
    const int e = add(HolidayDay, 0, 5);
    project.program(HolidayDay).setHolidayIndex(e, static_cast<std::uint8_t>(h));
    EXPECT_EQ(daysWithPrograms({2026, 12, 30}, 4), (Strings{"2026-12-31", "2027-01-01"}));
    EXPECT_EQ(daysWithPrograms({2027, 1, 1}, 3), Strings{"2027-01-01"});
}

TEST_F(DayPlanTest, HolidayProgramWithoutAValidHolidayNeverRings) {
    const int h = project.holidays().addHoliday(texts);
    const int none = add(HolidayDay, 10, 0);
    project.program(HolidayDay).setHolidayIndex(none, ProgramEntry::NoHoliday);
    const int freeSlot = add(HolidayDay, 11, 0);
    project.program(HolidayDay).setHolidayIndex(freeSlot, static_cast<std::uint8_t>(h + 1));
    EXPECT_EQ(daysWithPrograms({2026, 1, 1}, 366), Strings{});
}

TEST_F(DayPlanTest, ProgramsInTheSameMinuteAreMarkedAsACollision) {
    const int weeklyNoon = add(Weekly, 12, 0, EveryDay);
    weekly().setPriority(weeklyNoon, 3);
    const int annualNoon = add(Annual, 12, 0);
    project.program(Annual).setTime(annualNoon, 12, 0, 30);
    project.program(Annual).setStartDate(annualNoon, 15, 8);
    project.program(Annual).setPriority(annualNoon, 9);
    add(Weekly, 12, 1, EveryDay);
    add(Weekly, 6, 0, EveryDay);

    const dayplan::PlanDay day = dayplan::planDay(project, {2026, 8, 15});
    ASSERT_EQ(day.programs.size(), 4u);
    const struct {
        ProgramKind kind;
        int entry;
        std::uint32_t time;
        std::uint8_t priority;
        bool collision;
    } expected[] = {
        {Weekly, 2, 6 * 3600, 4, false},
        {Weekly, 0, 12 * 3600, 3, true},
        {Annual, 0, 12 * 3600 + 30, 9, true},
        {Weekly, 1, 12 * 3600 + 60, 4, false},
    };
    for (std::size_t i = 0; i < day.programs.size(); ++i) {
        const auto& p = day.programs[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(p.kind, expected[i].kind);
        EXPECT_EQ(p.entry, expected[i].entry);
        EXPECT_EQ(p.time, expected[i].time);
        EXPECT_EQ(p.priority, expected[i].priority);
        EXPECT_EQ(p.collision, expected[i].collision);
    }
    EXPECT_EQ(dayplan::priorityText(day.programs[2]), "10");
    EXPECT_TRUE(day.hasCollision());
    EXPECT_FALSE(dayplan::planDay(project, {2026, 8, 16}).hasCollision());

    const auto marks = dayplan::marks(project, {2026, 8, 14}, 3);
    EXPECT_EQ(marks, (std::vector<dayplan::DayMark>{
                         {{2026, 8, 14}, true, false}, {{2026, 8, 15}, true, true}, {{2026, 8, 16}, true, false}}));
}

TEST_F(DayPlanTest, ProgramsThatCannotRingAreLeftOut) {
    const int badTime = add(Weekly, 24, 0);
    (void)badTime;
    const int badWindow = add(Weekly, 8, 0);
    weekly().setEndDate(badWindow, 31, 13);
    const int noSeason = add(Annual, 8, 0);
    project.program(Annual).setSummer(noSeason, false);
    project.program(Annual).setWinter(noSeason, false);
    EXPECT_EQ(daysWithPrograms({2026, 1, 1}, 366), Strings{});
}

TEST_F(DayPlanTest, RangesAreLimitedTo366DaysOfExistingDates) {
    add(Weekly, 8, 0, EveryDay);
    EXPECT_EQ(dayplan::plan(project, {2028, 1, 1}, 366).back().date, (Date{2028, 12, 31}));
    EXPECT_EQ(dayplan::marks(project, {2026, 12, 31}, 2).back().date, (Date{2027, 1, 1}));
    EXPECT_THROW(dayplan::plan(project, {2026, 1, 1}, 0), std::invalid_argument);
    EXPECT_THROW(dayplan::plan(project, {2026, 1, 1}, 367), std::invalid_argument);
    EXPECT_THROW(dayplan::marks(project, {2026, 2, 29}, 7), std::invalid_argument);
}

TEST_F(DayPlanTest, FuneralAndSpecialTollingAreOnDemand) {
    ScheduleProgram& funeral = project.program(Funeral);
    funeral.setAction(2, ProgramEntry::ActionBells);
    funeral.setFuneralRelayUsed(5, true);
    const auto demand = dayplan::onDemand(project);
    std::vector<std::string> listed;
    for (const auto& p : demand) {
        listed.push_back(std::to_string(p.kind) + ":" + dayplan::numberText(project, p));
    }
    EXPECT_EQ(listed, (Strings{"4:3", "4:6", "5:1", "5:2", "5:3"}));
    EXPECT_EQ(dayplan::timeText(project, demand[2], texts), "12:00:00-12:00:00");
    EXPECT_EQ(dayplan::actionText(project, demand[0], texts), "T242 1____");
    // They never appear on a day.
    EXPECT_EQ(daysWithPrograms({2026, 1, 1}, 366), Strings{});
}

TEST_F(DayPlanTest, TextsOfAPlannedProgram) {
    const int e = add(Weekly, 7, 5);
    weekly().setAction(e, ProgramEntry::ActionMelody);
    weekly().setMelodyNumber(e, 12);
    weekly().setIdentifier(e, 7);
    weekly().setSummer(e, false);
    const auto day = dayplan::planDay(project, {2026, 1, 5});
    ASSERT_EQ(day.programs.size(), 1u);
    const auto& p = day.programs[0];
    EXPECT_EQ(dayplan::kindText(p.kind, texts), "T2451");
    EXPECT_EQ(dayplan::numberText(project, p), "007");
    EXPECT_EQ(dayplan::timeText(project, p, texts), "07:05:00");
    EXPECT_EQ(dayplan::actionText(project, p, texts), "T243 12");
    EXPECT_EQ(dayplan::seasonText(project, p, texts), "T268");
    EXPECT_EQ(dayplan::dayTitle(day.date, texts), "T197 2026-01-05");
}

TEST_F(DayPlanTest, HeaderStatesTheReadingsAndWarnsWhenTheClockDoesNotChangeSeason) {
    const Strings expected{
        "T2462", "T2463", "summer 2026: 29.03-24.10", "summer 2027: 28.03-30.10", "T2464", "T2465", "T2466",
        "T2470", "T2467"};
    EXPECT_TRUE(dayplan::seasonsFollowEuropeanRule(project));
    EXPECT_EQ(dayplan::readingLines(project, texts, 2026, 2027), expected);

    project.timeCorrection().setAutoTimeChange(false);
    EXPECT_FALSE(dayplan::seasonsFollowEuropeanRule(project));
    Strings warned = expected;
    warned.push_back("T2469");
    EXPECT_EQ(dayplan::readingLines(project, texts, 2026, 2027), warned);
}

} // namespace
} // namespace tolvane
