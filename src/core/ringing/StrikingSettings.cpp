#include "ringing/StrikingSettings.h"

#include "TextNumbers.h"
#include "ringing/OutputMap.h"
#include "ringing/SequenceTable.h"

#include <algorithm>
#include <stdexcept>

namespace tolvane {

namespace {

constexpr std::uint8_t DefaultBlockMinute = 55;
constexpr std::uint8_t DefaultBlockStartHour = 21;
constexpr std::uint8_t DefaultBlockEndHour = 5;

// Values beyond the field's range are held at the field's largest value, which every range check rejects, so a
// typed value never wraps round into one that looks valid.
std::uint8_t toByte(long long v) {
    return (v < 0 || v > 0xFF) ? std::uint8_t{0xFF} : static_cast<std::uint8_t>(v);
}

std::uint16_t toWord(long long v) {
    return (v < 0 || v > 0xFFFF) ? std::uint16_t{0xFFFF} : static_cast<std::uint16_t>(v);
}

bool outside(long long v, long long lower, long long upper) {
    return v < lower || v > upper;
}

} // namespace

std::size_t StrikingRecord::blockOffset(NightBlock b) {
    switch (b) {
    case NightBlock::Hour:
        return 0;
    case NightBlock::Quarter:
        return 86;
    case NightBlock::Repeat:
        return 14;
    }
    throw std::out_of_range("night block");
}

std::size_t StrikingRecord::quarterOffset(int quarter) {
    if (quarter < 0 || quarter >= Quarters) {
        throw std::out_of_range("quarter index");
    }
    return QuartersOffset + static_cast<std::size_t>(quarter) * QuarterSize;
}

std::size_t StrikingRecord::seriesOffset(int quarter, int series) {
    if (series < 0 || series >= SeriesPerQuarter) {
        throw std::out_of_range("series index");
    }
    return quarterOffset(quarter) + QuarterSeriesOffset + static_cast<std::size_t>(series);
}

int StrikingRecord::hourMode() const {
    const std::uint8_t flags = hourModeFlags();
    if ((flags & ModeOffBit) != 0) {
        return 0;
    }
    return (flags & ModeRepeatBit) != 0 ? 2 : 1;
}

int StrikingRecord::activeSeries(int quarter) const {
    return std::min<int>(seriesCount(quarter), SeriesPerQuarter);
}

void StrikingRecord::resetDefaults() {
    fill(0xFF);
    for (NightBlock b : {NightBlock::Hour, NightBlock::Quarter, NightBlock::Repeat}) {
        const std::size_t at = blockOffset(b);
        setU8(at, DefaultBlockMinute);
        setU8(at + 1, DefaultBlockStartHour);
        setU8(at + 2, DefaultBlockMinute);
        setU8(at + 3, DefaultBlockEndHour);
    }
    setU8(HourModeOffset, static_cast<std::uint8_t>(hourModeFlags() | ModeOffBit | ModeRepeatBit));
    setU8(HourHammerSingleOffset, 1);
    setU8(HourHammerRepeatOffset, 1);
    setU16(RepeatDelayOffset, 50);
    setU16(StrokeIntervalSingleOffset, 20);
    setU16(StrokeIntervalRepeatOffset, 20);
    setU8(QuarterFlagsOffset, static_cast<std::uint8_t>(quarterFlags() | QuarterOffBit));
    // Quarter n plays sequence 1 n times.
    for (int q = 0; q < Quarters; ++q) {
        setU8(quarterOffset(q), static_cast<std::uint8_t>(q + 1));
        for (int s = 0; s <= q; ++s) {
            setU8(seriesOffset(q, s), 0);
        }
    }
    setU16(Quarter4AdvanceOffset, 0);
    setU8(HeraldFlagsOffset, static_cast<std::uint8_t>(heraldFlags() | QuarterHeraldOffBit | HourHeraldOffBit));
    setU16(HourHeraldAdvanceOffset, 10);
    setU16(QuarterHeraldAdvanceOffset, 10);
    setU16(HourHeraldHoldOffset, 10);
    setU16(QuarterHeraldHoldOffset, 10);
}

StrikingSettings::StrikingSettings() {
    reset();
}

void StrikingSettings::setReferences(const SequenceTable* sequences, const OutputMap* outputs) {
    sequences_ = sequences;
    outputs_ = outputs;
}

void StrikingSettings::resetItem(int index) {
    (void)index;
    reset();
}

void StrikingSettings::reset() {
    record_.resetDefaults();
    mask_ = 0;
}

void StrikingSettings::swapByteOrder(std::span<std::uint8_t> image) const {
    if (image.size() < ImageSize) {
        throw std::out_of_range("striking image too short");
    }
    for (std::size_t off : StrikingRecord::WordOffsets) {
        bytes::swap16(image, off);
    }
}

void StrikingSettings::unpackImage(std::span<const std::uint8_t> image) {
    if (image.size() < ImageSize) {
        throw std::out_of_range("striking image too short");
    }
    StrikingRecord host;
    std::copy_n(image.begin(), ImageSize, host.bytes().begin());
    swapByteOrder(host.bytes());
    record_ = host;
}

void StrikingSettings::packImage(std::span<std::uint8_t> image) const {
    if (image.size() < ImageSize) {
        throw std::out_of_range("striking image too short");
    }
    std::copy(record_.bytes().begin(), record_.bytes().end(), image.begin());
    swapByteOrder(image.first(ImageSize));
}

void StrikingSettings::validate(IssueList& issues) const {
    const StrikingRecord& r = record_;
    auto add = [&issues](std::int32_t code, std::int32_t item, std::int32_t area) {
        issues.push_back({code, item, area, severity::Critical});
    };
    if (sequences_ != nullptr) {
        for (int q = 0; q < StrikingRecord::Quarters; ++q) {
            for (int s = 0; s < r.activeSeries(q); ++s) {
                const std::uint8_t index = r.seriesSequence(q, s);
                if (index == StrikingRecord::NoSequence) {
                    continue;
                }
                if (!sequences_->isUsed(index)) {
                    add(IssueSequenceMissing, q, AreaQuarters);
                } else if (sequences_->hasBellSteps(index)) {
                    add(IssueSequenceHasBells, q, AreaQuarters);
                }
            }
        }
    }
    if (outside(r.strokeIntervalSingle(), 5, 90)) {
        add(IssueStrokeInterval, 0, AreaHours);
    }
    if (outside(r.hourHeraldAdvance(), 1, 60)) {
        add(IssueHeraldAdvance, 0, AreaHourHerald);
    }
    if (outside(r.hourHeraldHold(), 1, 60)) {
        add(IssueHeraldHold, 0, AreaHourHerald);
    }
    if (outside(r.quarter4AdvanceTenths(), 0, 200)) {
        add(IssueQuarter4Advance, 0, AreaQuarters);
    }
    for (int q = 0; q < StrikingRecord::Quarters; ++q) {
        if (outside(r.seriesCount(q), 0, StrikingRecord::SeriesPerQuarter)) {
            add(IssueSeriesCount, q, AreaQuarters);
        }
    }
    if (outside(r.quarterHeraldAdvance(), 1, 60)) {
        add(IssueHeraldAdvance, 0, AreaQuarterHerald);
    }
    if (outside(r.quarterHeraldHold(), 1, 60)) {
        add(IssueHeraldHold, 0, AreaQuarterHerald);
    }
    if (outside(r.blockStartHour(NightBlock::Hour), 0, 23)) {
        add(IssueBlockStart, 0, AreaBlocks);
    }
    if (outside(r.blockStartMinute(NightBlock::Hour), 0, 59)) {
        add(IssueBlockStart, 0, AreaBlocks);
    }
    if (outside(r.blockEndHour(NightBlock::Hour), 0, 23)) {
        add(IssueBlockEnd, 0, AreaBlocks);
    }
    if (outside(r.blockEndMinute(NightBlock::Hour), 0, 59)) {
        add(IssueBlockEnd, 0, AreaBlocks);
    }
}

void StrikingSettings::serialize(SectionArchive& archive) {
    if (archive.isStoring()) {
        archive.writeBody(record_.bytes());
        return;
    }
    const auto body = archive.readBody(BodySize);
    std::copy(body.begin(), body.end(), record_.bytes().begin());
}

void StrikingSettings::clearModified() {
    mask_ = 0;
}

bool StrikingSettings::isModified() const {
    return mask_ != 0;
}

std::uint8_t StrikingSettings::hourHeraldRelay() const {
    return outputs_ != nullptr ? outputs_->record().relay(OutputMapRecord::HourHeraldRelay) : OutputMapRecord::NoRelay;
}

std::uint8_t StrikingSettings::quarterHeraldRelay() const {
    return outputs_ != nullptr ? outputs_->record().relay(OutputMapRecord::QuarterHeraldRelay)
                               : OutputMapRecord::NoRelay;
}

bool StrikingSettings::usesSequence(int index) const {
    if (index < 0 || index >= static_cast<int>(StrikingRecord::NoSequence)) {
        return false;
    }
    for (int q = 0; q < StrikingRecord::Quarters; ++q) {
        for (int s = 0; s < record_.activeSeries(q); ++s) {
            if (record_.seriesSequence(q, s) == index) {
                return true;
            }
        }
    }
    return false;
}

bool StrikingSettings::canPlaySequence(int index) const {
    return sequences_ == nullptr || !sequences_->hasBellSteps(index);
}

void StrikingSettings::storeByte(std::size_t offset, long long value, StrikingField f) {
    const std::uint8_t v = toByte(value);
    if (record_.u8(offset) != v) {
        record_.setU8(offset, v);
        markChanged(f);
    }
}

void StrikingSettings::storeWord(std::size_t offset, long long value, StrikingField f) {
    const std::uint16_t v = toWord(value);
    if (record_.u16(offset) != v) {
        record_.setU16(offset, v);
        markChanged(f);
    }
}

void StrikingSettings::setFlag(std::size_t offset, std::uint8_t flag, bool set, StrikingField f) {
    const std::uint8_t old = record_.u8(offset);
    record_.setU8(offset, static_cast<std::uint8_t>(set ? (old | flag) : (old & ~flag)));
    markChanged(f);
}

// The change bits of a block: start hour, start minute, end hour, end minute, four per block.
StrikingField StrikingSettings::blockField(NightBlock b, int which) {
    const int base = b == NightBlock::Hour ? 0 : (b == NightBlock::Quarter ? 4 : 8);
    return static_cast<StrikingField>(base + which);
}

void StrikingSettings::setBlockStartHour(NightBlock b, long long hour) {
    storeByte(StrikingRecord::blockOffset(b) + 1, hour, blockField(b, 0));
}

void StrikingSettings::setBlockStartMinute(NightBlock b, long long minute) {
    storeByte(StrikingRecord::blockOffset(b), minute, blockField(b, 1));
}

void StrikingSettings::setBlockEndHour(NightBlock b, long long hour) {
    storeByte(StrikingRecord::blockOffset(b) + 3, hour, blockField(b, 2));
}

void StrikingSettings::setBlockEndMinute(NightBlock b, long long minute) {
    storeByte(StrikingRecord::blockOffset(b) + 2, minute, blockField(b, 3));
}

void StrikingSettings::setHourMode(int mode) {
    if (mode < 0 || mode > 2) {
        return;
    }
    std::uint8_t flags = record_.hourModeFlags();
    flags = static_cast<std::uint8_t>(flags & ~(StrikingRecord::ModeOffBit | StrikingRecord::ModeRepeatBit));
    if (mode == 0) {
        flags = static_cast<std::uint8_t>(flags | StrikingRecord::ModeOffBit | StrikingRecord::ModeRepeatBit);
    } else if (mode == 2) {
        flags = static_cast<std::uint8_t>(flags | StrikingRecord::ModeRepeatBit);
    }
    record_.setU8(StrikingRecord::HourModeOffset, flags);
    markChanged(StrikingField::HourMode);
}

void StrikingSettings::setStrokeIntervalTenths(long long tenths, int mode) {
    if (mode == 1) {
        storeWord(StrikingRecord::StrokeIntervalSingleOffset, tenths, StrikingField::StrokeIntervalSingle);
    } else if (mode == 2) {
        storeWord(StrikingRecord::StrokeIntervalRepeatOffset, tenths, StrikingField::StrokeIntervalRepeat);
    }
}

void StrikingSettings::setRepeatDelayTenths(long long tenths) {
    storeWord(StrikingRecord::RepeatDelayOffset, std::max<long long>(tenths, MinRepeatDelay),
              StrikingField::RepeatDelay);
}

void StrikingSettings::setHourHammer(int index, bool singleMode) {
    if (singleMode) {
        storeByte(StrikingRecord::HourHammerSingleOffset, index, StrikingField::HourHammerSingle);
    } else {
        storeByte(StrikingRecord::HourHammerRepeatOffset, index, StrikingField::HourHammerRepeat);
    }
}

void StrikingSettings::setQuarter4AdvanceTenths(long long tenths) {
    storeWord(StrikingRecord::Quarter4AdvanceOffset, tenths, StrikingField::Quarter4Advance);
}

void StrikingSettings::setHourHeraldAdvance(long long seconds) {
    storeWord(StrikingRecord::HourHeraldAdvanceOffset, seconds, StrikingField::HourHeraldAdvance);
}

void StrikingSettings::setHourHeraldHold(long long seconds) {
    storeWord(StrikingRecord::HourHeraldHoldOffset, seconds, StrikingField::HourHeraldHold);
}

void StrikingSettings::setQuarterHeraldAdvance(long long seconds) {
    storeWord(StrikingRecord::QuarterHeraldAdvanceOffset, seconds, StrikingField::QuarterHeraldAdvance);
}

void StrikingSettings::setQuarterHeraldHold(long long seconds) {
    storeWord(StrikingRecord::QuarterHeraldHoldOffset, seconds, StrikingField::QuarterHeraldHold);
}

void StrikingSettings::setHourHerald(bool on) {
    setFlag(StrikingRecord::HeraldFlagsOffset, StrikingRecord::HourHeraldOffBit, !on, StrikingField::HourHerald);
}

void StrikingSettings::setQuarterHerald(bool on) {
    setFlag(StrikingRecord::HeraldFlagsOffset, StrikingRecord::QuarterHeraldOffBit, !on, StrikingField::QuarterHerald);
}

void StrikingSettings::setQuarterStriking(bool on) {
    setFlag(StrikingRecord::QuarterFlagsOffset, StrikingRecord::QuarterOffBit, !on, StrikingField::QuarterStriking);
}

void StrikingSettings::setSeriesCount(int quarter, long long count) {
    const auto field = static_cast<StrikingField>(static_cast<int>(StrikingField::SeriesCount1) + quarter);
    storeByte(StrikingRecord::quarterOffset(quarter), count, field);
    const int kept = record_.seriesCount(quarter);
    for (int s = kept; s < StrikingRecord::SeriesPerQuarter; ++s) {
        record_.setU8(StrikingRecord::seriesOffset(quarter, s), StrikingRecord::NoSequence);
    }
}

// A changed series sequence is marked too, so that the change is not lost unnoticed when the project is closed.
bool StrikingSettings::setSeriesSequence(int quarter, int series, int index) {
    if (series < 0 || series >= record_.activeSeries(quarter)) {
        return false;
    }
    const bool none = index == StrikingRecord::NoSequence;
    if (!none && (index < 0 || index >= SequenceTable::Count || !canPlaySequence(index))) {
        return false;
    }
    const auto field = static_cast<StrikingField>(static_cast<int>(StrikingField::Series1) + quarter);
    storeByte(StrikingRecord::seriesOffset(quarter, series), index, field);
    return true;
}

std::string StrikingSettings::seriesText(int quarter, int series, const TextSource& texts) const {
    const std::uint8_t index = record_.seriesSequence(quarter, series);
    if (index == StrikingRecord::NoSequence) {
        return texts.text(text::NoneChoice);
    }
    return "S" + std::to_string(index + 1);
}

LabelText StrikingSettings::hourHammerLabel(bool singleMode) const {
    const std::uint8_t index = singleMode ? record_.hourHammerSingle() : record_.hourHammerRepeat();
    if (index == 0xFF) {
        return {text::NoneChoice, 0};
    }
    return {text::Hammer, index + 1};
}

SectionState StrikingSettings::state() const {
    return sectionstate::tableState<StrikingRecord, std::uint64_t>(std::span(&record_, 1), std::span(&mask_, 1));
}

void StrikingSettings::setState(const SectionState& state) {
    sectionstate::setTableState<StrikingRecord, std::uint64_t>(state, std::span(&record_, 1), std::span(&mask_, 1));
}

void StrikingSettings::markChanges(const SectionState& from, const SectionState& to) {
    sectionstate::markTableChanges<StrikingRecord, std::uint64_t>(from, to, std::span(&mask_, 1), ~std::uint64_t{0});
}

} // namespace tolvane
