#include "gui/choosers/ChooserDialog.h"

#include "gui/common/Services.h"
#include "gui/dialogs/DialogHelp.h"
#include "gui/widgets/HelpKeys.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tolvane {

void ChooserList::focusInEvent(QFocusEvent* event) {
    const bool hadCurrent = currentIndex().isValid();
    QTreeWidget::focusInEvent(event);
    if (!hadCurrent && selectedItems().isEmpty()) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

ChooserDialog::ChooserDialog(int titleText, const TextSource& texts, PromptService& prompts, QWidget* parent)
    : QDialog(parent), texts_(texts), prompts_(prompts) {
    setWindowTitle(text(titleText));
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton()->setText(text(OkText));
    okButton()->setDefault(true);
    buttons_->button(QDialogButtonBox::Cancel)->setText(text(CancelText));
    // OK is checked first; Cancel and Escape simply reject.
    connect(okButton(), &QPushButton::clicked, this, &ChooserDialog::confirm);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    new QVBoxLayout(this);
}

QPushButton* ChooserDialog::okButton() const {
    return buttons_->button(QDialogButtonBox::Ok);
}

QString ChooserDialog::text(int id) const {
    return QString::fromStdString(texts_.text(id));
}

void ChooserDialog::setList(ChooserList* list) {
    list_ = list;
    list_->setParent(this);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setAllColumnsShowFocus(true);
    list_->setAccessibleName(windowTitle());
    // Enter in the list reaches the dialog, which presses OK; a double-click on a row does the same.
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { okButton()->click(); });
    layout()->addWidget(list_);
    layout()->addWidget(buttons_);
    list_->setFocus();
}

void ChooserDialog::preselect(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    list_->setCurrentItem(item);
    item->setSelected(true);
    list_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
}

void ChooserDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QTreeWidgetItem* row = selectedItem()) {
        list_->scrollToItem(row, QAbstractItemView::PositionAtCenter);
    }
    list_->setFocus();
}

QTreeWidgetItem* ChooserDialog::selectedItem() const {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void ChooserDialog::confirm() {
    if (selectedItem() == nullptr) {
        prompts_.showMessage(this, text(NothingSelectedText));
        list_->setFocus();
        return;
    }
    accept();
}

void ChooserDialog::keyPressEvent(QKeyEvent* event) {
    if (!helpkeys::handle(this, event, dialogHelpTopic(metaObject()))) {
        QDialog::keyPressEvent(event);
    }
}

} // namespace tolvane
