#include "gui/schedules/CPropSwi.h"

namespace tolvane {

namespace {

ProgramPageSpec holidayDay() {
    constexpr Qt::Alignment Left = Qt::AlignLeft;
    constexpr Qt::Alignment Centre = Qt::AlignHCenter;
    ProgramPageSpec spec;
    spec.kind = HolidayDay;
    spec.captionText = 161;
    spec.columns = {{ProgramColumn::ActionIcon, 230, 50, Left},  {ProgramColumn::Identifier, 508, 60, Left},
                    {ProgramColumn::Time, 231, 80, Left},        {ProgramColumn::Holiday, 232, 120, Centre},
                    {ProgramColumn::Weekdays, 236, 80, Left},    {ProgramColumn::Priority, 237, 70, Centre},
                    {ProgramColumn::Description, 238, 80, Left}, {ProgramColumn::Season, 239, 90, Left}};
    spec.date = false;
    spec.weekdays = true;
    return spec;
}

} // namespace

CPropSwi::CPropSwi(AppContext& context, QWidget* parent) : CProgramPage(context, holidayDay(), parent) {}

} // namespace tolvane
