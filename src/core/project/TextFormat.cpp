#include "project/TextFormat.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace tolvane {
namespace {

constexpr int MaxField = 255; // largest width or precision a catalog text may ask for

// One placeholder as written: from its '%' up to and including its conversion character.
struct Placeholder {
    std::size_t end = 0; // one past the last character of the placeholder
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    bool spaceSign = false;
    bool alternate = false;
    int width = 0;
    int precision = -1; // -1: none given
    char conversion = 0;
    bool wellFormed = false; // a conversion we support with a width and precision in range
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of digits; returns MaxField + 1 for a number too large, without ever overflowing.
int readNumber(std::string_view format, std::size_t& pos) {
    int value = 0;
    while (pos < format.size() && isDigit(format[pos])) {
        if (value <= MaxField) {
            value = value * 10 + (format[pos] - '0');
        }
        ++pos;
    }
    return value > MaxField ? MaxField + 1 : value;
}

// Parses the placeholder whose '%' is at format[start] (not "%%").
Placeholder parsePlaceholder(std::string_view format, std::size_t start) {
    Placeholder p;
    std::size_t pos = start + 1;
    for (; pos < format.size(); ++pos) {
        const char c = format[pos];
        if (c == '-') {
            p.leftAlign = true;
        } else if (c == '0') {
            p.zeroPad = true;
        } else if (c == '+') {
            p.plusSign = true;
        } else if (c == ' ') {
            p.spaceSign = true;
        } else if (c == '#') {
            p.alternate = true;
        } else {
            break;
        }
    }
    p.width = readNumber(format, pos);
    if (pos < format.size() && format[pos] == '.') {
        ++pos;
        p.precision = readNumber(format, pos);
    }
    if (pos >= format.size()) {
        p.end = format.size();
        return p;
    }
    p.conversion = format[pos];
    p.end = pos + 1;
    const bool known = std::string_view("diuxXcs").find(p.conversion) != std::string_view::npos;
    p.wellFormed = known && p.width <= MaxField && p.precision <= MaxField;
    return p;
}

char argumentKind(char conversion) {
    return conversion == 's' ? 's' : 'd';
}

std::size_t codePointCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

// The first `count` code points of text (a cut never falls inside a UTF-8 sequence).
std::string_view firstCodePoints(std::string_view text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (seen == count) {
                return text.substr(0, i);
            }
            ++seen;
        }
    }
    return text;
}

bool appendCodePoint(std::string& out, long long value) {
    if (value <= 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return false;
    }
    const auto cp = static_cast<std::uint32_t>(value);
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return true;
}

std::string digitsOf(std::uint64_t value, unsigned base, bool upper) {
    const char* symbols = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string digits;
    do {
        digits.insert(digits.begin(), symbols[value % base]);
        value /= base;
    } while (value != 0);
    return digits;
}

void pad(std::string& out, std::size_t length, int width, char fill = ' ') {
    if (static_cast<std::size_t>(width) > length) {
        out.append(static_cast<std::size_t>(width) - length, fill);
    }
}

// Writes `body` (already `length` code points long) aligned in the placeholder's width.
void appendAligned(std::string& out, const Placeholder& p, std::string_view body, std::size_t length) {
    if (!p.leftAlign) {
        pad(out, length, p.width);
    }
    out += body;
    if (p.leftAlign) {
        pad(out, length, p.width);
    }
}

// %d %i %u %x %X with C's rules for sign, precision (minimum digits), zero padding and the 0x prefix.
// The unsigned conversions show a negative number the way C shows a negative int: as its 32-bit two's complement;
// a negative number beyond the 32-bit range has no such form and is refused.
bool appendInteger(std::string& out, const Placeholder& p, long long value) {
    std::string sign;
    std::string prefix;
    std::uint64_t magnitude = 0;
    unsigned base = 10;
    if (p.conversion == 'd' || p.conversion == 'i') {
        magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        if (value < 0) {
            sign = "-";
        } else if (p.plusSign) {
            sign = "+";
        } else if (p.spaceSign) {
            sign = " ";
        }
    } else {
        if (value < 0) {
            if (value < std::numeric_limits<std::int32_t>::min()) {
                return false;
            }
            magnitude = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
        } else {
            magnitude = static_cast<std::uint64_t>(value);
        }
        if (p.conversion != 'u') {
            base = 16;
            if (p.alternate && magnitude != 0) {
                prefix = p.conversion == 'X' ? "0X" : "0x";
            }
        }
    }
    std::string digits =
        (p.precision == 0 && magnitude == 0) ? std::string() : digitsOf(magnitude, base, p.conversion == 'X');
    if (p.precision > 0 && digits.size() < static_cast<std::size_t>(p.precision)) {
        digits.insert(0, static_cast<std::size_t>(p.precision) - digits.size(), '0');
    }
    const std::size_t length = sign.size() + prefix.size() + digits.size();
    if (p.zeroPad && !p.leftAlign && p.precision < 0) {
        out += sign;
        out += prefix;
        pad(out, length, p.width, '0');
        out += digits;
        return true;
    }
    appendAligned(out, p, sign + prefix + digits, length);
    return true;
}

bool appendPlaceholder(std::string& out, const Placeholder& p, const TextArg* arg) {
    if (!p.wellFormed || arg == nullptr) {
        return false;
    }
    if (p.conversion == 's') {
        const auto* text = std::get_if<std::string>(arg);
        if (text == nullptr) {
            return false;
        }
        std::string_view body = *text;
        if (p.precision >= 0) {
            body = firstCodePoints(body, static_cast<std::size_t>(p.precision));
        }
        appendAligned(out, p, body, codePointCount(body));
        return true;
    }
    const auto* number = std::get_if<long long>(arg);
    if (number == nullptr) {
        return false;
    }
    if (p.conversion == 'c') {
        std::string character;
        if (!appendCodePoint(character, *number)) {
            return false;
        }
        appendAligned(out, p, character, 1);
        return true;
    }
    return appendInteger(out, p, *number);
}

} // namespace

std::string formatText(std::string_view format, std::span<const TextArg> args) {
    std::string out;
    out.reserve(format.size());
    std::size_t nextArg = 0;
    std::size_t pos = 0;
    while (pos < format.size()) {
        const std::size_t percent = format.find('%', pos);
        if (percent == std::string_view::npos) {
            out += format.substr(pos);
            break;
        }
        out += format.substr(pos, percent - pos);
        if (percent + 1 < format.size() && format[percent + 1] == '%') {
            out += '%';
            pos = percent + 2;
            continue;
        }
        const Placeholder p = parsePlaceholder(format, percent);
        const TextArg* arg = nextArg < args.size() ? &args[nextArg] : nullptr;
        ++nextArg;
        std::string filled;
        if (appendPlaceholder(filled, p, arg)) {
            out += filled;
        } else {
            out += format.substr(percent, p.end - percent);
        }
        pos = p.end;
    }
    return out;
}

std::vector<char> placeholderKinds(std::string_view format) {
    std::vector<char> kinds;
    std::size_t pos = 0;
    while ((pos = format.find('%', pos)) != std::string_view::npos) {
        if (pos + 1 < format.size() && format[pos + 1] == '%') {
            pos += 2;
            continue;
        }
        const Placeholder p = parsePlaceholder(format, pos);
        kinds.push_back(p.wellFormed ? argumentKind(p.conversion) : '?');
        pos = p.end;
    }
    return kinds;
}

} // namespace tolvane
