#pragma once

#include "schedules/ProgramEntry.h"
#include "section/TextSource.h"

#include <cstdint>
#include <string>

namespace tolvane {

class HolidayTable;

// The texts and icons under which a program entry appears in the schedule lists and in the printout. Texts
// that come from the language catalog are fetched by number from the given TextSource.
class ProgramEntryText {
public:
    // Catalog numbers.
    static constexpr int NoHolidayText = 253;
    static constexpr int FirstWeekdayText = 258; // Monday; Sunday is 264
    static constexpr int SeasonOffText = 265;
    static constexpr int SeasonAllYearText = 266;
    static constexpr int SeasonSummerText = 267;
    static constexpr int SeasonWinterText = 268;
    static constexpr int BeforeAngelusText = 551;
    static constexpr int AfterAngelusText = 552;
    // Icon of an unknown action (and of "none") in the list's image strip.
    static constexpr int CrossIcon = 13;

    static std::string identifier(const ProgramEntry& e);  // "007"
    static std::string time(const ProgramEntry& e);        // "12:00:00"
    static std::string startDate(const ProgramEntry& e);   // "DD.MM"
    static std::string endDate(const ProgramEntry& e);     // "DD.MM"
    static std::string oneTimeDate(const ProgramEntry& e); // "DD.MM.20YY"
    static std::string priority(const ProgramEntry& e);    // shown 1-based
    // Text 253 for no holiday, "Error" for an index beyond the table, else the holiday's name (empty without a
    // holiday table).
    static std::string holiday(const ProgramEntry& e, const HolidayTable* holidays, const TextSource& texts);
    // Seven positions, Monday first: the weekday's abbreviation (texts 258-264) or "_".
    static std::string weekdays(const ProgramEntry& e, const TextSource& texts);
    static std::string season(const ProgramEntry& e, const TextSource& texts);

    // Name text number of an action (-1: the action has none, 0: shown as "-").
    static int actionNameText(std::uint8_t action);
    static std::string actionName(std::uint8_t action, const TextSource& texts);
    static int actionIcon(std::uint8_t action);
    // What the action does in a few characters: the bells or hammers used, the melody, the sequence, the
    // silence duration.
    static std::string actionDescription(const ProgramEntry& e);

    // Time column of a funeral program: the one time that is on, how many are on, or how it is started.
    static std::string funeralTime(const ProgramEntry& e, const TextSource& texts);
    // Every start time of a funeral program started by the clock ("07:00:00, 12:00:00"; "--:--:--" when none is
    // on); for the other start modes the time column's text.
    static std::string funeralStartTimes(const ProgramEntry& e, const TextSource& texts);
};

} // namespace tolvane
