#include "gui/schedules/CPropJed.h"

#include "gui/schedules/DatedProgramSpec.h"

namespace tolvane {

CPropJed::CPropJed(AppContext& context, QWidget* parent)
    : CProgramPage(context, datedProgramSpec(OneTime, 162, 75), parent) {}

} // namespace tolvane
