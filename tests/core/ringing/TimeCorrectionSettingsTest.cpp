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
    t.resetDefaults();
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
        std::uint32_t modified = 0;
        t.setWinterOffset(c.hours, c.negative, modified);
        EXPECT_EQ(t.u8(TC::WinterOffset), c.stored);
        EXPECT_EQ(modified, c.stored == 2 ? 0u : TC::MarkWinterOffset);
    }
    TC t;
    std::uint32_t modified = 0;
    t.setWeeklyDrift(7, true, modified);
    EXPECT_EQ(t.weeklyDriftSeconds(), -7);
    EXPECT_EQ(modified, TC::MarkWeeklyDrift);
}

TEST(TimeCorrectionSettings, EachSetterMarksItsOwnBitOnlyOnChange) {
    TC t;
    std::uint32_t modified = 0;
    t.setSummerOffset(2.0, false, modified);
    t.setSyncStartHour(1, modified);
    t.setSyncFrameCount(4, modified);
    t.setSyncSource(0, modified);
    t.setCorrectionActivityRadio(1, modified);
    t.setAutoTimeChange(true, modified);
    t.setSyncAfterPowerOn(true, modified);
    EXPECT_EQ(modified, 0u);

    struct Case {
        void (*edit)(TC&, std::uint32_t&);
        std::uint32_t bit;
    };
    const Case cases[] = {
        {[](TC& s, std::uint32_t& m) { s.setSyncSource(1, m); }, 1u << 0},
        {[](TC& s, std::uint32_t& m) { s.setSummerOffset(1.0, false, m); }, 1u << 1},
        {[](TC& s, std::uint32_t& m) { s.setWinterOffset(0.0, false, m); }, 1u << 2},
        {[](TC& s, std::uint32_t& m) { s.setCorrectionActivityRadio(2, m); }, 1u << 3},
        {[](TC& s, std::uint32_t& m) { s.setSyncStartHour(2, m); }, 1u << 4},
        {[](TC& s, std::uint32_t& m) { s.setSyncStartMinute(30, m); }, 1u << 5},
        {[](TC& s, std::uint32_t& m) { s.setSyncStopHour(5, m); }, 1u << 6},
        {[](TC& s, std::uint32_t& m) { s.setSyncStopMinute(15, m); }, 1u << 7},
        {[](TC& s, std::uint32_t& m) { s.setSyncFrameCount(9, m); }, 1u << 8},
        {[](TC& s, std::uint32_t& m) { s.setAutoTimeChange(false, m); }, 1u << 9},
        {[](TC& s, std::uint32_t& m) { s.setSyncAfterPowerOn(false, m); }, 1u << 10},
        {[](TC& s, std::uint32_t& m) { s.setWeeklyDrift(3, false, m); }, 1u << 11},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        SCOPED_TRACE(k);
        TC s;
        std::uint32_t m = 0;
        cases[k].edit(s, m);
        EXPECT_EQ(m, cases[k].bit);
        for (std::size_t i = 9; i < TC::Size; ++i) {
            ASSERT_EQ(s.u8(i), 0xFF) << i;
        }
    }
}

TEST(TimeCorrectionSettings, FlagEditsKeepTheBitsWithoutMeaning) {
    TC t;
    std::uint32_t modified = 0;
    t.setSyncSource(1, modified);
    EXPECT_EQ(t.syncFlags(), 0xFB);
    t.setCorrectionActivityRadio(0, modified);
    EXPECT_EQ(t.correctionActivity(), 1);
    EXPECT_EQ(t.syncFlags(), 0xF7);
    t.setAutoTimeChange(false, modified);
    t.setSyncAfterPowerOn(false, modified);
    EXPECT_EQ(t.syncFlags(), 0xD5); // bits 0, 6 and 7 untouched
}

} // namespace
} // namespace tolvane
