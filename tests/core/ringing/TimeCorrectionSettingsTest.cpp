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

class AstroFields : public testing::Test {
protected:
    AstroFields() { fields.resetDefaults(); }
    std::array<std::uint8_t, 8> raw{};
    AstroClockFields fields{std::span<std::uint8_t, 8>(raw)};
    std::uint64_t modified = 0;
};

TEST_F(AstroFields, DefaultsAndTheFirstPlace) {
    const std::array<std::uint8_t, 8> expected{0, 0, 0, 0, 0, 0, 0xFF, 0};
    EXPECT_EQ(raw, expected);
    fields.applyPlaceCoordinates();
    EXPECT_EQ(fields.longitudeDegrees(), 19);
    EXPECT_EQ(fields.longitudeMinutes(), 56);
    EXPECT_FALSE(fields.longitudeWest());
    EXPECT_EQ(fields.latitudeDegrees(), 50);
    EXPECT_EQ(fields.latitudeMinutes(), 4);
    EXPECT_FALSE(fields.latitudeSouth());
    EXPECT_TRUE(fields.useGps());
    EXPECT_TRUE(fields.onWhenDark());
    EXPECT_FALSE(fields.hiddenOptionTicked());
}

TEST_F(AstroFields, ChoosingPlacesCopiesTheirCoordinates) {
    ASSERT_TRUE(fields.choosePlace(24, modified)); // 0 deg 10' W, 51 deg 30' N
    EXPECT_EQ(raw[2], 0x80);
    EXPECT_EQ(raw[3], 10);
    EXPECT_EQ(raw[4], 51);
    EXPECT_EQ(raw[5], 30);
    EXPECT_EQ(raw[7], 24);
    EXPECT_EQ(modified, AstroClockFields::MarkLatitude | AstroClockFields::MarkLongitude);

    modified = 0;
    ASSERT_TRUE(fields.choosePlace(26, modified)); // by hand: the coordinates stay
    EXPECT_EQ(raw[7], 0xFF);
    EXPECT_EQ(raw[2], 0x80);
    EXPECT_EQ(raw[5], 30);
    EXPECT_EQ(fields.placeListPosition(), 26);
    EXPECT_EQ(modified, AstroClockFields::MarkLatitude | AstroClockFields::MarkLongitude);
    modified = 0;
    ASSERT_TRUE(fields.choosePlace(26, modified));
    EXPECT_EQ(modified, 0u);
    EXPECT_FALSE(fields.choosePlace(27, modified));
    EXPECT_EQ(raw[7], 0xFF);
}

TEST_F(AstroFields, PlaceTableSpotChecks) {
    const auto& p = AstroClockFields::places();
    EXPECT_EQ(p[13].longitudeDegrees, 0x86); // 6 deg 15' W
    EXPECT_EQ(p[18].longitudeDegrees, 0x89); // 9 deg 08' W
    EXPECT_EQ(p[18].longitudeMinutes, 8);
    EXPECT_EQ(p[22].longitudeDegrees, 0x83); // 3 deg 43' W
    EXPECT_EQ(p[25].longitudeDegrees, 30);
    EXPECT_EQ(p[25].latitudeMinutes, 28);
    EXPECT_EQ(p[8].latitudeDegrees, 60);
    EXPECT_EQ(p[8].latitudeMinutes, 8);
    for (const auto& place : p) {
        EXPECT_EQ(place.latitudeDegrees & 0x80, 0); // every place lies north
    }
}

TEST_F(AstroFields, CoordinatesByHand) {
    ASSERT_TRUE(fields.setLatitude(90, 10, false, modified));
    EXPECT_EQ(fields.latitudeDegrees(), 90);
    EXPECT_EQ(fields.latitudeMinutes(), 0);
    EXPECT_EQ(modified, AstroClockFields::MarkLatitude);

    ASSERT_TRUE(fields.setLatitude(33, 20, true, modified));
    EXPECT_EQ(raw[4], 0x80 | 33);
    ASSERT_TRUE(fields.setLongitude(120, 59, true, modified));
    EXPECT_EQ(raw[2], 0x80 | 120);
    EXPECT_EQ(raw[3], 59);
    EXPECT_EQ(modified, AstroClockFields::MarkLatitude | AstroClockFields::MarkLongitude);

    // 128-180 degrees do not fit beside the hemisphere bit: refused, nothing changes.
    const auto before = raw;
    EXPECT_FALSE(fields.setLongitude(150, 0, false, modified));
    EXPECT_FALSE(fields.setLongitude(180, 0, false, modified));
    EXPECT_FALSE(fields.setLatitude(-1, 0, false, modified));
    EXPECT_EQ(raw, before);
}

TEST_F(AstroFields, ShiftsAndFlags) {
    fields.setSunriseShift(90, true, modified);
    fields.setSunsetShift(15, false, modified);
    EXPECT_EQ(fields.sunriseShiftMinutes(), -90);
    EXPECT_EQ(fields.sunsetShiftMinutes(), 15);
    EXPECT_EQ(modified, AstroClockFields::MarkSunrise | AstroClockFields::MarkSunset);

    modified = 0;
    fields.setUseGps(false, modified);
    fields.setOnWhenDark(false, modified);
    fields.setHiddenOptionTicked(true, modified);
    EXPECT_EQ(raw[6], 0xF8);
    EXPECT_EQ(modified,
              AstroClockFields::MarkGps | AstroClockFields::MarkPolarity | AstroClockFields::MarkHiddenOption);
    modified = 0;
    fields.setUseGps(false, modified);
    EXPECT_EQ(modified, 0u);
}

} // namespace
} // namespace tolvane
