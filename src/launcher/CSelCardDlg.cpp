#include "launcher/CSelCardDlg.h"

#include "gui/widgets/CRemoveDirCombo.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

CSelCardDlg::CSelCardDlg(const LauncherTexts& texts, std::unique_ptr<VolumeSource> source, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(texts.text(LauncherTexts::CardTitle));
    drives_ = new CRemoveDirCombo(this, std::move(source));
    drives_->setMinimumWidth(240);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(texts.text(LauncherTexts::Ok), QDialogButtonBox::AcceptRole);
    buttons->addButton(texts.text(LauncherTexts::Cancel), QDialogButtonBox::RejectRole);
    ok_->setDefault(true);
    ok_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelCardDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelCardDlg::reject);
    connect(drives_, &CRemoveDirCombo::cardInserted, ok_, [this] { ok_->setEnabled(true); });
    connect(drives_, &CRemoveDirCombo::cardRemoved, ok_, [this] { ok_->setEnabled(false); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(drives_);
    layout->addWidget(buttons);
}

QString CSelCardDlg::selectedRoot() const {
    return drives_->selectedRoot();
}

} // namespace tolvane
