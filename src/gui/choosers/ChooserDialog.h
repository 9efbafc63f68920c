#pragma once

#include "section/TextSource.h"

#include <QDialog>
#include <QTreeWidget>

class QDialogButtonBox;
class QPushButton;

namespace tolvane {

class PromptService;

// The list of a chooser. A list view that takes the focus with no current row makes its first row current
// without selecting it, so the first arrow key would skip that row and Enter would find nothing chosen; here
// the list stays without a current row until the user moves, and the first move lands on the first row.
class ChooserList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

protected:
    void focusInEvent(QFocusEvent* event) override;
};

// What the small choosers share: a titled modal dialog with one list and OK (text 108) and Cancel (text 104).
// The list takes the arrow keys, Enter presses OK, Escape cancels, a double-click on a row chooses it. OK with
// no row selected says so (text 114) through the prompt service and leaves the dialog open.
class ChooserDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int OkText = 108;
    static constexpr int CancelText = 104;
    static constexpr int NothingSelectedText = 114;

    QTreeWidget* list() const { return list_; }
    QPushButton* okButton() const;

protected:
    ChooserDialog(int titleText, const TextSource& texts, PromptService& prompts, QWidget* parent);

    QString text(int id) const;
    // Lays out `list` (owned by the dialog from then on) above the buttons; derived constructors call it once,
    // before they fill the list.
    void setList(ChooserList* list);
    // Selects, focuses and shows the row.
    void preselect(QTreeWidgetItem* item);
    QTreeWidgetItem* selectedItem() const;

    // Scrolls the preselected row into view once the list has its size.
    void showEvent(QShowEvent* event) override;
    // F1: the chooser's section of the user guide (DialogHelp).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void confirm();

    const TextSource& texts_;
    PromptService& prompts_;
    QTreeWidget* list_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

} // namespace tolvane
