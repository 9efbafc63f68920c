#include "ringing/StepEditing.h"

#include "TextNumbers.h"
#include "ringing/StrikingSettings.h"

#include "SequenceSteps.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace tolvane {
namespace {

using namespace stepediting;

using testing_support::repeatStep;
using testing_support::timedStep;

// Sequence 2 (record 1): bells 1.00 s, pause 0.50 s, hammers 0.25 s, repeat 1-2 three times, hammers 0.50 s.
class StepRules : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(table.createSequence(), 1);
        for (const SequenceStep& s :
             {timedStep(StepKind::BellsA, 10), timedStep(StepKind::Pause, 5), timedStep(StepKind::Hammers, 2, 5),
              repeatStep(StepKind::RepeatCount, 0, 1, 3), timedStep(StepKind::Hammers, 5)}) {
            ASSERT_GT(table.insertStep(1, s, 0), 0);
        }
    }
    SequenceTable table;
};

TEST(StepKindList, OffersTheSixKindsInListOrder) {
    const std::array<StepKind, 6> expected{StepKind::BellsA, StepKind::BellsB,      StepKind::Hammers,
                                           StepKind::Pause,  StepKind::RepeatCount, StepKind::RepeatTime};
    for (int position = 0; position < 6; ++position) {
        EXPECT_EQ(kindAt(position), expected[static_cast<std::size_t>(position)]);
        EXPECT_EQ(kindPosition(expected[static_cast<std::size_t>(position)]), position);
    }
    EXPECT_EQ(kindPosition(StepKind::Unused6), -1);
    EXPECT_EQ(kindPosition(StepKind::End), -1);
    EXPECT_EQ(kindAt(6), StepKind::End);
    EXPECT_EQ(kindAt(-1), StepKind::End);
}

TEST(NewStep, IsAFreshBellsAStepWithBellOne) {
    const SequenceStep s = newStep();
    EXPECT_EQ(s.kindByte(), 0x3F);
    EXPECT_EQ(s.u8(1), 0xFF);
    EXPECT_EQ(s.unitMask(), 1);
    EXPECT_EQ(s.count(), 600);
    EXPECT_EQ(s.tenths(), 10);
    EXPECT_EQ(s.hundredths(), 0);
    EXPECT_EQ(s.ownHundredths(), 100u);
}

TEST(KindConversion, EachKindAsTheListSetsIt) {
    // From a bell step of 2.35 s with bells 2 and 4, range bytes 2.35 s reads as 0x17, 0x00.
    const SequenceStep from = timedStep(StepKind::BellsA, 23, 5, 0b01010);
    struct Case {
        StepKind kind;
        std::uint16_t tenths;
        std::uint8_t hundredths;
        std::uint16_t units;
        std::uint16_t count;
    };
    const Case cases[] = {
        {StepKind::BellsA, 23, 5, 0b01010, 600},    {StepKind::BellsB, 23, 5, 0b01010, 600},
        {StepKind::Hammers, 10, 0, 1, 600},         {StepKind::Pause, 10, 0, 0b01010, 600},
        {StepKind::RepeatCount, 0, 5, 0b01010, 1},  // first = last = 0 share the tenths bytes
        {StepKind::RepeatTime, 0, 5, 0b01010, 600}, // hundredths are cleared when OK reads the time fields
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        const SequenceStep s = converted(from, c.kind);
        EXPECT_EQ(s.kind(), c.kind);
        EXPECT_EQ(s.kindByte() & 0x1F, from.kindByte() & 0x1F) << "the low bits stay";
        EXPECT_EQ(s.tenths(), c.tenths);
        EXPECT_EQ(s.hundredths(), c.hundredths);
        EXPECT_EQ(s.unitMask(), c.units);
        EXPECT_EQ(s.count(), c.count);
    }
}

TEST(KindConversion, ABellStepNeverRingsNoBell) {
    // A pause whose unit bytes name no bell becomes a bell step with bell 1; bits above the five bells stay.
    const SequenceStep pause = timedStep(StepKind::Pause, 7, 0, 0x8000);
    const SequenceStep bells = converted(pause, StepKind::BellsB);
    EXPECT_EQ(bells.unitMask(), 0x8001);
    EXPECT_EQ(bells.tenths(), 7);
}

