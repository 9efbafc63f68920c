#pragma once

#include <cstdint>
#include <string>

namespace tolvane {

// Binary-coded decimal as the controller keeps it: a BCD byte holds two decimal digits, a BCD word four
// (thousands in the top nibble), and a BCD word with check half carries, in its high 16 bits, the decoded value
// plus 123 so that the controller can tell a written value from garbage.

// Returned by bcdByteToNumber for a byte that does not hold two decimal digits.
inline constexpr std::uint8_t kInvalidBcdByte = 255;
// Returned by bcdWordToNumber when the low byte (the two low digits) is not valid BCD.
inline constexpr int kInvalidBcdLowByte = 0xFFFF;
// Returned by bcdWordToNumber when the low byte is valid but the high byte (the two high digits) is not.
inline constexpr int kInvalidBcdHighByte = -1;
// The offset the check half adds to the decoded value.
inline constexpr std::uint32_t kBcdCheckOffset = 123;

// Two decimal digits, tens in the high nibble; kInvalidBcdByte when the low nibble is above 9 or the byte is
// 0xA0 or more.
std::uint8_t bcdByteToNumber(std::uint8_t b);
// The number 0-99 packed as two digits; larger numbers keep their two low digits.
std::uint8_t numberToBcdByte(unsigned number);

// The decoded four-digit value 0-9999, or kInvalidBcdLowByte / kInvalidBcdHighByte (the low byte is checked first).
int bcdWordToNumber(std::uint16_t word);
// True when all four nibbles are decimal digits.
bool isBcdWord(std::uint16_t word);
// The number packed as four digits. A number outside 0-9999 is clamped into it.
std::uint16_t numberToBcdWord(int number);

// The number (clamped into 0-9999) packed as a BCD word in the low half, its decoded value plus 123 in the high
// half.
std::uint32_t numberToBcdWordWithCheck(int number);
// True when the low half is a valid BCD word and the high half equals its value plus 123.
bool isValidBcdWordWithCheck(std::uint32_t value);
// The decoded low half of a BCD word with check half (the check itself is not looked at).
int bcdWordWithCheckToNumber(std::uint32_t value);

// The decoded value printed with "%.4d" (an invalid word prints its invalid marker the same way).
std::string bcdWordToText(std::uint16_t word);

} // namespace tolvane
