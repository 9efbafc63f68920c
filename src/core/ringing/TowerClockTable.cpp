#include "ringing/TowerClockTable.h"

#include "ringing/OutputMap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace tolvane {

namespace {

void requireImage(std::size_t size) {
    if (size < TowerClockTable::ImageSize) {
        throw std::out_of_range("clock image too short");
    }
}

std::uint16_t saturate16(long long v) {
    return static_cast<std::uint16_t>(std::clamp<long long>(v, 0, 0xFFFF));
}

// A value typed in seconds with one decimal, as tenths: truncated, with a small tolerance so that values such as
// 0.3 (2.999... tenths in binary) keep their digit.
int tenthsFromTyped(double seconds) {
    const double tenths = seconds * 10.0 + 1e-6;
    return std::isnan(tenths) ? 0 : static_cast<int>(std::trunc(std::clamp(tenths, 0.0, 65535.0)));
}

} // namespace

void ClockRecord::resetDefaults() {
    fill(0xFF);
    setClockType(1);
    setOffsetMinutes(0);
    setPulseSeconds(8);
    setLongPulseTenths(10);
    setGapTenths(3);
}

TowerClockTable::TowerClockTable() {
    reset();
}

const ClockRecord& TowerClockTable::record(int i) const {
    if (i < 0 || i >= Count) {
        throw std::out_of_range("clock index");
    }
    return records_[static_cast<std::size_t>(i)];
}

ClockRecord& TowerClockTable::rec(int i) {
    return const_cast<ClockRecord&>(std::as_const(*this).record(i));
}

std::uint32_t TowerClockTable::changeMark(int i) const {
    (void)record(i);
    return marks_[static_cast<std::size_t>(i)];
}

void TowerClockTable::resetItem(int index) {
    rec(index).resetDefaults();
    marks_[static_cast<std::size_t>(index)] = 0;
}

void TowerClockTable::reset() {
    for (int i = 0; i < Count; ++i) {
        resetItem(i);
    }
}

void TowerClockTable::swapByteOrder(std::span<std::uint8_t> image) const {
    requireImage(image.size());
    for (std::size_t c = 0; c < Count; ++c) {
        for (std::size_t off : ClockRecord::WordOffsets) {
            bytes::swap16(image, c * ClockRecord::Size + off);
        }
    }
}

void TowerClockTable::unpackImage(std::span<const std::uint8_t> image) {
    requireImage(image.size());
    std::array<std::uint8_t, ImageSize> local{};
    std::copy_n(image.begin(), ImageSize, local.begin());
    swapByteOrder(local);
    for (std::size_t c = 0; c < Count; ++c) {
        std::copy_n(local.begin() + static_cast<std::ptrdiff_t>(c * ClockRecord::Size), ClockRecord::Size,
                    records_[c].bytes().begin());
    }
}

void TowerClockTable::packImage(std::span<std::uint8_t> image) {
    requireImage(image.size());
    for (std::size_t c = 0; c < Count; ++c) {
        const auto src = std::as_const(records_[c]).bytes();
        std::copy(src.begin(), src.end(), image.begin() + static_cast<std::ptrdiff_t>(c * ClockRecord::Size));
    }
    swapByteOrder(image.first(ImageSize));
}

void TowerClockTable::validate(IssueList& issues) const {
    for (int i = 0; i < Count; ++i) {
        const ClockRecord& r = records_[static_cast<std::size_t>(i)];
        if (r.clockOff()) {
            continue;
        }
        const auto type = r.clockType();
        const int pulseMax = type == 2 ? 30 : type == 3 ? 50 : 60;
        if (type != SingleRelayType && (r.pulseSeconds() < 1 || r.pulseSeconds() > pulseMax)) {
            issues.push_back({IssuePulse, i, Area, severity::Critical});
        }
        if (outputs_ != nullptr && (type == 1 || type == 2)) {
            if (outputs_->clockRelayA(i) == OutputMapRecord::NoRelay) {
                issues.push_back({IssueNoRelayA, i, Area, severity::Note});
            }
            if (outputs_->clockRelayB(i) == OutputMapRecord::NoRelay) {
                issues.push_back({IssueNoRelayB, i, Area, severity::Note});
            }
        }
        if (type == 3 && (r.gapTenths() < 3 || r.gapTenths() > 10)) {
            issues.push_back({IssueGap, i, Area, severity::Critical});
        }
    }
}

void TowerClockTable::serialize(SectionArchive& archive) {
    if (archive.isStoring()) {
        std::array<std::uint8_t, BodySize> body{};
        for (std::size_t c = 0; c < Count; ++c) {
            const auto src = std::as_const(records_[c]).bytes();
            std::copy(src.begin(), src.end(), body.begin() + static_cast<std::ptrdiff_t>(c * ClockRecord::Size));
        }
        archive.writeBody(body);
        return;
    }
    const auto body = archive.readBody(BodySize);
    for (std::size_t pos = 0; pos < body.size(); ++pos) {
        records_[pos / ClockRecord::Size].bytes()[pos % ClockRecord::Size] = body[pos];
    }
}

