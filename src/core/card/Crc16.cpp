#include "card/Crc16.h"

#include <array>

namespace tolvane {

namespace {

struct Tables {
    std::array<std::uint8_t, 256> high{};
    std::array<std::uint8_t, 256> low{};
};

// The two tables are the CRC of every byte value split into its high and low byte, so one step is two lookups.
constexpr Tables makeTables() {
    Tables t;
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1U) ? (crc >> 1) ^ 0xA001U : crc >> 1;
        }
        t.high[i] = static_cast<std::uint8_t>(crc >> 8);
        t.low[i] = static_cast<std::uint8_t>(crc & 0xFFU);
    }
    return t;
}

constexpr Tables tables = makeTables();

} // namespace

std::uint16_t Crc16::update(std::uint16_t state, std::span<const std::uint8_t> data) {
    std::uint8_t hi = static_cast<std::uint8_t>(state >> 8);
    std::uint8_t lo = static_cast<std::uint8_t>(state & 0xFF);
    for (std::uint8_t byte : data) {
        const std::uint8_t index = lo ^ byte;
        lo = hi ^ tables.low[index];
        hi = tables.high[index];
    }
    return static_cast<std::uint16_t>((hi << 8) | lo);
}

} // namespace tolvane
