#pragma once

#include "gui/common/Services.h"

namespace tolvane {

// The editor's real chooser service: the file and folder dialogs of the platform.
class FileChooser final : public ChooserService {
public:
    QString openFile(QWidget* owner, const QString& title, const QString& folder, const QString& filter) override;
    QString saveFile(QWidget* owner, const QString& title, const QString& path, const QString& filter) override;
    QString folder(QWidget* owner, const QString& title, const QString& start) override;
};

} // namespace tolvane
