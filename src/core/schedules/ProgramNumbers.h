#pragma once

#include "schedules/ScheduleProgram.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tolvane {

// Program numbers (entry identifiers) run from 1 to 512 across the weekly, holiday-day, annual and one-time
// programs; the tolling programs carry none.
constexpr int MaxProgramNumber = 512;

// One used entry that carries a program number.
struct ProgramNumberUser {
    ProgramKind kind;
    int entry;
    bool operator==(const ProgramNumberUser&) const = default;
};

// For every number 1-512 the used entries that carry it, in the order of the programs given and then by entry;
// index 0 stays empty. Free slots do not count, nor do numbers outside 1-512. A number held twice shows both
// holders (validation reports the second).
using ProgramNumberUses = std::array<std::vector<ProgramNumberUser>, MaxProgramNumber + 1>;

// The programs are those of kinds 0-3 (weekly, holiday-day, annual, one-time); a tolling program given here
// adds nothing.
ProgramNumberUses programNumberUses(std::span<const ScheduleProgram* const> programs);

} // namespace tolvane
