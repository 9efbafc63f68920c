#include "gui/wiring/CSelPowr.h"

#include "project/ProjectData.h"

namespace tolvane {

CSelPowr::CSelPowr(AppContext& context, const ProjectData* project, int entry, QWidget* parent)
    : CWiringChooser(context, project, TitleText, FirstColumnWidth, SecondColumnWidth, parent) {
    setRows(project ? wiring::returnRoleRows(project->outputs()) : std::vector<ChooserRow>{},
            project ? project->outputs().returnRow(entry) : -1);
}

ChoiceOutcome CSelPowr::choose(int row) const {
    return wiring::rowChoice(row);
}

} // namespace tolvane
