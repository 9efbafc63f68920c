#pragma once

#include "gui/app/CDataPage.h"
#include "gui/app/IconStrip.h"

#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QTableView;

namespace tolvane {

class CSequenceListModel;
class CSequenceTimeline;
class CStepListModel;

// The sequences page: the 42 sequences of the card, each a short score of bell, hammer, pause and repeat steps.
// New, Delete and Copy work on the sequence list (several rows may be selected; a new sequence or a copy takes the
// lowest free record). With one sequence selected its steps are listed beside it, with New step (after the
// selected step) and Delete step, and a timeline of the sequence below them; a double click or Enter on a step
// opens the step editor. Every action is one undo step; the totals follow every change. A bell step is refused in
// a sequence that the quarter striking plays.
//
// Keyboard: in the sequence list Insert makes a new sequence, Delete deletes the selected ones, Ctrl+D copies
// them and Enter goes to the step list; in the step list Insert adds a step, Delete deletes it, Enter edits it and
// Escape goes back to the sequence list.
class CPropSekwencje : public CDataPage {
    Q_OBJECT
public:
    static constexpr int SequenceNameWidth = 220;
    static constexpr int SequenceTotalWidth = 80;
    static constexpr int SequenceStepsWidth = 80;
    static constexpr int StepTextWidth = 150;
    static constexpr int StepDurationWidth = 80;

    explicit CPropSekwencje(AppContext& context, QWidget* parent = nullptr);

    // Selects the sequence of record `item` (the first one when that record is not in use).
    void reload(int item = 0) override;
    void refreshTexts() override;
    void showItem(bool single, int item) override;
    void onSelectionChanged() override;
    void refreshMarks() override;

    QTableView* sequenceList() const { return sequences_; }
    QTableView* stepList() const { return steps_; }
    CSequenceListModel* sequenceModel() const { return sequenceModel_; }
    CStepListModel* stepModel() const { return stepModel_; }
    CSequenceTimeline* timeline() const { return timeline_; }
    QPushButton* newButton() const { return new_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* newStepButton() const { return newStep_; }
    QPushButton* deleteStepButton() const { return deleteStep_; }
    // The record of the one selected sequence, -1 when none or several are selected.
    int currentSequence() const;
    // The selected step row, -1 when none.
    int currentStep() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void newSequence();
    void deleteSequences();
    void copySequences();
    void newStep();
    void editStep();
    void deleteStep();
    // Refills the sequence list selecting `record` and the step list selecting `stepRow`.
    void rebuild(int record, int stepRow);
    void showSteps(int stepRow);
    void showTimeline();
    void stepSelectionChanged();
    std::vector<int> selectedRecords() const;

    IconStrip buttonIcons_;
    CSequenceListModel* sequenceModel_;
    CStepListModel* stepModel_;
    QPushButton* new_;
    QPushButton* delete_;
    QPushButton* copy_;
    QTableView* sequences_;
    QWidget* stepArea_;
    QTableView* steps_;
    QPushButton* newStep_;
    QPushButton* deleteStep_;
    QLabel* timelineLabel_;
    QScrollArea* timelineArea_;
    CSequenceTimeline* timeline_;
};

} // namespace tolvane
