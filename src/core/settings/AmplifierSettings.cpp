#include "settings/AmplifierSettings.h"

namespace tolvane {

void AmplifierSettings::resetItem(int) {
    fill(0xFF);
    setU16(FlagsOffset, static_cast<std::uint16_t>(u16(FlagsOffset) | SwitchingOffBit));
    setU16(LeadTimeOffset, DefaultSeconds);
    setU16(SwitchOffDelayOffset, DefaultSeconds);
}

void AmplifierSettings::setWord(std::size_t offset, std::uint16_t value, std::uint32_t markBit) {
    if (u16(offset) != value) {
        setU16(offset, value);
        mark(markBit);
    }
}

void AmplifierSettings::setSwitchingOn(bool on) {
    const std::uint16_t old = flags();
    setWord(FlagsOffset, static_cast<std::uint16_t>(on ? (old & ~SwitchingOffBit) : (old | SwitchingOffBit)),
            MarkSwitching);
}

void AmplifierSettings::setLeadTimeSeconds(std::uint16_t seconds) {
    setWord(LeadTimeOffset, seconds, MarkLeadTime);
}

void AmplifierSettings::setSwitchOffDelaySeconds(std::uint16_t seconds) {
    setWord(SwitchOffDelayOffset, seconds, MarkSwitchOffDelay);
}

void AmplifierSettings::swapByteOrder(std::span<std::uint8_t> image) const {
    bytes::swap16(image, LeadTimeOffset);
    bytes::swap16(image, SwitchOffDelayOffset);
}

} // namespace tolvane
