#include "gui/wiring/CSelectPKDlg.h"

#include "project/ProjectData.h"

namespace tolvane {

CSelectPKDlg::CSelectPKDlg(AppContext& context, const ProjectData* project, std::uint8_t current, QWidget* parent)
    : CWiringChooser(context, project, TitleText, FirstColumnWidth, SecondColumnWidth, parent), current_(current) {
    setRows(project ? wiring::relayRows(project->outputs()) : std::vector<ChooserRow>{},
            project ? wiring::relayRowOf(current) : -1);
}

ChoiceOutcome CSelectPKDlg::choose(int row) const {
    return project() ? wiring::relayChoice(project()->outputs(), current_, row) : wiring::rowChoice(-1);
}

} // namespace tolvane
