#include "project/TextFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvane {
namespace {

struct FormatCase {
    const char* format;
    std::vector<TextArg> args;
    std::string expected;
};

TEST(TextFormat, FillsPlaceholdersLikePrintf) {
    const FormatCase cases[] = {
        {"no placeholders", {}, "no placeholders"},
        {"%d", {42LL}, "42"},
        {"%i", {-7LL}, "-7"},
        {"%d %%", {50LL}, "50 %"},
        {"%%d", {1LL}, "%d"},
        {"%.2d:%.2d", {9LL, 5LL}, "09:05"},
        {"%02d", {3LL}, "03"},
        {"%02d", {-3LL}, "-3"},
        {"%03d", {-3LL}, "-03"},
        {"%4d|", {12LL}, "  12|"},
        {"%-4d|", {12LL}, "12  |"},
        {"%.4d", {12LL}, "0012"},
        {"%.4d", {-12LL}, "-0012"},
        {"%06.3d", {7LL}, "   007"}, // precision turns zero padding off
        {"%+d % d", {5LL, 5LL}, "+5  5"},
        {"%.0d|", {0LL}, "|"},
        {"%d", {-9223372036854775807LL - 1}, "-9223372036854775808"},
        {"%u", {4000000000LL}, "4000000000"},
        {"%u", {-1LL}, "4294967295"},
        {"%x %X", {255LL, 255LL}, "ff FF"},
        {"%#x %#X %#x", {255LL, 171LL, 0LL}, "0xff 0XAB 0"},
        {"%04X", {10LL}, "000A"},
        {"%c%c", {65LL, 0x105LL}, "A\xC4\x85"},
        {"%3c|", {66LL}, "  B|"},
        {"%s", {std::string("Tak")}, "Tak"},
        {"%-5s|", {std::string("ab")}, "ab   |"},
        {"%5s|", {std::string("ab")}, "   ab|"},
        // width and precision of %s count code points: "żółw" is 4 characters in 7 bytes
        {"%6s|", {std::string("\xC5\xBC\xC3\xB3\xC5\x82w")}, "  \xC5\xBC\xC3\xB3\xC5\x82w|"},
        {"%.2s|", {std::string("\xC5\xBC\xC3\xB3\xC5\x82w")}, "\xC5\xBC\xC3\xB3|"},
        {"Dzwon %d: %s (%d%%)", {2LL, std::string("Maria"), 75LL}, "Dzwon 2: Maria (75%)"},
        {"%d", {1LL, 2LL}, "1"}, // arguments left over are ignored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(formatText(c.format, c.args), c.expected);
    }
}

// A catalog is data: every fault in it shows as the placeholder left as written, and the placeholders after it
// still get their own arguments.
TEST(TextFormat, LeavesBadPlaceholdersVisible) {
    const FormatCase cases[] = {
        {"%d", {}, "%d"},
        {"%d and %s", {5LL}, "5 and %s"},
        {"%s", {12LL}, "%s"},
        {"%d", {std::string("x")}, "%d"},
        {"%c", {std::string("x")}, "%c"},
        {"%s %d", {3LL, 4LL}, "%s 4"},
        {"%ld %d", {1LL, 2LL}, "%ld 2"},
        {"%n", {1LL}, "%n"},
        {"%p %f %e %o", {1LL, 2LL, 3LL, 4LL}, "%p %f %e %o"},
        {"%*d %d", {5LL, 6LL}, "%*d 6"},
        {"%5", {1LL}, "%5"},
        {"100%", {}, "100%"},
        {"100% ok", {}, "100% ok"},
        {"%", {1LL}, "%"},
        {"%256d", {1LL}, "%256d"},
        {"%.256d", {1LL}, "%.256d"},
        {"%99999999999999999999d", {1LL}, "%99999999999999999999d"},
        {"%.99999999999999999999s", {std::string("a")}, "%.99999999999999999999s"},
        {"%c", {0LL}, "%c"},
        {"%c", {-1LL}, "%c"},
        {"%c", {0xD800LL}, "%c"},
        {"%c", {0x110000LL}, "%c"},
        {"%x", {-4294967296LL}, "%x"},
        {"%\xC5\xBC", {1LL}, "%\xC5\xBC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(formatText(c.format, c.args), c.expected);
    }
}

TEST(TextFormat, OutputStaysBounded) {
    // The largest width allowed, repeated: the output grows with the format, never beyond it.
    std::string format;
    std::vector<TextArg> args;
    for (int i = 0; i < 100; ++i) {
        format += "%255d";
        args.emplace_back(1LL);
    }
    EXPECT_EQ(formatText(format, args).size(), 100u * 255u);
    EXPECT_EQ(formatText("%255.255s", {std::string(1000, 'a')}).size(), 255u);
}

TEST(TextFormat, PlaceholderKindsNameTheArgumentsATextTakes) {
    struct KindsCase {
        const char* format;
        std::vector<char> kinds;
    };
    const KindsCase cases[] = {
        {"plain text", {}},
        {"%d%% of %s", {'d', 's'}},
        {"%.2d:%02i %u %x %X %c", {'d', 'd', 'd', 'd', 'd', 'd'}},
        {"%-5s %ld %f %", {'s', '?', '?', '?'}},
        {"%300d", {'?'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(placeholderKinds(c.format), c.kinds);
    }
}

} // namespace
} // namespace tolvane
