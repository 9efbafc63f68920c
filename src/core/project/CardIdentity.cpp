#include "project/CardIdentity.h"

#include <algorithm>

namespace tolvane {

CardIdentity::CardIdentity() {
    reset();
    std::fill_n(bytes_.begin() + FormatTagOffset, 5, std::uint8_t{0});
    setFirmware(DefaultFirmware);
}

void CardIdentity::reset() {
    std::fill(bytes_.begin() + FirmwareOffset, bytes_.begin() + TrailingOffset, static_cast<std::uint8_t>('0'));
    bytes_[TrailingOffset] = 0xFF;
    bytes_[TrailingOffset + 1] = 0xFF;
}

std::string CardIdentity::field(std::size_t offset, std::size_t length) const {
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        out.push_back(static_cast<char>(bytes_[offset + i]));
    }
    return out;
}

void CardIdentity::setField(std::size_t offset, std::size_t length, std::string_view value) {
    for (std::size_t i = 0; i < length; ++i) {
        bytes_[offset + i] = i < value.size() ? static_cast<std::uint8_t>(value[i]) : std::uint8_t{0};
    }
}

void CardIdentity::pack(std::span<std::uint8_t, 23> out) const {
    std::copy(bytes_.begin(), bytes_.end(), out.begin());
    std::copy(CardFormatTag.begin(), CardFormatTag.end(), out.begin());
}

bool CardIdentity::unpack(std::span<const std::uint8_t, 23> in) {
    if (!std::equal(CardFormatTag.begin(), CardFormatTag.end(), in.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; })) {
        return false;
    }
    std::copy(in.begin(), in.end(), bytes_.begin());
    return true;
}

} // namespace tolvane
