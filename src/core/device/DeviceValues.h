#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace tolvane {

// Small value helpers shared by the pages and the card images: bit order, range tests and the time texts that
// the controller's durations are shown with.

// Bit 0 becomes bit 7, bit 1 becomes bit 6, and so on.
constexpr std::uint8_t reverseBits(std::uint8_t b) {
    std::uint8_t out = 0;
    for (int i = 0; i < 8; ++i) {
        if (b & (1u << i)) {
            out = static_cast<std::uint8_t>(out | (0x80u >> i));
        }
    }
    return out;
}

// True when the value is below the lower bound or above the upper bound.
template <typename T> constexpr bool isOutOfRange(T value, T lower, T upper) {
    return value < lower || value > upper;
}

// Seconds as "mm:ss" ("%.2d:%.2d" of seconds / 60 and seconds % 60; minutes are not wrapped into hours).
inline std::string secondsToMinutesText(std::int64_t seconds) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.2lld:%.2lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return buffer;
}

// Hundredths of a second as "mm:ss.hh" ("%.2d:%.2d.%.2d" of value / 6000, value / 100 % 60, value % 100).
inline std::string hundredthsToText(std::int64_t hundredths) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2lld:%.2lld.%.2lld", static_cast<long long>(hundredths / 6000),
                  static_cast<long long>(hundredths / 100 % 60), static_cast<long long>(hundredths % 100));
    return buffer;
}

// A duration in seconds split into days, hours, minutes and seconds.
struct DayTime {
    std::int64_t days = 0;
    int hours = 0;
    int minutes = 0;
    int seconds = 0;

    friend bool operator==(const DayTime&, const DayTime&) = default;
};

constexpr DayTime splitSeconds(std::int64_t seconds) {
    DayTime t;
    t.days = seconds / 86400;
    t.hours = static_cast<int>(seconds % 86400 / 3600);
    t.minutes = static_cast<int>(seconds % 3600 / 60);
    t.seconds = static_cast<int>(seconds % 60);
    return t;
}

} // namespace tolvane
