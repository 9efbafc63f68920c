#pragma once

#include "schedules/Calendar.h"
#include "schedules/ProgramKind.h"
#include "section/TextSource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tolvane {

class ProgramEntry;
class ProjectData;

// "What rings when": the programs whose calendar asks the controller to ring on a given day, read from the
// project alone under the readings of schedules/Calendar.h. Weekly, holiday-day, annual and one-time programs are
// placed on their days; funeral and special tolling are started at the controller, so they are listed apart as "on
// demand". Programs that start in the same minute are marked as a collision: the plan shows their priorities and
// does not guess which one the controller plays.
//
// Programs whose date, window or time the project check reports as a critical error, programs with neither
// summer nor winter set, holiday-day programs without a valid holiday and holidays whose days count lies outside
// 1-366 ring on no day of the plan. An annual or one-time date that does not exist in a year (29.02 in a common
// year, 31.04) rings on no day of that year.
namespace dayplan {

using calendar::Date;

// The longest range one call plans.
constexpr int MaxDays = 366;

// Catalog numbers of the plan's texts.
constexpr int TitleText = 2450;
constexpr int FirstKindText = 2451; // weekly; holiday-day 2452, annual 2453, one-time 2454, funeral 2455, special 2456
constexpr int RangeText = 2457;     // "%s to %s, %d days"
constexpr int OnDemandText = 2458;
constexpr int NothingText = 2459;
constexpr int CollisionText = 2460; // "%d programs start in the same minute"
constexpr int ReadingsText = 2461;
constexpr int EasterReadingText = 2462;
constexpr int SeasonReadingText = 2463;
constexpr int WeekReadingText = 2464;
constexpr int MonthReadingText = 2465;
constexpr int WindowReadingText = 2466;
constexpr int MissingDateReadingText = 2467;
constexpr int SummerDatesText = 2468; // "summer time %d: %s to %s"
constexpr int NoAutoChangeText = 2469;
constexpr int HolidayReadingText = 2470;
constexpr int PriorityText = 237;
constexpr int FirstWeekdayText = 197; // Monday; Sunday is 203

// One program in the plan. `entry` is its index in the program of its kind (ProjectData::program(kind)), so a
// page can open it.
struct PlannedProgram {
    ProgramKind kind = Weekly;
    int entry = 0;
    std::uint32_t time = 0;    // start, seconds of the day (funeral and special: of their time 1 / start)
    std::uint8_t priority = 0; // as stored, 0-15 (shown 1-16)
    bool collision = false;    // another program of the day starts in the same minute

    friend bool operator==(const PlannedProgram&, const PlannedProgram&) = default;
};

// The programs of one day in time order (then weekly, holiday-day, annual, one-time; then entry order).
struct PlanDay {
    Date date;
    std::vector<PlannedProgram> programs;

    bool hasPrograms() const { return !programs.empty(); }
    bool hasCollision() const;
};

// What a calendar marks on a day: bold when programs ring, the warning colour when some collide.
struct DayMark {
    Date date;
    bool hasPrograms = false;
    bool hasCollision = false;

    friend bool operator==(const DayMark&, const DayMark&) = default;
};

// The plan of `days` days from `from` (1 to MaxDays; std::invalid_argument otherwise, or for a day that does
// not exist).
std::vector<PlanDay> plan(const ProjectData& project, const Date& from, int days);
// The plan of one day.
PlanDay planDay(const ProjectData& project, const Date& date);
// The marks of `days` days from `from`, without building the lists (same limits as plan).
std::vector<DayMark> marks(const ProjectData& project, const Date& from, int days);
// Funeral programs with an action or the funeral relay, and the three special tolling programs, in table order.
std::vector<PlannedProgram> onDemand(const ProjectData& project);

// False when the project's automatic summer/winter change is off: the controller's clock then does not follow
// the European rule, and neither can the summer and winter flags.
bool seasonsFollowEuropeanRule(const ProjectData& project);

// The program behind a planned one.
const ProgramEntry& entryOf(const ProjectData& project, const PlannedProgram& program);

// Texts of a planned program, in the pages' own forms.
std::string kindText(ProgramKind kind, const TextSource& texts);
// The kind as a word that does not change with the language (weekly, holiday-day, annual, one-time, funeral,
// special): the command line's tsv field and the calendar file's event identifiers.
const char* kindWord(ProgramKind kind);
// The identifier ("007"); funeral and special tolling: the row number (1-8, 1-3).
std::string numberText(const ProjectData& project, const PlannedProgram& program);
// "HH:MM:SS"; funeral: its time column (one time, how many, or before/after the Angelus); special tolling:
// "HH:MM:SS-HH:MM:SS".
std::string timeText(const ProjectData& project, const PlannedProgram& program, const TextSource& texts);
// The action's name and what it does, as the printout shows them: "Bell ringing 1_3__", "Melody 12".
std::string actionText(const ProjectData& project, const PlannedProgram& program, const TextSource& texts);
// Shown 1-16.
std::string priorityText(const PlannedProgram& program);
std::string seasonText(const ProjectData& project, const PlannedProgram& program, const TextSource& texts);
// "Monday 2026-03-30".
std::string dayTitle(const Date& date, const TextSource& texts);

// The lines of the plan's header that state the readings it relies on: the readings of schedules/Calendar.h, the summer
// time dates of each year from firstYear to lastYear, and, when the project's automatic summer/winter change is
// off, that the season flags cannot follow the rule on the controller.
std::vector<std::string> readingLines(const ProjectData& project, const TextSource& texts, int firstYear, int lastYear);

} // namespace dayplan
} // namespace tolvane
