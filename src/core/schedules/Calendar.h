#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The calendar readings of the ringing programs. The controller decides on its own how it counts weeks, where
// summer time begins and from which day movable holidays are counted; the programs' bytes do not say. The day plan
// shows what the programs ask for under the readings below, each chosen once, here, and stated in the plan's
// header and in the README:
//   - movable holidays are counted from Western (Gregorian) Easter Sunday, as our holiday seed files assume;
//   - the summer and winter flags follow European summer time (last Sunday of March to last Sunday of October);
//     each change day counts as the season that begins on it, since the clock changes at 02:00/03:00 and the
//     new season holds 21 or more of that day's hours;
//   - the week parity is that of the ISO 8601 week number, the month parity that of the month number;
//   - a yearly window whose end lies before its start wraps over the new year.
// Dates are proleptic Gregorian.
namespace tolvane::calendar {

struct Date {
    int year = 2000;
    int month = 1; // 1-12
    int day = 1;   // 1-31

    friend auto operator<=>(const Date&, const Date&) = default;
};

bool isLeapYear(int year);
// 28-31; 0 for a month outside 1-12.
int daysInMonth(int year, int month);
// A day that exists: month 1-12, day 1 to the month's length.
bool isValid(const Date& date);

// Days since 1970-01-01 (negative before) and back.
std::int64_t dayNumber(const Date& date);
Date fromDayNumber(std::int64_t days);
Date addDays(const Date& date, std::int64_t days);

// 0 Monday ... 6 Sunday, the order of the programs' weekday mask.
int weekday(const Date& date);

// Easter Sunday of the Western (Gregorian) churches, the day movable holidays are counted from.
Date westernEasterSunday(int year);

// The last Sunday of a month.
Date lastSunday(int year, int month);
// European summer time: from the last Sunday of March (the first summer day) to the day before the last Sunday of
// October (that Sunday is the first winter day).
Date firstSummerDay(int year);
Date firstWinterDay(int year);
bool isEuropeanSummerDay(const Date& date);

// ISO 8601: weeks begin on Monday and week 1 is the week that holds the year's first Thursday, so the last days
// of December may lie in week 1 of the next year and the first days of January in week 52 or 53 of the last.
int isoWeekNumber(const Date& date);
bool isOddIsoWeek(const Date& date);
// January is an odd month.
bool isOddMonth(const Date& date);

// Whether the day and month of `date` lie in the yearly window from start to end (both included). A window whose
// end lies before its start wraps over the new year: 01.11 to 31.03 holds November to March.
bool inYearlyWindow(const Date& date, int startDay, int startMonth, int endDay, int endMonth);

// "YYYY-MM-DD" with exactly four, two and two digits and a day that exists; nothing otherwise.
std::optional<Date> parseIsoDate(std::string_view text);
std::string isoText(const Date& date);
// "DD.MM", as the program pages show dates.
std::string dayMonthText(const Date& date);

} // namespace tolvane::calendar
