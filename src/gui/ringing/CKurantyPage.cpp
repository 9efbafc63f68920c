#include "gui/ringing/CKurantyPage.h"

#include "TextNumbers.h"
#include "gui/ringing/CKurantyModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace tolvane {

CKurantyPage::CKurantyPage(AppContext& context, QWidget* parent)
    : CDataPage(context, parent),
      model_(new CKurantyModel([this] { return project(); }, [this](int id) { return text(id); }, this)),
      list_(new QTableView(this)), nameLabel_(new QLabel(this)), name_(new QLineEdit(this)) {
    list_->setObjectName(QStringLiteral("chimeList"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->setTabKeyNavigation(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->setColumnWidth(CKurantyModel::NumberColumn, NumberWidth);
    list_->setColumnWidth(CKurantyModel::NameColumn, NameWidth);
    list_->setFixedWidth(NumberWidth + NameWidth + 4 + list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    watchSelection(list_);

    name_->setObjectName(QStringLiteral("chimeName"));
    name_->setMaxLength(static_cast<int>(ChimeNameTable::MaxNameChars));
    name_->setFixedWidth(NameWidth);
    nameLabel_->setBuddy(name_);
    connect(name_, &QLineEdit::textEdited, this, &CKurantyPage::nameEdited);
    // A new burst of typing after the user left the field.
    connect(name_, &QLineEdit::editingFinished, this, [this] { endEditBurst(); });

    // Enter goes from the list into the name field, Escape from the field back to the list; each only where it
    // belongs, so neither fires while the other control has the focus.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* enter = new QShortcut(keys, list_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this] {
            if (name_->isVisible()) {
                name_->setFocus(Qt::ShortcutFocusReason);
                name_->selectAll();
            }
        });
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), name_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        endEditBurst();
        list_->setFocus(Qt::ShortcutFocusReason);
    });

    auto* detail = new QHBoxLayout;
    detail->addWidget(nameLabel_);
    detail->addWidget(name_);
    detail->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 10, 12, 12);
    layout->addWidget(list_, 1, Qt::AlignLeft);
    layout->addLayout(detail);
    setTabOrder(list_, name_);
    showItem(false, 0);
}

void CKurantyPage::reload(int item) {
    beginListUpdate(list_);
    endListUpdate(list_, item);
    onSelectionChanged();
}

void CKurantyPage::refreshTexts() {
    nameLabel_->setText(text(text::ChimeName) + QLatin1Char(':'));
    name_->setAccessibleName(text(text::ChimeName));
    list_->setAccessibleName(text(text::Chimes));
    model_->textsChanged();
    showNameMark();
}

void CKurantyPage::onSelectionChanged() {
    // Choosing another chime ends the burst of typing: its name is a step of its own.
    endEditBurst();
    showSelectedItem(list_);
}

void CKurantyPage::showItem(bool single, int item) {
    nameLabel_->setVisible(single);
    name_->setVisible(single);
    if (single && project()) {
        const QString stored = QString::fromStdString(project()->chimes().name(item));
        if (name_->text() != stored) {
            name_->setText(stored);
        }
    }
    showNameMark();
}

void CKurantyPage::refreshMarks() {
    model_->allRowsChanged();
    showNameMark();
}

// Each keystroke stores the name as typed and marks the chime when the name differs from the stored one.
void CKurantyPage::nameEdited(const QString& typed) {
    const int chime = currentItem();
    if (chime < 0 || !project()) {
        return;
    }
    const std::string name = typed.toStdString();
    if (name == project()->chimes().name(chime)) {
        return;
    }
    edit({text::ChimeNameStep, {static_cast<long long>(chime + 1)}}, {SectionId::Chimes, chime, 0},
         [chime, &name](ProjectData& p) { p.chimes().setName(chime, name); });
    model_->rowChanged(chime);
    showNameMark();
}

void CKurantyPage::showNameMark() {
    const int chime = currentItem();
    const bool changed = chime >= 0 && project() && project()->chimes().isChanged(chime);
    markChangedField(name_, changed);
    name_->setAccessibleDescription(changed ? text(text::ChangedDescription) : QString());
}

} // namespace tolvane
