#pragma once

#include "platform/LauncherTexts.h"
#include "platform/VolumeSource.h"

#include <QDialog>

#include <memory>

class QPushButton;

namespace tolvane {

class CRemoveDirCombo;

// The card dialog of Card: the removable drive list, with OK enabled only while a card is inserted.
class CSelCardDlg : public QDialog {
    Q_OBJECT

public:
    // `source` null: the system's removable drives.
    CSelCardDlg(const LauncherTexts& texts, std::unique_ptr<VolumeSource> source, QWidget* parent = nullptr);

    CRemoveDirCombo* driveList() const { return drives_; }
    QPushButton* okButton() const { return ok_; }

    // The root of the selected card ("E:\" on Windows, the mount point elsewhere).
    QString selectedRoot() const;

private:
    CRemoveDirCombo* drives_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace tolvane
