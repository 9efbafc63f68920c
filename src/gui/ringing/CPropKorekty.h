#pragma once

#include "gui/app/CDataPage.h"

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace tolvane {

class CFireEdit;
class CLinkStatic;

// The time-corrections page: how the controller keeps its clock (the synchronisation source, the summer and
// winter offsets, the correction activity, the automatic time change, the weekly drift correction and the DCF
// window) and the astronomical clock that switches a relay at dusk and dawn (the sunrise and sunset shifts, the
// place or coordinates typed by hand, the relay, its state while dark and GPS). A field stores its value when it is
// left, one undo step each; radio buttons, check boxes, lists, sign buttons and the relay chooser store at once.
// A signed value is shown as its magnitude with a sign button ("+" or "-") in front. A changed value shows on
// light green (dark green text for options).
class CPropKorekty : public CDataPage {
    Q_OBJECT
public:
    // The signed fields, each with its sign button.
    enum class Signed : int { Summer, Winter, Drift, Sunrise, Sunset };

    explicit CPropKorekty(AppContext& context, QWidget* parent = nullptr);

    void reload(int item = 0) override;
    void refreshTexts() override;
    void refreshMarks() override;

    CFireEdit* signedField(Signed which) const { return signed_[index(which)].field; }
    QPushButton* signButton(Signed which) const { return signed_[index(which)].sign; }
    QComboBox* placeList() const { return place_; }
    CLinkStatic* relayLink() const { return relay_; }
    QScrollArea* scrollArea() const { return scroll_; }

private:
    struct SignedRow {
        QLabel* caption = nullptr;
        QPushButton* sign = nullptr;
        CFireEdit* field = nullptr;
        QLabel* unit = nullptr;
        bool negative = false; // the sign shown while the value is 0
        int labelText = 0;
        int undoField = 0;
    };
    struct Coordinate {
        QLabel* caption = nullptr;
        QComboBox* hemisphere = nullptr;
        CFireEdit* degrees = nullptr;
        CFireEdit* minutes = nullptr;
        std::array<QLabel*, 2> symbols{};
    };

    static std::size_t index(Signed which) { return static_cast<std::size_t>(which); }

    QGroupBox* group(const char* name);
    QRadioButton* radio(QGroupBox* parent, QButtonGroup* buttons, int id, const char* name);
    CFireEdit* numberField(QWidget* parent, const char* name, double lower, double upper, int width,
                           bool decimal = false, int step = 1);
    void buildSource();
    void buildOffsets();
    void buildActivity();
    void buildDrift();
    void buildWindow();
    void buildAstro();
    QWidget* buildCoordinates(QWidget* parent);
    QWidget* buildRelay(QWidget* parent);
    void makeSigned(Signed which, QWidget* parent, const char* name, double upper, int width, bool decimal, int step,
                    int labelText, int field);
    void signedRow(Signed which, QGridLayout* grid, int line);

    // Stores the value of a field when it is left after the user typed in it (an emptied field stores nothing).
    void storeOnLeave(CFireEdit* f, int field, int labelText, const std::function<void(ProjectData&)>& change);
    // Calls `store` when the user leaves `f` after typing in it.
    void whenLeftAfterTyping(CFireEdit* f, const std::function<void()>& store);
    void store(int field, int labelText, const std::function<void(ProjectData&)>& change);
    void storeSigned(Signed which);
    void flipSign(Signed which);
    void storeCoordinate(bool latitude);
    void choosePlace(int position);
    void chooseRelay();

    void showValues();
    void showMarks();
    void showSignName(Signed which);
    QString formatted(int id, const QString& argument) const;

    QScrollArea* scroll_;
    QWidget* content_;
    QGroupBox* sourceGroup_ = nullptr;
    std::array<QRadioButton*, 2> sources_{};
    QGroupBox* offsetsGroup_ = nullptr;
    QCheckBox* autoChange_ = nullptr;
    QGroupBox* activityGroup_ = nullptr;
    std::array<QRadioButton*, 3> activities_{};
    QButtonGroup* activityButtons_ = nullptr;
    QGroupBox* driftGroup_ = nullptr;
    std::array<SignedRow, 5> signed_{};

    QGroupBox* windowGroup_ = nullptr;
    QLabel* windowCaption_ = nullptr;
    QLabel* startCaption_ = nullptr;
    QLabel* stopCaption_ = nullptr;
    std::array<CFireEdit*, 4> window_{}; // start hour, start minute, stop hour, stop minute
    std::array<QLabel*, 2> windowUnits_{};
    QLabel* framesCaption_ = nullptr;
    CFireEdit* frames_ = nullptr;
    QCheckBox* powerOnSync_ = nullptr;

    QGroupBox* astroGroup_ = nullptr;
    QGroupBox* coordinatesGroup_ = nullptr;
    QLabel* placeCaption_ = nullptr;
    QComboBox* place_ = nullptr;
    std::array<Coordinate, 2> coordinates_{}; // latitude, longitude
    QGroupBox* relayGroup_ = nullptr;
    QLabel* relayCaption_ = nullptr;
    CLinkStatic* relay_ = nullptr;
    QLabel* darkCaption_ = nullptr;
    std::array<QRadioButton*, 2> dark_{}; // on while dark, off while dark
    QCheckBox* gps_ = nullptr;
};

} // namespace tolvane
