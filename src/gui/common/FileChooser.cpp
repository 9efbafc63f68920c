#include "gui/common/FileChooser.h"

#include <QFileDialog>

namespace tolvane {

QString FileChooser::openFile(QWidget* owner, const QString& title, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(owner, title, folder, filter);
}

QString FileChooser::saveFile(QWidget* owner, const QString& title, const QString& path, const QString& filter) {
    return QFileDialog::getSaveFileName(owner, title, path, filter);
}

QString FileChooser::folder(QWidget* owner, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(owner, title, start);
}

} // namespace tolvane
