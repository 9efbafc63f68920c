#include "gui/wiring/CSelectWeDlg.h"

#include "project/ProjectData.h"

namespace tolvane {

CSelectWeDlg::CSelectWeDlg(AppContext& context, const ProjectData* project, std::uint8_t current, QWidget* parent)
    : CWiringChooser(context, project, TitleText, FirstColumnWidth, SecondColumnWidth, parent), current_(current) {
    setRows(project ? wiring::inputRows(project->outputs()) : std::vector<ChooserRow>{},
            project ? wiring::inputRowOf(current) : -1);
}

ChoiceOutcome CSelectWeDlg::choose(int row) const {
    return project() ? wiring::inputChoice(project()->outputs(), current_, row) : wiring::rowChoice(-1);
}

} // namespace tolvane
