#include "ringing/SequenceTable.h"

#include "device/DeviceValues.h"

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tolvane {

namespace {

constexpr std::uint16_t FreshCount = 600;
constexpr std::uint16_t FreshTenths = 10;

} // namespace

void SequenceStep::makeFresh() {
    setU8(KindOffset, 0xFF);
    setU8(1, 0xFF);
    setCount(FreshCount);
    setTenths(FreshTenths);
    setHundredths(0);
}

void SequenceStep::setKind(StepKind k) {
    setU8(KindOffset, static_cast<std::uint8_t>((static_cast<unsigned>(k) << 5) | (kindByte() & 0x1Fu)));
}

std::uint32_t SequenceStep::ownHundredths() const {
    if (!isTimed()) {
        return 0;
    }
    return static_cast<std::uint32_t>(tenths()) * 10u + hundredths();
}

std::size_t Sequence::stepOffset(int j) {
    if (j < 0 || j >= MaxSteps) {
        throw std::out_of_range("step index");
    }
    return StepsOffset + static_cast<std::size_t>(j) * SequenceStep::Size;
}

SequenceStep Sequence::step(int j) const {
    SequenceStep s;
    const auto from = bytes().subspan(stepOffset(j), SequenceStep::Size);
    std::copy(from.begin(), from.end(), s.bytes().begin());
    return s;
}

void Sequence::setStep(int j, const SequenceStep& s) {
    std::copy(s.bytes().begin(), s.bytes().end(), bytes().subspan(stepOffset(j), SequenceStep::Size).begin());
}

int Sequence::stepCount() const {
    int n = 0;
    while (n < MaxSteps && stepKind(n) != StepKind::End) {
        ++n;
    }
    return n;
}

SequenceTable::SequenceTable() {
    reset();
}

const Sequence& SequenceTable::record(int i) const {
    if (i < 0 || i >= Count) {
        throw std::out_of_range("sequence index");
    }
    return records_[static_cast<std::size_t>(i)];
}

Sequence& SequenceTable::rec(int i) {
    return const_cast<Sequence&>(std::as_const(*this).record(i));
}

std::int32_t SequenceTable::changeMark(int i) const {
    (void)record(i);
    return marks_[static_cast<std::size_t>(i)];
}

void SequenceTable::markAllChanged() {
    marks_.fill(-1);
}

// Freeing a used record also takes it out of the used count, so that the count always matches the in-use bytes
// whoever calls this.
void SequenceTable::resetItem(int index) {
    Sequence& s = rec(index);
    if (s.inUse()) {
        --usedCount_;
    }
    s.setInUseByte(Sequence::Free);
    s.setTotalTenths(0);
    // Every slot made fresh as SequenceStep::makeFresh does, bytes written in place: the bytes a fresh step sets
    // (0-1 and 4-8) are copied into each slot; the unit mask (2-3) and byte 9 are kept as found, as makeFresh
    // keeps them. A table is
    // reset for every new and every opened project, so this runs 6,510 times each.
    static const SequenceStep fresh = [] {
        SequenceStep step;
        step.makeFresh();
        return step;
    }();
    const std::uint8_t* from = fresh.bytes().data();
    std::uint8_t* slot = s.bytes().data() + Sequence::stepOffset(0);
    for (int j = 0; j < MaxSteps; ++j, slot += SequenceStep::Size) {
        std::memcpy(slot, from, SequenceStep::UnitMaskOffset);
        std::memcpy(slot + SequenceStep::CountOffset, from + SequenceStep::CountOffset,
                    SequenceStep::HundredthsOffset + 1 - SequenceStep::CountOffset);
    }
    marks_[static_cast<std::size_t>(index)] = 0;
}

void SequenceTable::reset() {
    for (int i = 0; i < Count; ++i) {
        resetItem(i);
    }
    // The factory sequence: one stroke of hammer 1 followed by 0.5 s.
    Sequence& first = records_[0];
    first.setInUseByte(Sequence::InUse);
    first.setTotalTenths(5);
    SequenceStep stroke = first.step(0);
    stroke.setKind(StepKind::Hammers);
    stroke.setUnitMask(1);
    stroke.setCount(0);
    stroke.setTenths(5);
    stroke.setHundredths(0);
    first.setStep(0, stroke);
    usedCount_ = 1;
}

void SequenceTable::recountUsed() {
    usedCount_ =
        static_cast<int>(std::count_if(records_.begin(), records_.end(), [](const Sequence& s) { return s.inUse(); }));
}

// Works on card images and on host images alike: the in-use byte and the step kinds are single bytes, so the
// same fields are found in either order.
void SequenceTable::swapByteOrder(std::span<std::uint8_t> image) const {
    if (image.size() < ImageSize) {
        throw std::out_of_range("sequence image too short");
    }
    for (std::size_t r = 0; r < static_cast<std::size_t>(Count); ++r) {
        const std::size_t base = r * Sequence::Size;
        if (image[base + Sequence::InUseOffset] != Sequence::InUse) {
            continue;
        }
        bytes::swap32(image, base + Sequence::TotalOffset);
        for (int j = 0; j < MaxSteps; ++j) {
            const std::size_t at = base + Sequence::stepOffset(j);
            if ((image[at] >> 5) == static_cast<std::uint8_t>(StepKind::End)) {
                break;
            }
            for (std::size_t off : SequenceStep::WordOffsets) {
                bytes::swap16(image, at + off);
            }
        }
    }
}

void SequenceTable::packImage(std::span<std::uint8_t> image) const {
    if (image.size() < ImageSize) {
        throw std::out_of_range("sequence image too short");
    }
    for (int r = 0; r < Count; ++r) {
        const Sequence& s = records_[static_cast<std::size_t>(r)];
        const auto out = image.subspan(static_cast<std::size_t>(r) * Sequence::Size, Sequence::Size);
        std::fill(out.begin(), out.end(), std::uint8_t{0xFF});
        out[Sequence::InUseOffset] = s.inUseByte();
        bytes::putU32LE(out, Sequence::TotalOffset, s.totalTenths());
        if (!s.inUse()) {
            continue;
        }
        const std::size_t stepBytes = static_cast<std::size_t>(s.stepCount()) * SequenceStep::Size;
        const auto from = s.bytes().subspan(Sequence::StepsOffset, stepBytes);
        std::copy(from.begin(), from.end(), out.begin() + static_cast<std::ptrdiff_t>(Sequence::StepsOffset));
    }
    swapByteOrder(image.first(ImageSize));
}

void SequenceTable::unpackImage(std::span<const std::uint8_t> image) {
    clearModified();
    for (int i = 0; i < Count; ++i) {
        resetItem(i);
    }
    // A short image reads as erased memory beyond its end.
    std::vector<std::uint8_t> host(ImageSize, 0xFF);
    std::copy_n(image.begin(), std::min(image.size(), ImageSize), host.begin());
    swapByteOrder(host);
    const std::span<const std::uint8_t> all(host);
    for (int r = 0; r < Count; ++r) {
        const auto in = all.subspan(static_cast<std::size_t>(r) * Sequence::Size, Sequence::Size);
        Sequence& s = records_[static_cast<std::size_t>(r)];
        s.setInUseByte(in[Sequence::InUseOffset]);
        s.setTotalTenths(bytes::getU32LE(in, Sequence::TotalOffset));
        for (int j = 0; j < MaxSteps; ++j) {
            const std::size_t at = Sequence::stepOffset(j);
            if ((in[at] >> 5) == static_cast<std::uint8_t>(StepKind::End)) {
                break;
            }
            SequenceStep step;
            std::copy_n(in.begin() + static_cast<std::ptrdiff_t>(at), SequenceStep::Size, step.bytes().begin());
            s.setStep(j, step);
        }
    }
    recountUsed();
}

void SequenceTable::validate(IssueList& issues) const {
    for (int i = 0; i < Count; ++i) {
        if (!isUsed(i)) {
            continue;
        }
        const Sequence& s = records_[static_cast<std::size_t>(i)];
        const int steps = s.stepCount();
        for (int j = 0; j < steps; ++j) {
            const SequenceStep repeat = s.step(j);
            if (!repeat.isRepeat()) {
                continue;
            }
            const int first = repeat.firstStep();
            const int last = repeat.lastStep();
            if (last < first) {
                issues.push_back({IssueRangeReversed, i, Area, severity::Critical});
            }
            for (int k = first; k <= last; ++k) {
                if (k < MaxSteps && s.step(k).isRepeat()) {
                    issues.push_back({IssueRangeHoldsRepeat, i, Area, severity::Critical});
                }
            }
            for (int k = first; k <= last; ++k) {
                if (k >= steps) {
                    issues.push_back({IssueRangeHoldsUndefined, i, Area, severity::Critical});
                }
            }
        }
    }
}

void SequenceTable::serialize(SectionArchive& archive) {
    if (archive.isStoring()) {
        auto body = archive.appendBody(BodySize).begin();
        for (const Sequence& s : records_) {
            body = std::copy(s.bytes().begin(), s.bytes().end(), body);
        }
        return;
    }
    const auto body = archive.readBody(BodySize);
    // A shorter body overwrites only the leading bytes of the table.
    for (std::size_t r = 0; r < static_cast<std::size_t>(Count); ++r) {
        const std::size_t start = r * Sequence::Size;
        if (start >= body.size()) {
            break;
        }
        const std::size_t n = std::min(Sequence::Size, body.size() - start);
        std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(start), n, records_[r].bytes().begin());
    }
    recountUsed();
}

