#pragma once

#include "ringing/HammerTable.h"
#include "ringing/Wiring.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tolvane {

// The rules of the hammer and clock editors and of the bell chooser: what a control shows for a stored value,
// which controls a clock type uses, what a chooser offers and what its OK accepts.
namespace equipment {

// --- The bell chooser of the hammer editor ---
// Row 0 is none, rows 1-5 bells 1-5, each with the hammer that strikes it now (if any) in the second column.
std::vector<ChooserRow> bellRows(const HammerTable& hammers);
// The row preselected for `current` (0xFF: row 0); -1 for a value that is no bell.
int bellRowOf(std::uint8_t current);
// OK for hammer `hammer`, whose bell is `current`, with row `row` selected (-1: none; text 114). The current row
// is accepted; a bell another hammer strikes is refused (text 115); otherwise the bell index, 0xFF for row 0.
ChoiceOutcome bellChoice(const HammerTable& hammers, int hammer, std::uint8_t current, int row);

// --- The clock editor ---
inline constexpr int ClockTypeCount = 5;
// The type list, in list order: the label of each type (texts 285, 286, 456, 287, 813).
inline constexpr std::array<int, ClockTypeCount> ClockTypeTexts{285, 286, 456, 287, 813};
// The list position of a stored type: types 2-5 their own, anything else the first (type 1).
int clockTypePosition(std::uint8_t storedType);
// The type a list position stores: position + 1 (1-5).
int clockTypeOfPosition(int position);

// Which controls a clock type shows. The enable box, the type list, the time shift and the 6:00 contact are
// always shown.
struct ClockControls {
    bool relaysAB = false; // relay A and relay B
    bool pulse = false;    // the pulse length, 1 to pulseMax seconds
    int pulseMax = 0;
    bool gap = false;         // the gap between pulses (type 3)
    bool singleRelay = false; // the single relay, the minute input and the lengthened pulse (type 4)
    bool modeRadios = false;  // the radio pair
    bool type5Modes = false;  // the radio pair is the type-5 mode pair (bit 5), else 12/24 hours (bit 4)
    int contactText = 291;    // the 6:00 contact's caption (814 for type 5)
    std::array<int, 3> radioTexts{708, 816, 817}; // the pair's caption and its two choices
};
ClockControls clockControls(int type);

// The time shift as the editor shows it: a sign button and hours and minutes of its magnitude.
struct ShownOffset {
    bool negative = false;
    int hours = 0;
    int minutes = 0;

    friend bool operator==(const ShownOffset&, const ShownOffset&) = default;
};
ShownOffset shownOffset(std::int16_t offsetMinutes);

// The first radio of the pair is ticked while its bit is set (12-hour mode, or the first type-5 mode).
bool firstModeChosen(std::uint8_t clockFlags, bool type5);

} // namespace equipment
} // namespace tolvane
