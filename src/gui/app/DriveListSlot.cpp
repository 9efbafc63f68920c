#include "gui/app/DriveListSlot.h"

#include "gui/widgets/CRemoveDirCombo.h"

namespace tolvane {

QComboBox* createDriveList(AppContext&, QWidget* parent) {
    // Starts disabled, refreshes itself every 500 ms and enables itself while it lists a card.
    return new CRemoveDirCombo(parent);
}

} // namespace tolvane
