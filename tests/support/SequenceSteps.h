#pragma once

#include "ringing/SequenceTable.h"

#include <cstdint>

namespace tolvane::testing_support {

// A fresh step of a timed kind (bells, hammers, pause) with its duration and units.
inline SequenceStep timedStep(StepKind kind, std::uint16_t tenths, std::uint8_t hundredths = 0,
                              std::uint16_t units = 1) {
    SequenceStep s;
    s.makeFresh();
    s.setKind(kind);
    s.setTenths(tenths);
    s.setHundredths(hundredths);
    s.setUnitMask(units);
    return s;
}

// A fresh repeat step over steps `first` to `last` (counted from 0) with its count or repeat time.
inline SequenceStep repeatStep(StepKind kind, std::uint8_t first, std::uint8_t last, std::uint16_t count) {
    SequenceStep s;
    s.makeFresh();
    s.setKind(kind);
    s.setFirstStep(first);
    s.setLastStep(last);
    s.setCount(count);
    s.setHundredths(0);
    return s;
}

} // namespace tolvane::testing_support
