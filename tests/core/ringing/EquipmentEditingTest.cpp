// The rules of the hammer and clock editors and of the bell chooser.

#include "ringing/EquipmentEditing.h"
#include "ringing/TowerClockTable.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(BellChooser, RowsNameEachBellWithTheHammerThatStrikesIt) {
    HammerTable hammers;
    ASSERT_TRUE(hammers.setLinkedBell(0, 1)); // hammer 1 strikes bell 2
    ASSERT_TRUE(hammers.setLinkedBell(3, 4)); // hammer 4 strikes bell 5
    const std::vector<ChooserRow> rows = equipment::bellRows(hammers);
    ASSERT_EQ(rows.size(), 6U);
    EXPECT_EQ(rows[0].label, (LabelText{109, 0}));
    EXPECT_FALSE(rows[0].user);
    for (int bell = 0; bell < 5; ++bell) {
        SCOPED_TRACE(bell);
        EXPECT_EQ(rows[static_cast<std::size_t>(bell) + 1].label, (LabelText{110, bell + 1}));
    }
    EXPECT_EQ(rows[2].user, (LabelText{534, 1}));
    EXPECT_EQ(rows[5].user, (LabelText{534, 4}));
    EXPECT_FALSE(rows[1].user);
    EXPECT_EQ(equipment::bellRowOf(0xFF), 0);
    EXPECT_EQ(equipment::bellRowOf(2), 3);
    EXPECT_EQ(equipment::bellRowOf(7), -1);
}

TEST(BellChooser, OkRefusesNothingChosenAndABellAnotherHammerStrikes) {
    HammerTable hammers;
    ASSERT_TRUE(hammers.setLinkedBell(0, 1)); // hammer 1 strikes bell 2
    ASSERT_TRUE(hammers.setLinkedBell(2, 3)); // hammer 3 strikes bell 4
    struct Case {
        const char* what;
        int hammer;
        std::uint8_t current;
        int row;
        ChoiceOutcome outcome;
    };
    const Case cases[] = {
        {"nothing selected", 2, 3, -1, {114, -1}},
        {"bell 2 of hammer 1 for hammer 3", 2, 3, 2, {115, -1}},
        {"its own bell again", 2, 3, 4, {0, 3}},
        {"a free bell", 2, 3, 1, {0, 0}},
        {"none", 2, 3, 0, {0, 0xFF}},
        {"hammer 1 keeps bell 2", 0, 1, 2, {0, 1}},
        {"a hammer without a bell takes a free one", 4, 0xFF, 5, {0, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(equipment::bellChoice(hammers, c.hammer, c.current, c.row), c.outcome);
    }
}

TEST(ClockEditor, TypeListPositions) {
    for (int stored : {0, 1, 6, 0xFF}) {
        EXPECT_EQ(equipment::clockTypePosition(static_cast<std::uint8_t>(stored)), 0) << stored;
    }
    for (int type = 2; type <= 5; ++type) {
        EXPECT_EQ(equipment::clockTypePosition(static_cast<std::uint8_t>(type)), type - 1);
    }
    for (int position = 0; position < 5; ++position) {
        EXPECT_EQ(equipment::clockTypeOfPosition(position), position + 1);
    }
    EXPECT_EQ(equipment::ClockTypeTexts, (std::array<int, 5>{285, 286, 456, 287, 813}));
}

TEST(ClockEditor, ControlsAndPulseRangeOfEachType) {
    struct Case {
        int type;
        bool relaysAB, pulse;
        int pulseMax;
        bool gap, single, radios, type5;
        int contactText;
        std::array<int, 3> radioTexts;
    };
    const Case cases[] = {
        {1, true, true, 60, false, false, true, false, 291, {708, 816, 817}},
        {2, true, true, 30, false, false, true, false, 291, {708, 816, 817}},
        {3, true, true, 50, true, false, true, false, 291, {708, 816, 817}},
        {4, false, false, 0, false, true, false, false, 291, {708, 816, 817}},
        {5, true, true, 30, false, false, true, true, 814, {820, 818, 819}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const equipment::ClockControls shown = equipment::clockControls(c.type);
        EXPECT_EQ(shown.relaysAB, c.relaysAB);
        EXPECT_EQ(shown.pulse, c.pulse);
        EXPECT_EQ(shown.pulseMax, c.pulseMax);
        EXPECT_EQ(shown.gap, c.gap);
        EXPECT_EQ(shown.singleRelay, c.single);
        EXPECT_EQ(shown.modeRadios, c.radios);
        EXPECT_EQ(shown.type5Modes, c.type5);
        EXPECT_EQ(shown.contactText, c.contactText);
        EXPECT_EQ(shown.radioTexts, c.radioTexts);
    }
}

TEST(ClockEditor, ShiftShownAsSignHoursAndMinutes) {
    EXPECT_EQ(equipment::shownOffset(-90), (equipment::ShownOffset{true, 1, 30}));
    EXPECT_EQ(equipment::shownOffset(0), (equipment::ShownOffset{false, 0, 0}));
    EXPECT_EQ(equipment::shownOffset(719), (equipment::ShownOffset{false, 11, 59}));
    EXPECT_EQ(equipment::shownOffset(-5), (equipment::ShownOffset{true, 0, 5}));
    TowerClockTable clocks;
    clocks.setOffset(0, true, 1, 30);
    EXPECT_EQ(clocks.record(0).offsetMinutes(), -90);
}

TEST(ClockEditor, ModePairFollowsItsBit) {
    EXPECT_TRUE(equipment::firstModeChosen(0x10, false));
    EXPECT_FALSE(equipment::firstModeChosen(0x20, false));
    EXPECT_TRUE(equipment::firstModeChosen(0x20, true));
    EXPECT_FALSE(equipment::firstModeChosen(0xDF, true));
}

TEST(ClockLock, BitThreeOfTheFlagsWithoutAClockMark) {
    TowerClockTable clocks;
    ASSERT_EQ(clocks.record(0).clockFlags(), 0xFF);
    EXPECT_TRUE(clocks.setClockLock(0, false));
    EXPECT_EQ(clocks.record(0).clockFlags(), 0xF7);
    EXPECT_FALSE(clocks.setClockLock(0, false)) << "no change the second time";
    EXPECT_EQ(clocks.changeMark(0), 0U) << "the settings page marks the lock in the general settings";
    EXPECT_TRUE(clocks.setClockLock(0, true));
    EXPECT_EQ(clocks.record(0).clockFlags(), 0xFF);
}

} // namespace
} // namespace tolvane
