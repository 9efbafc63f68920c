#include "device/DeviceText.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tolvane {

namespace {

constexpr char32_t kReplacement = U'\uFFFD';
constexpr char32_t kNumeroSign = U'\u2116';
constexpr std::uint8_t kNumeroByte = 0xB9;
constexpr std::uint8_t kSpace = 0x20;

// The device character table covers the wide characters below U+04A0. An entry of 0x20 means "no position of
// its own"; such characters are stored as the low byte of their code.
constexpr std::size_t kTableSize = 0x4A0;
// Reading back in Latin mode only looks at the characters up to U+017F, so Latin letters win over the
// Cyrillic ones that share their byte; Cyrillic mode looks at the whole table, highest index first.
constexpr std::size_t kLatinTableEnd = 384;

constexpr std::array<std::uint8_t, kTableSize> makeCharTable() {
    std::array<std::uint8_t, kTableSize> t{};
    for (auto& e : t) {
        e = kSpace;
    }
    // clang-format off
    constexpr std::pair<char16_t, std::uint8_t> positions[] = {
        // Latin-1 letters with a private position.
        {0x00C0, 0xA2}, {0x00C8, 0x88}, {0x00CA, 0x98}, {0x00E0, 0xA0}, {0x00E8, 0x83}, {0x00EA, 0x90},
        // Central-European letters.
        {0x0104, 0xA5}, {0x0105, 0xB9}, {0x0106, 0xC6}, {0x0107, 0xE6}, {0x010C, 0xC8}, {0x010D, 0xE8},
        {0x010E, 0xCF}, {0x010F, 0xEF}, {0x0110, 0xD0}, {0x0111, 0xF0}, {0x0118, 0xCA}, {0x0119, 0xEA},
        {0x011A, 0xCC}, {0x011B, 0xEC}, {0x013D, 0xBC}, {0x013E, 0xBE}, {0x0141, 0xA3}, {0x0142, 0xB3},
        {0x0143, 0xD1}, {0x0144, 0xF1}, {0x0147, 0xD2}, {0x0148, 0xF2}, {0x0155, 0xE0}, {0x0158, 0xD8},
        {0x0159, 0xF8}, {0x015A, 0x8C}, {0x015B, 0x9C}, {0x0160, 0x8A}, {0x0161, 0x9A}, {0x0164, 0x8D},
        {0x0165, 0x9D}, {0x016E, 0xD9}, {0x016F, 0xF9}, {0x0179, 0x8F}, {0x017A, 0x9F}, {0x017B, 0xAF},
        {0x017C, 0xBF}, {0x017D, 0x8E}, {0x017E, 0x9E},
        // Cyrillic letters outside the two runs of the alphabet.
        {0x0401, 0xA8}, {0x0404, 0xAA}, {0x0407, 0xAF}, {0x0451, 0xB8}, {0x0454, 0xBA}, {0x0457, 0xBF},
        {0x0490, 0xA5}, {0x0491, 0xB4}};
    // clang-format on
    for (const auto& [code, byte] : positions) {
        t[code] = byte;
    }
    // А..Я -> 0xC0..0xDF and а..я -> 0xE0..0xFF.
    for (std::size_t i = 0; i < 64; ++i) {
        t[0x0410 + i] = static_cast<std::uint8_t>(0xC0 + i);
    }
    return t;
}

constexpr std::array<std::uint8_t, kTableSize> kCharTable = makeCharTable();

// Reading a byte back searches the table from the top down and takes the highest index that holds it; these two
// tables hold that answer for every byte, one for each mode's search range (0 where no entry matches).
constexpr std::array<char32_t, 256> makeReverseTable(std::size_t end) {
    std::array<char32_t, 256> r{};
    for (std::size_t i = 0; i < end; ++i) {
        r[kCharTable[i]] = static_cast<char32_t>(i);
    }
    return r;
}
constexpr std::array<char32_t, 256> kLatinReverse = makeReverseTable(kLatinTableEnd);
constexpr std::array<char32_t, 256> kCyrillicReverse = makeReverseTable(kTableSize);

// clang-format off
constexpr std::array<std::uint8_t, 256> kFontWidth = {
    2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2,  // 0x00
    2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 8,  // 0x10
    5, 2, 5, 10, 8, 10, 8, 2, 4, 4, 8, 6, 2, 4, 2, 6, // 0x20
    7, 6, 7, 7, 7, 7, 7, 7, 7, 7, 2, 2, 6, 6, 6, 5,  // 0x30
    9, 7, 8, 7, 8, 7, 7, 7, 8, 4, 4, 7, 6, 9, 8, 8,  // 0x40
    7, 8, 8, 7, 8, 8, 7, 10, 8, 8, 7, 4, 6, 4, 7, 7, // 0x50
    2, 7, 7, 5, 7, 7, 5, 7, 7, 2, 3, 7, 2, 10, 7, 7, // 0x60
    7, 7, 4, 6, 5, 7, 7, 10, 7, 7, 6, 6, 2, 6, 9, 9, // 0x70
    6, 6, 2, 7, 2, 2, 2, 2, 7, 2, 7, 2, 7, 8, 7, 7,  // 0x80
    7, 2, 2, 2, 2, 2, 2, 2, 7, 2, 6, 2, 7, 6, 6, 7,  // 0x90
    7, 4, 7, 6, 2, 7, 2, 8, 2, 2, 2, 2, 2, 2, 2, 7,  // 0xA0
    5, 2, 2, 4, 2, 7, 2, 2, 2, 7, 2, 2, 6, 2, 4, 7,  // 0xB0
    2, 2, 8, 2, 8, 2, 6, 6, 5, 6, 6, 6, 6, 4, 4, 8,  // 0xC0
    2, 8, 8, 8, 8, 2, 8, 2, 8, 8, 8, 2, 8, 8, 2, 8,  // 0xD0
    4, 7, 7, 2, 7, 2, 5, 5, 5, 7, 7, 7, 7, 3, 4, 8,  // 0xE0
    2, 7, 7, 7, 7, 2, 7, 2, 2, 7, 7, 2, 7, 7, 2, 2,  // 0xF0
};
// clang-format on

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        c = kReplacement;
    }
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Strict decoding of the character that starts at `i`: overlong forms, surrogates and values above U+10FFFF are
// rejected. Each maximal ill-formed subpart becomes one U+FFFD, so a broken byte never swallows the valid
// characters that follow it. Returns the character and moves `i` past what it consumed.
char32_t decodeUtf8At(std::string_view utf8, std::size_t& i) {
    const std::size_t n = utf8.size();
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    // Allowed range of the second byte, which rules out overlong forms, surrogates and values > U+10FFFF.
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0) {
            lo = 0xA0;
        } else if (lead == 0xED) {
            hi = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0) {
            lo = 0x90;
        } else if (lead == 0xF4) {
            hi = 0x8F;
        }
    } else {
        ++i;
        return kReplacement;
    }
    std::size_t consumed = 1;
    bool ok = true;
    while (consumed < length) {
        if (i + consumed >= n) {
            ok = false;
            break;
        }
        const auto c = static_cast<unsigned char>(utf8[i + consumed]);
        const bool inRange = consumed == 1 ? (c >= lo && c <= hi) : isContinuation(c);
        if (!inRange) {
            ok = false;
            break;
        }
        cp = (cp << 6) | (c & 0x3F);
        ++consumed;
    }
    i += consumed;
    return ok ? cp : kReplacement;
}

