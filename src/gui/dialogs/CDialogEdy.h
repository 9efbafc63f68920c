#pragma once

#include "gui/app/AppContext.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/widgets/ChangeHighlight.h"
#include "gui/widgets/HelpReceiver.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

class QDialogButtonBox;
class QPushButton;
class QVBoxLayout;

namespace tolvane {

class CControlTipCtrl;

// The base of every edit dialog and chooser of the editor (a bell, a hammer, a clock, a sequence step; the relay
// and input choosers). It gives a dialog:
// - the OK and Cancel buttons (texts 108 and 104) below the dialog's own controls (body()); OK asks acceptDialog()
//   first, so a dialog can refuse with a message and stay open;
// - a working copy of the project: workOnCopy() copies it, the dialog edits copy() only, and after OK the opener
//   writes the sections the dialog edits back in one document edit (commit()); Cancel drops the copy, so the
//   project is never touched by a cancelled dialog;
// - controls by number (addControl): set a caption, show, hide or enable a control by its number;
// - change painting: a changed field on light green, a changed label in green text, each also said in the
//   control's accessible description; the dialog's own change bits (changes()) for the opener to keep;
// - the tip window of its help labels, answered as on a page.
// Dialogs run through the dialog service: context.dialogs.run(dialog).
class CDialogEdy : public QDialog, public HelpReceiver {
    Q_OBJECT
public:
    static constexpr QRgb ChangedFieldColor = changehighlight::FieldBackground; // RGB(0xBB, 0xFF, 0xBB)
    static constexpr QRgb ChangedLabelColor = changehighlight::OptionText;      // RGB(0, 0x80, 0)

    // `project` is the opener's project (read-only; null when none is open).
    CDialogEdy(AppContext& context, const ProjectData* project, QWidget* parent = nullptr);
    ~CDialogEdy() override;

    AppContext& context() const { return context_; }
    const ProjectData* project() const { return project_; }
    QString text(int id) const;
    QString tipText(int id) const;

    // --- Working copy ---
    // The dialog works on a copy of the whole project from here on; `edited` names the sections it changes, the
    // only ones commit() writes back. Does nothing without a project.
    void workOnCopy(std::initializer_list<SectionId> edited);
    ProjectData* copy() { return copy_.get(); }
    const ProjectData* copy() const { return copy_.get(); }
    const std::vector<SectionId>& editedSections() const { return edited_; }
    // Writes the edited sections of the copy into `target`.
    void commitTo(ProjectData& target) const;
    // After OK: the edited sections of the copy become the project's in one undo step of `document`. False when
    // nothing changed or the dialog has no copy.
    bool commit(CTarvelinDoc& document, const EditLabel& label, const EditKey& key) const;

    // --- Change bits of the dialog (which fields the user changed), for the opener to keep as the record's mark.
    std::uint32_t changes() const { return changes_; }
    void setChange(std::uint32_t bits, bool on = true);
    bool isChanged(std::uint32_t bits) const { return (changes_ & bits) != 0; }

    // --- Controls by number; each does nothing for a number without a control ---
    void addControl(int id, QWidget* control);
    QWidget* control(int id) const { return controls_.value(id).data(); }
    void setControlText(int id, const QString& text);
    void setItemText(int id, int textId);
    void showControl(int id);
    void hideControl(int id);
    void showControlIf(int id, bool shown);
    void enableControl(int id, bool enabled);
    // A changed field (line edit, numeric field, combo box, link value) on light green; a changed label (or
    // check box, radio button) in green text. Both also say "changed" in the accessible description.
    void markChangedField(int id, bool changed);
    void markChangedLabel(int id, bool changed);

    // --- Help ---
    void setHelpTip(int id, int tipId);
    void setHelpText(int id, const QString& text);
    void helpRequested(QWidget* label) override;
    void helpReleased(QWidget* label) override;
    CControlTipCtrl& controlTips() const { return *controlTips_; }

    QDialogButtonBox* buttons() const { return buttons_; }
    QPushButton* okButton() const;
    QPushButton* cancelButton() const;

public slots:
    // OK: accepted unless acceptDialog() refuses.
    void accept() override;

protected:
    // Where a dialog puts its own controls (above the buttons).
    QVBoxLayout* body() const { return body_; }
    // Asked when OK is pressed; a dialog that refuses shows why (showMessage) and returns false to stay open.
    virtual bool acceptDialog() { return true; }
    // A message with this dialog as owner (caption 107).
    void showMessage(const QString& text);
    // F1: the dialog's section of the user guide (DialogHelp); Shift+F1: What's This.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void describeChange(QWidget* control, bool changed);

    AppContext& context_;
    const ProjectData* project_;
    std::unique_ptr<ProjectData> copy_;
    std::vector<SectionId> edited_;
    std::uint32_t changes_ = 0;
    // A control deleted before the dialog leaves no dangling number behind.
    QHash<int, QPointer<QWidget>> controls_;
    CControlTipCtrl* controlTips_;
    QVBoxLayout* body_;
    QDialogButtonBox* buttons_;
};

} // namespace tolvane
