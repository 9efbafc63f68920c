#pragma once

#include "card/CardFiles.h"
#include "gui/app/CDataPage.h"
#include "platform/VolumeSource.h"

#include <QTimer>

#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;

namespace tolvane {

class CLamp;

class CRemoveDirCombo;

// The card exchange page: writes the project's four card files to the memory card chosen in its drive list (card
// mode) or to a folder of card files on the PC (DAT mode), and reads them back one file at a time. A lamp per file
// shows whether the target holds it at its full size; the programs, configuration and sequences of a project with
// critical errors are never written, and a blinking warning says so.
class CPropWymiana : public CDataPage {
    Q_OBJECT

public:
    // `volumes`: where the drive list finds cards (the system's removable drives when null).
    explicit CPropWymiana(AppContext& context, QWidget* parent = nullptr,
                          std::unique_ptr<VolumeSource> volumes = nullptr);

    // The page is brought to the front: validity, lamps and the controls of the mode.
    void reload(int item = 0) override;
    // An edit, an undo or a redo can make the project valid or invalid while the page is shown (a read brings no
    // other page to the front): Write and the warning follow at once. Hidden, the page reads it all when shown.
    void followChange(const ProjectChange& change) override;
    void refreshTexts() override;

    // DAT mode works on `folder` instead of a card; the mode is chosen when the project is opened.
    void setDatMode(bool on, const QString& folder);
    bool datMode() const { return datMode_; }
    // The card's drive root, or the DAT folder; empty when there is none.
    QString targetFolder() const;

    // Critical errors: Write of programs, configuration and sequences disabled, warning shown.
    void applyValidity();
    // Lamps and buttons from what the target folder holds.
    void refresh();

    void write(card::FileKind kind);
    void read(card::FileKind kind);
    // Compare with card: the differences between the card in the drive list (or the DAT folder) and the project.
    void compareWithCard();

    QPushButton* compareButton() const { return compare_; }

    CRemoveDirCombo* driveList() const { return driveList_; }
    QPushButton* readButton(card::FileKind kind) const { return rows_[index(kind)].read; }
    QPushButton* writeButton(card::FileKind kind) const { return rows_[index(kind)].write; }
    bool lampLit(card::FileKind kind) const;
    bool warningShown() const;
    bool warningBlinking() const { return blink_.isActive(); }

signals:
    // A write was refused for critical errors: the report page should come to the front.
    void reportRequested();

private:
    struct Row {
        QLabel* label = nullptr;
        CLamp* lamp = nullptr;
        QPushButton* read = nullptr;
        QPushButton* write = nullptr;
    };
    static std::size_t index(card::FileKind kind) { return static_cast<std::size_t>(kind); }

    void setLamp(card::FileKind kind, bool lit);
    void cardInserted();
    void cardRemoved();
    void showModeControls();
    // The question before writing `kind`: Yes, No, or Show changes, which lists what the write would change and
    // asks again. True for Yes.
    bool confirmWrite(card::FileKind kind, const QString& folder);
    // What writing `kind` would change on the card: the file as it is there (a default one when there is none)
    // against the project, only the areas the file carries. True when the user chose a row to go to.
    bool showWriteChanges(card::FileKind kind, const QString& folder);
    QString cardName(const QString& folder) const;

    QLabel* cardLabel_;
    CRemoveDirCombo* driveList_;
    QLabel* folderLabel_;
    QLabel* folderPath_;
    QGroupBox* group_;
    std::array<Row, 4> rows_{};
    QPushButton* compare_;
    QLabel* warningText_;
    QLabel* warningIcon_;
    QTimer blink_;
    bool datMode_ = false;
    QString datFolder_;
    bool cardInserted_ = false;
};

} // namespace tolvane