void SequenceTable::clearModified() {
    marks_.fill(0);
}

bool SequenceTable::isModified() const {
    return std::any_of(marks_.begin(), marks_.end(), [](std::int32_t m) { return m != 0; });
}

bool SequenceTable::isUsed(int i) const {
    return i >= 0 && i < Count && records_[static_cast<std::size_t>(i)].inUse();
}

bool SequenceTable::isStepDefined(int i, int j) const {
    return isUsed(i) && j >= 0 && j < records_[static_cast<std::size_t>(i)].stepCount();
}

bool SequenceTable::isRepeatStep(int i, int j) const {
    return i >= 0 && i < Count && j >= 0 && j < MaxSteps && records_[static_cast<std::size_t>(i)].step(j).isRepeat();
}

bool SequenceTable::hasBellSteps(int i) const {
    if (!isUsed(i)) {
        return false;
    }
    const Sequence& s = records_[static_cast<std::size_t>(i)];
    const int steps = s.stepCount();
    for (int j = 0; j < steps; ++j) {
        if (isBellStep(s.stepKind(j))) {
            return true;
        }
    }
    return false;
}

int SequenceTable::firstFreeRecord() const {
    for (int i = 0; i < Count; ++i) {
        if (!records_[static_cast<std::size_t>(i)].inUse()) {
            return i;
        }
    }
    return -1;
}

