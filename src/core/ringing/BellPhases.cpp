#include "ringing/BellPhases.h"

#include "ringing/BellTable.h"

#include <algorithm>

namespace tolvane {

BellPhases::BellPhases(int runUp, int settle, int ringing, int damp, int swing)
    : lengths_{runUp, settle, ringing, damp, swing} {}

BellPhases BellPhases::of(const BellRecord& bell) {
    return {bell.runUpSeconds(), bell.settleSeconds(), bell.ringingSeconds(), bell.dampSeconds(), bell.swingSeconds()};
}

int BellPhases::start(Bar bar) const {
    switch (bar) {
    case Settle:
        return length(RunUp);
    case Damp:
    case Swing:
        return length(Ringing);
    case RunUp:
    case Ringing:
        break;
    }
    return 0;
}

BellPhases::Limits BellPhases::limits(Bar bar) const {
    switch (bar) {
    case Ringing:
        return {length(RunUp) + length(Settle) + MinRingingMargin, MaxRinging};
    case Swing:
        return {length(Damp), MaxSwing};
    case RunUp:
    case Settle:
    case Damp:
        break;
    }
    return {1, 60};
}

void BellPhases::dragEnd(Bar bar, int newEnd) {
    auto& len = lengths_;
    const auto at = [](Bar b) { return static_cast<std::size_t>(b); };
    const Limits own = limits(bar);
    const int wanted = std::clamp(newEnd - start(bar), own.lowest, std::max(own.lowest, own.highest));
    int delta = wanted - length(bar);
    switch (bar) {
    case RunUp:
    case Settle:
        // The ringing grows with the phase in front of it, but never beyond its own limit.
        delta = std::min(delta, MaxRinging - length(Ringing));
        len[at(bar)] += delta;
        len[at(Ringing)] += delta;
        break;
    case Ringing:
        len[at(Ringing)] = wanted;
        break;
    case Damp:
        delta = std::min(delta, MaxSwing - length(Swing));
        delta = std::max(delta, 1 - length(Swing));
        len[at(Damp)] += delta;
        len[at(Swing)] += delta;
        break;
    case Swing:
        len[at(Swing)] = wanted;
        break;
    }
}

} // namespace tolvane
