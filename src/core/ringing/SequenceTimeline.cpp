#include "ringing/SequenceTimeline.h"

#include "device/DeviceValues.h"
#include "ringing/StepEditing.h"

#include <algorithm>
#include <cmath>

namespace tolvane::timeline {

namespace {

std::string blockLabel(const SequenceStep& step) {
    switch (step.kind()) {
    case StepKind::BellsA:
    case StepKind::BellsB:
    case StepKind::Hammers: {
        std::string digits;
        for (int unit = 0; unit < stepediting::UnitCount; ++unit) {
            if (stepediting::unitChosen(step.unitMask(), unit)) {
                digits += static_cast<char>('1' + unit);
            }
        }
        return digits;
    }
    case StepKind::RepeatCount:
        return "\u00d7" + std::to_string(step.count());
    case StepKind::RepeatTime:
        return secondsToMinutesText(step.count());
    default:
        return {};
    }
}

// A range the controller can play: forwards, inside the defined steps and free of repeat steps.
bool soundRange(const SequenceTable& table, int sequence, const SequenceStep& repeat) {
    if (repeat.lastStep() < repeat.firstStep()) {
        return false;
    }
    for (int k = repeat.firstStep(); k <= repeat.lastStep(); ++k) {
        if (!table.isStepDefined(sequence, k) || table.isRepeatStep(sequence, k)) {
            return false;
        }
    }
    return true;
}

} // namespace

Timeline layout(const SequenceTable& table, int sequence, int availableWidth) {
    Timeline line;
    const int steps = table.stepCount(sequence);
    if (steps == 0) {
        return line;
    }
    const Sequence& s = table.record(sequence);
    std::uint64_t total = 0;
    for (int j = 0; j < steps; ++j) {
        total += table.stepHundredths(sequence, j);
    }
    const double maxScale = MaxPixelsPerSecond / 100.0;
    const double scale =
        total == 0 ? maxScale : std::min(maxScale, std::max(availableWidth, 0) / static_cast<double>(total));
    // Each block ends where the time up to its end falls on the scale, so the rounding of many short steps does
    // not add up; only the smallest width pushes the later blocks on.
    int x = 0;
    std::uint64_t elapsed = 0;
    for (int j = 0; j < steps; ++j) {
        const SequenceStep step = s.step(j);
        TimelineBlock block;
        block.step = j;
        block.kind = step.kind();
        block.hundredths = table.stepHundredths(sequence, j);
        elapsed += block.hundredths;
        block.x = x;
        const double end = std::min(std::round(static_cast<double>(elapsed) * scale), 1.0e9);
        block.width = std::max(MinBlockWidth, static_cast<int>(end) - x);
        block.label = blockLabel(step);
        x += block.width;
        line.blocks.push_back(block);
    }
    line.width = x;
    for (int j = 0; j < steps; ++j) {
        const SequenceStep step = s.step(j);
        if (!step.isRepeat() || !soundRange(table, sequence, step)) {
            continue;
        }
        const TimelineBlock& start = line.blocks[step.firstStep()];
        const TimelineBlock& end = line.blocks[step.lastStep()];
        line.brackets.push_back({j, start.x, end.x + end.width - start.x, blockLabel(step)});
    }
    return line;
}

int stepAt(const Timeline& line, int x) {
    for (const TimelineBlock& block : line.blocks) {
        if (x >= block.x && x < block.x + block.width) {
            return block.step;
        }
    }
    return -1;
}

std::string description(const SequenceTable& table, int sequence, const TextSource& texts) {
    std::string text;
    const int steps = table.stepCount(sequence);
    for (int j = 0; j < steps; ++j) {
        if (!text.empty()) {
            text += "; ";
        }
        text += stepediting::stepNumberText(j) + " " + SequenceTable::stepText(table.record(sequence).step(j), texts) +
                " " + table.stepDurationText(sequence, j);
    }
    return text;
}

} // namespace tolvane::timeline
