#include "device/DeviceText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <vector>

namespace tolvane {
namespace {

std::vector<std::uint8_t> bytesOf(std::initializer_list<int> values) {
    std::vector<std::uint8_t> out;
    for (int v : values) {
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

struct TableEntry {
    char32_t code;
    std::uint8_t byte;
};

// Every character with a position of its own on the controller's display. Latin letters (below U+0180) read back
// in Latin mode, Cyrillic letters in Cyrillic mode.
std::vector<TableEntry> deviceTable() {
    std::vector<TableEntry> t = {
        {U'À', 0xA2}, {U'È', 0x88}, {U'Ê', 0x98}, {U'à', 0xA0}, {U'è', 0x83}, {U'ê', 0x90}, {U'Ą', 0xA5}, {U'ą', 0xB9},
        {U'Ć', 0xC6}, {U'ć', 0xE6}, {U'Č', 0xC8}, {U'č', 0xE8}, {U'Ď', 0xCF}, {U'ď', 0xEF}, {U'Đ', 0xD0}, {U'đ', 0xF0},
        {U'Ę', 0xCA}, {U'ę', 0xEA}, {U'Ě', 0xCC}, {U'ě', 0xEC}, {U'Ľ', 0xBC}, {U'ľ', 0xBE}, {U'Ł', 0xA3}, {U'ł', 0xB3},
        {U'Ń', 0xD1}, {U'ń', 0xF1}, {U'Ň', 0xD2}, {U'ň', 0xF2}, {U'ŕ', 0xE0}, {U'Ř', 0xD8}, {U'ř', 0xF8}, {U'Ś', 0x8C},
        {U'ś', 0x9C}, {U'Š', 0x8A}, {U'š', 0x9A}, {U'Ť', 0x8D}, {U'ť', 0x9D}, {U'Ů', 0xD9}, {U'ů', 0xF9}, {U'Ź', 0x8F},
        {U'ź', 0x9F}, {U'Ż', 0xAF}, {U'ż', 0xBF}, {U'Ž', 0x8E}, {U'ž', 0x9E}, {U'Ё', 0xA8}, {U'Є', 0xAA}, {U'Ї', 0xAF},
        {U'ё', 0xB8}, {U'є', 0xBA}, {U'ї', 0xBF}, {U'Ґ', 0xA5}, {U'ґ', 0xB4},
    };
    const std::u32string upper = U"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
    const std::u32string lower = U"абвгдежзийклмнопрстуфхцчшщъыьэюя";
    for (std::size_t i = 0; i < 32; ++i) {
        t.push_back({upper[i], static_cast<std::uint8_t>(0xC0 + i)});
        t.push_back({lower[i], static_cast<std::uint8_t>(0xE0 + i)});
    }
    return t;
}

TEST(DeviceCharacterTable, EveryOwnPositionRoundTripsInItsMode) {
    const auto table = deviceTable();
    ASSERT_EQ(table.size(), 117u);
    for (const auto& e : table) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(e.code));
        EXPECT_EQ(charToDevice(e.code), e.byte);
        const TextMode mode = e.code < 0x180 ? TextMode::Latin : TextMode::Cyrillic;
        EXPECT_EQ(deviceToChar(e.byte, mode), e.code);
    }
}

TEST(DeviceCharacterTable, CharactersWithoutOwnPositionKeepTheirLowByte) {
    std::set<char32_t> own;
    for (const auto& e : deviceTable()) {
        own.insert(e.code);
    }
    for (char32_t c = 0; c < 0x4A0; ++c) {
        if (own.count(c) == 0) {
            SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(c));
            ASSERT_EQ(charToDevice(c), static_cast<std::uint8_t>(c & 0xFF));
        }
    }
}

TEST(DeviceCharacterTable, SharedBytesReadAccordingToMode) {
    struct Case {
        std::uint8_t byte;
        char32_t latin;
        char32_t cyrillic;
    };
    const Case cases[] = {
        {0xA5, U'Ą', U'Ґ'}, {0xC6, U'Ć', U'Ж'}, {0xAF, U'Ż', U'Ї'}, {0xE0, U'ŕ', U'а'}, {0xB9, U'ą', U'№'},
        {0xBF, U'ż', U'ї'}, {0xFF, 0xFF, U'я'}, {0xA0, U'à', U'à'}, {0x41, U'A', U'A'}, {0xE9, U'é', U'й'},
        {0x09, U' ', U' '}, {0x20, U' ', U' '}, {0x00, 0x00, 0x00},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << int{c.byte});
        EXPECT_EQ(deviceToChar(c.byte, TextMode::Latin), c.latin);
        EXPECT_EQ(deviceToChar(c.byte, TextMode::Cyrillic), c.cyrillic);
    }
}

