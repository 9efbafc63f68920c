#pragma once

#include <cstdint>

namespace tolvane {

// A program entry of the hammer action stores its hammer as one bit (bit n-1 for hammer n, 1-5); the hammer
// chooser and the gongs page work with the hammer's index (0-4), 0xFF meaning none.
constexpr std::uint8_t NoHammer = 0xFF;
constexpr int HammerCount = 5;

// The index of the one hammer whose bit is set; NoHammer when no bit, several bits or a bit above bit 4 is set.
constexpr std::uint8_t hammerBitToIndex(std::uint8_t bits) {
    for (int index = 0; index < HammerCount; ++index) {
        if (bits == (1u << index)) {
            return static_cast<std::uint8_t>(index);
        }
    }
    return NoHammer;
}

// The bit of hammer index 0-4; 0 (no hammer, shown as "not chosen") for NoHammer or any other index.
constexpr std::uint8_t hammerIndexToBit(std::uint8_t index) {
    return index < HammerCount ? static_cast<std::uint8_t>(1u << index) : std::uint8_t{0};
}

} // namespace tolvane
