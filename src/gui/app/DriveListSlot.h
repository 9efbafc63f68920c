#pragma once

class QComboBox;
class QWidget;

namespace tolvane {

struct AppContext;

// The removable-drive list of the main window's tool bar, made in one place so that the real list replaces one
// line. The list names each drive by its text and keeps the drive's root folder as the item's data
// (Qt::UserRole); the main window reads the selected root for "Read from card" and the write-back at exit.
QComboBox* createDriveList(AppContext& context, QWidget* parent);

} // namespace tolvane
