#pragma once

#include "gui/dialogs/CDialogEdy.h"

class QLabel;

namespace tolvane {

class CFireEdit;
class CLinkStatic;

// The editor of one hammer: the bell it strikes (chosen in CSelectDzwonDlg, which refuses a bell that another
// hammer strikes), its pulse length (0.1-2 s) and its relay. It works on a copy of the hammers and the output map;
// the opener commits the copy on OK as one step, and Cancel leaves the project as it was.
class CMlotekEdy final : public CDialogEdy {
    Q_OBJECT
public:
    enum Control { Bell = 1041, Pulse = 1017, Relay = 1071 };
    static constexpr int TitleText = 548;

    CMlotekEdy(AppContext& context, const ProjectData* project, int hammer, QWidget* parent = nullptr);

    int hammer() const { return hammer_; }

protected:
    bool acceptDialog() override;

private:
    void showValues();
    void storePulse();
    void chooseBell();
    void chooseRelay();

    int hammer_;
    QLabel* bellCaption_;
    QLabel* pulseCaption_;
    QLabel* relayCaption_;
    CLinkStatic* bell_;
    CFireEdit* pulse_;
    CLinkStatic* relay_;
};

} // namespace tolvane