// The device byte a character is stored as: a character without a position of its own keeps its low byte (so
// only the numero sign is special above U+04A0).
std::uint8_t storedDeviceByte(char32_t c) {
    if (c == U' ') {
        return kSpace;
    }
    const std::uint8_t b = charToDevice(c);
    return b == kSpace ? static_cast<std::uint8_t>(c & 0xFF) : b;
}

} // namespace

std::u32string utf8ToCodePoints(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        out.push_back(decodeUtf8At(utf8, i));
    }
    return out;
}

std::string codePointsToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        appendUtf8(out, c);
    }
    return out;
}

std::uint8_t charToDevice(char32_t c) {
    if (c >= kTableSize) {
        return c == kNumeroSign ? kNumeroByte : kSpace;
    }
    if (c == U' ') {
        return kSpace;
    }
    const std::uint8_t entry = kCharTable[c];
    return entry == kSpace ? static_cast<std::uint8_t>(c & 0xFF) : entry;
}

char32_t deviceToChar(std::uint8_t b, TextMode mode) {
    if (b == 0x09 || b == kSpace) {
        return U' ';
    }
    if (mode == TextMode::Cyrillic && b == kNumeroByte) {
        return kNumeroSign;
    }
    // Several bytes serve two letters: the highest matching index wins, and the mode decides how far up we look.
    const char32_t c = (mode == TextMode::Cyrillic ? kCyrillicReverse : kLatinReverse)[b];
    // Index 0 holds byte 0x20 like every character without a position, so 0 means no entry matched.
    return c != 0 ? c : static_cast<char32_t>(b);
}

