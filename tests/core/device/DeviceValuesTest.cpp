#include "device/DeviceValues.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(DeviceValues, ReverseBitsMirrorsEveryBit) {
    EXPECT_EQ(reverseBits(0x01), 0x80);
    EXPECT_EQ(reverseBits(0x80), 0x01);
    EXPECT_EQ(reverseBits(0xA0), 0x05);
    EXPECT_EQ(reverseBits(0x3C), 0x3C);
    EXPECT_EQ(reverseBits(0x00), 0x00);
    EXPECT_EQ(reverseBits(0xFF), 0xFF);
    for (unsigned b = 0; b < 256; ++b) {
        const std::uint8_t r = reverseBits(static_cast<std::uint8_t>(b));
        for (unsigned bit = 0; bit < 8; ++bit) {
            ASSERT_EQ((b >> bit) & 1u, (r >> (7 - bit)) & 1u) << b << " bit " << bit;
        }
    }
}

TEST(DeviceValues, RangeTestIncludesBothBounds) {
    EXPECT_TRUE(isOutOfRange(-1, 0, 100));
    EXPECT_FALSE(isOutOfRange(0, 0, 100));
    EXPECT_FALSE(isOutOfRange(100, 0, 100));
    EXPECT_TRUE(isOutOfRange(101, 0, 100));
    EXPECT_TRUE(isOutOfRange(59'999u, 60'000u, 1'860'000u));
    EXPECT_FALSE(isOutOfRange(1'860'000u, 60'000u, 1'860'000u));
}

TEST(DeviceValues, TimeTexts) {
    struct Case {
        std::int64_t value;
        const char* minutes;    // from seconds
        const char* hundredths; // from hundredths
    };
    const Case cases[] = {
        {0, "00:00", "00:00.00"},     {5, "00:05", "00:00.05"},     {59, "00:59", "00:00.59"},
        {61, "01:01", "00:00.61"},    {6123, "102:03", "01:01.23"}, {599'999, "9999:59", "99:59.99"},
        {3'600, "60:00", "00:36.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(secondsToMinutesText(c.value), c.minutes);
        EXPECT_EQ(hundredthsToText(c.value), c.hundredths);
    }
}

TEST(DeviceValues, SplitSecondsIntoDaysHoursMinutesSeconds) {
    EXPECT_EQ(splitSeconds(0), (DayTime{0, 0, 0, 0}));
    EXPECT_EQ(splitSeconds(90'061), (DayTime{1, 1, 1, 1}));
    EXPECT_EQ(splitSeconds(86'399), (DayTime{0, 23, 59, 59}));
    EXPECT_EQ(splitSeconds(2'592'000), (DayTime{30, 0, 0, 0})); // the longest silence: 30 days
    EXPECT_EQ(splitSeconds(600), (DayTime{0, 0, 10, 0}));
}

} // namespace
} // namespace tolvane
