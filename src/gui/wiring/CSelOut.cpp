#include "gui/wiring/CSelOut.h"

#include "project/ProjectData.h"

namespace tolvane {

CSelOut::CSelOut(AppContext& context, const ProjectData* project, std::uint8_t relay, QWidget* parent)
    : CWiringChooser(context, project, TitleText, FirstColumnWidth, SecondColumnWidth, parent) {
    setRows(project ? wiring::functionRows(project->outputs()) : std::vector<ChooserRow>{},
            project ? project->outputs().functionRowOfRelay(relay) : -1);
}

ChoiceOutcome CSelOut::choose(int row) const {
    return wiring::rowChoice(row);
}

} // namespace tolvane
