#include "gui/schedules/ProgramPageTable.h"

#include "schedules/ScheduleProgram.h"

#include <stdexcept>

namespace tolvane {

namespace {

constexpr Qt::Alignment Left = Qt::AlignLeft;
constexpr Qt::Alignment Centre = Qt::AlignHCenter;

// The columns shared by every kind lead each list: what is done, the program's number and its time.
constexpr ProgramColumnSpec ActionIcon{ProgramColumn::ActionIcon, 230, 50, Left};
constexpr ProgramColumnSpec Identifier{ProgramColumn::Identifier, 508, 60, Left};
constexpr ProgramColumnSpec Time{ProgramColumn::Time, 231, 80, Left};
constexpr ProgramColumnSpec Weekdays{ProgramColumn::Weekdays, 236, 80, Left};
constexpr ProgramColumnSpec Priority{ProgramColumn::Priority, 237, 70, Centre};
constexpr ProgramColumnSpec Description{ProgramColumn::Description, 238, 80, Left};
constexpr ProgramColumnSpec Season{ProgramColumn::Season, 239, 90, Left};

// Annual and one-time programs: one day, with or without its year; only the date column's width differs.
ProgramPageSpec dated(int kind, int caption, int dateWidth) {
    ProgramPageSpec spec;
    spec.kind = kind;
    spec.captionText = caption;
    spec.columns = {ActionIcon, Identifier,  Time,  {ProgramColumn::Date, 235, dateWidth, Centre},
                    Priority,   Description, Season};
    spec.dateLabelText = 235;
    spec.year = kind == OneTime;
    return spec;
}

std::vector<ProgramPageSpec> buildTable() {
    std::vector<ProgramPageSpec> table;

    // On chosen weekdays within a yearly window, in the chosen seasons, weeks and months.
    ProgramPageSpec weekly;
    weekly.kind = Weekly;
    weekly.captionText = 159;
    weekly.columns = {ActionIcon,
                      Identifier,
                      Time,
                      {ProgramColumn::StartDate, 233, 85, Centre},
                      {ProgramColumn::EndDate, 234, 85, Centre},
                      Weekdays,
                      Priority,
                      Season,
                      Description};
    weekly.dateLabelText = 233;
    weekly.endDate = true;
    weekly.weekdays = true;
    weekly.parity = true;
    table.push_back(std::move(weekly));

    // Every year on one day.
    table.push_back(dated(Annual, 160, 55));

    // On the holiday each names from the holiday table, on the chosen weekdays.
    ProgramPageSpec holidayDay;
    holidayDay.kind = HolidayDay;
    holidayDay.captionText = 161;
    holidayDay.columns = {ActionIcon, Identifier, Time,        {ProgramColumn::Holiday, 232, 120, Centre},
                          Weekdays,   Priority,   Description, Season};
    holidayDay.date = false;
    holidayDay.weekdays = true;
    table.push_back(std::move(holidayDay));

    // Once, on a day of a year.
    table.push_back(dated(OneTime, 162, 75));

    // The eight funeral tolling programs: what is rung, at up to three times of the day or before or after the
    // Angelus, on how many days, with or without the funeral relay.
    ProgramPageSpec funeral;
    funeral.kind = Funeral;
    funeral.captionText = 163;
    funeral.columns = {ActionIcon, Identifier, Time, Description};
    funeral.date = false;
    table.push_back(std::move(funeral));

    return table;
}

} // namespace

std::span<const ProgramPageSpec> programPageTable() {
    static const std::vector<ProgramPageSpec> table = buildTable();
    return table;
}

const ProgramPageSpec& programPageSpec(int kind) {
    for (const ProgramPageSpec& spec : programPageTable()) {
        if (spec.kind == kind) {
            return spec;
        }
    }
    throw std::out_of_range("schedule kind without a page");
}

} // namespace tolvane
