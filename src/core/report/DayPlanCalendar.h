#pragma once

#include "report/DayPlan.h"
#include "section/TextSource.h"

#include <string>
#include <string_view>

namespace tolvane {

class ProjectData;

// The day plan as an iCalendar file (RFC 5545) that a parish imports into its own calendar program, next to the
// masses: one event per program and day of the plan, in the tower's local time.
//
// - The time zone is the one the project's time corrections describe: the winter offset, and the summer offset
//   from 01:00 UTC on the last Sunday of March to 01:00 UTC on the last Sunday of October (the European rule the
//   plan's summer and winter flags follow). Offsets beyond 12 hours, which the time-corrections page does not
//   offer, describe no time zone: the file is then refused.
// - An event's UID is made of its day, its program's calendar and number and the tower's name, so importing a
//   later export of the same tower updates the events instead of adding them twice.
// - Its summary names the action and the program ("Bell ringing — Weekly 004"), its description the bells,
//   melody or sequence, the priority, a holiday program's holiday and, for programs that start in the same minute,
//   the collision with the others; its category is the program's calendar; a bell ringing lasts its ringing time
//   and a sequence its playing time, anything else is a moment.
// - Funeral and special tolling are started at the controller, so they are not in the file.
// - Lines end in CRLF and are folded at 75 octets, never inside a UTF-8 character; text is escaped.
namespace dayplan {

// Catalog number of the refusal: an offset of the time corrections describes no time zone.
constexpr int NoTimeZoneText = 2558;

// The largest offset a time zone of the file may have, in half hours.
constexpr int MaxOffsetHalfHours = 24;

// When the file was made, in UTC (every event carries it as its DTSTAMP).
struct UtcTime {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct CalendarFile {
    std::string text;  // the whole file; empty when refused
    int events = 0;    // how many ringings it holds
    int errorText = 0; // 0, or the catalog text that says why there is no file
};

// The calendar of `days` days from `from` (the limits of plan()).
CalendarFile calendarFile(const ProjectData& project, const TextSource& texts, const Date& from, int days,
                          const UtcTime& stamp);

// The pieces of the file's syntax.
namespace ics {

// A TEXT value: backslash, semicolon and comma escaped, a line break written \n, other control characters
// (which a TEXT value cannot hold) and bytes that are no UTF-8 character replaced by a space and U+FFFD.
std::string escapeText(std::string_view text);
// One content line, folded: at most 75 octets a line, each continuation line begun with a space, and no line
// broken inside a UTF-8 character. Every line ends in CRLF.
std::string foldLine(std::string_view line);
// "+0130", "-0100": an offset in half hours as a UTC offset.
std::string utcOffset(int halfHours);
// "PT3M", "PT1H0M5S", "PT0S".
std::string duration(unsigned seconds);

} // namespace ics
} // namespace dayplan
} // namespace tolvane
