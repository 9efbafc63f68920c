#pragma once

#include "ringing/OutputMap.h"

#include <cstdint>
#include <string>

namespace tolvane {

class GeneralSettings;
class ProjectData;

// The rules of the time-corrections page: how its signed fields show and store a value (magnitude in the field,
// sign on a button), the coordinates the astronomical clock is shown with, and the relay it switches (kept in the
// output map, marked in the general settings). The page shows and stores through these alone.
namespace correctionsedit {

// The degrees of latitude and longitude share their byte with the hemisphere bit: 0-127 fit.
inline constexpr int MaxStoredDegrees = 0x7F;

// A signed byte as a field with a sign button shows it.
struct SignedShown {
    int magnitude = 0;
    bool negative = false;

    friend bool operator==(const SignedShown&, const SignedShown&) = default;
};
SignedShown shownSigned(std::int8_t value);
// The byte stored for a magnitude typed with the sign button on "-" (negative) or "+", held within a signed byte.
std::int8_t signedFromTyped(long long magnitude, bool negative);

// A summer or winter offset in half hours as its field shows it: the magnitude in hours with one decimal ("1.5"
// for -3); the sign is on the button.
std::string halfHoursText(std::int8_t halfHours);

// The coordinates as the page shows them: a built-in place's from the table of places (whatever the coordinate
// bytes hold), coordinates by hand as they are stored.
struct Coordinates {
    bool south = false;
    int latitudeDegrees = 0;
    int latitudeMinutes = 0;
    bool west = false;
    int longitudeDegrees = 0;
    int longitudeMinutes = 0;

    friend bool operator==(const Coordinates&, const Coordinates&) = default;
};
Coordinates shownCoordinates(const GeneralSettings& general);
// The coordinate controls are edited only while the place list stands on its last entry (coordinates by hand).
bool coordinatesEditable(const GeneralSettings& general);

// The relay of the astronomical clock (output map byte 22) and its label (text 300 "PK%d", 109 for none).
std::uint8_t astroRelay(const ProjectData& project);
LabelText astroRelayLabel(const ProjectData& project);
// The relay as the relay chooser returned it; a relay another function uses is refused (false, nothing changes).
// A changed relay marks the relay group of the general settings, and the cross-connection marks the relays that
// gained or lost the function.
bool chooseAstroRelay(ProjectData& project, std::uint8_t relay);

} // namespace correctionsedit
} // namespace tolvane
