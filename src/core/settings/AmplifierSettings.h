#pragma once

#include "device/ByteIO.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvane {

// The 70-byte block that tells the controller how to switch the bells' audio amplifier: whether it switches it
// at all, how long before ringing it switches it on and how long after ringing it switches it off. The relay
// that does the switching is kept in the output map, not here. Bytes beyond the three words are kept as they are.
class AmplifierSettings : public ByteRecord<70> {
public:
    static constexpr std::size_t FlagsOffset = 0;
    static constexpr std::size_t LeadTimeOffset = 2;
    static constexpr std::size_t SwitchOffDelayOffset = 4;
    // Set in the flag word when the controller does not switch the amplifier.
    static constexpr std::uint16_t SwitchingOffBit = 0x0100;
    static constexpr std::uint16_t DefaultSeconds = 10;
    static constexpr std::uint16_t MinSeconds = 1;
    static constexpr std::uint16_t MaxSeconds = 60;

    AmplifierSettings() { resetDefaults(); }

    // Every byte 0xFF, switching off, lead time and switch-off delay 10 s.
    void resetDefaults();

    std::uint16_t flags() const { return u16(FlagsOffset); }
    bool switchingOn() const { return (flags() & SwitchingOffBit) == 0; }
    std::uint16_t leadTimeSeconds() const { return u16(LeadTimeOffset); }
    std::uint16_t switchOffDelaySeconds() const { return u16(SwitchOffDelayOffset); }

    // Each setter returns true when the stored value changed, so the caller can mark the change.
    bool setSwitchingOn(bool on);
    bool setLeadTimeSeconds(std::uint16_t seconds);
    bool setSwitchOffDelaySeconds(std::uint16_t seconds);

    // The block as the controller reads it: the same 70 bytes with the two time words high byte first.
    // The block itself is not changed. `image` must hold at least 70 bytes.
    void packImage(std::span<std::uint8_t> image) const;
    // Takes the block from its card form (the inverse of packImage).
    void unpackImage(std::span<const std::uint8_t> image);
    // Reverses the two time words of a card-form block in place.
    static void swapByteOrder(std::span<std::uint8_t> image);
};

} // namespace tolvane
