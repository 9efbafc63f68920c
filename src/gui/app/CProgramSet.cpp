#include "gui/app/CProgramSet.h"

#include "gui/app/AppContext.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

CProgramSet::CProgramSet(AppContext& context, std::function<void()> applyLanguage, QWidget* parent)
    : QDialog(parent), context_(context), applyLanguage_(std::move(applyLanguage)), languages_(new QComboBox(this)),
      noLanguages_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(text(153));
    buttons_->button(QDialogButtonBox::Ok)->setText(text(108));
    buttons_->button(QDialogButtonBox::Cancel)->setText(text(104));
    connect(buttons_, &QDialogButtonBox::accepted, this, &CProgramSet::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* label = new QLabel(text(154), this);
    label->setBuddy(languages_);
    noLanguages_->setText(text(155));
    noLanguages_->setWordWrap(true);

    const QStringList names = Languages::availableLanguages(context_.paths.languageFolder());
    languages_->addItems(names);
    noLanguages_->setVisible(names.isEmpty());
    int selected = -1;
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).compare(context_.current.lastLang, Qt::CaseInsensitive) == 0) {
            selected = i;
            break;
        }
    }
    languages_->setCurrentIndex(selected >= 0 ? selected : (names.isEmpty() ? -1 : 0));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(languages_);
    layout->addWidget(noLanguages_);
    layout->addStretch();
    layout->addWidget(buttons_);
    setMinimumWidth(320);
}

QString CProgramSet::text(int id) const {
    return QString::fromStdString(context_.texts.text(id));
}

void CProgramSet::accept() {
    if (languages_->currentIndex() < 0) {
        context_.prompts.showMessage(this, text(156));
        return;
    }
    const QString chosen = languages_->currentText();
    const bool changed = chosen != context_.current.lastLang;
    context_.current.lastLang = chosen;
    context_.settings.write(context_.current);
    QDialog::accept();
    if (changed) {
        context_.prompts.showMessage(parentWidget(), text(656));
        if (applyLanguage_) {
            applyLanguage_();
        }
    }
}

} // namespace tolvane
