#include "gui/schedules/CPropTyg.h"

namespace tolvane {

namespace {

constexpr Qt::Alignment Left = Qt::AlignLeft;
constexpr Qt::Alignment Centre = Qt::AlignHCenter;

ProgramPageSpec weekly() {
    ProgramPageSpec spec;
    spec.kind = Weekly;
    spec.captionText = 159;
    spec.columns = {{ProgramColumn::ActionIcon, 230, 50, Left}, {ProgramColumn::Identifier, 508, 60, Left},
                    {ProgramColumn::Time, 231, 80, Left},       {ProgramColumn::StartDate, 233, 85, Centre},
                    {ProgramColumn::EndDate, 234, 85, Centre},  {ProgramColumn::Weekdays, 236, 80, Left},
                    {ProgramColumn::Priority, 237, 70, Centre}, {ProgramColumn::Season, 239, 90, Left},
                    {ProgramColumn::Description, 238, 80, Left}};
    spec.dateLabelText = 233;
    spec.endDate = true;
    spec.weekdays = true;
    spec.parity = true;
    return spec;
}

} // namespace

CPropTyg::CPropTyg(AppContext& context, QWidget* parent) : CProgramPage(context, weekly(), parent) {}

} // namespace tolvane
