#include "ringing/TowerClockTable.h"
#include "ringing/OutputMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

namespace tolvane {
namespace {

TEST(TowerClockTable, ResetGivesDefaultsByteForByte) {
    TowerClockTable t;
    for (int c = 0; c < TowerClockTable::Count; ++c) {
        SCOPED_TRACE(c);
        std::array<std::uint8_t, 62> expected{};
        expected.fill(0xFF);
        expected[33] = 1; // type 1
        // Words at 34, 36, 38, 40 (little-endian): no shift, 8 s pulse, 1.0 s lengthened pulse, 0.3 s gap.
        const std::uint8_t words[] = {0, 0, 8, 0, 10, 0, 3, 0};
        std::copy(std::begin(words), std::end(words), expected.begin() + 34);
        const auto got = t.record(c).bytes();
        for (std::size_t off = 0; off < expected.size(); ++off) {
            EXPECT_EQ(got[off], expected[off]) << "offset " << off;
        }
        EXPECT_TRUE(t.record(c).clockOff());
    }
    EXPECT_FALSE(t.isModified());
}

TEST(TowerClockTable, ResetItemRewritesEveryByteAndClearsTheMark) {
    TowerClockTable t;
    ClockRecord r = t.record(1);
    r.fill(0x12);
    t.acceptEdit(1, r, TowerClockTable::MarkPulse);
    t.setPulseSeconds(0, 20);
    t.resetItem(1);
    EXPECT_EQ(t.record(1), TowerClockTable().record(1));
    EXPECT_EQ(t.changeMark(1), 0u);
    EXPECT_EQ(t.changeMark(0), TowerClockTable::MarkPulse);
}

TEST(TowerClockTable, ImageCarriesTheFourWordsBigEndian) {
    TowerClockTable t;
    t.setOffset(1, true, 1, 30); // -90 = 0xFFA6
    t.setPulseSeconds(1, 0x0102);
    t.setLongPulseTenths(1, 0x0304);
    t.setGapTenths(1, 0x0506);
    std::vector<std::uint8_t> image(TowerClockTable::ImageSize, 0xFF);
    t.packImage(image);
    const std::size_t c = 62;
    const std::uint8_t expected[] = {0xFF, 0xA6, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(image[c + 34 + k], expected[k]) << k;
    }
    EXPECT_EQ(image[c + 33], 1);
    EXPECT_EQ(image[36], 0x00); // clock 1: pulse 8 s
    EXPECT_EQ(image[37], 0x08);

    TowerClockTable back;
    back.unpackImage(image);
    EXPECT_EQ(back.record(1), t.record(1));
    EXPECT_EQ(back.record(1).offsetMinutes(), -90);
    EXPECT_EQ(back.record(0), t.record(0));
}

TEST(TowerClockTable, OffsetIsSignedMinutesAndMarksItsParts) {
    struct Case {
        bool negative;
        int hours, minutes;
        std::int16_t stored;
        std::uint32_t bits;
    };
    const Case cases[] = {
        {true, 1, 30, -90, TowerClockTable::MarkOffsetHours | TowerClockTable::MarkOffsetMinutes},
        {false, 0, 0, 0, 0},
        {true, 0, 0, 0, 0},
        {false, 2, 0, 120, TowerClockTable::MarkOffsetHours},
        {false, 0, 45, 45, TowerClockTable::MarkOffsetMinutes},
        {false, 1000, 0, 32767, TowerClockTable::MarkOffsetHours | TowerClockTable::MarkOffsetMinutes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.negative ? "-" : "+") << c.hours << ":" << c.minutes);
        TowerClockTable t;
        t.setOffset(0, c.negative, c.hours, c.minutes);
        EXPECT_EQ(t.record(0).offsetMinutes(), c.stored);
        EXPECT_EQ(t.changeMark(0), c.bits);
    }
}

TEST(TowerClockTable, FlippingOnlyTheSignOfTheShiftStillMarksIt) {
    TowerClockTable t;
    t.setOffset(0, true, 1, 30);
    t.clearModified();
    t.setOffset(0, false, 1, 30);
    EXPECT_EQ(t.record(0).offsetMinutes(), 90);
    EXPECT_TRUE(t.isModified());
    EXPECT_EQ(t.changeMark(0), TowerClockTable::MarkOffsetHours);
}

TEST(TowerClockTable, FlagSettersKeepTheOtherBits) {
    TowerClockTable t;
    t.setClockEnabled(0, true);
    EXPECT_EQ(t.record(0).clockFlags(), 0xFB);
    t.setCorrectionContactUsed(0, true);
    EXPECT_EQ(t.record(0).clockFlags(), 0xF9);
    EXPECT_EQ(t.changeMark(0), TowerClockTable::MarkEnabled | TowerClockTable::MarkContact);
    t.setTwelveHourMode(0, false);
    t.setType5FirstMode(0, false);
    EXPECT_EQ(t.record(0).clockFlags(), 0xC9);
    EXPECT_TRUE(t.record(0).clockLock()); // bit 3 is the settings page's and stays as it was
    EXPECT_NE(t.changeMark(0) & TowerClockTable::MarkMode, 0u);
    t.clearModified();
    t.setClockEnabled(0, true);
    t.setTwelveHourMode(0, false);
    EXPECT_FALSE(t.isModified());
}

TEST(TowerClockTable, TypedTenthsAreTruncated) {
    TowerClockTable t;
    t.setGapSeconds(0, 0.3);
    EXPECT_EQ(t.record(0).gapTenths(), 3);
    EXPECT_EQ(t.changeMark(0), 0u);
    t.setGapSeconds(0, 0.75);
    EXPECT_EQ(t.record(0).gapTenths(), 7);
    t.setLongPulseSeconds(0, 2.3);
    EXPECT_EQ(t.record(0).longPulseTenths(), 23);
    EXPECT_EQ(t.changeMark(0), TowerClockTable::MarkGap | TowerClockTable::MarkLongPulse);
}

TEST(TowerClockTable, ShownTypeAndPulseRange) {
    TowerClockTable t;
    const std::pair<int, int> shown[] = {{0, 1}, {1, 1}, {2, 2}, {5, 5}, {6, 1}, {0xFF, 1}};
    for (const auto& [stored, expected] : shown) {
        t.setClockType(0, stored);
        EXPECT_EQ(t.shownType(0), expected) << stored;
    }
    EXPECT_EQ(TowerClockTable::pulseMaximum(1), 60);
    EXPECT_EQ(TowerClockTable::pulseMaximum(2), 30);
    EXPECT_EQ(TowerClockTable::pulseMaximum(3), 50);
    EXPECT_EQ(TowerClockTable::pulseMaximum(4), 0);
    EXPECT_EQ(TowerClockTable::pulseMaximum(5), 30);
}

class ClockValidation : public testing::Test {
protected:
    ClockValidation() { clocks.setReferences(&outputs); }
    IssueList run() const {
        IssueList issues;
        clocks.validate(issues);
        return issues;
    }
    OutputMap outputs;
    TowerClockTable clocks;
};

TEST_F(ClockValidation, AResetClockIsSwitchedOffAndReportsNothing) {
    clocks.setPulseSeconds(0, 0);
    EXPECT_TRUE(run().empty());
}

TEST_F(ClockValidation, SwitchingOnWithoutRelaysGivesTwoNotes) {
    clocks.setClockEnabled(0, true);
    const IssueList expected{{25, 0, 7, 2}, {26, 0, 7, 2}};
    EXPECT_EQ(run(), expected);
    ASSERT_TRUE(outputs.chooseRelay(OutputMapRecord::ClockRelayA, 0));
    ASSERT_TRUE(outputs.chooseRelay(OutputMapRecord::ClockRelayB, 1));
    EXPECT_TRUE(run().empty());
}

TEST_F(ClockValidation, WithoutTheOutputMapTheRelayRulesAreSkipped) {
    TowerClockTable lone;
    lone.setClockEnabled(1, true);
    lone.setPulseSeconds(1, 61);
    IssueList issues;
    lone.validate(issues);
    const IssueList expected{{24, 1, 7, 0}};
    EXPECT_EQ(issues, expected);
}

TEST_F(ClockValidation, PulseRangeFollowsTheType) {
    struct Case {
        int type, pulse;
        bool reported;
    };
    const Case cases[] = {
        {1, 60, false}, {1, 61, true}, {1, 0, true},    {2, 30, false}, {2, 31, true}, {3, 50, false},
        {3, 51, true},  {4, 0, false}, {4, 999, false}, {5, 60, false}, {5, 61, true}, {0xFF, 60, false},
    };
    ASSERT_TRUE(outputs.chooseRelay(OutputMapRecord::ClockRelayA + 1, 0));
    ASSERT_TRUE(outputs.chooseRelay(OutputMapRecord::ClockRelayB + 1, 1));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " pulse " << c.pulse);
        clocks.setClockEnabled(1, true);
        clocks.setClockType(1, c.type);
        clocks.setPulseSeconds(1, c.pulse);
        const IssueList issues = run();
        if (c.reported) {
            const IssueList expected{{24, 1, 7, 0}};
            EXPECT_EQ(issues, expected);
        } else {
            EXPECT_TRUE(issues.empty());
        }
    }
}

