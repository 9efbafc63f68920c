#pragma once

#include "device/ByteIO.h"

#include <span>
#include <string>
#include <string_view>

namespace tolvane {

// The identity of the card a configuration last came from, and the trailer of every card image:
// format tag (5), firmware version (5), boot version (5), serial number (6) and two bytes kept as they are.
class CardIdentity : public ByteRecord<23> {
public:
    static constexpr std::size_t FormatTagOffset = 0;
    static constexpr std::size_t FirmwareOffset = 5;
    static constexpr std::size_t BootOffset = 10;
    static constexpr std::size_t SerialOffset = 15;
    static constexpr std::size_t TrailingOffset = 21;
    // The format tag every card image carries; images with another tag are foreign.
    static constexpr std::string_view CardFormatTag = "V1_06";
    static constexpr std::string_view DefaultFirmware = "V1_41";

    // As constructed: format tag cleared, firmware "V1_41", the rest as a full reset leaves it.
    CardIdentity();

    // Full reset: '0' in firmware, boot and serial, 0xFF in the two trailing bytes; the format tag is kept.
    void reset();

    std::string formatTag() const { return field(FormatTagOffset, 5); }
    std::string firmware() const { return field(FirmwareOffset, 5); }
    std::string boot() const { return field(BootOffset, 5); }
    std::string serial() const { return field(SerialOffset, 6); }
    void setFormatTag(std::string_view v) { setField(FormatTagOffset, 5, v); }
    void setFirmware(std::string_view v) { setField(FirmwareOffset, 5, v); }
    void setBoot(std::string_view v) { setField(BootOffset, 5, v); }
    void setSerial(std::string_view v) { setField(SerialOffset, 6, v); }

    // The trailer of a card image: "V1_06", then firmware, boot, serial and the two trailing bytes.
    void pack(std::span<std::uint8_t, 23> out) const;
    // Takes all 23 bytes when they begin with "V1_06"; otherwise changes nothing and returns false.
    bool unpack(std::span<const std::uint8_t, 23> in);

private:
    std::string field(std::size_t offset, std::size_t length) const;
    void setField(std::size_t offset, std::size_t length, std::string_view value);
};

} // namespace tolvane
