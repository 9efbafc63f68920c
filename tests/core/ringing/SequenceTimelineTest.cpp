#include "ringing/SequenceTimeline.h"

#include "SequenceSteps.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace tolvane {
namespace {

using testing_support::repeatStep;
using testing_support::timedStep;

class LabelTexts final : public TextSource {
public:
    std::string text(int id) const override { return "T" + std::to_string(id); }
};

// Sequence 2 (record 1) made of `steps`.
SequenceTable tableWith(std::initializer_list<SequenceStep> steps) {
    SequenceTable table;
    EXPECT_EQ(table.createSequence(), 1);
    for (const SequenceStep& s : steps) {
        EXPECT_GT(table.insertStep(1, s, 0), 0);
    }
    return table;
}

std::vector<int> widths(const Timeline& line) {
    std::vector<int> w;
    for (const TimelineBlock& b : line.blocks) {
        w.push_back(b.width);
    }
    return w;
}

TEST(SequenceTimeline, BlocksAreAsWideAsTheirDurationsOnAScaleThatFits) {
    struct Case {
        const char* what;
        int available;
        std::vector<int> widths;
    };
    // 0.50 s + 0.25 s + 0.05 s: 80 hundredths.
    const Case cases[] = {
        {"wide page: at most 200 pixels a second", 1000, {100, 50, 10}},
        {"fits 120 pixels: each block ends on the scale", 120, {75, 38, 7}},
        {"fits 80 pixels, the short step held at 3", 80, {50, 25, 5}},
        {"narrow: never below 3 pixels, wider than the page", 8, {5, 3, 3}},
    };
    const SequenceTable table = tableWith(
        {timedStep(StepKind::Hammers, 5), timedStep(StepKind::Pause, 2, 5), timedStep(StepKind::BellsA, 0, 5)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Timeline line = timeline::layout(table, 1, c.available);
        EXPECT_EQ(widths(line), c.widths);
        int x = 0;
        for (const TimelineBlock& b : line.blocks) {
            EXPECT_EQ(b.x, x);
            x += b.width;
        }
        EXPECT_EQ(line.width, x);
    }
}

TEST(SequenceTimeline, ARepeatIsOneBlockOfItsDurationWithABracketOverItsRange) {
    // 1.00 s bells 1 and 3, 0.50 s hammers 2, repeat steps 1-2 three times (4.50 s): 6.0 s in all.
    const SequenceTable table =
        tableWith({timedStep(StepKind::BellsA, 10, 0, 0b101), timedStep(StepKind::Hammers, 5, 0, 0b10),
                   repeatStep(StepKind::RepeatCount, 0, 1, 3)});
    const Timeline line = timeline::layout(table, 1, 600);
    ASSERT_EQ(line.blocks.size(), 3u);
    EXPECT_EQ(widths(line), (std::vector<int>{100, 50, 450}));
    EXPECT_EQ(line.blocks[0].label, "13");
    EXPECT_EQ(line.blocks[1].label, "2");
    EXPECT_EQ(line.blocks[2].label, "\u00d73");
    EXPECT_EQ(line.blocks[2].kind, StepKind::RepeatCount);
    ASSERT_EQ(line.brackets.size(), 1u);
    EXPECT_EQ(line.brackets[0], (TimelineBracket{2, 0, 150, "\u00d73"})) << "over the steps it repeats";
    EXPECT_EQ(timeline::stepAt(line, 0), 0);
    EXPECT_EQ(timeline::stepAt(line, 149), 1);
    EXPECT_EQ(timeline::stepAt(line, 150), 2);
    EXPECT_EQ(timeline::stepAt(line, 600), -1);
}

TEST(SequenceTimeline, UnsoundRangesGetNoBracketAndTimedRepeatsShowTheirTime) {
    const SequenceTable table =
        tableWith({timedStep(StepKind::Hammers, 5), repeatStep(StepKind::RepeatTime, 0, 0, 90),
                   repeatStep(StepKind::RepeatCount, 1, 0, 2), repeatStep(StepKind::RepeatCount, 0, 1, 2),
                   repeatStep(StepKind::RepeatCount, 0, 9, 2)});
    const Timeline line = timeline::layout(table, 1, 100000);
    ASSERT_EQ(line.blocks.size(), 5u);
    EXPECT_EQ(line.blocks[1].label, "01:30");
    EXPECT_EQ(line.blocks[1].width, 90 * 200);
    EXPECT_EQ(line.blocks[3].width, 3) << "a range holding a repeat step plays nothing";
    ASSERT_EQ(line.brackets.size(), 1u) << "reversed, repeat inside and beyond the steps have none";
    EXPECT_EQ(line.brackets[0].step, 1);
}

TEST(SequenceTimeline, AnEmptySequenceHasNoBlocksAndTheDescriptionListsTheSteps) {
    SequenceTable table;
    ASSERT_EQ(table.createSequence(), 1);
    EXPECT_TRUE(timeline::layout(table, 1, 500).blocks.empty());
    EXPECT_EQ(timeline::layout(table, 1, 500).width, 0);
    EXPECT_EQ(timeline::description(table, 1, LabelTexts{}), "");
    const SequenceTable two =
        tableWith({timedStep(StepKind::Hammers, 5, 0, 0b1001), repeatStep(StepKind::RepeatCount, 0, 0, 2)});
    EXPECT_EQ(timeline::description(two, 1, LabelTexts{}), "<1> T553 1__4_ 00:00.50; <2> T661 00:01.00");
}

} // namespace
} // namespace tolvane