TEST_F(ClockValidation, RulesComeInRecordOrderThenTableOrder) {
    for (int c = 0; c < 2; ++c) {
        clocks.setClockEnabled(c, true);
    }
    clocks.setClockType(0, 2);
    clocks.setPulseSeconds(0, 31);
    clocks.setGapTenths(0, 2); // the gap matters for type 3 only
    clocks.setClockType(1, 3);
    clocks.setPulseSeconds(1, 0);
    clocks.setGapTenths(1, 11);
    const IssueList expected{{24, 0, 7, 0}, {25, 0, 7, 2}, {26, 0, 7, 2}, {24, 1, 7, 0}, {48, 1, 7, 0}};
    EXPECT_EQ(run(), expected);
    clocks.setGapTenths(1, 3);
    clocks.setPulseSeconds(1, 1);
    clocks.setClockEnabled(0, false);
    EXPECT_TRUE(run().empty());
}

// A negative shift travels in the project body as the PC's signed word.
TEST(TowerClockTable, ProjectBodyKeepsANegativeShiftInHostOrder) {
    TowerClockTable t;
    t.setOffset(0, true, 11, 59);
    t.setClockType(1, 4);
    std::vector<std::uint8_t> file;
    auto out = SectionArchive::forStoring(file);
    t.serialize(out);
    EXPECT_EQ(bytes::getU16LE(file, 4 + 34), static_cast<std::uint16_t>(-719));

    ByteReader reader(file);
    auto in = SectionArchive::forLoading(reader);
    TowerClockTable loaded;
    loaded.serialize(in);
    EXPECT_EQ(loaded.record(0), t.record(0));
    EXPECT_EQ(loaded.record(1), t.record(1));
}

} // namespace
} // namespace tolvane
