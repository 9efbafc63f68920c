#pragma once

#include "platform/FirmwareDetection.h"
#include "platform/LauncherTexts.h"

#include <QDialog>

class QComboBox;
class QPushButton;

namespace tolvane {

// The version dialog of New: a drop-down list of the firmware labels that the version folders beside the launcher
// serve, sorted by label, with the current label selected. OK takes the selected label and remembers its folder.
class CSelVerDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int ItemHeight = 20;

    CSelVerDlg(const QString& launcherFolder, const QString& currentLabel, const LauncherTexts& texts,
               QWidget* parent = nullptr);

    QComboBox* list() const { return list_; }
    QPushButton* okButton() const { return ok_; }

    // After OK: the chosen label, and its folder (firmware::NotRecognised when the label has none).
    QString chosenLabel() const { return chosenLabel_; }
    QString chosenFolder() const { return chosenFolder_; }

    void accept() override;

private:
    QList<firmware::VersionChoice> choices_;
    QComboBox* list_ = nullptr;
    QPushButton* ok_ = nullptr;
    QString chosenLabel_;
    QString chosenFolder_ = firmware::NotRecognised;
};

} // namespace tolvane
