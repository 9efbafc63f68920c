#include "launcher/CSelVerDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

CSelVerDlg::CSelVerDlg(const QString& launcherFolder, const QString& currentLabel, const LauncherTexts& texts,
                       QWidget* parent)
    : QDialog(parent), choices_(firmware::versionChoices(launcherFolder)), chosenLabel_(currentLabel) {
    setWindowTitle(texts.text(LauncherTexts::VersionTitle));

    list_ = new QComboBox(this);
    auto* view = new QListView(list_);
    view->setStyleSheet(QStringLiteral("QListView::item { height: %1px; }").arg(ItemHeight));
    list_->setView(view);
    list_->setMinimumHeight(ItemHeight + 4);
    list_->setMinimumWidth(220);
    for (const firmware::VersionChoice& choice : choices_) {
        list_->addItem(choice.label);
    }

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(texts.text(LauncherTexts::Ok), QDialogButtonBox::AcceptRole);
    buttons->addButton(texts.text(LauncherTexts::Cancel), QDialogButtonBox::RejectRole);
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelVerDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelVerDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);

    const int selected = firmware::preselectedIndex(choices_, currentLabel);
    list_->setEnabled(selected >= 0);
    ok_->setEnabled(selected >= 0);
    if (selected >= 0) {
        list_->setCurrentIndex(selected);
    }
}

void CSelVerDlg::accept() {
    const int index = list_->currentIndex();
    if (index < 0) {
        // Nothing to choose from: the launcher reports the version as not recognised.
        chosenFolder_ = firmware::NotRecognised;
    } else {
        chosenLabel_ = list_->itemText(index);
        chosenFolder_ = firmware::folderForLabel(choices_, chosenLabel_);
    }
    QDialog::accept();
}

} // namespace tolvane
