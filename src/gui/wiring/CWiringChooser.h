#pragma once

#include "gui/dialogs/CDialogEdy.h"
#include "ringing/Wiring.h"

#include <vector>

class QTableWidget;

namespace tolvane {

// The common form of the cross-connection's choosers: a list of two columns (a label and what uses or holds it
// now) above OK and Cancel. The row of the current value is preselected; the arrow keys move through the list and
// Enter is OK. OK asks the chooser's rule (choose()): refused, it shows why and stays open; accepted, value() is
// the outcome. Opened without a project the list shows text 112 and is disabled.
class CWiringChooser : public CDialogEdy {
    Q_OBJECT
public:
    QTableWidget* list() const { return list_; }
    // The selected row, -1 when none.
    int selectedRow() const;
    // What OK accepted: the chosen row, relay or input (0xFF for none); -1 before OK.
    int value() const { return value_; }

protected:
    CWiringChooser(AppContext& context, const ProjectData* project, int titleText, int firstWidth, int secondWidth,
                   QWidget* parent);

    // Fills the list (or shows text 112 without a project) and selects `preselected` (none when out of range).
    void setRows(const std::vector<ChooserRow>& rows, int preselected);
    // The rule of OK for the selected row (-1 for none).
    virtual ChoiceOutcome choose(int row) const = 0;
    bool acceptDialog() override;

private:
    QString labelString(const LabelText& label) const;

    QTableWidget* list_;
    int value_ = -1;
};

} // namespace tolvane
