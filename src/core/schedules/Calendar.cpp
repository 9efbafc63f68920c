#include "schedules/Calendar.h"

#include <cstdio>

namespace tolvane::calendar {

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

bool isValid(const Date& date) {
    return date.day >= 1 && date.day <= daysInMonth(date.year, date.month);
}

// The civil-date arithmetic works in eras of 400 years (146,097 days), which repeat exactly in the Gregorian
// calendar; years are counted from March so that the leap day is the last day of a year.
std::int64_t dayNumber(const Date& date) {
    const std::int64_t y = std::int64_t{date.year} - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

Date fromDayNumber(std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {static_cast<int>(year), static_cast<int>(month), static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1)};
}

Date addDays(const Date& date, std::int64_t days) {
    return fromDayNumber(dayNumber(date) + days);
}

int weekday(const Date& date) {
    // 1970-01-01 was a Thursday (3 when Monday is 0).
    return static_cast<int>(((dayNumber(date) % 7) + 7 + 3) % 7);
}

// The anonymous Gregorian computus (Meeus, Jones, Butcher).
Date westernEasterSunday(int year) {
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int monthAndDay = h + l - 7 * m + 114;
    return {year, monthAndDay / 31, monthAndDay % 31 + 1};
}

Date lastSunday(int year, int month) {
    const Date last{year, month, daysInMonth(year, month)};
    return addDays(last, -((weekday(last) + 1) % 7));
}

Date firstSummerDay(int year) {
    return lastSunday(year, 3);
}

Date firstWinterDay(int year) {
    return lastSunday(year, 10);
}

bool isEuropeanSummerDay(const Date& date) {
    return date >= firstSummerDay(date.year) && date < firstWinterDay(date.year);
}

int isoWeekNumber(const Date& date) {
    // The week belongs to the year of its Thursday; count that Thursday's weeks from 1 January of its year.
    const Date thursday = addDays(date, 3 - weekday(date));
    const std::int64_t dayOfYear = dayNumber(thursday) - dayNumber(Date{thursday.year, 1, 1});
    return static_cast<int>(dayOfYear / 7) + 1;
}

bool isOddIsoWeek(const Date& date) {
    return isoWeekNumber(date) % 2 == 1;
}

bool isOddMonth(const Date& date) {
    return date.month % 2 == 1;
}

bool inYearlyWindow(const Date& date, int startDay, int startMonth, int endDay, int endMonth) {
    const int at = date.month * 100 + date.day;
    const int start = startMonth * 100 + startDay;
    const int end = endMonth * 100 + endDay;
    return start <= end ? at >= start && at <= end : at >= start || at <= end;
}

std::optional<Date> parseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto number = [&](std::size_t from, std::size_t count) {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return -1;
            }
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const Date date{number(0, 4), number(5, 2), number(8, 2)};
    if (date.year < 0 || !isValid(date)) {
        return std::nullopt;
    }
    return date;
}

std::string isoText(const Date& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4d-%.2d-%.2d", date.year, date.month, date.day);
    return buffer;
}

std::string dayMonthText(const Date& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2d.%.2d", date.day, date.month);
    return buffer;
}

} // namespace tolvane::calendar
