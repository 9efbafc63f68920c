#pragma once

#include "gui/app/CDataPage.h"
#include "ringing/Wiring.h"

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;

namespace tolvane {

class CLinkStatic;
class CWiringModel;

// The cross-connection page: which relay drives which function and what each input does. The output group lists
// PK1-PK10, the input group WE1, WE2 and POWR1-POWR5; each value is a link showing what the terminal drives or
// does, and opens its chooser (CSelOut for a relay, CSelIn for WE1/WE2, CSelPowr for a return input). Each OK is
// one undo step. Below the groups the wiring table lists every terminal for the electrician; Copy (and Ctrl+C in
// the table) puts it on the clipboard as text. A changed terminal shows on light green; a relay that drives more
// than one function (a file written elsewhere) in the warning colour, with a tip naming the functions.
// Keyboard: Tab reaches every value, Enter or Space opens its chooser.
class CPropKrosownica : public CDataPage {
    Q_OBJECT
public:
    static constexpr QRgb WarningColor = 0xffff7f80; // RGB(255, 127, 128)

    explicit CPropKrosownica(AppContext& context, QWidget* parent = nullptr);

    void reload(int item = 0) override;
    void refreshTexts() override;
    void refreshMarks() override;

    // The value link of terminal `position` (0-16: PK1-PK10, WE1, WE2, POWR1-POWR5).
    CLinkStatic* value(int position) const { return values_[static_cast<std::size_t>(position)]; }
    QTableView* wiringTable() const { return table_; }
    CWiringModel* wiringModel() const { return model_; }
    QPushButton* copyButton() const { return copy_; }
    // The wiring table as the Copy button puts it on the clipboard.
    QString wiringText() const;

private:
    void open(int position);
    void showValues();
    void copyTable();

    std::array<CLinkStatic*, Terminal::Count> values_{};
    std::array<QLabel*, Terminal::Count> names_{};
    QGroupBox* outputs_;
    QGroupBox* inputs_;
    QLabel* tableLabel_;
    CWiringModel* model_;
    QTableView* table_;
    QPushButton* copy_;
};

} // namespace tolvane
