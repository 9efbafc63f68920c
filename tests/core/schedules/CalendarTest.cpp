#include "schedules/Calendar.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvane {
namespace {

using calendar::Date;

std::string text(const Date& d) {
    return calendar::isoText(d);
}

TEST(Calendar, WesternEasterSunday) {
    const Date cases[] = {
        {2024, 3, 31}, {2025, 4, 20}, {2026, 4, 5},
        {2027, 3, 28}, {2038, 4, 25}, {1818, 3, 22}, // the earliest possible date
        {1943, 4, 25},                               // the latest possible date
    };
    for (const Date& easter : cases) {
        EXPECT_EQ(text(calendar::westernEasterSunday(easter.year)), text(easter));
    }
}

TEST(Calendar, EuropeanSummerTimeAndItsChangeDays) {
    const struct {
        Date date;
        bool summer;
    } cases[] = {
        {{2026, 3, 28}, false}, {{2026, 3, 29}, true},   // the March change day counts as summer
        {{2026, 10, 24}, true}, {{2026, 10, 25}, false}, // the October change day counts as winter
        {{2026, 1, 1}, false},  {{2026, 7, 1}, true},    {{2026, 12, 31}, false}, {{2025, 3, 29}, false},
        {{2025, 3, 30}, true},  {{2025, 10, 25}, true},  {{2025, 10, 26}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(calendar::isEuropeanSummerDay(c.date), c.summer) << text(c.date);
    }
    EXPECT_EQ(text(calendar::firstSummerDay(2026)), "2026-03-29");
    EXPECT_EQ(text(calendar::firstWinterDay(2026)), "2026-10-25");
    EXPECT_EQ(text(calendar::firstSummerDay(2024)), "2024-03-31"); // March ends on a Sunday
    EXPECT_EQ(text(calendar::firstWinterDay(2024)), "2024-10-27");
}

TEST(Calendar, IsoWeekNumbersAroundTheTurnOfTheYear) {
    const struct {
        Date date;
        int week;
    } cases[] = {
        {{2026, 12, 28}, 53}, {{2026, 12, 31}, 53}, {{2027, 1, 1}, 53},  {{2027, 1, 3}, 53},
        {{2027, 1, 4}, 1},    {{2027, 1, 11}, 2},   {{2026, 1, 1}, 1},   {{2024, 12, 30}, 1}, // Monday of 2025's week 1
        {{2021, 1, 3}, 53},   {{2021, 1, 4}, 1},    {{2026, 3, 30}, 14},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(calendar::isoWeekNumber(c.date), c.week) << text(c.date);
        EXPECT_EQ(calendar::isOddIsoWeek(c.date), c.week % 2 == 1) << text(c.date);
    }
}

TEST(Calendar, MonthParityIsThatOfTheMonthNumber) {
    EXPECT_TRUE(calendar::isOddMonth({2026, 1, 31}));
    EXPECT_FALSE(calendar::isOddMonth({2026, 2, 1}));
    EXPECT_FALSE(calendar::isOddMonth({2026, 12, 31}));
}

TEST(Calendar, WeekdaysFromMonday) {
    EXPECT_EQ(calendar::weekday({1970, 1, 1}), 3);
    EXPECT_EQ(calendar::weekday({2000, 2, 29}), 1);
    EXPECT_EQ(calendar::weekday({2026, 3, 29}), 6);
    EXPECT_EQ(calendar::weekday({1969, 12, 29}), 0);
}

// Every day from 1899 to 2401 follows the one before it, and the day numbers count them one by one.
TEST(Calendar, DayNumbersWalkEveryDayOfFiveCenturies) {
    Date expected{1899, 1, 1};
    const std::int64_t first = calendar::dayNumber(expected);
    for (std::int64_t n = first; n < first + 365 * 503; ++n) {
        const Date d = calendar::fromDayNumber(n);
        ASSERT_EQ(text(d), text(expected));
        ASSERT_EQ(calendar::dayNumber(d), n);
        ASSERT_TRUE(calendar::isValid(d));
        expected = expected.day < calendar::daysInMonth(expected.year, expected.month)
                       ? Date{expected.year, expected.month, expected.day + 1}
                   : expected.month < 12 ? Date{expected.year, expected.month + 1, 1}
                                         : Date{expected.year + 1, 1, 1};
    }
    EXPECT_EQ(calendar::dayNumber({1970, 1, 1}), 0);
    EXPECT_EQ(calendar::daysInMonth(2000, 2), 29);
    EXPECT_EQ(calendar::daysInMonth(1900, 2), 28);
    EXPECT_EQ(calendar::daysInMonth(2026, 13), 0);
}

TEST(Calendar, YearlyWindowWrapsWhenItsEndLiesBeforeItsStart) {
    const struct {
        Date date;
        int startDay, startMonth, endDay, endMonth;
        bool inside;
    } cases[] = {
        {{2026, 1, 14}, 1, 11, 31, 3, true},     {{2026, 7, 15}, 1, 11, 31, 3, false},
        {{2026, 11, 1}, 1, 11, 31, 3, true},     {{2026, 3, 31}, 1, 11, 31, 3, true},
        {{2026, 4, 1}, 1, 11, 31, 3, false},     {{2026, 10, 31}, 1, 11, 31, 3, false},
        {{2026, 6, 15}, 1, 6, 30, 6, true},      {{2026, 7, 1}, 1, 6, 30, 6, false},
        {{2026, 5, 31}, 1, 6, 30, 6, false},     {{2026, 12, 24}, 24, 12, 24, 12, true},
        {{2026, 12, 25}, 24, 12, 24, 12, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(calendar::inYearlyWindow(c.date, c.startDay, c.startMonth, c.endDay, c.endMonth), c.inside)
            << text(c.date) << " in " << c.startDay << "." << c.startMonth << "-" << c.endDay << "." << c.endMonth;
    }
}

TEST(Calendar, IsoDatesAreReadStrictly) {
    const auto read = calendar::parseIsoDate("2028-02-29");
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, (Date{2028, 2, 29}));
    for (const char* bad : {"2027-02-29", "2026-13-01", "2026-04-31", "2026-4-05", "26-04-05", "2026/04/05",
                            "2026-04-05x", "", "2026-00-10", "2026-01-00", "20x6-01-01"}) {
        EXPECT_FALSE(calendar::parseIsoDate(bad)) << bad;
    }
    EXPECT_EQ(calendar::dayMonthText({2026, 3, 9}), "09.03");
}

} // namespace
} // namespace tolvane