TEST(DeviceCharacterTable, CharactersAboveTheTable) {
    EXPECT_EQ(charToDevice(U'№'), 0xB9);
    EXPECT_EQ(charToDevice(U'€'), 0x20);
    EXPECT_EQ(charToDevice(U'\u04A0'), 0x20);
    EXPECT_EQ(charToDevice(U'\U0001F600'), 0x20);
    EXPECT_EQ(charToDevice(U' '), 0x20);
}

TEST(DeviceText, PolishLetterAndItsCyrillicTwin) {
    const auto bytes = textToDevice("Ą", 10);
    EXPECT_EQ(bytes, bytesOf({0xA5, 0x00}));
    const std::span<const std::uint8_t> name(bytes.data(), 1);
    EXPECT_EQ(deviceToText(name, TextMode::Latin), "Ą");
    EXPECT_EQ(deviceToText(name, TextMode::Cyrillic), "Ґ");
    EXPECT_EQ(textToDevice("Ґ", 10), bytes);
}

TEST(DeviceText, NumeroSignIsStoredAsB9AndReadBackOnlyInCyrillicMode) {
    const auto bytes = textToDevice("№ 5", 3);
    EXPECT_EQ(bytes, bytesOf({0xB9, 0x20, 0x35, 0x00}));
    const std::span<const std::uint8_t> name(bytes.data(), 3);
    EXPECT_EQ(deviceToText(name, TextMode::Cyrillic), "№ 5");
    EXPECT_EQ(deviceToText(name, TextMode::Latin), "ą 5");
}

TEST(DeviceText, ErasedMemoryReadsAsEmptyText) {
    for (TextMode mode : {TextMode::Latin, TextMode::Cyrillic}) {
        EXPECT_EQ(deviceToText(bytesOf({0xFF, 0x41, 0x42}), mode), "");
        EXPECT_EQ(deviceToText(bytesOf({0xFF}), mode), "");
        EXPECT_EQ(deviceToText({}, mode), "");
    }
}

TEST(DeviceText, ByteFFEndsTheTextOnlyInLatinMode) {
    const auto bytes = bytesOf({0x41, 0x42, 0xFF, 0x43});
    EXPECT_EQ(deviceToText(bytes, TextMode::Latin), "AB");
    EXPECT_EQ(deviceToText(bytes, TextMode::Cyrillic), "ABяC");
}

TEST(DeviceText, TabReadsAsSpaceAndUnmappedBytesAsThemselves) {
    EXPECT_EQ(deviceToText(bytesOf({0x09, 0x41, 0xF3}), TextMode::Latin), " Aó");
}

