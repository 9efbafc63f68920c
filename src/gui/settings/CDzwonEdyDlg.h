#pragma once

#include "gui/dialogs/CDialogEdy.h"

#include <array>

class QCheckBox;
class QLabel;
class QScrollBar;

namespace tolvane {

class CFireEdit;
class CLinkStatic;
class CPhaseChart;

// The editor of one bell: switched on, its relay, the two feedback options (never both on), the five times of a
// ringing and the phase chart that shows them and lets their ends be dragged. It works on a copy of the bells and
// the output map: every field is stored in the copy when it is left, the relay when chosen; the opener commits
// the copy on OK as one step, and Cancel leaves the project as it was. Fields and options changed since the marks
// were last cleared are painted as changed.
class CDzwonEdyDlg final : public CDialogEdy {
    Q_OBJECT
public:
    // Controls by number.
    enum Control {
        BellOn = 1036,
        Relay = 1071,
        Feedback = 1037,
        SecondFeedback = 1038,
        RunUp = 1013,
        Settle = 1014,
        RingingMinutes = 1005,
        RingingSeconds = 1012,
        Damp = 1015,
        SwingMinutes = 1016,
        SwingSeconds = 1017,
        Chart = 1100,
        ChartScroll = 1101,
    };
    static constexpr int TitleText = 269;
    static constexpr int ScrollRange = 1600;
    // Caption colours of the five times, as their bars.
    static constexpr std::array<QRgb, 5> TimeColors{0xff008000, 0xffff8040, 0xffff0000, 0xff0000ff, 0xff804040};

    // `project` is the opener's; the dialog edits a copy of it.
    CDzwonEdyDlg(AppContext& context, const ProjectData* project, int bell, QWidget* parent = nullptr);

    int bell() const { return bell_; }
    CPhaseChart* chart() const { return chart_; }

protected:
    bool acceptDialog() override;

private:
    void showValues();
    void paintMarks();
    void storeField(int id);
    void storeAllFields();
    void chooseRelay();
    void phasesEdited();

    int bell_;
    QCheckBox* bellOn_;
    QCheckBox* feedback_;
    QCheckBox* secondFeedback_;
    CLinkStatic* relay_;
    QLabel* relayCaption_;
    std::array<QLabel*, 5> timeCaptions_{};
    CFireEdit* runUp_;
    CFireEdit* settle_;
    CFireEdit* ringingMinutes_;
    CFireEdit* ringingSeconds_;
    CFireEdit* damp_;
    CFireEdit* swingMinutes_;
    CFireEdit* swingSeconds_;
    CPhaseChart* chart_;
    QScrollBar* scroll_;
};

} // namespace tolvane
