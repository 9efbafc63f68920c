#include "ringing/HammerTable.h"

#include "device/TypedNumber.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tolvane {

void HammerRecord::resetDefaults() {
    setU16(FirstWordOffset, 0xFFFF);
    setU8(ZeroByteOffset, 0);
    setU16(SecondWordOffset, 0xFFFF);
    setPulseTenths(2);
    setU8(SpareByteOffset, 0);
    setLinkedBell(NoBell);
}

HammerTable::HammerTable() {
    reset();
}

void HammerTable::validate(IssueList& issues) const {
    for (int i = 0; i < Count; ++i) {
        const auto pulse = records_[static_cast<std::size_t>(i)].pulseTenths();
        if (pulse < 1 || pulse > 20) {
            issues.push_back({IssuePulse, i, Area, severity::Critical});
        }
    }
}

void HammerTable::setPulseTenths(int i, int tenths) {
    HammerRecord& r = rec(i);
    const auto v = static_cast<std::uint16_t>(std::clamp(tenths, 0, 0xFFFF));
    if (v != r.pulseTenths()) {
        r.setPulseTenths(v);
        mark(i, MarkPulse);
    }
}

void HammerTable::setPulseSeconds(int i, double seconds) {
    setPulseTenths(i, tenthsFromTyped(seconds));
}

int HammerTable::hammerLinkedTo(std::uint8_t bell, int except) const {
    if (bell == HammerRecord::NoBell) {
        return -1;
    }
    for (int h = 0; h < Count; ++h) {
        if (h != except && records_[static_cast<std::size_t>(h)].linkedBell() == bell) {
            return h;
        }
    }
    return -1;
}

bool HammerTable::setLinkedBell(int i, std::uint8_t bell) {
    HammerRecord& r = rec(i);
    if (bell != HammerRecord::NoBell && bell >= 5) {
        return false;
    }
    if (bell == r.linkedBell()) {
        return true;
    }
    if (hammerLinkedTo(bell, i) >= 0) {
        return false;
    }
    r.setLinkedBell(bell);
    mark(i, MarkLinkedBell);
    return true;
}

void HammerTable::markRelayChanged(int i) {
    (void)rec(i);
    mark(i, MarkRelay);
}

} // namespace tolvane
