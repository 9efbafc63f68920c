#include "settings/UserSettingsEditing.h"

#include "TextNumbers.h"

#include <algorithm>
#include <limits>

namespace tolvane::usersettings {

int displayMinutes(std::uint32_t milliseconds) {
    return static_cast<int>(milliseconds / MsPerMinute);
}

std::uint32_t displayTimeMs(int minutes) {
    return static_cast<std::uint32_t>(std::clamp(minutes, 0, MaxDisplayMinutes)) * MsPerMinute;
}

LabelText displayTimeLabel(int minutes) {
    return minutes == MaxDisplayMinutes ? LabelText{text::AlwaysOn} : LabelText{text::LightingMinutes, minutes};
}

bool percentInRange(int percent) {
    return percent >= 0 && percent <= MaxPercent;
}

bool displayMinutesInRange(int minutes) {
    return minutes >= MinDisplayMinutes && minutes <= MaxDisplayMinutes;
}

RingTimeFields ringTimeFields(std::uint16_t seconds) {
    return {seconds / 60, seconds % 60};
}

std::uint16_t ringTimeSeconds(int minutes, int seconds) {
    const long long total = static_cast<long long>(minutes) * 60 + seconds;
    return static_cast<std::uint16_t>(std::clamp<long long>(total, 0, std::numeric_limits<std::uint16_t>::max()));
}

std::optional<int> typedInRange(std::string_view text, int lower, int upper) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value < lower || value > upper) {
        return std::nullopt;
    }
    return value;
}

} // namespace tolvane::usersettings
