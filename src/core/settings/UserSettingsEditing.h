#pragma once

#include "ringing/OutputMap.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace tolvane {

// The rules of the user settings page: what its sliders, value labels and number fields show for the stored
// display and manual-control values, and what a typed or chosen value stores.
namespace usersettings {

inline constexpr int MaxPercent = 100;
// The lighting-time slider counts whole minutes; its last position keeps the display lit.
inline constexpr int MinDisplayMinutes = 1;
inline constexpr int MaxDisplayMinutes = 31;
inline constexpr std::uint32_t MsPerMinute = 60000;
// The number fields of manual control.
inline constexpr int MaxRingMinutes = 30;
inline constexpr int MaxRingSeconds = 59;
inline constexpr int MaxStartInterval = 15;

// The whole minutes of a stored lighting time, and the lighting time a slider position stores.
int displayMinutes(std::uint32_t milliseconds);
std::uint32_t displayTimeMs(int minutes);
// The text beside the lighting-time slider: text 324 at its last position, otherwise text 212 with the minutes.
LabelText displayTimeLabel(int minutes);
// Whether a stored value lies where its slider can show it (otherwise the slider stands at its end and the value
// label shows the stored value in the warning colour).
bool percentInRange(int percent);
bool displayMinutesInRange(int minutes);

// The default ringing time as its two fields show it, and what they store (held within 16 bits).
struct RingTimeFields {
    int minutes = 0;
    int seconds = 0;

    friend bool operator==(const RingTimeFields&, const RingTimeFields&) = default;
};
RingTimeFields ringTimeFields(std::uint16_t seconds);
std::uint16_t ringTimeSeconds(int minutes, int seconds);

// What a number field of the page stores for its text: the number when the text is digits only and the number
// lies within `lower`-`upper`; nothing otherwise (an emptied field or a number beyond the field's range is not
// stored, so the stored value stays until the field holds one the controller takes).
std::optional<int> typedInRange(std::string_view text, int lower, int upper);

} // namespace usersettings
} // namespace tolvane
