#pragma once

#include "section/TextSource.h"

#include <array>
#include <string>

namespace tolvane {

class ConfigurationSink;
class ProjectData;

// The parts of the record, in print order.
enum class ConfigurationPart {
    SpecialTolling,
    Holidays,
    Sequences,
    Striking,
    Settings,
    Wiring,
    Chimes,
    TimeCorrections,
    UserSettings,
};

// Everything an installer set up besides the ringing programs, as HTML sections for the printed record of a tower:
// the special tolling, the holiday table, the sequences with their steps, hour and quarter striking, the bells,
// hammers, clocks, amplifier and other controller settings, the wiring table of relays and inputs, the named
// chimes, the time corrections with the astronomical clock, and the user settings. Labels are the catalog texts
// the pages use; every text placed into the markup is escaped. The access codes are never printed, only whether
// each is still the factory default.
class ConfigurationDocument {
public:
    // Catalog numbers of our own texts in the record.
    static constexpr int CodeSetText = 2357;
    static constexpr int CodeFactoryDefaultText = 2358;
    static constexpr int DaysAfterEasterText = 2360;  // "%d"
    static constexpr int DaysBeforeEasterText = 2361; // "%d"
    static constexpr int EasterSundayText = 2362;
    static constexpr int RepeatTimesText = 2363; // "%d %d %d": first and last step, repetitions
    static constexpr int RepeatForText = 2364;   // "%d %d %s": first and last step, the time
    static constexpr int ProtectedText = 2365;

    static constexpr std::array<ConfigurationPart, 9> AllParts{
        ConfigurationPart::SpecialTolling, ConfigurationPart::Holidays, ConfigurationPart::Sequences,
        ConfigurationPart::Striking,       ConfigurationPart::Settings, ConfigurationPart::Wiring,
        ConfigurationPart::Chimes,         ConfigurationPart::TimeCorrections, ConfigurationPart::UserSettings};

    // The sections, to follow the programs inside the document's body.
    static std::string sections(const ProjectData& project, const TextSource& texts);
    // One part, described into `sink` with the labels and values the record prints.
    static void describe(const ProjectData& project, const TextSource& texts, ConfigurationPart part,
                         ConfigurationSink& sink);
};

} // namespace tolvane
