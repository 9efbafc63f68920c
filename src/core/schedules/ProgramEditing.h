#pragma once

#include "schedules/ProgramEntry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

class HolidayTable;
class ScheduleProgram;

// The rules of the schedule pages' entry editor that do not depend on a window: which action each position of
// the action list stands for, what the editor shows for stored values it cannot show as they are, how a typed
// one-time year is stored, and the program list as text for the clipboard.
namespace programediting {

// The action list: none, bell, melody, sequence, then (not on the funeral page) the two output actions and
// silence. Positions and codes map both ways; a code without a position (hammers, unknown codes) shows as
// position 0.
constexpr std::array<std::uint8_t, 7> ActionCodes{ProgramEntry::ActionNone,     ProgramEntry::ActionBells,
                                                  ProgramEntry::ActionMelody,   ProgramEntry::ActionSequence,
                                                  ProgramEntry::ActionOutputUp, ProgramEntry::ActionOutputDown,
                                                  ProgramEntry::ActionSilence};
constexpr std::array<int, 7> ActionTexts{241, 242, 243, 554, 555, 556, 246};
constexpr int FuneralActionCount = 4;

int actionCount(bool funeralList);
// The code of list position `position`; ActionNone for a position outside the list.
std::uint8_t actionCodeAt(int position, bool funeralList);
int actionPosition(std::uint8_t code, bool funeralList);

// Bounds of the values an entry is shown with.
constexpr std::uint16_t MaxBellSeconds = 3599;
constexpr std::uint16_t MaxMelody = 1000;
constexpr std::uint8_t MaxRepetitions = 9;
constexpr std::uint32_t MaxSilenceSeconds = 30u * 86400u;
constexpr std::uint32_t SilenceReplacement = 600;

// The entry as the editor shows it: for the bell action a delay above 3599 s means "not rung", a second value
// or a ringing time above 3599 s is shown as 3599; for the melody a number above 1000 or repetitions above 9 as
// 1; for silence a duration above 30 days as 600 s (the bells/gongs bits kept). Other bytes are as stored.
ProgramEntry shownEntry(const ProgramEntry& stored);

// The one-time year: the stored byte is the low eight bits of (year - 2000), not range-checked (1999 gives 255);
// it is shown as "20" followed by the byte with at least two digits (255 shows as 20255).
std::uint8_t yearByte(long typedYear);
std::string yearText(std::uint8_t stored);

// ---- holiday-day programs ----

// The holiday a new holiday-day program refers to: the one last chosen on the page (slot 0 before any choice)
// when it is a used slot or "no holiday"; otherwise "no holiday" (254), so that Add never makes a program that
// refers to a free slot.
std::uint8_t holidayForNewProgram(const HolidayTable* holidays, int remembered);

// How many used programs of `programs` refer to one of `slots` by their holiday byte (a holiday about to be
// deleted, or just deleted).
int programsReferringTo(const ScheduleProgram& programs, std::span<const int> slots);

// ---- funeral tolling ----

// The three time check boxes can be used only when the tolling starts by the clock; the fields of time `which`
// (1-3) only in that mode and while that time is on.
bool funeralTimeBoxesEnabled(const ProgramEntry& e);
bool funeralTimeFieldsEnabled(const ProgramEntry& e, int which);

// ---- the clipboard ----

// The programs of `rows` as tab-separated text: a header line, then one line per program with every field in
// words and numbers a spreadsheet reads, and last its 64 bytes in hexadecimal, which is what a paste takes back.
std::string programsToText(const ScheduleProgram& programs, std::span<const int> rows);

// Programs read back from such text: their kind and entries. Nothing when the text is not such a list (another
// header, a line of another kind, bytes that are not 64 hexadecimal pairs, a program marked free).
struct ClipboardPrograms {
    int kind = 0;
    std::vector<ProgramEntry> entries;
};
std::optional<ClipboardPrograms> programsFromText(std::string_view text);

// Appends the programs, each with a new number and the marks of an added entry, until the table is full.
struct PasteResult {
    int first = -1; // index of the first program added, -1 when none
    int added = 0;
    bool tableFull = false; // the table filled up on the way (text 196)
};
PasteResult pastePrograms(ScheduleProgram& programs, std::span<const ProgramEntry> entries);

} // namespace programediting
} // namespace tolvane