TEST(ShownStep, RepeatStepsAreCorrectedOthersShownAsStored) {
    struct Case {
        const char* what;
        SequenceStep stored;
        std::uint8_t first;
        std::uint8_t last;
        std::uint16_t count;
    };
    const Case cases[] = {
        {"reversed range", repeatStep(StepKind::RepeatCount, 4, 2, 5), 2, 2, 5},
        {"no repetitions", repeatStep(StepKind::RepeatCount, 0, 1, 0), 0, 1, 1},
        {"100 repetitions", repeatStep(StepKind::RepeatCount, 0, 1, 100), 0, 1, 1},
        {"99 repetitions", repeatStep(StepKind::RepeatCount, 0, 1, 99), 0, 1, 99},
        {"time is not a count", repeatStep(StepKind::RepeatTime, 3, 1, 1200), 1, 1, 1200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SequenceStep s = shown(c.stored);
        EXPECT_EQ(s.firstStep(), c.first);
        EXPECT_EQ(s.lastStep(), c.last);
        EXPECT_EQ(s.count(), c.count);
    }
    const SequenceStep pause = timedStep(StepKind::Pause, 3, 0, 0);
    EXPECT_EQ(shown(pause), pause);
}

TEST(PauseFieldsRule, ShownAndStored) {
    struct Case {
        std::uint16_t tenths;
        std::uint8_t hundredths;
        PauseFields fields;
    };
    const Case cases[] = {
        {10, 0, {0, 1, 0}},       {5, 4, {0, 0, 54}},        {600, 0, {1, 0, 0}},
        {35999, 9, {59, 59, 99}}, {65535, 9, {109, 13, 59}}, {0, 0, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tenths);
        const SequenceStep stored = timedStep(StepKind::Pause, c.tenths, c.hundredths);
        EXPECT_EQ(pauseFields(stored), c.fields);
        SequenceStep back = timedStep(StepKind::Pause, 1, 1);
        storePause(back, c.fields);
        EXPECT_EQ(back.tenths(), c.tenths);
        EXPECT_EQ(back.hundredths(), c.hundredths);
    }
}

TEST(PauseFieldsRule, TypedValuesOutsideTheFieldsStillStoreAWholeDuration) {
    struct Case {
        PauseFields typed;
        std::uint16_t tenths;
        std::uint8_t hundredths;
    };
    const Case cases[] = {
        {{0, 75, 0}, 750, 0},     // seconds beyond 59 add up
        {{0, 0, -5}, 0, 0},       // a negative duration is 0
        {{99, 99, 99}, 60399, 9}, // the widest the fields can be typed
        {{200, 0, 0}, 65535, 9},  // held at the largest duration a step holds
    };
    for (const Case& c : cases) {
        SequenceStep s = timedStep(StepKind::Pause, 1);
        storePause(s, c.typed);
        EXPECT_EQ(s.tenths(), c.tenths);
        EXPECT_EQ(s.hundredths(), c.hundredths);
    }
}

TEST(TimeFieldsRule, ShownAndStored) {
    EXPECT_EQ(timeFields(repeatStep(StepKind::RepeatTime, 0, 0, 600)), (TimeFields{10, 0}));
    EXPECT_EQ(timeFields(repeatStep(StepKind::RepeatTime, 0, 0, 65535)), (TimeFields{1092, 15}));
    EXPECT_EQ(typedRepeatSeconds({2, 30}), 150);
    EXPECT_EQ(typedRepeatSeconds({0, 0}), 1) << "at least a second";
    EXPECT_EQ(typedRepeatSeconds({9999, 59}), 65535);
    EXPECT_EQ(minutesFieldWidth(59), 2);
    EXPECT_EQ(minutesFieldWidth(99), 2);
    EXPECT_EQ(minutesFieldWidth(109), 3);
    EXPECT_EQ(minutesFieldWidth(1092), 4);
}

TEST(UnitBoxes, NeverLeaveAllFiveClear) {
    struct Case {
        std::uint16_t mask;
        int unit;
        bool on;
        std::uint16_t result;
    };
    const Case cases[] = {
        {0b00001, 2, true, 0b00101},  {0b00101, 0, false, 0b00100}, {0b00100, 2, false, 0b00001},
        {0b00001, 0, false, 0b00001}, {0xFFE0, 4, false, 0xFFE1},   {0xFFFF, 3, false, 0xFFF7},
        {0b00001, 7, true, 0b00001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(toggledUnit(c.mask, c.unit, c.on), c.result);
    }
    EXPECT_TRUE(unitChosen(0b10000, 4));
    EXPECT_FALSE(unitChosen(0xFFE0, 0));
    EXPECT_FALSE(unitChosen(0xFFFF, 5));
}

TEST_F(StepRules, OkRefusesInTheOrderOfTheRules) {
    struct Case {
        const char* what;
        SequenceStep step;
        int own;
        long long repetitions;
        int refusal;
    };
    // Steps 0-4 are defined, step 3 is a repeat step; a new step would take position 5.
    const Case cases[] = {
        {"sound range", repeatStep(StepKind::RepeatCount, 0, 1, 1), 5, 4, 0},
        {"sound range for a time", repeatStep(StepKind::RepeatTime, 1, 2, 1), 5, 4, 0},
        {"more than 99", repeatStep(StepKind::RepeatCount, 0, 1, 1), 5, 100, text::TooManyRepetitions},
        {"reversed", repeatStep(StepKind::RepeatCount, 2, 1, 1), 5, 3, text::RangeReversed},
        {"reversed wins over 99", repeatStep(StepKind::RepeatCount, 2, 1, 1), 5, 100, text::RangeReversed},
        {"holds a repeat", repeatStep(StepKind::RepeatCount, 2, 4, 1), 5, 3, text::RangeHoldsRepeat},
        {"starts at itself", repeatStep(StepKind::RepeatTime, 2, 2, 1), 2, 3, text::RangeStartsAtItself},
        {"ends at itself", repeatStep(StepKind::RepeatCount, 1, 2, 1), 2, 3, text::RangeEndsAtItself},
        {"undefined step", repeatStep(StepKind::RepeatCount, 4, 6, 1), 9, 3, text::RangeHoldsUndefined},
        {"itself first, then undefined", repeatStep(StepKind::RepeatCount, 5, 6, 1), 5, 3, text::RangeStartsAtItself},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SequenceStep step = c.step;
        TypedFields typed;
        typed.repetitions = c.repetitions;
        typed.time = {1, 5};
        EXPECT_EQ(accept(table, 1, c.own, typed, step), c.refusal);
    }
}

TEST_F(StepRules, OkReadsTheFieldsOfTheKind) {
    TypedFields typed;
    typed.pause = {0, 2, 35};
    typed.time = {1, 30};
    typed.repetitions = 7;

    SequenceStep bells = timedStep(StepKind::BellsB, 1, 0, 0b11);
    EXPECT_EQ(accept(table, 1, 5, typed, bells), 0);
    EXPECT_EQ(bells.tenths(), 23);
    EXPECT_EQ(bells.hundredths(), 5);
    EXPECT_EQ(bells.unitMask(), 0b11);

    SequenceStep times = repeatStep(StepKind::RepeatCount, 0, 1, 1);
    EXPECT_EQ(accept(table, 1, 5, typed, times), 0);
    EXPECT_EQ(times.count(), 7);
    typed.repetitions = 0;
    EXPECT_EQ(accept(table, 1, 5, typed, times), 0);
    EXPECT_EQ(times.count(), 1) << "no repetition is stored as one, as it would be shown";

    SequenceStep forATime = repeatStep(StepKind::RepeatTime, 0, 1, 600);
    forATime.setHundredths(4);
    EXPECT_EQ(accept(table, 1, 5, typed, forATime), 0);
    EXPECT_EQ(forATime.count(), 90);
    EXPECT_EQ(forATime.hundredths(), 0);
    EXPECT_EQ(forATime.firstStep(), 0);
    EXPECT_EQ(forATime.lastStep(), 1);
}

TEST_F(StepRules, TheRangeChooserOffersOnlyStepsBeforeTheRepeatStep) {
    struct Case {
        const char* what;
        int own;
        std::uint8_t first;
        std::uint8_t last;
        std::vector<int> firsts;
        std::vector<int> lasts;
    };
    const Case cases[] = {
        {"new step at the end", 5, 0, 4, {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}},
        {"first bounded by last", 5, 1, 2, {0, 1, 2}, {1, 2, 3, 4}},
        {"the repeat step at 3 itself", 3, 0, 1, {0, 1}, {0, 1, 2}},
        {"at position 0 nothing", 0, 0, 0, {}, {}},
        {"first beyond the repeat step", 2, 4, 4, {0, 1}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SequenceStep step = repeatStep(StepKind::RepeatCount, c.first, c.last, 1);
        EXPECT_EQ(firstStepChoices(table, 1, c.own, step), c.firsts);
        EXPECT_EQ(lastStepChoices(table, 1, c.own, step), c.lasts);
    }
    EXPECT_EQ(stepNumberText(0), "<1>");
    EXPECT_EQ(stepNumberText(154), "<155>");
}

TEST(NewStepPlace, AfterTheSelectedRowOrAtTheEnd) {
    struct Case {
        int selected;
        int steps;
        int insert;
        int own;
    };
    const Case cases[] = {{-1, 0, 0, 0}, {-1, 4, 0, 4}, {0, 4, 1, 1}, {3, 4, 4, 4}, {1, 4, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        EXPECT_EQ(insertPosition(c.selected), c.insert);
        EXPECT_EQ(ownPosition(c.selected, c.steps), c.own);
    }
}

TEST_F(StepRules, ABellStepIsRefusedInASequenceTheQuartersPlay) {
    // The factory quarters play sequence 1 (record 0) only.
    StrikingSettings striking;
    striking.setReferences(&table, nullptr);
    const SequenceStep bells = timedStep(StepKind::BellsB, 10);
    const SequenceStep hammers = timedStep(StepKind::Hammers, 10);
    EXPECT_EQ(bellStepRefusal(striking, 0, bells), text::BellStepInQuarters);
    EXPECT_EQ(bellStepRefusal(striking, 0, hammers), 0);
    EXPECT_EQ(bellStepRefusal(striking, 1, bells), 0);
    // Quarter 4 alone still plays it, until its count drops to 0.
    for (int quarter = 0; quarter < 3; ++quarter) {
        striking.setSeriesCount(quarter, 0);
    }
    striking.setSeriesCount(3, 4);
    EXPECT_EQ(bellStepRefusal(striking, 0, bells), text::BellStepInQuarters);
    striking.setSeriesCount(3, 0);
    EXPECT_EQ(bellStepRefusal(striking, 0, bells), 0);
}

} // namespace
} // namespace tolvane
