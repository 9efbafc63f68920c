#pragma once

#include "section/TextSource.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolvane::testing {

// "0C 00 FF ..." -> bytes; spaces and '|' separate groups.
inline std::vector<std::uint8_t> hexBytes(const std::string& hex) {
    std::vector<std::uint8_t> out;
    std::string digits;
    for (char c : hex) {
        if (c == ' ' || c == '|') {
            continue;
        }
        digits += c;
        if (digits.size() == 2) {
            out.push_back(static_cast<std::uint8_t>(std::stoul(digits, nullptr, 16)));
            digits.clear();
        }
    }
    return out;
}

inline std::vector<std::uint8_t> toVector(std::span<const std::uint8_t> b) {
    return {b.begin(), b.end()};
}

// Every text is "T<number>", so a test sees which number was asked for.
class NumberedTexts final : public TextSource {
public:
    std::string text(int id) const override { return "T" + std::to_string(id); }
};

} // namespace tolvane::testing
