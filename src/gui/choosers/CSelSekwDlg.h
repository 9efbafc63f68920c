#pragma once

#include "gui/choosers/ChooserDialog.h"

namespace tolvane {

class ProjectData;

// The sequence chooser of the schedule pages and the gongs page: the sequences in use, in index order, with
// their names and total times; the current one is preselected. With no sequence in use (or no project) the list
// shows why and neither it nor OK can be used.
class CSelSekwDlg : public ChooserDialog {
    Q_OBJECT
public:
    static constexpr int TitleText = 572;
    static constexpr int NoSequencesText = 594;
    static constexpr int NoProjectText = 112;
    static constexpr int NameColumnWidth = 100;
    static constexpr int TotalColumnWidth = 70;

    CSelSekwDlg(const ProjectData* project, int currentIndex, const TextSource& texts, PromptService& prompts,
                QWidget* parent = nullptr);

    // The record index of the chosen row, -1 when none.
    int chosenIndex() const;
};

} // namespace tolvane
