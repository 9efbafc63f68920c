#pragma once

#include "gui/dialogs/CDialogEdy.h"

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tolvane {

class CFireEdit;
class CLinkStatic;

// The editor of one tower clock: switched on, its drive type and the controls that type uses (relays A and B or
// the single relay with its minute input, the pulse with the type's range, the gap, the lengthened pulse, the
// 12/24-hour or type-5 mode pair), the time shift against the controller's clock (sign, hours, minutes) and the
// 6:00 correction contact with its input. It works on a copy of the clocks and the output map, relays and inputs
// included; the opener commits the copy on OK as one step, and Cancel leaves the project as it was.
class CZegarEdyDlg final : public CDialogEdy {
    Q_OBJECT
public:
    enum Control {
        ClockOn = 1036,
        Type = 1015,
        Sign = 1072,
        OffsetHours = 1018,
        OffsetMinutes = 1020,
        Contact = 1038,
        ContactInput = 1031,
        Gap = 1016,
        Pulse = 1017,
        RelayA = 1029,
        RelayB = 1030,
        SingleRelay = 1039,
        MinuteInput = 1033,
        LongPulse = 1019,
        FirstMode = 1057,
        SecondMode = 1058,
        ModeCaption = 1158,
        // Captions of the controls that come and go with the type.
        GapCaption = 2001,
        PulseCaption = 2002,
        RelayACaption = 2003,
        RelayBCaption = 2004,
        SingleRelayCaption = 2005,
        MinuteInputCaption = 2006,
        LongPulseCaption = 2007,
        GapUnit = 2008,
        PulseUnit = 2009,
        LongPulseUnit = 2010,
    };
    static constexpr int TitleText = 284;

    CZegarEdyDlg(AppContext& context, const ProjectData* project, int clock, QWidget* parent = nullptr);

    int clock() const { return clock_; }

protected:
    bool acceptDialog() override;

private:
    void showValues();
    void showTypeControls();
    void paintMarks();
    void storeField(int id);
    void storeOffset();
    void chooseRelay(int id);
    void chooseInput(int id);

    int clock_;
    QCheckBox* clockOn_;
    QComboBox* type_;
    QPushButton* sign_;
    CFireEdit* hours_;
    CFireEdit* minutes_;
    QCheckBox* contact_;
    CLinkStatic* contactInput_;
    CFireEdit* gap_;
    CFireEdit* pulse_;
    CLinkStatic* relayA_;
    CLinkStatic* relayB_;
    CLinkStatic* singleRelay_;
    CLinkStatic* minuteInput_;
    CFireEdit* longPulse_;
    QLabel* modeCaption_;
    QRadioButton* firstMode_;
    QRadioButton* secondMode_;
    bool negative_ = false;
};

} // namespace tolvane