int SequenceTable::stepCount(int i) const {
    return isUsed(i) ? records_[static_cast<std::size_t>(i)].stepCount() : 0;
}

int SequenceTable::createSequence() {
    const int i = firstFreeRecord();
    if (i < 0) {
        return -1;
    }
    resetItem(i);
    Sequence& s = rec(i);
    s.setTotalTenths(0);
    s.setInUseByte(Sequence::InUse);
    marks_[static_cast<std::size_t>(i)] = -1;
    ++usedCount_;
    return i;
}

int SequenceTable::copySequence(int source) {
    if (!isUsed(source)) {
        return -1;
    }
    const Sequence original = records_[static_cast<std::size_t>(source)];
    const int i = createSequence();
    if (i < 0) {
        return -1;
    }
    rec(i) = original;
    return i;
}

bool SequenceTable::deleteSequence(int i) {
    if (!isUsed(i)) {
        return false;
    }
    resetItem(i);
    return true;
}

int SequenceTable::insertStep(int i, const SequenceStep& step, int position) {
    if (!isUsed(i) || step.kind() == StepKind::End) {
        return 0;
    }
    Sequence& s = rec(i);
    const int k = s.stepCount();
    if (k >= MaxSteps) {
        return 0;
    }
    // Position 0 appends; a position beyond the sequence appends too rather than leaving a gap of free slots.
    int at = k;
    if (position > 0 && position < k) {
        for (int j = k; j > position; --j) {
            s.setStep(j, s.step(j - 1));
        }
        at = position;
    }
    s.setStep(at, step);
    setChanged(i);
    recomputeTotal(i);
    return at + 1;
}

bool SequenceTable::deleteStep(int i, int j) {
    if (!isStepDefined(i, j)) {
        return false;
    }
    Sequence& s = rec(i);
    for (int m = j; m < MaxSteps - 1; ++m) {
        s.setStep(m, s.step(m + 1));
    }
    SequenceStep last = s.step(MaxSteps - 1);
    last.makeFresh();
    s.setStep(MaxSteps - 1, last);
    setChanged(i);
    recomputeTotal(i);
    return true;
}

bool SequenceTable::replaceStep(int i, int j, const SequenceStep& step) {
    if (!isStepDefined(i, j) || step.kind() == StepKind::End) {
        return false;
    }
    Sequence& s = rec(i);
    if (s.step(j) != step) {
        s.setStep(j, step);
        setChanged(i);
    }
    recomputeTotal(i);
    return true;
}

