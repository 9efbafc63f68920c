#pragma once

#include "ringing/StrikingSettings.h"

#include <cstdint>
#include <string>

namespace tolvane {

class SequenceTable;

// The rules of the striking page, kept apart from its widgets: which hour controls each mode uses, what the
// fields show for the stored values, which series can be chosen and which sequence a quarter may play.
namespace strikingediting {

// What the hour-striking controls do in a mode: the stroke interval and the hammer are usable outside mode 0 and
// show the fields of the mode without repetition in modes 0 and 1; the repetition delay is shown in mode 2 only.
struct HourModeView {
    bool fieldsEnabled = false;
    bool singleFields = true;
    bool delayShown = false;

    friend bool operator==(const HourModeView&, const HourModeView&) = default;
};
HourModeView hourModeView(int mode);

// The stroke interval the page shows in a mode, in tenths.
std::uint16_t strokeInterval(const StrikingRecord& record, int mode);
// Tenths of a second as "%.1f" ("2.0"), as the decimal fields show them.
std::string tenthsText(unsigned tenths);

// The repetition delay as minutes (value / 600) and seconds ((value / 10) mod 60).
struct DelayFields {
    int minutes = 0;
    int seconds = 0;

    friend bool operator==(const DelayFields&, const DelayFields&) = default;
};
DelayFields delayFields(std::uint16_t tenths);

// A quarter's series `series` can be chosen while the quarter's count reaches beyond it.
bool seriesEnabled(const StrikingRecord& record, int quarter, int series);

// A sequence a quarter may not play: text 687 for one that contains a bell step, 0 otherwise.
int seriesRefusal(const SequenceTable& sequences, int index);

} // namespace strikingediting
} // namespace tolvane
