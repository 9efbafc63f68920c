#include "ringing/StrikingEditing.h"

#include "TextNumbers.h"
#include "ringing/SequenceTable.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using namespace strikingediting;

TEST(StrikingPageRules, HourControlsFollowTheMode) {
    EXPECT_EQ(hourModeView(0), (HourModeView{false, true, false}));
    EXPECT_EQ(hourModeView(1), (HourModeView{true, true, false}));
    EXPECT_EQ(hourModeView(2), (HourModeView{true, false, true}));
}

TEST(StrikingPageRules, ShownValues) {
    StrikingSettings striking;
    striking.setStrokeIntervalTenths(35, 2);
    const StrikingRecord& r = striking.record();
    EXPECT_EQ(strokeInterval(r, 0), 20);
    EXPECT_EQ(strokeInterval(r, 1), 20);
    EXPECT_EQ(strokeInterval(r, 2), 35);
    struct Case {
        unsigned tenths;
        const char* text;
    };
    for (const Case& c : {Case{20, "2.0"}, Case{4, "0.4"}, Case{0, "0.0"}, Case{255, "25.5"}, Case{65535, "6553.5"}}) {
        EXPECT_EQ(tenthsText(c.tenths), c.text);
    }
    EXPECT_EQ(delayFields(50), (DelayFields{0, 5}));
    EXPECT_EQ(delayFields(10), (DelayFields{0, 1}));
    EXPECT_EQ(delayFields(5990), (DelayFields{9, 59}));
    EXPECT_EQ(delayFields(655), (DelayFields{1, 5}));
}

TEST(StrikingPageRules, SeriesBelowTheCountCanBeChosen) {
    StrikingSettings striking;
    striking.setSeriesCount(2, 1);
    const StrikingRecord& r = striking.record();
    EXPECT_TRUE(seriesEnabled(r, 2, 0));
    EXPECT_FALSE(seriesEnabled(r, 2, 1));
    EXPECT_TRUE(seriesEnabled(r, 3, 3));
    EXPECT_FALSE(seriesEnabled(r, 0, 1));
    striking.setSeriesCount(1, 9);
    EXPECT_TRUE(seriesEnabled(r, 1, 3)) << "a count beyond four still plays the four series";
    EXPECT_FALSE(seriesEnabled(r, 1, 4));
}

TEST(StrikingPageRules, AQuarterRefusesASequenceWithBellSteps) {
    SequenceTable sequences;
    const int bells = sequences.createSequence();
    SequenceStep step;
    step.makeFresh();
    step.setKind(StepKind::BellsB);
    step.setUnitMask(1);
    ASSERT_GT(sequences.insertStep(bells, step, 0), 0);
    EXPECT_EQ(seriesRefusal(sequences, 0), 0);
    EXPECT_EQ(seriesRefusal(sequences, bells), text::SequenceHasBells);
    EXPECT_EQ(seriesRefusal(sequences, 30), 0) << "an unused record holds no steps";
}

} // namespace
} // namespace tolvane
