#include "report/IssueTarget.h"

#include <algorithm>
#include <array>
#include <limits>

namespace tolvane {

namespace {

// One row per area (two for area 5, told apart by the code): the page that edits the area's records or settings,
// what the issue's item counts there and how many such records there are, and whether the page focuses the
// setting named by the issue's code.
struct TargetRow {
    int area;
    int firstCode; // the codes of the area this row takes
    int lastCode;
    IssuePage page;
    IssueRecord kind;
    int records; // valid items 0 .. records-1
    bool focusesSetting;
};

constexpr int AllFrom = std::numeric_limits<int>::min();
constexpr int AnyCode = std::numeric_limits<int>::max();

// Area 5 is both the special tolling program (its program kind) and the holiday table: the program entry checks
// (codes 2-13) name a special tolling entry, every other code a holiday.
constexpr int FirstEntryCode = 2;
constexpr int LastEntryCode = 13;

constexpr std::array<TargetRow, 20> Targets{{
    {0, AllFrom, AnyCode, IssuePage::WeeklyPrograms, IssueRecord::ProgramEntry, 128, false},
    {1, AllFrom, AnyCode, IssuePage::HolidayPrograms, IssueRecord::ProgramEntry, 128, false},
    {2, AllFrom, AnyCode, IssuePage::AnnualPrograms, IssueRecord::ProgramEntry, 128, false},
    {3, AllFrom, AnyCode, IssuePage::OneTimePrograms, IssueRecord::ProgramEntry, 128, false},
    {4, AllFrom, AnyCode, IssuePage::FuneralTolling, IssueRecord::ProgramEntry, 8, false},
    {5, FirstEntryCode, LastEntryCode, IssuePage::SpecialTolling, IssueRecord::ProgramEntry, 3, false},
    {5, AllFrom, AnyCode, IssuePage::Holidays, IssueRecord::Holiday, 128, false},
    {6, AllFrom, AnyCode, IssuePage::Settings, IssueRecord::Bell, 5, false},
    {7, AllFrom, AnyCode, IssuePage::Settings, IssueRecord::Clock, 2, false},
    // Hour striking, its herald, the quarters, the quarter herald and the night silences.
    {8, AllFrom, AnyCode, IssuePage::Striking, IssueRecord::None, 0, false},
    {9, AllFrom, AnyCode, IssuePage::Striking, IssueRecord::None, 0, false},
    {10, AllFrom, AnyCode, IssuePage::Striking, IssueRecord::Quarter, 4, false},
    {11, AllFrom, AnyCode, IssuePage::Striking, IssueRecord::None, 0, false},
    {12, AllFrom, AnyCode, IssuePage::Striking, IssueRecord::None, 0, false},
    // The amplifier (codes 37-39).
    {13, AllFrom, AnyCode, IssuePage::Settings, IssueRecord::None, 0, true},
    // The controller's display: contrast, brightness and display time (codes 41-43).
    {14, AllFrom, AnyCode, IssuePage::UserSettings, IssueRecord::None, 0, true},
    // The location name (code 45).
    {15, AllFrom, AnyCode, IssuePage::Settings, IssueRecord::None, 0, true},
    {16, AllFrom, AnyCode, IssuePage::Settings, IssueRecord::Hammer, 5, false},
    {17, AllFrom, AnyCode, IssuePage::Sequences, IssueRecord::Sequence, 42, false},
    // The access codes (code 100 and our later ones): item 0 the user code, 1 the service code.
    {18, AllFrom, AnyCode, IssuePage::Settings, IssueRecord::AccessCode, 2, false},
}};

} // namespace

IssueTarget issueTarget(const ValidationIssue& issue) {
    const auto row = std::find_if(Targets.begin(), Targets.end(), [&issue](const TargetRow& r) {
        return r.area == issue.area && issue.code >= r.firstCode && issue.code <= r.lastCode;
    });
    if (row == Targets.end()) {
        return {};
    }
    IssueTarget target;
    target.page = row->page;
    target.kind = row->kind;
    if (row->kind != IssueRecord::None && issue.item >= 0 && issue.item < row->records) {
        target.record = issue.item;
    }
    if (row->focusesSetting) {
        target.setting = issue.code;
    }
    return target;
}

} // namespace tolvane
