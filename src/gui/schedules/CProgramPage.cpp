#include "gui/schedules/CProgramPage.h"

#include "TextNumbers.h"
#include "gui/schedules/CProgramEditor.h"
#include "gui/schedules/CProgramListPanel.h"
#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "schedules/ProgramEditing.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>
#include <QVBoxLayout>

namespace tolvane {

CProgramPage::CProgramPage(AppContext& context, ProgramPageSpec spec, QWidget* parent)
    : CDataPage(context, parent), spec_(std::move(spec)),
      actionIcons_(context.paths.dataFile(QStringLiteral("Gfx/actions.png"))) {
    model_ = new CProgramModel(
        spec_.kind, spec_.columns, [this] { return project(); }, [this](int id) { return text(id); },
        [this](int index) { return actionIcon(index); }, context.texts, this);

    listPanel_ = new CProgramListPanel(*this);
    watchSelection(listPanel_->list());

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("usedBar"));
    progress_->setRange(0, PageLimit);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(14);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("countLabel"));

    editor_ = new CProgramEditor(*this);

    auto* footer = new QHBoxLayout;
    footer->addWidget(progress_, 1);
    footer->addWidget(count_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 8, 12, 8);
    layout->addWidget(listPanel_, 1);
    layout->addWidget(editor_);
    layout->addLayout(footer);
    // The eight funeral programs are always there, in their fixed order: nothing to count.
    if (spec_.kind == Funeral) {
        progress_->hide();
        count_->hide();
    }
    showItem(false, 0);
}

QTableView* CProgramPage::list() const {
    return listPanel_->list();
}

const ScheduleProgram* CProgramPage::programs() const {
    return project() ? &project()->program(spec_.kind) : nullptr;
}

QIcon CProgramPage::actionIcon(int index) const {
    return actionIcons_.icon(index);
}

QString CProgramPage::formatted(int id, long long n) const {
    return QString::fromStdString(formatText(context().texts.text(id), {TextArg(n)}));
}

ProgramEntry CProgramPage::shown(int row) const {
    return programediting::shownEntry(programs()->entry(row));
}

int CProgramPage::rememberedHoliday() const {
    return editor_->rememberedHoliday();
}

void CProgramPage::setSortKey(int key) {
    sortKey_ = key;
    if (document()) {
        document()->setListOrder(spec_.kind, static_cast<SortKey>(key));
    }
}

void CProgramPage::enterEditor() {
    if (editor_->isVisible()) {
        editor_->focusFirstField();
    }
}

// ---- the list ----

void CProgramPage::reload(int item) {
    // An edit still open is finished first (the list's order included), as leaving its field would.
    settleOrder();
    editor_->refreshBellTexts();
    QTableView* table = list();
    beginListUpdate(table);
    const ScheduleProgram* p = programs();
    const int used = p ? p->usedCount() : 0;
    focused_ = used == 0 ? 0 : std::clamp(item, 0, used - 1);
    // Selecting the row notifies the selection; the editor is filled once, below, not also on the way.
    reloading_ = true;
    endListUpdate(table, used == 0 ? -1 : focused_, false);
    // The list sits in its panel: it takes the focus from anywhere on this page (its editor too), not only from the
    // panel, and leaves it where it is outside the page (the navigation tree keeps it).
    QWidget* focusedWidget = QApplication::focusWidget();
    if (!focusedWidget || isAncestorOf(focusedWidget)) {
        table->setFocus();
    }
    reloading_ = false;
    progress_->setValue(used);
    count_->setText(formatted(text::ProgramCount, used));
    onSelectionChanged();
}

void CProgramPage::reloadKeepingRecord() {
    reload(focused_);
}

void CProgramPage::onSelectionChanged() {
    if (reloading_) {
        return;
    }
    // Choosing another program ends the burst of typing: its edits are steps of their own.
    orderPending_ = false;
    endEditBurst();
    QTableView* table = list();
    const int selected = showSelectedItem(table);
    if (table->currentIndex().isValid()) {
        focused_ = table->currentIndex().row();
    }
    listPanel_->enableActions(selected);
}

void CProgramPage::showItem(bool single, int item) {
    editor_->setVisible(single && project());
    if (single && project()) {
        editor_->showEntry(item);
    }
}

void CProgramPage::refreshMarks() {
    model_->allRowsChanged();
    editor_->showMarks();
}

// ---- edits of the shown program ----

void CProgramPage::editShown(int field, const std::function<void(ScheduleProgram&, int)>& change) {
    const int row = currentItem();
    if (row < 0 || !programs() || row >= programs()->usedCount()) {
        return;
    }
    const EditLabel label =
        spec_.kind == Funeral
            ? EditLabel{text::EditFuneralStep, {static_cast<long long>(row + 1)}}
            : EditLabel{text::EditProgramStep, {static_cast<long long>(programs()->entry(row).identifier())}};
    const EditKey key{sectionId(), row, field};
    if (edit(label, key, [&](ProjectData& project) {
            ScheduleProgram& s = project.program(spec_.kind);
            s.storeShownValues(row);
            change(s, row);
        })) {
        orderPending_ = true;
        pendingLabel_ = label;
        pendingKey_ = key;
    }
    model_->rowChanged(row);
    editor_->showMarks();
}

void CProgramPage::settleOrder() {
    if (!orderPending_) {
        return;
    }
    orderPending_ = false;
    const int row = currentItem();
    if (row < 0 || !programs() || row >= programs()->usedCount() || isTollingKind(spec_.kind)) {
        return;
    }
    int moved = row;
    // The same label and key as the edit itself: the new order joins the edit's step, and one undo takes both back.
    const bool reordered = edit(pendingLabel_, pendingKey_, [&](ProjectData& project) {
        moved = project.program(spec_.kind).sortEntries(static_cast<SortKey>(sortKey_), row);
    });
    if (reordered) {
        document()->moveLastStepRecord(moved);
        showOrder(moved);
    }
}

void CProgramPage::finishField() {
    settleOrder();
    endEditBurst();
}

void CProgramPage::showOrder(int row) {
    QTableView* table = list();
    reloading_ = true;
    beginListUpdate(table);
    endListUpdate(table, row, false);
    reloading_ = false;
    setCurrentItem(row);
    focused_ = row;
}

// ---- texts ----

void CProgramPage::refreshTexts() {
    listPanel_->refreshTexts();
    editor_->refreshTexts();
    const ScheduleProgram* p = programs();
    count_->setText(formatted(text::ProgramCount, p ? p->usedCount() : 0));
    if (currentItem() >= 0) {
        editor_->showEntry(currentItem());
    }
}

} // namespace tolvane