TEST(DeviceText, TextToDeviceCountsCharactersNotBytes) {
    struct Case {
        const char* text;
        std::size_t maxChars;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        {"", 10, bytesOf({0x00})},
        {"Hello", 0, bytesOf({0x00})},
        {"Hello", 3, bytesOf({'H', 'e', 'l', 0x00})},
        {"Hi", 5, bytesOf({'H', 'i', 0x00})},
        {"ąęł", 2, bytesOf({0xB9, 0xEA, 0x00})},
        {"Пасха", 5, bytesOf({0xCF, 0xE0, 0xF1, 0xF5, 0xE0, 0x00})},
        // Without a position of their own, characters above the table keep their low byte.
        {"a€b", 3, bytesOf({'a', 0xAC, 'b', 0x00})},
        // An invalid UTF-8 byte becomes U+FFFD, stored as its low byte.
        {"a\xFF", 5, bytesOf({'a', 0xFD, 0x00})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(textToDevice(c.text, c.maxChars), c.expected);
    }
}

TEST(DeviceText, NamesRoundTripInTheirMode) {
    struct Case {
        const char* text;
        TextMode mode;
    };
    const Case cases[] = {
        {"Zażółć gęślą jaźń", TextMode::Latin},      {"Příliš žluťoučký kůň úpěl ďábelské ódy", TextMode::Latin},
        {"Boże Narodzenie 2026", TextMode::Latin},   {"Пасха Христова", TextMode::Cyrillic},
        {"Ґанок Їжак Єва Ёлка", TextMode::Cyrillic}, {"Свято № 3", TextMode::Cyrillic},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto bytes = textToDevice(c.text, 80);
        bytes.pop_back(); // the terminating zero
        EXPECT_EQ(deviceToText(bytes, c.mode), c.text);
    }
}

std::vector<int> parseRow(const char* row) {
    std::istringstream in(row);
    std::vector<int> out;
    int v = 0;
    while (in >> v) {
        out.push_back(v);
    }
    return out;
}

TEST(DisplayFont, WidthsOfAllGlyphs) {
    const char* rows[16] = {
        "2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2",  "2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 8",  "5 2 5 10 8 10 8 2 4 4 8 6 2 4 2 6",
        "7 6 7 7 7 7 7 7 7 7 2 2 6 6 6 5",  "9 7 8 7 8 7 7 7 8 4 4 7 6 9 8 8",  "7 8 8 7 8 8 7 10 8 8 7 4 6 4 7 7",
        "2 7 7 5 7 7 5 7 7 2 3 7 2 10 7 7", "7 7 4 6 5 7 7 10 7 7 6 6 2 6 9 9", "6 6 2 7 2 2 2 2 7 2 7 2 7 8 7 7",
        "7 2 2 2 2 2 2 2 7 2 6 2 7 6 6 7",  "7 4 7 6 2 7 2 8 2 2 2 2 2 2 2 7",  "5 2 2 4 2 7 2 2 2 7 2 2 6 2 4 7",
        "2 2 8 2 8 2 6 6 5 6 6 6 6 4 4 8",  "2 8 8 8 8 2 8 2 8 8 8 2 8 8 2 8",  "4 7 7 2 7 2 5 5 5 7 7 7 7 3 4 8",
        "2 7 7 7 7 2 7 2 2 7 7 2 7 7 2 2",
    };
    for (int r = 0; r < 16; ++r) {
        const auto widths = parseRow(rows[r]);
        ASSERT_EQ(widths.size(), 16u);
        for (int i = 0; i < 16; ++i) {
            SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << (r * 16 + i));
            EXPECT_EQ(fontWidth(static_cast<std::uint8_t>(r * 16 + i)), widths[i]);
        }
    }
}

