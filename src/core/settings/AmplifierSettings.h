#pragma once

#include "section/BlockSection.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace tolvane {

// The 70-byte block that tells the controller how to switch the bells' audio amplifier: whether it switches it
// at all, how long before ringing it switches it on and how long after ringing it switches it off. The relay
// that does the switching is kept in the output map, not here. Bytes beyond the three words are kept as they are.
class AmplifierSettings : public BlockSection<70> {
public:
    static constexpr std::size_t FlagsOffset = 0;
    static constexpr std::size_t LeadTimeOffset = 2;
    static constexpr std::size_t SwitchOffDelayOffset = 4;
    // Set in the flag word when the controller does not switch the amplifier.
    static constexpr std::uint16_t SwitchingOffBit = 0x0100;
    static constexpr std::uint16_t DefaultSeconds = 10;
    static constexpr std::uint16_t MinSeconds = 1;
    static constexpr std::uint16_t MaxSeconds = 60;

    // Bits of the change mask, one per control of the page.
    static constexpr std::uint32_t MarkSwitching = 0x1;
    static constexpr std::uint32_t MarkLeadTime = 0x2;
    static constexpr std::uint32_t MarkSwitchOffDelay = 0x4;

    AmplifierSettings() { reset(); }

    // BlockSection. The rules on the times and the relay need the output map and are checked by the project.
    // Every byte 0xFF, switching off, lead time and switch-off delay 10 s; the marks stay as they are.
    void resetItem(int index) override;
    // The controller reads the two time words high byte first; the flag word keeps its order.
    void swapByteOrder(std::span<std::uint8_t> image) const override;

    std::uint16_t flags() const { return u16(FlagsOffset); }
    bool switchingOn() const { return (flags() & SwitchingOffBit) == 0; }
    std::uint16_t leadTimeSeconds() const { return u16(LeadTimeOffset); }
    std::uint16_t switchOffDelaySeconds() const { return u16(SwitchOffDelayOffset); }

    // Each setter marks its bit when the stored value changes.
    void setSwitchingOn(bool on);
    void setLeadTimeSeconds(std::uint16_t seconds);
    void setSwitchOffDelaySeconds(std::uint16_t seconds);

private:
    void setWord(std::size_t offset, std::uint16_t value, std::uint32_t markBit);
};

} // namespace tolvane
