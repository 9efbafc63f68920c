#include "ringing/BellTable.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tolvane {

namespace {

std::uint16_t saturate16(long long v) {
    return static_cast<std::uint16_t>(std::clamp<long long>(v, 0, 0xFFFF));
}

std::uint8_t saturate8(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 0xFF));
}

} // namespace

void BellRecord::resetDefaults() {
    fill(0xFF);
    setBellFlags(static_cast<std::uint8_t>(0xFF & ~BellOffBit));
    setRingingSeconds(180);
    setRunUpSeconds(1);
    setSettleSeconds(1);
    setDampSeconds(1);
    setSwingSeconds(5);
}

BellTable::BellTable() {
    reset();
}

bool BellTable::bellDisabled(int bell) const {
    return bell >= 0 && bell < Count && records_[static_cast<std::size_t>(bell)].bellOff();
}

void BellTable::validate(IssueList& issues) const {
    auto outside = [](int v, int lo, int hi) { return v < lo || v > hi; };
    for (int i = 0; i < Count; ++i) {
        const BellRecord& r = records_[static_cast<std::size_t>(i)];
        auto add = [&](std::int32_t code) { issues.push_back({code, i, Area, severity::Critical}); };
        if (outside(r.runUpSeconds(), 1, 60)) {
            add(IssueRunUp);
        }
        if (outside(r.settleSeconds(), 1, 60)) {
            add(IssueSettle);
        }
        if (outside(r.ringingSeconds(), 1, 3599)) {
            add(IssueRinging);
        }
        if (outside(r.dampSeconds(), 1, 60)) {
            add(IssueDamp);
        }
        if (outside(r.swingSeconds(), 1, 599)) {
            add(IssueSwing);
        }
    }
}

void BellTable::setBellEnabled(int i, bool enabled) {
    BellRecord& r = rec(i);
    const auto flags = r.bellFlags();
    const auto next =
        static_cast<std::uint8_t>(enabled ? flags & ~BellRecord::BellOffBit : flags | BellRecord::BellOffBit);
    if (next != flags) {
        r.setBellFlags(next);
        mark(i, MarkEnabled);
    }
}

void BellTable::setFeedbackOn(int i, bool on) {
    BellRecord& r = rec(i);
    auto flags = r.bellFlags();
    const auto next =
        static_cast<std::uint8_t>(on ? flags & ~BellRecord::FeedbackOffBit : flags | BellRecord::FeedbackOffBit);
    if (next != flags) {
        flags = next;
        mark(i, MarkFeedback);
    }
    if (on && (flags & BellRecord::SecondFeedbackOffBit) == 0) {
        flags = static_cast<std::uint8_t>(flags | BellRecord::SecondFeedbackOffBit);
        mark(i, MarkSecondFeedback);
    }
    r.setBellFlags(flags);
}

void BellTable::setSecondFeedbackOn(int i, bool on) {
    BellRecord& r = rec(i);
    auto flags = r.bellFlags();
    const auto next = static_cast<std::uint8_t>(on ? flags & ~BellRecord::SecondFeedbackOffBit
                                                   : flags | BellRecord::SecondFeedbackOffBit);
    if (next != flags) {
        flags = next;
        mark(i, MarkSecondFeedback);
    }
    if (on && (flags & BellRecord::FeedbackOffBit) == 0) {
        flags = static_cast<std::uint8_t>(flags | BellRecord::FeedbackOffBit);
        mark(i, MarkFeedback);
    }
    r.setBellFlags(flags);
}

void BellTable::setRunUpSeconds(int i, int seconds) {
    BellRecord& r = rec(i);
    const auto v = saturate8(seconds);
    if (v != r.runUpSeconds()) {
        r.setRunUpSeconds(v);
        mark(i, MarkRunUp);
    }
}

void BellTable::setSettleSeconds(int i, int seconds) {
    BellRecord& r = rec(i);
    const auto v = saturate8(seconds);
    if (v != r.settleSeconds()) {
        r.setSettleSeconds(v);
        mark(i, MarkSettle);
    }
}

void BellTable::setDampSeconds(int i, int seconds) {
    BellRecord& r = rec(i);
    const auto v = saturate8(seconds);
    if (v != r.dampSeconds()) {
        r.setDampSeconds(v);
        mark(i, MarkDamp);
    }
}

void BellTable::setRingingTime(int i, int minutes, int seconds) {
    setRingingSeconds(i, static_cast<int>(saturate16(static_cast<long long>(minutes) * 60 + seconds)));
}

void BellTable::setRingingSeconds(int i, int totalSeconds) {
    BellRecord& r = rec(i);
    const auto v = saturate16(totalSeconds);
    const auto old = r.ringingSeconds();
    if (v == old) {
        return;
    }
    r.setRingingSeconds(v);
    if (v / 60 != old / 60) {
        mark(i, MarkRingingMinutes);
    }
    if (v % 60 != old % 60) {
        mark(i, MarkRingingSeconds);
    }
}

void BellTable::setSwingTime(int i, int minutes, int seconds) {
    BellRecord& r = rec(i);
    const auto v = std::max<std::uint16_t>(1, saturate16(static_cast<long long>(minutes) * 60 + seconds));
    if (v != r.swingSeconds()) {
        r.setSwingSeconds(v);
        mark(i, MarkSwing);
    }
}

void BellTable::markRelayChanged(int i) {
    (void)rec(i);
    mark(i, MarkRelay);
}

} // namespace tolvane
