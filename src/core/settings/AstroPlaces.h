#pragma once

#include <array>
#include <cstdint>

namespace tolvane {

// The built-in places of the astronomical clock's place list. Choosing one copies its coordinates into the
// general settings, so each place is held as the four bytes it becomes there: degrees with the hemisphere bit
// (set = west, or south), then minutes.
struct AstroPlaces {
    static constexpr int Count = 26;
    static constexpr std::uint8_t HemisphereBit = 0x80;

    struct Place {
        std::uint8_t longitudeDegrees;
        std::uint8_t longitudeMinutes;
        std::uint8_t latitudeDegrees;
        std::uint8_t latitudeMinutes;
    };

    static const std::array<Place, Count>& table();
};

} // namespace tolvane
