#include "device/Bcd.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(Bcd, ByteDecoding) {
    struct Case {
        std::uint8_t byte;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {0x00, 0},   {0x09, 9},   {0x10, 10},  {0x45, 45},  {0x99, 99},  {0x0A, 255},
        {0x9A, 255}, {0x9F, 255}, {0xA0, 255}, {0xA9, 255}, {0xF0, 255}, {0xFF, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "0x" << std::hex << int{c.byte});
        EXPECT_EQ(bcdByteToNumber(c.byte), c.expected);
    }
    for (unsigned n = 0; n < 100; ++n) {
        ASSERT_EQ(bcdByteToNumber(numberToBcdByte(n)), n);
    }
}

TEST(Bcd, WordDecodingChecksTheLowByteFirst) {
    struct Case {
        std::uint16_t word;
        int expected;
    };
    const Case cases[] = {
        {0x0000, 0},      {0x1234, 1234}, {0x9999, 9999}, {0x0001, 1},      {0x0100, 100},    {0x12A4, 0xFFFF},
        {0x120F, 0xFFFF}, {0xA012, -1},   {0x1F12, -1},   {0xAAAA, 0xFFFF}, {0xFFFF, 0xFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "0x" << std::hex << c.word);
        EXPECT_EQ(bcdWordToNumber(c.word), c.expected);
        EXPECT_EQ(isBcdWord(c.word), c.expected >= 0 && c.expected <= 9999);
    }
}

TEST(Bcd, WordWithCheckHalf) {
    EXPECT_EQ(numberToBcdWordWithCheck(1234), 0x054D1234u); // 1234 + 123 = 1357 = 0x054D
    EXPECT_EQ(numberToBcdWordWithCheck(0), 0x007B0000u);
    EXPECT_EQ(numberToBcdWordWithCheck(9999), 0x278A9999u);
    for (int n = 0; n <= 9999; ++n) {
        const std::uint32_t v = numberToBcdWordWithCheck(n);
        ASSERT_TRUE(isValidBcdWordWithCheck(v)) << n;
        ASSERT_EQ(bcdWordWithCheckToNumber(v), n);
        ASSERT_EQ(bcdWordToNumber(static_cast<std::uint16_t>(v)), n);
    }
}

TEST(Bcd, NumbersOutsideFourDigitsAreClamped) {
    EXPECT_EQ(numberToBcdWord(-5), 0x0000);
    EXPECT_EQ(numberToBcdWord(10000), 0x9999);
    EXPECT_EQ(numberToBcdWordWithCheck(123456), numberToBcdWordWithCheck(9999));
    EXPECT_EQ(numberToBcdWordWithCheck(-1), numberToBcdWordWithCheck(0));
}

TEST(Bcd, CheckHalfValidity) {
    struct Case {
        std::uint32_t value;
        bool valid;
    };
    const Case cases[] = {
        {0x054D1234, true},
        {0x054C1234, false}, // check half one off
        {0x00001234, false}, // check half missing
        {0xFFFFFFFF, false}, // erased memory
        {0x00000000, false},
        {0x007B0000, true},
        // An invalid high byte decodes to -1, so a naive "-1 + 123" check would accept a check half of 122.
        {0x007AA012, false},
        // An invalid low byte decodes to 0xFFFF; 0xFFFF + 123 does not fit the high half, but stay explicit.
        {0x007A12A4, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "0x" << std::hex << c.value);
        EXPECT_EQ(isValidBcdWordWithCheck(c.value), c.valid);
    }
}

TEST(Bcd, WordToText) {
    EXPECT_EQ(bcdWordToText(0x1234), "1234");
    EXPECT_EQ(bcdWordToText(0x0042), "0042");
    EXPECT_EQ(bcdWordToText(0x0000), "0000");
    // Invalid words print their markers, so a damaged code is visible rather than shown as a plausible value.
    EXPECT_EQ(bcdWordToText(0x12A4), "65535");
    EXPECT_EQ(bcdWordToText(0xA012), "-0001");
}

} // namespace
} // namespace tolvane
