#include "device/Bcd.h"

#include <algorithm>
#include <cstdio>

namespace tolvane {

std::uint8_t bcdByteToNumber(std::uint8_t b) {
    if ((b & 0x0F) > 9 || b >= 0xA0) {
        return kInvalidBcdByte;
    }
    return static_cast<std::uint8_t>((b >> 4) * 10 + (b & 0x0F));
}

std::uint8_t numberToBcdByte(unsigned number) {
    number %= 100;
    return static_cast<std::uint8_t>(((number / 10) << 4) | (number % 10));
}

int bcdWordToNumber(std::uint16_t word) {
    const std::uint8_t low = bcdByteToNumber(static_cast<std::uint8_t>(word & 0xFF));
    if (low == kInvalidBcdByte) {
        return kInvalidBcdLowByte;
    }
    const std::uint8_t high = bcdByteToNumber(static_cast<std::uint8_t>(word >> 8));
    if (high == kInvalidBcdByte) {
        return kInvalidBcdHighByte;
    }
    return high * 100 + low;
}

bool isBcdWord(std::uint16_t word) {
    const int value = bcdWordToNumber(word);
    return value >= 0 && value <= 9999;
}

std::uint16_t numberToBcdWord(int number) {
    const auto n = static_cast<unsigned>(std::clamp(number, 0, 9999));
    return static_cast<std::uint16_t>((numberToBcdByte(n / 100) << 8) | numberToBcdByte(n % 100));
}

std::uint32_t numberToBcdWordWithCheck(int number) {
    const std::uint16_t word = numberToBcdWord(number);
    const auto check = static_cast<std::uint32_t>(bcdWordToNumber(word)) + kBcdCheckOffset;
    return (check << 16) | word;
}

// The low half must decode: otherwise an invalid high byte (decoded as -1) would pass a check half of 122.
bool isValidBcdWordWithCheck(std::uint32_t value) {
    const auto word = static_cast<std::uint16_t>(value & 0xFFFF);
    if (!isBcdWord(word)) {
        return false;
    }
    return (value >> 16) == static_cast<std::uint32_t>(bcdWordToNumber(word)) + kBcdCheckOffset;
}

int bcdWordWithCheckToNumber(std::uint32_t value) {
    return bcdWordToNumber(static_cast<std::uint16_t>(value & 0xFFFF));
}

std::string bcdWordToText(std::uint16_t word) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.4d", bcdWordToNumber(word));
    return buffer;
}

} // namespace tolvane