// Sum of the steps of a repeat step's range, whatever their state; a range holding a repeat step plays nothing.
// Slots beyond the table are not read.
std::uint64_t SequenceTable::rangeHundredths(const Sequence& s, const SequenceStep& repeat) const {
    const int first = repeat.firstStep();
    const int last = std::min<int>(repeat.lastStep(), MaxSteps - 1);
    std::uint64_t sum = 0;
    for (int k = first; k <= last; ++k) {
        const SequenceStep inner = s.step(k);
        if (inner.isRepeat()) {
            return 0;
        }
        sum += inner.ownHundredths();
    }
    return sum;
}

std::uint64_t SequenceTable::stepHundredths(int i, int j) const {
    const Sequence& s = record(i);
    const SequenceStep step = s.step(j);
    switch (step.kind()) {
    case StepKind::RepeatCount:
        return rangeHundredths(s, step) * step.count();
    case StepKind::RepeatTime:
        return std::uint64_t{step.count()} * 100u;
    default:
        return step.ownHundredths();
    }
}

void SequenceTable::recomputeTotal(int i) {
    Sequence& s = rec(i);
    const int steps = isUsed(i) ? s.stepCount() : 0;
    std::uint64_t sum = 0;
    for (int j = 0; j < steps; ++j) {
        sum += stepHundredths(i, j);
    }
    // To the nearest tenth, halves upwards; a total beyond 32 bits is held at the largest value.
    const std::uint64_t tenths = sum / 10 + (sum % 10 >= 5 ? 1 : 0);
    s.setTotalTenths(
        static_cast<std::uint32_t>(std::min<std::uint64_t>(tenths, std::numeric_limits<std::uint32_t>::max())));
}

int SequenceTable::rowToRecord(int row) const {
    if (row < 0) {
        return -1;
    }
    for (int i = 0; i < Count; ++i) {
        if (isUsed(i) && row-- == 0) {
            return i;
        }
    }
    return -1;
}

int SequenceTable::recordToRow(int i) const {
    if (!isUsed(i)) {
        return -1;
    }
    int row = 0;
    for (int r = 0; r < i; ++r) {
        if (isUsed(r)) {
            ++row;
        }
    }
    return row;
}

int SequenceTable::previousUsedRecord(int i) const {
    for (int r = std::min(i, Count - 1); r >= 1; --r) {
        if (isUsed(r)) {
            return r;
        }
    }
    return -1;
}

std::string SequenceTable::totalText(int i) const {
    if (i < 0 || i >= Count) {
        return "--:--:--.--";
    }
    const std::uint32_t t = records_[static_cast<std::size_t>(i)].totalTenths();
    const unsigned seconds = t / 10;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2u:%.2u:%.2u.%.1u", seconds / 3600 % 24, seconds / 60 % 60, seconds % 60,
                  t % 10);
    return buffer;
}

std::string SequenceTable::stepCountText(int i) const {
    const int n = (i >= 0 && i < Count) ? stepCount(i) : 0;
    return n == 0 ? "-" : std::to_string(n);
}

std::string SequenceTable::stepText(const SequenceStep& step, const TextSource& texts) {
    const auto code = static_cast<std::size_t>(step.kind());
    if (code >= KindLabelTexts.size()) {
        return {};
    }
    std::string text = texts.text(KindLabelTexts[code]);
    if (step.isBell() || step.kind() == StepKind::Hammers) {
        text += ' ';
        for (int unit = 0; unit < 5; ++unit) {
            text += (step.unitMask() & (1u << unit)) != 0 ? static_cast<char>('1' + unit) : '_';
        }
    }
    return text;
}

std::string SequenceTable::stepDurationText(int i, int j) const {
    return hundredthsToText(static_cast<std::int64_t>(stepHundredths(i, j)));
}

SectionState SequenceTable::state() const {
    return sectionstate::tableState<Sequence, std::int32_t>(records_, marks_, static_cast<std::uint32_t>(usedCount_));
}

void SequenceTable::setState(const SectionState& state) {
    usedCount_ = static_cast<int>(sectionstate::setTableState<Sequence, std::int32_t>(state, records_, marks_));
}

void SequenceTable::markChanges(const SectionState& from, const SectionState& to) {
    sectionstate::markTableChanges<Sequence, std::int32_t>(from, to, marks_, 1);
}

} // namespace tolvane
