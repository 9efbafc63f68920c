#pragma once

#include "gui/app/CDataPage.h"

#include <array>
#include <functional>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QScrollArea;
class QSlider;

namespace tolvane {

class CFireEdit;
class CStaticHelp;

// The user settings page: how the controller presents itself to its everyday user. The display's contrast,
// brightness and lighting time on three sliders whose value labels follow them; the language of the controller's
// menus; the order in which it lists programs; and manual ringing (remember the last ringing time or use the
// default one, the default time, the interval between switching on several bells). A slider stores when it is
// released, and as it is moved by the keyboard or the wheel (a run of such moves is one undo step, ended by leaving
// the slider); the lists and radio buttons store at once; a number field stores as it is typed (one undo step per
// visit), a number within its range only: while it holds none, the value it had when it was entered stays. A
// stored value outside a control's range (a card written elsewhere, a new project's unset start interval) is shown
// as it is, in the warning colour, and kept until the user sets another.
class CPropUser : public CDataPage {
    Q_OBJECT
public:
    static constexpr QRgb WarningColor = 0xffff7f80; // RGB(255, 127, 128)

    // The sliders, in page order.
    enum Slider : int { Contrast, Brightness, LightingTime };

    explicit CPropUser(AppContext& context, QWidget* parent = nullptr);

    void reload(int item = 0) override;
    void refreshTexts() override;
    void refreshMarks() override;
    // Validation codes 41 (contrast), 42 (brightness) and 43 (lighting time) focus their slider.
    void focusSetting(int code) override;
    bool showsEdit(const EditKey& key) const override;

    QSlider* slider(Slider which) const { return sliders_[static_cast<std::size_t>(which)].slider; }
    QLabel* valueLabel(Slider which) const { return sliders_[static_cast<std::size_t>(which)].value; }
    QComboBox* languageList() const { return language_; }
    QRadioButton* sortingRadio(int order) const { return sorting_[static_cast<std::size_t>(order)]; }
    QRadioButton* ringModeRadio(int index) const { return ringModes_[static_cast<std::size_t>(index)]; }
    CFireEdit* ringMinutes() const { return ringMinutes_; }
    CFireEdit* ringSeconds() const { return ringSeconds_; }
    CFireEdit* startInterval() const { return interval_; }
    QScrollArea* scrollArea() const { return scroll_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SliderRow {
        CStaticHelp* caption = nullptr;
        QSlider* slider = nullptr;
        QLabel* value = nullptr;
        int labelText = 0;
        int field = 0;
        int mark = 0;
    };

    void buildDisplay();
    void buildLanguage();
    void buildSorting();
    void buildManual();
    CFireEdit* numberField(QWidget* parent, const char* name, int upper);
    // One complete action: its own undo step.
    void act(int labelText, int field, const std::function<void(ProjectData&)>& change);
    // A step of a burst (typing in a field, moving a slider by keys): merged with the step before of the same key.
    void burst(int labelText, int field, const std::function<void(ProjectData&)>& change);
    void storeSlider(Slider which);
    int enteredValue(CFireEdit* field, int stored);
    void typeRingTime(CFireEdit* field);
    void typeInterval();

    void showValues();
    void showSliderText(Slider which, int value, bool outside);
    void showMarks();
    QString sliderText(Slider which, int value) const;

    QScrollArea* scroll_;
    QWidget* content_;
    QGroupBox* displayGroup_ = nullptr;
    std::array<SliderRow, 3> sliders_{};
    QGroupBox* languageGroup_ = nullptr;
    CStaticHelp* languageCaption_ = nullptr;
    QComboBox* language_ = nullptr;
    QGroupBox* sortingGroup_ = nullptr;
    std::array<QRadioButton*, 3> sorting_{};
    QButtonGroup* sortingButtons_ = nullptr;
    QGroupBox* manualGroup_ = nullptr;
    QGroupBox* ringModeGroup_ = nullptr;
    std::array<QRadioButton*, 2> ringModes_{};
    QLabel* ringTimeCaption_ = nullptr;
    CFireEdit* ringMinutes_ = nullptr;
    CFireEdit* ringSeconds_ = nullptr;
    QLabel* intervalCaption_ = nullptr;
    CFireEdit* interval_ = nullptr;
    std::array<QLabel*, 2> secondsUnits_{};
};

} // namespace tolvane