void TowerClockTable::clearModified() {
    marks_.fill(0);
}

bool TowerClockTable::isModified() const {
    return std::any_of(marks_.begin(), marks_.end(), [](std::uint32_t m) { return m != 0; });
}

int TowerClockTable::shownType(int i) const {
    const auto type = record(i).clockType();
    return type >= 2 && type <= 5 ? type : 1;
}

int TowerClockTable::pulseMaximum(int type) {
    switch (type) {
    case 2:
    case 5:
        return 30;
    case 3:
        return 50;
    case 4:
        return 0;
    default:
        return 60;
    }
}

void TowerClockTable::setFlag(int i, std::uint8_t bit, bool set, std::uint32_t markBits) {
    ClockRecord& r = rec(i);
    const auto flags = r.clockFlags();
    const auto next = static_cast<std::uint8_t>(set ? flags | bit : flags & ~bit);
    if (next != flags) {
        r.setClockFlags(next);
        mark(i, markBits);
    }
}

void TowerClockTable::setClockEnabled(int i, bool enabled) {
    setFlag(i, ClockRecord::ClockOffBit, !enabled, MarkEnabled);
}

void TowerClockTable::setCorrectionContactUsed(int i, bool used) {
    setFlag(i, ClockRecord::ContactUnusedBit, !used, MarkContact);
}

void TowerClockTable::setTwelveHourMode(int i, bool on) {
    setFlag(i, ClockRecord::TwelveHourBit, on, MarkMode);
}

void TowerClockTable::setType5FirstMode(int i, bool on) {
    setFlag(i, ClockRecord::Type5FirstModeBit, on, MarkMode);
}

void TowerClockTable::setClockType(int i, int type) {
    ClockRecord& r = rec(i);
    const auto v = static_cast<std::uint8_t>(std::clamp(type, 0, 0xFF));
    if (v != r.clockType()) {
        r.setClockType(v);
        mark(i, MarkType);
    }
}

void TowerClockTable::setOffset(int i, bool negative, int hours, int minutes) {
    ClockRecord& r = rec(i);
    const long long magnitude = static_cast<long long>(hours) * 60 + minutes;
    const auto v = static_cast<std::int16_t>(std::clamp<long long>(negative ? -magnitude : magnitude, -32768, 32767));
    const auto old = r.offsetMinutes();
    if (v == old) {
        return;
    }
    r.setOffsetMinutes(v);
    const int newAbs = std::abs(static_cast<int>(v));
    const int oldAbs = std::abs(static_cast<int>(old));
    const bool hoursDiffer = newAbs / 60 != oldAbs / 60;
    const bool minutesDiffer = newAbs % 60 != oldAbs % 60;
    if (hoursDiffer || !minutesDiffer) {
        mark(i, MarkOffsetHours); // also a change of sign alone, which neither part shows
    }
    if (minutesDiffer) {
        mark(i, MarkOffsetMinutes);
    }
}

void TowerClockTable::setPulseSeconds(int i, int seconds) {
    ClockRecord& r = rec(i);
    const auto v = saturate16(seconds);
    if (v != r.pulseSeconds()) {
        r.setPulseSeconds(v);
        mark(i, MarkPulse);
    }
}

void TowerClockTable::setGapTenths(int i, int tenths) {
    ClockRecord& r = rec(i);
    const auto v = saturate16(tenths);
    if (v != r.gapTenths()) {
        r.setGapTenths(v);
        mark(i, MarkGap);
    }
}

void TowerClockTable::setLongPulseTenths(int i, int tenths) {
    ClockRecord& r = rec(i);
    const auto v = saturate16(tenths);
    if (v != r.longPulseTenths()) {
        r.setLongPulseTenths(v);
        mark(i, MarkLongPulse);
    }
}

void TowerClockTable::setGapSeconds(int i, double seconds) {
    setGapTenths(i, tenthsFromTyped(seconds));
}

void TowerClockTable::setLongPulseSeconds(int i, double seconds) {
    setLongPulseTenths(i, tenthsFromTyped(seconds));
}

void TowerClockTable::addChangeBits(int i, std::uint32_t bits) {
    (void)rec(i);
    mark(i, bits);
}

void TowerClockTable::acceptEdit(int i, const ClockRecord& edited, std::uint32_t changeBits) {
    rec(i) = edited;
    mark(i, changeBits);
}

SectionState TowerClockTable::state() const {
    return sectionstate::tableState<ClockRecord, std::uint32_t>(records_, marks_);
}

void TowerClockTable::setState(const SectionState& state) {
    sectionstate::setTableState<ClockRecord, std::uint32_t>(state, records_, marks_);
}

void TowerClockTable::markChanges(const SectionState& from, const SectionState& to) {
    sectionstate::markTableChanges<ClockRecord, std::uint32_t>(from, to, marks_, 0xFFFFFFFFu);
}

} // namespace tolvane
