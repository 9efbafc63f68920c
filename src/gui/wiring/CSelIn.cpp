#include "gui/wiring/CSelIn.h"

#include "project/ProjectData.h"

namespace tolvane {

CSelIn::CSelIn(AppContext& context, const ProjectData* project, int entry, QWidget* parent)
    : CWiringChooser(context, project, TitleText, FirstColumnWidth, SecondColumnWidth, parent) {
    setRows(project ? wiring::inputRoleRows(project->outputs()) : std::vector<ChooserRow>{},
            project ? project->outputs().inputRow(entry) : -1);
}

ChoiceOutcome CSelIn::choose(int row) const {
    return wiring::rowChoice(row);
}

} // namespace tolvane
