#include "gui/app/DriveListSlot.h"

#include <QComboBox>

namespace tolvane {

QComboBox* createDriveList(AppContext&, QWidget* parent) {
    // Until the removable-drive list exists the slot shows an empty list that cannot be used.
    auto* list = new QComboBox(parent);
    list->setEnabled(false);
    return list;
}

} // namespace tolvane
