#pragma once

#include "gui/choosers/ChooserDialog.h"

#include <vector>

namespace tolvane {

class SequenceTable;

// The step chooser of the step editor: the steps a repeat step's range may start or end at (the core's rule
// decides which), each with its number "<n>" and what it does; the current one is preselected. OK with nothing
// selected says so (text 114) and stays open, which is also what a repeat step with no earlier step meets.
class CSelKrok : public ChooserDialog {
    Q_OBJECT
public:
    static constexpr int FirstTitleText = 669;
    static constexpr int LastTitleText = 670;
    static constexpr int NumberColumnWidth = 50;
    static constexpr int StepColumnWidth = 150;

    // `steps` are the step indices offered; `forFirst` chooses the title.
    CSelKrok(const SequenceTable& table, int sequence, const std::vector<int>& steps, bool forFirst, int current,
             const TextSource& texts, PromptService& prompts, QWidget* parent = nullptr);

    // The chosen step index, -1 when none.
    int chosenStep() const;
};

} // namespace tolvane