std::vector<std::uint8_t> textToDevice(std::string_view utf8, std::size_t maxChars) {
    std::vector<std::uint8_t> out;
    out.reserve(std::min(utf8.size(), maxChars) + 1);
    for (std::size_t i = 0; i < utf8.size() && out.size() < maxChars;) {
        out.push_back(storedDeviceByte(decodeUtf8At(utf8, i)));
    }
    out.push_back(0);
    return out;
}

std::size_t fittedTextToDevice(std::string_view utf8, int pixelLimit, std::span<std::uint8_t> out) {
    std::size_t written = 0;
    long total = 0;
    for (std::size_t i = 0; i < utf8.size() && written < out.size();) {
        // An ASCII character is its own device byte (the table gives no position of its own below U+00C0).
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::uint8_t stored = lead;
        if (lead < 0x80) {
            ++i;
            total += kFontWidth[lead];
        } else {
            const char32_t c = decodeUtf8At(utf8, i);
            total += kFontWidth[charToDevice(c)];
            stored = storedDeviceByte(c);
        }
        if (total > pixelLimit) {
            break;
        }
        total += 1; // spacing between glyphs
        out[written++] = stored;
    }
    return written;
}

namespace {

// A device byte read back as text: its character as UTF-8, or the mark that reading stops at it (the byte reads
// as character 255).
struct ReadBack {
    std::uint8_t length = 0;
    bool stops = false;
    std::array<char, 4> utf8{};
};

// deviceToChar and appendUtf8 of every byte, worked out once per mode: names are read back by the hundred each time
// a project is opened.
std::array<ReadBack, 256> makeReadBack(TextMode mode) {
    std::array<ReadBack, 256> table{};
    for (int b = 0; b < 256; ++b) {
        ReadBack& entry = table[static_cast<std::size_t>(b)];
        const char32_t c = deviceToChar(static_cast<std::uint8_t>(b), mode);
        entry.stops = c == 255;
        std::string encoded;
        appendUtf8(encoded, c);
        entry.length = static_cast<std::uint8_t>(encoded.size());
        std::copy(encoded.begin(), encoded.end(), entry.utf8.begin());
    }
    return table;
}

} // namespace

std::string deviceToText(std::span<const std::uint8_t> bytes, TextMode mode) {
    std::string out;
    if (!bytes.empty() && bytes[0] == 0xFF) {
        return out; // erased memory
    }
    static const std::array<ReadBack, 256> latin = makeReadBack(TextMode::Latin);
    static const std::array<ReadBack, 256> cyrillic = makeReadBack(TextMode::Cyrillic);
    const std::array<ReadBack, 256>& table = mode == TextMode::Cyrillic ? cyrillic : latin;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        const ReadBack& entry = table[b];
        if (entry.stops) {
            break;
        }
        out.append(entry.utf8.data(), entry.length);
    }
    return out;
}

int fontWidth(std::uint8_t b) {
    return kFontWidth[b];
}

std::string fitToWidth(std::string_view utf8, int pixelLimit) {
    const std::u32string text = utf8ToCodePoints(utf8);
    std::u32string_view fitted{text};
    long total = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        total += fontWidth(charToDevice(text[i]));
        if (total > pixelLimit) {
            fitted = fitted.substr(0, i);
            break;
        }
        total += 1; // spacing between glyphs
    }
    return codePointsToUtf8(fitted);
}

} // namespace tolvane
