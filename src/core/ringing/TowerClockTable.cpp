#include "ringing/TowerClockTable.h"

#include "device/TypedNumber.h"
#include "ringing/OutputMap.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace tolvane {

namespace {

std::uint16_t saturate16(long long v) {
    return static_cast<std::uint16_t>(std::clamp<long long>(v, 0, 0xFFFF));
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

bool TowerClockTable::setClockLock(int i, bool locked) {
    ClockRecord& r = rec(i);
    const auto flags = r.clockFlags();
    const auto next = static_cast<std::uint8_t>(locked ? flags | ClockRecord::LockBit : flags & ~ClockRecord::LockBit);
    r.setClockFlags(next);
    return next != flags;
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

} // namespace tolvane
