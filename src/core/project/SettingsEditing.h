#pragma once

#include "ringing/OutputMap.h"

#include <cstdint>

namespace tolvane {

class ProjectData;

// The rules of the settings page that reach beyond the general settings: the overview of bells, hammers and
// clocks, the clock lock (kept in clock 1's record, marked in the general settings) and the amplifier's relay
// (kept in the output map, marked in the general settings). The page shows and stores through these alone.
namespace settingsedit {

// The lock of the tower clocks is ticked while bit 3 of clock 1's flag byte is clear.
bool clockLockTicked(const ProjectData& project);
// Ticking clears the bit, unticking sets it; a change marks the clock-lock group of the general settings.
// Returns whether the bit changed.
bool setClockLockTicked(ProjectData& project, bool ticked);

// The amplifier's relay (output map byte 5) as the relay chooser returned it; a relay another function uses is
// refused (false, nothing changes). A changed relay marks the relay group of the general settings.
bool chooseAmplifierRelay(ProjectData& project, std::uint8_t relay);

// The overview: a bell's lamp is lit while the bell is switched on, a hammer's while it strikes a bell, a clock's
// while the clock is switched on (its state text 117, else 116).
bool bellLampLit(const ProjectData& project, int bell);
bool hammerLampLit(const ProjectData& project, int hammer);
bool clockLampLit(const ProjectData& project, int clock);
int clockStateText(const ProjectData& project, int clock);
// The marker beside bell `bell` (0-4): text 317 ("hour striking") when the hour-striking hammer of the striking
// mode without repetition has the same number, else 0 (no text).
int bellMarkerText(const ProjectData& project, int bell);

// The label of a bell's, a hammer's or a clock's relay, as the editors show it (text 300 "PK%d", 109 for none).
LabelText relayLabel(std::uint8_t relay);

} // namespace settingsedit
} // namespace tolvane
