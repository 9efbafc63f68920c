#include "ringing/StepEditing.h"

#include "TextNumbers.h"
#include "ringing/StrikingSettings.h"

#include <algorithm>
#include <limits>

namespace tolvane::stepediting {

namespace {

constexpr std::uint16_t OneSecondTenths = 10;
constexpr long long MaxDurationHundredths = std::numeric_limits<std::uint16_t>::max() * 10LL + 9;

} // namespace

int kindPosition(StepKind kind) {
    const auto at = std::find(KindList.begin(), KindList.end(), kind);
    return at == KindList.end() ? -1 : static_cast<int>(at - KindList.begin());
}

StepKind kindAt(int position) {
    if (position < 0 || position >= static_cast<int>(KindList.size())) {
        return StepKind::End;
    }
    return KindList[static_cast<std::size_t>(position)];
}

SequenceStep newStep() {
    SequenceStep step;
    step.makeFresh();
    step.setKind(StepKind::BellsA);
    step.setUnitMask(1);
    return step;
}

SequenceStep converted(SequenceStep step, StepKind kind) {
    switch (kind) {
    case StepKind::BellsA:
    case StepKind::BellsB:
        if ((step.unitMask() & UnitBits) == 0) {
            step.setUnitMask(static_cast<std::uint16_t>(step.unitMask() | 1u));
        }
        break;
    case StepKind::Hammers:
        step.setTenths(OneSecondTenths);
        step.setHundredths(0);
        step.setUnitMask(1);
        break;
    case StepKind::Pause:
        step.setTenths(OneSecondTenths);
        step.setHundredths(0);
        break;
    case StepKind::RepeatCount:
        step.setFirstStep(0);
        step.setLastStep(0);
        step.setCount(1);
        break;
    case StepKind::RepeatTime:
        step.setFirstStep(0);
        step.setLastStep(0);
        step.setCount(DefaultRepeatSeconds);
        break;
    default:
        return step;
    }
    step.setKind(kind);
    return step;
}

SequenceStep shown(SequenceStep step) {
    if (!step.isRepeat()) {
        return step;
    }
    if (step.firstStep() > step.lastStep()) {
        step.setFirstStep(step.lastStep());
    }
    if (step.kind() == StepKind::RepeatCount && (step.count() == 0 || step.count() > MaxRepetitions)) {
        step.setCount(1);
    }
    return step;
}

PauseFields pauseFields(const SequenceStep& step) {
    const long long d = static_cast<long long>(step.tenths()) * 10 + step.hundredths();
    return {d / 6000, d / 100 % 60, d % 100};
}

void storePause(SequenceStep& step, const PauseFields& typed) {
    long long d = typed.minutes * 6000 + typed.seconds * 100 + typed.hundredths;
    d = std::clamp(d, 0LL, MaxDurationHundredths);
    step.setTenths(static_cast<std::uint16_t>(d / 10));
    step.setHundredths(static_cast<std::uint8_t>(d % 10));
}

TimeFields timeFields(const SequenceStep& step) {
    return {step.count() / 60, step.count() % 60};
}

std::uint16_t typedRepeatSeconds(const TimeFields& typed) {
    const long long seconds = typed.minutes * 60 + typed.seconds;
    return static_cast<std::uint16_t>(std::clamp<long long>(seconds, 1, std::numeric_limits<std::uint16_t>::max()));
}

int minutesFieldWidth(long long minutes) {
    int width = 2;
    for (long long limit = 100; minutes >= limit && width < 4; limit *= 10) {
        ++width;
    }
    return width;
}

bool unitChosen(std::uint16_t mask, int unit) {
    return unit >= 0 && unit < UnitCount && (mask & (1u << unit)) != 0;
}

std::uint16_t toggledUnit(std::uint16_t mask, int unit, bool on) {
    if (unit < 0 || unit >= UnitCount) {
        return mask;
    }
    const auto bit = static_cast<std::uint16_t>(1u << unit);
    mask = static_cast<std::uint16_t>(on ? (mask | bit) : (mask & ~bit));
    if ((mask & UnitBits) == 0) {
        mask = static_cast<std::uint16_t>(mask | 1u);
    }
    return mask;
}

int rangeRefusal(const SequenceTable& table, int sequence, int ownPosition, const SequenceStep& step) {
    const int first = step.firstStep();
    const int last = step.lastStep();
    if (last < first) {
        return text::RangeReversed;
    }
    for (int k = first; k <= last; ++k) {
        if (table.isRepeatStep(sequence, k)) {
            return text::RangeHoldsRepeat;
        }
    }
    if (first == ownPosition) {
        return text::RangeStartsAtItself;
    }
    if (last == ownPosition) {
        return text::RangeEndsAtItself;
    }
    for (int k = first; k <= last; ++k) {
        if (!table.isStepDefined(sequence, k)) {
            return text::RangeHoldsUndefined;
        }
    }
    return 0;
}

int accept(const SequenceTable& table, int sequence, int ownPosition, const TypedFields& typed, SequenceStep& step) {
    int message = 0;
    switch (step.kind()) {
    case StepKind::RepeatCount:
        if (typed.repetitions > MaxRepetitions) {
            message = text::TooManyRepetitions;
        } else {
            step.setCount(static_cast<std::uint16_t>(std::max(typed.repetitions, 1LL)));
        }
        break;
    case StepKind::RepeatTime:
        step.setCount(typedRepeatSeconds(typed.time));
        step.setHundredths(0);
        break;
    default:
        if (step.isTimed()) {
            storePause(step, typed.pause);
        }
        return 0;
    }
    const int range = rangeRefusal(table, sequence, ownPosition, step);
    return range != 0 ? range : message;
}

std::vector<int> firstStepChoices(const SequenceTable& table, int sequence, int ownPosition, const SequenceStep& step) {
    std::vector<int> steps;
    const int upTo = std::min<int>(step.lastStep(), ownPosition - 1);
    for (int k = 0; k <= upTo; ++k) {
        if (table.isStepDefined(sequence, k)) {
            steps.push_back(k);
        }
    }
    return steps;
}

std::vector<int> lastStepChoices(const SequenceTable& table, int sequence, int ownPosition, const SequenceStep& step) {
    std::vector<int> steps;
    for (int k = step.firstStep(); k <= ownPosition - 1; ++k) {
        if (table.isStepDefined(sequence, k)) {
            steps.push_back(k);
        }
    }
    return steps;
}

std::string stepNumberText(int index) {
    return "<" + std::to_string(index + 1) + ">";
}

int bellStepRefusal(const StrikingSettings& striking, int sequence, const SequenceStep& step) {
    return step.isBell() && striking.usesSequence(sequence) ? text::BellStepInQuarters : 0;
}

int insertPosition(int selectedRow) {
    return selectedRow >= 0 ? selectedRow + 1 : 0;
}

int ownPosition(int selectedRow, int stepCount) {
    return selectedRow >= 0 ? std::min(selectedRow + 1, stepCount) : stepCount;
}

} // namespace tolvane::stepediting
