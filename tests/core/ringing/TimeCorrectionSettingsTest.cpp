#include "ringing/TimeCorrectionSettings.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace tolvane {
namespace {

using TC = TimeCorrectionSettings;

TEST(TimeCorrectionSettings, DefaultsByteForByte) {
    TC t;
    t.fill(0x00);
    t.reset();
    const std::array<std::uint8_t, 9> head{4, 2, 0, 1, 0, 4, 4, 0xEB, 0};
    for (std::size_t i = 0; i < TC::Size; ++i) {
        EXPECT_EQ(t.u8(i), i < head.size() ? head[i] : 0xFF) << i;
    }
    EXPECT_EQ(TC(), t);
}

TEST(TimeCorrectionSettings, DefaultsReadAsANewProjectShowsThem) {
    const TC t;
    EXPECT_EQ(t.summerOffsetHalfHours(), 4);
    EXPECT_EQ(t.winterOffsetHalfHours(), 2);
    EXPECT_EQ(t.syncStartHour(), 1);
    EXPECT_EQ(t.syncStartMinute(), 0);
    EXPECT_EQ(t.syncStopHour(), 4);
    EXPECT_EQ(t.syncStopMinute(), 0);
    EXPECT_EQ(t.syncFrameCount(), 4);
    EXPECT_TRUE(t.syncAfterPowerOn());
    EXPECT_EQ(t.correctionActivity(), 2);
    EXPECT_EQ(t.syncSource(), 0);
    EXPECT_TRUE(t.autoTimeChange());
    EXPECT_EQ(t.weeklyDriftSeconds(), 0);
}

TEST(TimeCorrectionSettings, SignedFieldsAsTyped) {
    struct Case {
        double hours;
        bool negative;
        std::uint8_t stored;
    };
    const Case cases[] = {{1.5, true, 0xFD}, {2.0, false, 4}, {0.7, false, 1}, {12.0, true, 0xE8}, {500, false, 127}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hours);
        TC t;
        t.setWinterOffset(c.hours, c.negative);
        EXPECT_EQ(t.u8(TC::WinterOffset), c.stored);
        EXPECT_EQ(t.changeMask(), c.stored == 2 ? 0u : TC::MarkWinterOffset);
    }
    TC t;
    t.setWeeklyDrift(7, true);
    EXPECT_EQ(t.weeklyDriftSeconds(), -7);
    EXPECT_EQ(t.changeMask(), TC::MarkWeeklyDrift);
}

TEST(TimeCorrectionSettings, EachSetterMarksItsOwnBitOnlyOnChange) {
    TC t;
    t.setSummerOffset(2.0, false);
    t.setSyncStartHour(1);
    t.setSyncFrameCount(4);
    t.setSyncSource(0);
    t.setCorrectionActivityRadio(1);
    t.setAutoTimeChange(true);
    t.setSyncAfterPowerOn(true);
    EXPECT_EQ(t.changeMask(), 0u);
    EXPECT_FALSE(t.isModified());

    struct Case {
        void (*edit)(TC&);
        std::uint32_t bit;
    };
    const Case cases[] = {
        {[](TC& s) { s.setSyncSource(1); }, 1u << 0},
        {[](TC& s) { s.setSummerOffset(1.0, false); }, 1u << 1},
        {[](TC& s) { s.setWinterOffset(0.0, false); }, 1u << 2},
        {[](TC& s) { s.setCorrectionActivityRadio(2); }, 1u << 3},
        {[](TC& s) { s.setSyncStartHour(2); }, 1u << 4},
        {[](TC& s) { s.setSyncStartMinute(30); }, 1u << 5},
        {[](TC& s) { s.setSyncStopHour(5); }, 1u << 6},
        {[](TC& s) { s.setSyncStopMinute(15); }, 1u << 7},
        {[](TC& s) { s.setSyncFrameCount(9); }, 1u << 8},
        {[](TC& s) { s.setAutoTimeChange(false); }, 1u << 9},
        {[](TC& s) { s.setSyncAfterPowerOn(false); }, 1u << 10},
        {[](TC& s) { s.setWeeklyDrift(3, false); }, 1u << 11},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        SCOPED_TRACE(k);
        TC s;
        cases[k].edit(s);
        EXPECT_EQ(s.changeMask(), cases[k].bit);
        for (std::size_t i = 9; i < TC::Size; ++i) {
            ASSERT_EQ(s.u8(i), 0xFF) << i;
        }
    }
}

TEST(TimeCorrectionSettings, FlagEditsKeepTheBitsWithoutMeaning) {
    TC t;
    t.setSyncSource(1);
    EXPECT_EQ(t.syncFlags(), 0xFB);
    t.setCorrectionActivityRadio(0);
    EXPECT_EQ(t.correctionActivity(), 1);
    EXPECT_EQ(t.syncFlags(), 0xF7);
    t.setAutoTimeChange(false);
    t.setSyncAfterPowerOn(false);
    EXPECT_EQ(t.syncFlags(), 0xD5); // bits 0, 6 and 7 untouched
}

} // namespace
} // namespace tolvane
