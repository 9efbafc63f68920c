#include "settings/AmplifierSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace tolvane {
namespace {

std::vector<std::uint8_t> toVector(std::span<const std::uint8_t> b) {
    return {b.begin(), b.end()};
}

TEST(AmplifierSettings, DefaultsAreSwitchingOffAndTenSecondsWithEverythingElseErased) {
    std::vector<std::uint8_t> expected(70, 0xFF);
    expected[2] = 10;
    expected[3] = 0;
    expected[4] = 10;
    expected[5] = 0;

    AmplifierSettings amp;
    EXPECT_EQ(toVector(amp.bytes()), expected);
    EXPECT_FALSE(amp.switchingOn());

    amp.fill(0x00);
    amp.reset();
    EXPECT_EQ(toVector(amp.bytes()), expected);
}

TEST(AmplifierSettings, SwitchingTouchesOnlyBitEightOfTheFlagWordAndMarksOnlyAChange) {
    AmplifierSettings amp;
    amp.setSwitchingOn(false);
    EXPECT_EQ(amp.changeMask(), 0u) << "already off";
    amp.setSwitchingOn(true);
    EXPECT_EQ(amp.flags(), 0xFEFF);
    EXPECT_TRUE(amp.switchingOn());
    EXPECT_EQ(amp.changeMask(), AmplifierSettings::MarkSwitching);

    amp.clearModified();
    amp.setU16(AmplifierSettings::FlagsOffset, 0x0000);
    EXPECT_TRUE(amp.switchingOn());
    amp.setSwitchingOn(false);
    EXPECT_EQ(amp.flags(), 0x0100);
    EXPECT_EQ(amp.changeMask(), AmplifierSettings::MarkSwitching);
}

TEST(AmplifierSettings, TimeSettersMarkTheirOwnBitOnlyWhenTheValueChanges) {
    AmplifierSettings amp;
    amp.setLeadTimeSeconds(10);
    amp.setSwitchOffDelaySeconds(10);
    EXPECT_FALSE(amp.isModified()) << "the defaults typed again";
    amp.setLeadTimeSeconds(60);
    EXPECT_EQ(amp.changeMask(), AmplifierSettings::MarkLeadTime);
    amp.setSwitchOffDelaySeconds(0x0102);
    EXPECT_EQ(amp.changeMask(), AmplifierSettings::MarkLeadTime | AmplifierSettings::MarkSwitchOffDelay);
    EXPECT_EQ(amp.leadTimeSeconds(), 60);
    EXPECT_EQ(amp.switchOffDelaySeconds(), 0x0102);
    EXPECT_EQ(amp.u8(4), 0x02);
    EXPECT_EQ(amp.u8(5), 0x01);
}

TEST(AmplifierSettings, CardFormReversesOnlyTheTwoTimeWordsAndLeavesTheBlockAlone) {
    AmplifierSettings amp;
    amp.setSwitchingOn(true);
    amp.setLeadTimeSeconds(10);
    amp.setSwitchOffDelaySeconds(0x0123);
    amp.setU8(69, 0x42);
    const ByteRecord<70> before = amp;

    std::array<std::uint8_t, 72> image{};
    image.fill(0xEE);
    amp.packImage(image);
    // The flag word keeps its order; lead time 10 reads 00 0A as the controller expects.
    EXPECT_EQ(image[0], 0xFF);
    EXPECT_EQ(image[1], 0xFE);
    EXPECT_EQ(image[2], 0x00);
    EXPECT_EQ(image[3], 0x0A);
    EXPECT_EQ(image[4], 0x01);
    EXPECT_EQ(image[5], 0x23);
    EXPECT_EQ(image[69], 0x42);
    EXPECT_EQ(image[70], 0xEE) << "packing wrote past the 70-byte block";
    EXPECT_EQ(static_cast<const ByteRecord<70>&>(amp), before);

    AmplifierSettings back;
    back.unpackImage(image);
    EXPECT_EQ(static_cast<const ByteRecord<70>&>(back), before);
}

TEST(AmplifierSettings, ShortBuffersAreRefused) {
    AmplifierSettings amp;
    std::array<std::uint8_t, 69> small{};
    EXPECT_THROW(amp.packImage(small), std::out_of_range);
    EXPECT_THROW(amp.unpackImage(small), std::out_of_range);
    EXPECT_TRUE(std::equal(amp.bytes().begin(), amp.bytes().end(), AmplifierSettings{}.bytes().begin()));
}

} // namespace
} // namespace tolvane
