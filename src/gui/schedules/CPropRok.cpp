#include "gui/schedules/CPropRok.h"

#include "gui/schedules/DatedProgramSpec.h"

namespace tolvane {

CPropRok::CPropRok(AppContext& context, QWidget* parent)
    : CProgramPage(context, datedProgramSpec(Annual, 160, 55), parent) {}

} // namespace tolvane
