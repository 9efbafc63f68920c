#pragma once

#include "ringing/OutputMap.h"
#include "section/TextSource.h"

#include <string>

namespace tolvane {

class ProjectData;

// The wiring table as plain text, for the electrician who connects the controller: a title line (with the
// installation's location when it has one), the column heads, one line per terminal and what is connected to it
// (the columns padded with spaces so they line up in a fixed-width font), and after the table one warning line
// per relay that drives more than one function. Lines end with "\n"; texts come from the catalog.
std::string wiringTableText(const ProjectData& project, const TextSource& texts);

// A label in the current language: the catalog text filled with its number.
std::string labelText(const LabelText& label, const TextSource& texts);

namespace wiring {
inline constexpr int TableTitleText = 2151;   // "Wiring table"
inline constexpr int TerminalHeadText = 2152; // column heads
inline constexpr int DoesHeadText = 2153;
inline constexpr int WhichHeadText = 2154;
inline constexpr int SharedRelayText = 2157;   // "%s %s": a relay and the functions it drives
inline constexpr int LocationTitleText = 2158; // "%s": the table's title with the location
} // namespace wiring

} // namespace tolvane
