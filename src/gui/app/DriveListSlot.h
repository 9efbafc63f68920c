#pragma once

class QComboBox;
class QWidget;

namespace tolvane {

struct AppContext;

// The removable-drive list of the main window's tool bar: a CRemoveDirCombo, which names each drive by its text and
// keeps the drive's root folder as the item's data (Qt::UserRole). The main window reads the selected root for
// "Read from card" and the write-back at exit.
QComboBox* createDriveList(AppContext& context, QWidget* parent);

} // namespace tolvane
