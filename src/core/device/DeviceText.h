#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// How device bytes are read back as characters: several bytes serve a Latin and a Cyrillic letter.
enum class TextMode { Latin = 0, Cyrillic = 1 };

// UTF-8 <-> code points. Invalid UTF-8 sequences become U+FFFD; nothing is read past the input.
std::u32string utf8ToCodePoints(std::string_view utf8);
std::string codePointsToUtf8(std::u32string_view text);

// One character to its device byte.
std::uint8_t charToDevice(char32_t c);
// One device byte to its character in the given text mode.
char32_t deviceToChar(std::uint8_t b, TextMode mode);

// A text (UTF-8) to device bytes: at most `maxChars` characters converted, then one terminating zero byte.
// The result therefore has at most maxChars + 1 bytes.
std::vector<std::uint8_t> textToDevice(std::string_view utf8, std::size_t maxChars);
// The leading part of `utf8` that fits into `pixelLimit` pixels of the display (as fitToWidth cuts it), as device
// bytes written straight into `out`, at most out.size() of them and no terminator. Returns how many were written.
// The same bytes as textToDevice(fitToWidth(utf8, pixelLimit), out.size()) without its zero byte.
std::size_t fittedTextToDevice(std::string_view utf8, int pixelLimit, std::span<std::uint8_t> out);
// Device bytes to a text (UTF-8). A buffer whose first byte is 0xFF is erased memory and gives an empty text;
// conversion stops at the first byte that reads as character 255. The caller cuts the buffer at its terminator.
std::string deviceToText(std::span<const std::uint8_t> bytes, TextMode mode);

// Width in display pixels of a device byte's glyph.
int fontWidth(std::uint8_t b);
// The leading part of `utf8` that fits into `pixelLimit` pixels of the controller's display.
std::string fitToWidth(std::string_view utf8, int pixelLimit);

} // namespace tolvane
