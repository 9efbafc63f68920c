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
    int x = 0;
    for (int j = 0; j < steps; ++j) {
        const SequenceStep step = s.step(j);
        TimelineBlock block;
        block.step = j;
        block.kind = step.kind();
        block.hundredths = table.stepHundredths(sequence, j);
        block.x = x;
        const double exact = std::round(static_cast<double>(block.hundredths) * scale);
        block.width = std::max(MinBlockWidth, static_cast<int>(std::min(exact, 1.0e6)));
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
        const int from = std::min<int>(step.firstStep(), j);
        const int to = std::max<int>(step.lastStep(), j);
        const TimelineBlock& start = line.blocks[static_cast<std::size_t>(from)];
        const TimelineBlock& end = line.blocks[static_cast<std::size_t>(to)];
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
