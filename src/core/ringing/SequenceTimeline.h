#pragma once

#include "ringing/SequenceTable.h"
#include "section/TextSource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tolvane {

// The one-line timeline of a sequence that the sequences page draws under its step list: each defined step one
// block in step order, as wide as its duration (the durations the total is summed from), so a wrong range or a
// mistyped time is seen at once. A repeat step is one block of its own duration, not unrolled, and a bracket over
// the steps it repeats carries its count or time.
struct TimelineBlock {
    int step = 0;
    StepKind kind = StepKind::End;
    std::uint64_t hundredths = 0;
    int x = 0;
    int width = 0;
    // What the block says when it fits: the chosen units' digits ("13" for units 1 and 3), a repeat's "×3" or
    // its time "10:00"; empty for a pause.
    std::string label;

    friend bool operator==(const TimelineBlock&, const TimelineBlock&) = default;
};

struct TimelineBracket {
    int step = 0; // the repeat step
    int x = 0;
    int width = 0;
    std::string label;

    friend bool operator==(const TimelineBracket&, const TimelineBracket&) = default;
};

struct Timeline {
    std::vector<TimelineBlock> blocks;
    // Only repeat steps whose range is sound (first <= last, every step of it defined and none a repeat step).
    std::vector<TimelineBracket> brackets;
    int width = 0;
};

namespace timeline {

constexpr int MinBlockWidth = 3;
// The largest scale: a short sequence is not stretched beyond 200 pixels a second.
constexpr int MaxPixelsPerSecond = 200;

// The timeline of sequence `sequence` laid out for `availableWidth` pixels: the scale fits the whole sequence
// into that width (at most MaxPixelsPerSecond), a block is never narrower than MinBlockWidth, and the line is
// wider than the width only when those minimums need it.
Timeline layout(const SequenceTable& table, int sequence, int availableWidth);

// The block at pixel `x`, -1 when none.
int stepAt(const Timeline& line, int x);

// The steps as the step list shows them, for a screen reader: "<1> Hammers 1____ 00:00.50; <2> ...".
std::string description(const SequenceTable& table, int sequence, const TextSource& texts);

} // namespace timeline
} // namespace tolvane
