#pragma once

#include <cstdint>
#include <span>

namespace tolvane {

// CRC-16/MODBUS (reflected polynomial 0xA001, initial 0xFFFF, no final XOR), the checksum of the card images,
// in its table-driven form with one table for the high and one for the low byte of the running value.
class Crc16 {
public:
    static constexpr std::uint16_t Initial = 0xFFFF;

    // Continues `state` over `data` and returns the new state.
    static std::uint16_t update(std::uint16_t state, std::span<const std::uint8_t> data);
    static std::uint16_t compute(std::span<const std::uint8_t> data) { return update(Initial, data); }
};

} // namespace tolvane
