#include "gui/settings/CSelectDzwonDlg.h"

#include "project/ProjectData.h"
#include "ringing/EquipmentEditing.h"

namespace tolvane {

CSelectDzwonDlg::CSelectDzwonDlg(AppContext& context, const ProjectData* project, int hammer, std::uint8_t current,
                                 QWidget* parent)
    : CWiringChooser(context, project, TitleText, FirstColumnWidth, SecondColumnWidth, parent), hammer_(hammer),
      current_(current) {
    setRows(project ? equipment::bellRows(project->hammers()) : std::vector<ChooserRow>{},
            project ? equipment::bellRowOf(current) : -1);
}

ChoiceOutcome CSelectDzwonDlg::choose(int row) const {
    return project() ? equipment::bellChoice(project()->hammers(), hammer_, current_, row) : wiring::rowChoice(-1);
}

} // namespace tolvane