TEST(DisplayFont, FitToWidth) {
    struct Case {
        const char* text;
        int limit;
        const char* expected;
    };
    const Case cases[] = {
        {"MMMM", 20, "MM"}, // 9 + 1 + 9 = 19; the third M would bring the total to 29
        {"MMMM", 19, "MM"}, // reaching the limit exactly still fits
        {"MMMM", 18, "M"},
        {"MMMM", 9, "M"},
        {"MMMM", 8, ""},
        {"MMMM", 0, ""},
        {"MMMM", -1, ""},
        {"MMMM", 1000, "MMMM"},
        {"", 20, ""},
        {"ĄĄĄ", 15, "ĄĄ"}, // Ą is byte 0xA5, 7 pixels wide; multi-byte
                           // letters are never cut in half
        {"№№", 7, "№"},    // № is byte 0xB9, 7 pixels wide
        {"€€", 5, "€"},    // characters above the table are measured as a space
        {"a b", 13, "a "}, // a = 7, space = 5: 7 + 1 + 5 = 13 fits, + 1 + 7 = 21 does not
        {"a b", 21, "a b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " / " << c.limit);
        EXPECT_EQ(fitToWidth(c.text, c.limit), c.expected);
    }
}

// The card writers convert a name straight into its slot: the same bytes as fitting the text, converting it and
// cutting the conversion to the slot, and never a byte past the slot.
TEST(DisplayFont, FittedTextGoesStraightIntoItsSlot) {
    struct Case {
        std::string text;
        int limit;
        std::size_t slot;
    };
    const Case cases[] = {
        {"MMMM", 19, 10},       {"MMMM", 1000, 3},         {"", 20, 5},
        {"Zażółć gęślą", 60, 31}, {"Zażółć gęślą", 1000, 4}, {"№ € Ё", 1000, 10},
        {"ab\xC3(\xE2\x82", 1000, 10}, // broken sequences, measured and stored as U+FFFD
        {"a b", 13, 2},         {"Melodia 300", 0, 31},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " / " << c.limit << " / " << c.slot);
        std::vector<std::uint8_t> expected = textToDevice(fitToWidth(c.text, c.limit), c.slot);
        expected.pop_back(); // its zero byte
        std::vector<std::uint8_t> out(c.slot + 2, 0xEE);
        const std::size_t written = fittedTextToDevice(c.text, c.limit, std::span(out).first(c.slot));
        EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(written)),
                  expected);
        EXPECT_TRUE(std::all_of(out.begin() + static_cast<std::ptrdiff_t>(c.slot), out.end(),
                                [](std::uint8_t b) { return b == 0xEE; }));
    }
}

TEST(Utf8, InvalidSequencesBecomeReplacementCharacters) {
    struct Case {
        std::string input;
        std::u32string expected;
    };
    const std::u32string r = U"\uFFFD";
    const Case cases[] = {
        {"abc", U"abc"},
        {"\xC3\xB3", U"ó"},
        {"\xE2\x82\xAC", U"€"},
        {"\xF0\x9F\x98\x80", U"\U0001F600"},
        {"\x80", r},
        {"\xC3", r},                                 // truncated at the end of the input
        {"\xE2\x82", r},                             // truncated three-byte sequence: one replacement
        {"a\xE2\x82z", U"a" + r + U"z"},             // the letter after a broken sequence survives
        {"\xC0\xAF", r + r},                         // overlong form
        {"\xE0\x80\xAF", r + r + r},                 // overlong three-byte form
        {"\xED\xA0\x80", r + r + r},                 // surrogate
        {"\xF4\x90\x80\x80", r + r + r + r},         // above U+10FFFF
        {"\xF8\x88\x80\x80\x80", r + r + r + r + r}, // five-byte form
        {"\xFF\xFE", r + r},
        {std::string("a\0b", 3), std::u32string(U"a\0b", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        EXPECT_EQ(utf8ToCodePoints(c.input), c.expected);
    }
}

TEST(Utf8, NeverReadsPastTheView) {
    const std::string euro = "\xE2\x82\xAC";
    EXPECT_EQ(utf8ToCodePoints(std::string_view(euro.data(), 2)), U"\uFFFD");
    EXPECT_EQ(utf8ToCodePoints(std::string_view(euro.data(), 0)), U"");
    // A heap buffer exactly the size of the truncated sequence, so a sanitizer build catches any over-read.
    const std::vector<char> heap = {'\xF0', '\x9F', '\x98'};
    EXPECT_EQ(utf8ToCodePoints(std::string_view(heap.data(), heap.size())), U"\uFFFD");
}

TEST(Utf8, EncodingRoundTripsAndRejectsNonCharacters) {
    const std::u32string text = U"Aą€\U0001F600\u07FF\uFFFF\U0010FFFF";
    EXPECT_EQ(utf8ToCodePoints(codePointsToUtf8(text)), text);
    EXPECT_EQ(codePointsToUtf8(std::u32string(1, char32_t{0xD800})), "\xEF\xBF\xBD");
    EXPECT_EQ(codePointsToUtf8(std::u32string(1, static_cast<char32_t>(0x110000))), "\xEF\xBF\xBD");
}

} // namespace
} // namespace tolvane
