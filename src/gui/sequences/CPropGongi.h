#pragma once

#include "gui/app/CDataPage.h"
#include "ringing/StrikingSettings.h"

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace tolvane {

class CFireEdit;
class CLinkStatic;

// The striking page: hour striking (its mode, the hammer and the time between strokes of each mode, the delay
// before the repetition, and whether the full hour is struck in advance), the hour herald, the four quarters with
// the sequences each plays, the quarter herald and the three night blocks. A field stores its value when it is
// left, one undo step each; check boxes, radio buttons and the choosers (hammer, relay, sequence) store at once.
// A changed value shows on light green (dark green text for options). A quarter refuses a sequence with bell
// steps; lowering a quarter's count forgets the series beyond it.
class CPropGongi : public CDataPage {
    Q_OBJECT
public:
    explicit CPropGongi(AppContext& context, QWidget* parent = nullptr);

    void reload(int item = 0) override;
    void refreshTexts() override;
    void refreshMarks() override;

    QRadioButton* modeRadio(int mode) const { return modes_[static_cast<std::size_t>(mode)]; }
    CFireEdit* strokeInterval() const { return strokeInterval_; }
    CLinkStatic* hammerLink() const { return hammer_; }
    CFireEdit* delayMinutes() const { return delayMinutes_; }
    CFireEdit* delaySeconds() const { return delaySeconds_; }
    QRadioButton* fullHourRadio(bool advanced) const { return advanced ? advanced_ : full_; }
    QCheckBox* quarterStriking() const { return quarterOn_; }
    CFireEdit* quarter4Advance() const { return quarter4Advance_; }
    CFireEdit* seriesCount(int quarter) const { return quarters_[static_cast<std::size_t>(quarter)].count; }
    CLinkStatic* series(int quarter, int s) const {
        return quarters_[static_cast<std::size_t>(quarter)].series[static_cast<std::size_t>(s)];
    }
    // 0: hour herald, 1: quarter herald.
    QCheckBox* heraldOn(int which) const { return heralds_[static_cast<std::size_t>(which)].on; }
    CFireEdit* heraldAdvance(int which) const { return heralds_[static_cast<std::size_t>(which)].advance; }
    CFireEdit* heraldHold(int which) const { return heralds_[static_cast<std::size_t>(which)].hold; }
    CLinkStatic* heraldRelay(int which) const { return heralds_[static_cast<std::size_t>(which)].relay; }
    // Start hour, start minute, end hour, end minute of a night block.
    CFireEdit* blockField(NightBlock block, int which) const;

private:
    struct Quarter {
        QGroupBox* group = nullptr;
        QLabel* countLabel = nullptr;
        CFireEdit* count = nullptr;
        std::array<QLabel*, 4> labels{};
        std::array<CLinkStatic*, 4> series{};
    };
    struct Herald {
        QGroupBox* group = nullptr;
        QCheckBox* on = nullptr;
        QLabel* advanceLabel = nullptr;
        CFireEdit* advance = nullptr;
        QLabel* holdLabel = nullptr;
        CFireEdit* hold = nullptr;
        QLabel* relayLabel = nullptr;
        CLinkStatic* relay = nullptr;
        std::array<QLabel*, 2> units{};
    };
    struct Block {
        QGroupBox* group = nullptr;
        QLabel* startLabel = nullptr;
        QLabel* endLabel = nullptr;
        std::array<CFireEdit*, 4> fields{};
        std::array<QLabel*, 2> units{};
    };

    QWidget* buildHours();
    QWidget* buildHerald(int which);
    QWidget* buildQuarters();
    QWidget* buildBlock(NightBlock block);
    CFireEdit* numberField(QWidget* parent, const char* name, double lower, double upper, int width,
                           bool decimal = false);
    // A field stores when it is left after the user typed in it: `store` gets the striking settings and the
    // project; `field` is the change bit the step is keyed by, `label` names the value in the undo caption.
    void storeOnLeave(CFireEdit* f, StrikingField field, const std::function<QString()>& label,
                      const std::function<void(ProjectData&)>& store);
    void store(int field, const QString& label, const std::function<void(ProjectData&)>& change);

    void showValues();
    void showMarks();
    void modeChosen(int mode);
    void chooseHammer();
    void chooseRelay(int which);
    void chooseSeries(int quarter, int s);
    QString formatted(int id, long long n) const;
    const StrikingSettings* striking() const;

    QGroupBox* hours_ = nullptr;
    QLabel* modeLabel_ = nullptr;
    std::array<QRadioButton*, 3> modes_{};
    QLabel* strokeLabel_ = nullptr;
    CFireEdit* strokeInterval_ = nullptr;
    QLabel* strokeUnit_ = nullptr;
    QLabel* hammerLabel_ = nullptr;
    CLinkStatic* hammer_ = nullptr;
    QWidget* delayRow_ = nullptr;
    QLabel* delayLabel_ = nullptr;
    CFireEdit* delayMinutes_ = nullptr;
    CFireEdit* delaySeconds_ = nullptr;
    QLabel* delayUnit_ = nullptr;
    QGroupBox* fullHour_ = nullptr;
    QRadioButton* advanced_ = nullptr;
    QRadioButton* full_ = nullptr;

    QGroupBox* quartersGroup_ = nullptr;
    QCheckBox* quarterOn_ = nullptr;
    QLabel* quarter4Label_ = nullptr;
    CFireEdit* quarter4Advance_ = nullptr;
    QLabel* quarter4Unit_ = nullptr;
    std::array<Quarter, 4> quarters_{};
    std::array<Herald, 2> heralds_{};
    std::array<Block, 3> blocks_{};
};

} // namespace tolvane
