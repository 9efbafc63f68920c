#include "device/TypedNumber.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>

namespace tolvane {

namespace {

// A typed number taken apart: its sign, the digits before the decimal sign and the digits right after it.
struct TypedParts {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
};

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::size_t digitsFrom(std::string_view text, std::size_t at) {
    while (at < text.size() && isDigit(text[at])) {
        ++at;
    }
    return at;
}

TypedParts split(std::string_view text) {
    TypedParts parts;
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        parts.negative = text[i] == '-';
        ++i;
    }
    const std::size_t wholeEnd = digitsFrom(text, i);
    parts.whole = text.substr(i, wholeEnd - i);
    if (wholeEnd < text.size() && (text[wholeEnd] == '.' || text[wholeEnd] == ',')) {
        const std::size_t fractionEnd = digitsFrom(text, wholeEnd + 1);
        parts.fraction = text.substr(wholeEnd + 1, fractionEnd - wholeEnd - 1);
    }
    return parts;
}

// The digits as a number, held below 10^16 so that callers can still multiply it by ten.
long long digitsValue(std::string_view digits) {
    constexpr long long limit = 1'000'000'000'000'000LL;
    long long value = 0;
    for (char c : digits) {
        if (value < limit) {
            value = value * 10 + (c - '0');
        }
    }
    return value;
}

} // namespace

long long typedInteger(std::string_view text) {
    const TypedParts parts = split(text);
    const long long value = digitsValue(parts.whole);
    return parts.negative ? -value : value;
}

long long typedTenths(std::string_view text) {
    const TypedParts parts = split(text);
    const long long tenth = parts.fraction.empty() ? 0 : parts.fraction.front() - '0';
    const long long magnitude = digitsValue(parts.whole) * 10 + tenth;
    return parts.negative ? -magnitude : magnitude;
}

double typedReal(std::string_view text) {
    const TypedParts parts = split(text);
    double value = 0;
    for (char c : parts.whole) {
        value = value * 10 + (c - '0');
    }
    double scale = 0.1;
    for (char c : parts.fraction) {
        value += (c - '0') * scale;
        scale /= 10;
    }
    return parts.negative ? -value : value;
}

int tenthsFromTyped(double units) {
    const double tenths = units * 10.0 + 1e-6;
    return std::isnan(tenths) ? 0 : static_cast<int>(std::trunc(std::clamp(tenths, 0.0, 65535.0)));
}

} // namespace tolvane
