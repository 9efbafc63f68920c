#pragma once

namespace tolvane {

// The schedule kinds, which are also the indices of the six programs.
enum ProgramKind : int { Weekly = 0, HolidayDay = 1, Annual = 2, OneTime = 3, Funeral = 4, SpecialTolling = 5 };

// The two tolling kinds keep every entry in use and have a fixed number of entries.
constexpr bool isTollingKind(int kind) {
    return kind == Funeral || kind == SpecialTolling;
}

} // namespace tolvane
