#include "settings/AmplifierSettings.h"

#include <algorithm>

namespace tolvane {

void AmplifierSettings::resetDefaults() {
    fill(0xFF);
    setU16(FlagsOffset, static_cast<std::uint16_t>(u16(FlagsOffset) | SwitchingOffBit));
    setU16(LeadTimeOffset, DefaultSeconds);
    setU16(SwitchOffDelayOffset, DefaultSeconds);
}

bool AmplifierSettings::setSwitchingOn(bool on) {
    const std::uint16_t old = flags();
    const auto value = static_cast<std::uint16_t>(on ? (old & ~SwitchingOffBit) : (old | SwitchingOffBit));
    setU16(FlagsOffset, value);
    return value != old;
}

bool AmplifierSettings::setLeadTimeSeconds(std::uint16_t seconds) {
    const bool changed = seconds != leadTimeSeconds();
    setU16(LeadTimeOffset, seconds);
    return changed;
}

bool AmplifierSettings::setSwitchOffDelaySeconds(std::uint16_t seconds) {
    const bool changed = seconds != switchOffDelaySeconds();
    setU16(SwitchOffDelayOffset, seconds);
    return changed;
}

void AmplifierSettings::swapByteOrder(std::span<std::uint8_t> image) {
    bytes::swap16(image, LeadTimeOffset);
    bytes::swap16(image, SwitchOffDelayOffset);
}

void AmplifierSettings::packImage(std::span<std::uint8_t> image) const {
    bytes::check(image.size(), 0, Size);
    std::copy(bytes_.begin(), bytes_.end(), image.begin());
    swapByteOrder(image.first(Size));
}

void AmplifierSettings::unpackImage(std::span<const std::uint8_t> image) {
    bytes::check(image.size(), 0, Size);
    std::copy_n(image.begin(), Size, bytes_.begin());
    swapByteOrder(bytes_);
}

} // namespace tolvane
