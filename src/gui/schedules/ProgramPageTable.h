#pragma once

#include "gui/schedules/CProgramModel.h"

#include <span>
#include <vector>

namespace tolvane {

// What a schedule page shows: its kind, its list columns and which date controls its editor has.
struct ProgramPageSpec {
    int kind = 0;
    int captionText = 0;
    std::vector<ProgramColumnSpec> columns;
    int dateLabelText = 233; // the label before the (start) date
    bool date = true;        // the (start) date row
    bool endDate = false;
    bool weekdays = false;
    bool parity = false;
    bool year = false;
};

// The schedule pages, one row each: weekly, annual, holiday-day, one-time and funeral tolling. Each is a
// CProgramPage set up by its row; the view's page table names the row by its kind.
std::span<const ProgramPageSpec> programPageTable();
// The row of `kind`; throws std::out_of_range for a kind without a schedule page.
const ProgramPageSpec& programPageSpec(int kind);

} // namespace tolvane
