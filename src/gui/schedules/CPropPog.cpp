#include "gui/schedules/CPropPog.h"

namespace tolvane {

namespace {

ProgramPageSpec funeral() {
    constexpr Qt::Alignment Left = Qt::AlignLeft;
    ProgramPageSpec spec;
    spec.kind = Funeral;
    spec.captionText = 163;
    spec.columns = {{ProgramColumn::ActionIcon, 230, 50, Left},
                    {ProgramColumn::Identifier, 508, 60, Left},
                    {ProgramColumn::Time, 231, 80, Left},
                    {ProgramColumn::Description, 238, 80, Left}};
    spec.date = false;
    return spec;
}

} // namespace

CPropPog::CPropPog(AppContext& context, QWidget* parent) : CProgramPage(context, funeral(), parent) {}

} // namespace tolvane
