#pragma once

#include "gui/dialogs/CDialogEdy.h"
#include "ringing/SequenceTable.h"

#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace tolvane {

class CFireEdit;
class CLinkStatic;

// The step editor: one step of a sequence, edited on a copy. The kind list offers the six kinds; choosing one
// converts the step at once. Bell and hammer steps show five push-like unit boxes (never all clear) and the time
// to the next step, a pause only that time, a repeat step its repetitions or its time and the first and last step
// of its range, each chosen in the step chooser. OK reads the fields and checks the range (the core's rules); a
// refused OK says why and keeps the dialog open. Accepted, the step is written into the dialog's working copy of
// the project — inserted as a new step or put in place of the edited one — and the opener commits it as one undo
// step; Cancel leaves the project as it was.
class CSeqElemDlg : public CDialogEdy {
    Q_OBJECT
public:
    static constexpr int TitleText = 595;
    // Control numbers.
    static constexpr int KindList = 1015;
    static constexpr int BellGroup = 1088;
    static constexpr int FirstBellBox = 1041;
    static constexpr int HammerGroup = 1089;
    static constexpr int FirstHammerBox = 1160;
    static constexpr int PauseMinutes = 1006;
    static constexpr int PauseSeconds = 1013;
    static constexpr int PauseHundredths = 1014;
    static constexpr int TimeMinutes = 1005;
    static constexpr int TimeSeconds = 1012;
    static constexpr int Repetitions = 1007;
    static constexpr int FirstStep = 1026;
    static constexpr int LastStep = 1028;

    // Edits step `stepIndex` of sequence `sequence`, or a new step when `stepIndex` is -1: that one is inserted at
    // `insertPosition` (0 appends). `ownPosition` is the slot the step has or will have.
    CSeqElemDlg(AppContext& context, const ProjectData* project, int sequence, int stepIndex, int insertPosition,
                int ownPosition, QWidget* parent = nullptr);

    // The step as the dialog holds it (after OK: as it was written).
    const SequenceStep& step() const { return step_; }
    int sequence() const { return sequence_; }

    QComboBox* kindList() const { return kind_; }
    QPushButton* bellBox(int unit) const { return bells_[static_cast<std::size_t>(unit)]; }
    QPushButton* hammerBox(int unit) const { return hammers_[static_cast<std::size_t>(unit)]; }
    CFireEdit* field(int id) const;
    CLinkStatic* firstStepLink() const { return first_; }
    CLinkStatic* lastStepLink() const { return last_; }

protected:
    bool acceptDialog() override;

private:
    QPushButton* unitBox(QWidget* parent, int number, int unit, bool hammers);
    CFireEdit* numberField(QWidget* parent, int id, int upper);
    void showStep();
    void showUnits();
    void showRange();
    void kindChosen(int position);
    void unitClicked(int unit, bool on);
    void chooseRangeEnd(bool forFirst);
    const SequenceTable& table() const;

    int sequence_;
    int stepIndex_;
    int insertPosition_;
    int ownPosition_;
    SequenceStep step_;

    QComboBox* kind_ = nullptr;
    QWidget* bellGroup_ = nullptr;
    QWidget* hammerGroup_ = nullptr;
    std::array<QPushButton*, 5> bells_{};
    std::array<QPushButton*, 5> hammers_{};
    QWidget* pauseRow_ = nullptr;
    QWidget* timeRow_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    QWidget* repetitionsRow_ = nullptr;
    QWidget* rangeRow_ = nullptr;
    CLinkStatic* first_ = nullptr;
    CLinkStatic* last_ = nullptr;
};

} // namespace tolvane
