#pragma once

#include "gui/app/CDataPage.h"
#include "gui/app/RecordFocus.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;

namespace tolvane {

class CFireEdit;
class CLamp;
class CLinkStatic;
class CStaticHelp;

// The settings page: the controller as a whole. The amplifier (switching, lead time, switch-off delay, relay);
// the overview of the five bells, five hammers and two tower clocks with their lamps, each name opening its
// editor; the clock lock; how programs start and stop; the location name; the two access codes and what the user
// code protects; the functions of keys F2 and F3; the funeral and special-tolling options. Every control stores at
// once through the document (one undo step per action; typing in one field is one step); an editor's OK is one
// step, its Cancel none. A code is stored only when its field holds four digits. The four tree items under
// Settings each bring their own group into view.
class CPropSettings : public CDataPage, public RecordFocus {
    Q_OBJECT
public:
    // Tree items that show this page, by their text.
    static constexpr int TreeSettings = 165;
    static constexpr int TreeAmplifier = 168;
    static constexpr int TreeBellsAndHammers = 170;
    static constexpr int TreeClocks = 171;
    static constexpr int TreeCodesAndKeys = 602;
    static constexpr QRgb WarningColor = 0xffff7f80; // RGB(255, 127, 128): a code field without four digits

    explicit CPropSettings(AppContext& context, QWidget* parent = nullptr);

    void reload(int item = 0) override;
    void refreshTexts() override;
    void refreshMarks() override;
    void showTreeEntry(int textId) override;
    // The amplifier's lead time (code 37), switch-off delay (38) and relay (39), the location name (45), and for the
    // factory access codes (100) the first code field that still holds its factory code.
    void focusSetting(int code) override;
    // The control of a record of the page: a bell's, hammer's or clock's name (its editor opens with Enter), or
    // the user (0) or service (1) code field. Other kinds do nothing.
    void focusRecord(IssueRecord kind, int record) override;

    QScrollArea* scrollArea() const { return scroll_; }
    // The group a tree item brings into view.
    QGroupBox* groupOfTreeEntry(int textId) const;

    CLinkStatic* bellLink(int bell) const { return bellLinks_[static_cast<std::size_t>(bell)]; }
    CLinkStatic* hammerLink(int hammer) const { return hammerLinks_[static_cast<std::size_t>(hammer)]; }
    CLinkStatic* clockLink(int clock) const { return clockLinks_[static_cast<std::size_t>(clock)]; }
    CLinkStatic* amplifierRelayLink() const { return ampRelay_; }

private:
    void buildAmplifier();
    void buildOverview();
    void buildModes();
    void buildCodes();
    void buildKeys();
    void buildLocationAndFuneral();
    void showValues();
    void paintMarks();
    // One complete action: its own undo step.
    void act(int labelText, const EditKey& key, const std::function<void(ProjectData&)>& change,
             std::vector<TextArg> args = {});
    void typeAmplifierTime(CFireEdit* field, int labelText, int fieldKey);
    void typeCode(QLineEdit* field, bool service);
    void leaveCode(QLineEdit* field, bool service);
    void showCode(QLineEdit* field, bool service);
    void openBell(int bell);
    void openHammer(int hammer);
    void openClock(int clock);
    void chooseAmplifierRelay();
    void describe(QWidget* control, bool changed, const QString& more = {});
    // Scrolls `control` into view and gives it the focus (a field with its text selected).
    void bringForward(QWidget* control);

    QScrollArea* scroll_;
    QWidget* content_;
    QGroupBox* amplifierGroup_;
    QGroupBox* bellsGroup_;
    QGroupBox* hammersGroup_;
    QGroupBox* clocksGroup_;
    QGroupBox* modesGroup_;
    QGroupBox* codesGroup_;
    QGroupBox* keysGroup_;
    QGroupBox* locationGroup_;
    QGroupBox* funeralGroup_;

    // Amplifier.
    CStaticHelp* ampSwitchCaption_;
    QCheckBox* ampSwitch_;
    CStaticHelp* leadCaption_;
    CFireEdit* leadTime_;
    CStaticHelp* delayCaption_;
    CFireEdit* delay_;
    std::array<QLabel*, 2> secondsUnits_{};
    CStaticHelp* relayCaption_;
    CLinkStatic* ampRelay_;

    // Overview.
    std::array<CLinkStatic*, 5> bellLinks_{};
    std::array<CLamp*, 5> bellLamps_{};
    std::array<QLabel*, 5> bellMarkers_{};
    std::array<CLinkStatic*, 5> hammerLinks_{};
    std::array<CLamp*, 5> hammerLamps_{};
    std::array<CLinkStatic*, 2> clockLinks_{};
    std::array<CLamp*, 2> clockLamps_{};
    std::array<QLabel*, 2> clockStates_{};
    CStaticHelp* lockCaption_;
    QCheckBox* clockLock_;

    // Program working mode.
    CStaticHelp* startCaption_;
    std::array<QRadioButton*, 2> startModes_{};
    CStaticHelp* stopCaption_;
    std::array<QRadioButton*, 2> stopModes_{};

    // Access codes.
    QLabel* userCodeCaption_;
    QLineEdit* userCode_;
    QLabel* serviceCodeCaption_;
    QLineEdit* serviceCode_;
    std::array<QCheckBox*, 4> protections_{};

    // Keys, location, funeral.
    QLabel* f2Caption_;
    QComboBox* f2_;
    QLabel* f3Caption_;
    QComboBox* f3_;
    QLineEdit* location_;
    QCheckBox* funeralOption_;
    QCheckBox* special_;
};

} // namespace tolvane
