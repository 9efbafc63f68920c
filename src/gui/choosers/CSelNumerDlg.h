#pragma once

#include "gui/choosers/ChooserDialog.h"

namespace tolvane {

class ProjectData;

// The program-number picker of the schedule pages: the numbers 1-512, each with the programs that already use
// it (marked, and named by their page and start time), the current number preselected. Typing a number jumps to
// it. A used number may be chosen too: validation reports duplicates.
class CSelNumerDlg : public ChooserDialog {
    Q_OBJECT
public:
    static constexpr int TitleText = 2090;
    static constexpr int NumberColumnText = 2091;
    static constexpr int UsedByColumnText = 2092;
    static constexpr int FreeText = 2093;
    static constexpr int UsedByText = 2094; // "used by %s"
    static constexpr int UsedRole = Qt::UserRole + 1;

    CSelNumerDlg(const ProjectData& project, int currentNumber, const TextSource& texts, PromptService& prompts,
                 QWidget* parent = nullptr);

    // 1-512, or 0 when none is selected.
    int chosenNumber() const;

    // The page caption text naming the programs of a kind (0-3).
    static int kindCaptionText(int kind);
};

} // namespace tolvane
