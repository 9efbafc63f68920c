#pragma once

#include "section/ValidationIssue.h"

namespace tolvane {

// The editor's pages that show the cause of an issue. The editor maps each to its own page.
enum class IssuePage {
    None, // an area the editor has no page for: the report row leads nowhere
    WeeklyPrograms,
    HolidayPrograms,
    AnnualPrograms,
    OneTimePrograms,
    FuneralTolling,
    SpecialTolling,
    Holidays,
    Sequences,
    Striking,
    Settings,
    UserSettings,
    TimeCorrections,
    CrossConnection,
    Chimes,
};

// What the record number of a target counts.
enum class IssueRecord {
    None,         // the page holds settings without records
    ProgramEntry, // an entry of the page's program (its index in the program)
    Holiday,      // a slot of the holiday table
    Sequence,     // a sequence (its record number)
    Quarter,      // a quarter of the quarter striking, 0-3
    Bell,         // 0-4
    Hammer,       // 0-4
    Clock,        // 0-1
    AccessCode,   // 0 the user code, 1 the service code
    Chime,        // a chime name's slot, 0-299
};

// Where an issue lies: the page that edits its cause, the record to select there, or — on a page of settings
// without records — the validation code whose control takes the focus.
struct IssueTarget {
    IssuePage page = IssuePage::None;
    IssueRecord kind = IssueRecord::None;
    int record = -1; // -1 when the target has no record
    int setting = 0; // the issue's code when the page focuses a setting, 0 otherwise

    friend bool operator==(const IssueTarget&, const IssueTarget&) = default;
};

// The page and record of `issue`, read from its area (and, where one area serves two pages, its code). An unknown
// area, or a record number outside its table, gives a target without a page or without a record.
IssueTarget issueTarget(const ValidationIssue& issue);

} // namespace tolvane
