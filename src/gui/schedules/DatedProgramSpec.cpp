#include "gui/schedules/DatedProgramSpec.h"

namespace tolvane {

ProgramPageSpec datedProgramSpec(int kind, int captionText, int dateWidth) {
    constexpr Qt::Alignment Left = Qt::AlignLeft;
    constexpr Qt::Alignment Centre = Qt::AlignHCenter;
    ProgramPageSpec spec;
    spec.kind = kind;
    spec.captionText = captionText;
    spec.columns = {{ProgramColumn::ActionIcon, 230, 50, Left}, {ProgramColumn::Identifier, 508, 60, Left},
                    {ProgramColumn::Time, 231, 80, Left},       {ProgramColumn::Date, 235, dateWidth, Centre},
                    {ProgramColumn::Priority, 237, 70, Centre}, {ProgramColumn::Description, 238, 80, Left},
                    {ProgramColumn::Season, 239, 90, Left}};
    spec.dateLabelText = 235;
    spec.year = kind == OneTime;
    return spec;
}

} // namespace tolvane
