#include "gui/schedules/CProgramListPanel.h"

#include "TextNumbers.h"
#include "gui/choosers/CSelNumerDlg.h"
#include "gui/schedules/CProgramDelegate.h"
#include "gui/schedules/CProgramPage.h"
#include "project/ProjectData.h"
#include "schedules/ProgramEditing.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr int PageLimit = CProgramPage::PageLimit;

} // namespace

CProgramListPanel::CProgramListPanel(CProgramPage& page)
    : QWidget(&page), page_(page), buttonIcons_(page.context().paths.dataFile(QStringLiteral("Gfx/buttons.png"))) {
    setObjectName(QStringLiteral("programListPanel"));
    const ProgramPageSpec& spec = page_.spec();

    add_ = new QPushButton(this);
    add_->setObjectName(QStringLiteral("addButton"));
    delete_ = new QPushButton(this);
    delete_->setObjectName(QStringLiteral("deleteButton"));
    copy_ = new QPushButton(this);
    copy_->setObjectName(QStringLiteral("copyButton"));
    add_->setIcon(buttonIcons_.icon(0));
    delete_->setIcon(buttonIcons_.icon(1));
    copy_->setIcon(buttonIcons_.icon(2));
    connect(add_, &QPushButton::clicked, this, &CProgramListPanel::addProgram);
    connect(delete_, &QPushButton::clicked, this, &CProgramListPanel::deleteSelected);
    connect(copy_, &QPushButton::clicked, this, &CProgramListPanel::copySelected);

    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("programList"));
    list_->setModel(page_.model());
    list_->setItemDelegate(new CProgramDelegate(list_));
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->setTabKeyNavigation(false);
    list_->setIconSize(QSize(16, 16));
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->horizontalHeader()->setSectionsClickable(true);
    for (int c = 0; c < static_cast<int>(spec.columns.size()); ++c) {
        // Column widths are given in dialog units; a dialog unit is about one and a half pixels.
        list_->setColumnWidth(c, spec.columns[static_cast<std::size_t>(c)].width * 3 / 2);
    }
    list_->horizontalHeader()->setStretchLastSection(true);
    connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, &CProgramListPanel::sortByColumn);
    connect(list_, &QTableView::doubleClicked, this, [this] { changeNumber(); });

    const auto listKey = [this](const QKeySequence& keys, const std::function<void()>& action) {
        auto* shortcut = new QShortcut(keys, list_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    listKey(QKeySequence(Qt::Key_Insert), [this] { addProgram(); });
    listKey(QKeySequence(Qt::Key_Delete), [this] { deleteSelected(); });
    listKey(QKeySequence(Qt::CTRL | Qt::Key_D), [this] { copySelected(); });
    listKey(QKeySequence(QKeySequence::Copy), [this] { copyToClipboard(); });
    listKey(QKeySequence(QKeySequence::Paste), [this] { pasteFromClipboard(); });
    listKey(QKeySequence(Qt::Key_F2), [this] { changeNumber(); });
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        listKey(keys, [this] { page_.enterEditor(); });
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(delete_);
    buttons->addWidget(copy_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(list_, 1);
    // The eight funeral programs are always there, in their fixed order.
    if (spec.kind == Funeral) {
        for (QWidget* w : std::initializer_list<QWidget*>{add_, delete_, copy_}) {
            w->hide();
        }
        list_->horizontalHeader()->setSectionsClickable(false);
    }
}

void CProgramListPanel::enableActions(int selected) {
    const ScheduleProgram* programs = page_.programs();
    const int used = programs ? programs->usedCount() : 0;
    add_->setEnabled(page_.project() && selected < PageLimit);
    delete_->setEnabled(selected > 0);
    copy_->setEnabled(selected > 0 && selected < PageLimit && used < PageLimit);
}

void CProgramListPanel::refreshTexts() {
    add_->setText(page_.text(text::AddButton));
    delete_->setText(page_.text(text::DeleteButton));
    copy_->setText(page_.text(text::CopyButton));
    add_->setAccessibleName(page_.text(text::AddButton));
    delete_->setAccessibleName(page_.text(text::DeleteButton));
    copy_->setAccessibleName(page_.text(text::CopyButton));
    list_->setAccessibleName(page_.text(page_.spec().captionText));
    page_.model()->textsChanged();
}

void CProgramListPanel::rebuild(int row) {
    page_.reload(row);
    if (page_.isVisible() && list_->model()->rowCount() > 0) {
        list_->setFocus(Qt::OtherFocusReason);
    }
}

void CProgramListPanel::listAction(const EditLabel& label, int record,
                                   const std::function<int(ProjectData&, ScheduleProgram&)>& change, int field) {
    int focus = 0;
    page_.endEditBurst();
    page_.edit(label, {page_.sectionId(), record, field}, [&](ProjectData& project) {
        ScheduleProgram& s = project.program(page_.kind());
        focus = s.sortEntries(static_cast<SortKey>(page_.sortKey()), change(project, s));
    });
    page_.endEditBurst();
    rebuild(focus);
}

void CProgramListPanel::addProgram() {
    const ScheduleProgram* p = page_.programs();
    if (!p || isTollingKind(page_.kind())) {
        return;
    }
    if (p->usedCount() >= PageLimit) {
        page_.showMessage(page_.text(text::TableFull));
        return;
    }
    listAction(
        {text::AddProgramStep, {}}, -1,
        [this](ProjectData& project, ScheduleProgram& s) {
            const int added = s.addEntry();
            if (page_.kind() == HolidayDay) {
                s.setHolidayIndex(added,
                                  programediting::holidayForNewProgram(&project.holidays(), page_.rememberedHoliday()));
            }
            return added;
        },
        CProgramPage::ListActionField);
}

void CProgramListPanel::deleteSelected() {
    const QList<int> rows = CProgramPage::selectedRows(list_);
    const ScheduleProgram* p = page_.programs();
    if (!p || p->usedCount() == 0 || rows.isEmpty() || isTollingKind(page_.kind())) {
        return;
    }
    const std::vector<int> selected(rows.begin(), rows.end());
    listAction(
        {text::DeleteProgramsStep, {}}, -1,
        [&selected](ProjectData&, ScheduleProgram& s) { return s.deleteEntries(selected); },
        CProgramPage::ListActionField);
}

void CProgramListPanel::copySelected() {
    const QList<int> rows = CProgramPage::selectedRows(list_);
    const ScheduleProgram* p = page_.programs();
    if (!p || rows.isEmpty() || p->usedCount() >= PageLimit || isTollingKind(page_.kind())) {
        return;
    }
    const std::vector<int> selected(rows.begin(), rows.end());
    CopyResult copied;
    listAction(
        {text::CopyProgramsStep, {}}, -1,
        [&](ProjectData&, ScheduleProgram& s) {
            copied = s.copyEntries(selected);
            return copied.focus;
        },
        CProgramPage::ListActionField);
    if (copied.tableFull) {
        page_.showMessage(page_.text(text::TableFull));
    }
}

void CProgramListPanel::copyToClipboard() {
    const QList<int> rows = CProgramPage::selectedRows(list_);
    const ScheduleProgram* p = page_.programs();
    if (!p || rows.isEmpty() || isTollingKind(page_.kind())) {
        return;
    }
    const std::vector<int> selected(rows.begin(), rows.end());
    QGuiApplication::clipboard()->setText(QString::fromStdString(programediting::programsToText(*p, selected)));
}

void CProgramListPanel::pasteFromClipboard() {
    const ScheduleProgram* p = page_.programs();
    if (!p || isTollingKind(page_.kind())) {
        return;
    }
    const auto pasted = programediting::programsFromText(QGuiApplication::clipboard()->text().toStdString());
    if (!pasted || pasted->kind != page_.kind()) {
        page_.showMessage(page_.text(text::NoProgramsToPaste));
        return;
    }
    if (p->usedCount() >= PageLimit) {
        page_.showMessage(page_.text(text::TableFull));
        return;
    }
    programediting::PasteResult result;
    listAction(
        {text::PasteProgramsStep, {}}, -1,
        [&](ProjectData&, ScheduleProgram& s) {
            result = programediting::pastePrograms(s, pasted->entries);
            return result.first;
        },
        CProgramPage::ListActionField);
    if (result.tableFull) {
        page_.showMessage(page_.text(text::TableFull));
    }
}

void CProgramListPanel::changeNumber() {
    const int row = page_.currentItem();
    const ScheduleProgram* p = page_.programs();
    if (row < 0 || !p || isTollingKind(page_.kind())) {
        return;
    }
    AppContext& context = page_.context();
    CSelNumerDlg chooser(*page_.project(), p->entry(row).identifier(), context.texts, context.prompts, &page_);
    if (context.dialogs.run(chooser) != QDialog::Accepted || chooser.chosenNumber() <= 0) {
        return;
    }
    const auto number = static_cast<std::uint16_t>(chooser.chosenNumber());
    listAction(
        {text::ProgramNumberStep, {static_cast<long long>(number)}}, row,
        [row, number](ProjectData&, ScheduleProgram& s) {
            s.storeShownValues(row);
            s.setIdentifier(row, number);
            return row;
        },
        static_cast<int>(EntryField::Identifier));
}

void CProgramListPanel::sortByColumn(int section) {
    const int key = page_.model()->sortKeyOf(section);
    if (key < 0 || !page_.programs()) {
        return;
    }
    page_.setSortKey(key);
    const QList<int> rows = CProgramPage::selectedRows(list_);
    const int focus = page_.currentItem() >= 0 ? page_.currentItem() : (rows.isEmpty() ? 0 : rows.front());
    listAction(
        {text::SortProgramsStep, {}}, -1, [focus](ProjectData&, ScheduleProgram&) { return focus; },
        CProgramPage::ListActionField);
}

} // namespace tolvane
