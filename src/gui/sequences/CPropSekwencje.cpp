#include "gui/sequences/CPropSekwencje.h"

#include "TextNumbers.h"
#include "gui/sequences/CSeqElemDlg.h"
#include "gui/sequences/CSequenceListModel.h"
#include "gui/sequences/CSequenceTimeline.h"
#include "project/ProjectData.h"
#include "ringing/SequenceTimeline.h"
#include "ringing/StepEditing.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace tolvane {

namespace {

// Fields of the edit keys: each list action is a step of its own.
constexpr int FieldNewSequence = 1;
constexpr int FieldDeleteSequences = 2;
constexpr int FieldCopySequences = 3;
constexpr int FieldNewStep = 4;
constexpr int FieldEditStep = 5;
constexpr int FieldDeleteStep = 6;

QTableView* makeList(QWidget* parent, const char* name, QAbstractItemModel* model, bool several) {
    auto* list = new QTableView(parent);
    list->setObjectName(QLatin1String(name));
    list->setModel(model);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(several ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setTabKeyNavigation(false);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
    list->horizontalHeader()->setHighlightSections(false);
    return list;
}

void fixWidth(QTableView* list, int columns) {
    list->setFixedWidth(columns + 4 + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

} // namespace

CPropSekwencje::CPropSekwencje(AppContext& context, QWidget* parent)
    : CDataPage(context, parent), buttonIcons_(context.paths.dataFile(QStringLiteral("Gfx/buttons.png"))),
      sequenceModel_(new CSequenceListModel([this] { return project(); }, [this](int id) { return text(id); },
                                            context.texts, this)),
      stepModel_(
          new CStepListModel([this] { return project(); }, [this](int id) { return text(id); }, context.texts, this)),
      new_(new QPushButton(this)), delete_(new QPushButton(this)), copy_(new QPushButton(this)),
      sequences_(makeList(this, "sequenceList", sequenceModel_, true)), stepArea_(new QWidget(this)),
      steps_(makeList(stepArea_, "stepList", stepModel_, false)), newStep_(new QPushButton(stepArea_)),
      deleteStep_(new QPushButton(stepArea_)), timelineLabel_(new QLabel(stepArea_)),
      timelineArea_(new QScrollArea(stepArea_)), timeline_(new CSequenceTimeline) {
    new_->setObjectName(QStringLiteral("newSequence"));
    delete_->setObjectName(QStringLiteral("deleteSequences"));
    copy_->setObjectName(QStringLiteral("copySequences"));
    newStep_->setObjectName(QStringLiteral("newStep"));
    deleteStep_->setObjectName(QStringLiteral("deleteStep"));
    new_->setIcon(buttonIcons_.icon(0));
    delete_->setIcon(buttonIcons_.icon(1));
    copy_->setIcon(buttonIcons_.icon(2));
    connect(new_, &QPushButton::clicked, this, &CPropSekwencje::newSequence);
    connect(delete_, &QPushButton::clicked, this, &CPropSekwencje::deleteSequences);
    connect(copy_, &QPushButton::clicked, this, &CPropSekwencje::copySequences);
    connect(newStep_, &QPushButton::clicked, this, &CPropSekwencje::newStep);
    connect(deleteStep_, &QPushButton::clicked, this, &CPropSekwencje::deleteStep);

    sequences_->setColumnWidth(CSequenceListModel::NameColumn, SequenceNameWidth);
    sequences_->setColumnWidth(CSequenceListModel::TotalColumn, SequenceTotalWidth);
    sequences_->setColumnWidth(CSequenceListModel::StepsColumn, SequenceStepsWidth);
    fixWidth(sequences_, SequenceNameWidth + SequenceTotalWidth + SequenceStepsWidth);
    watchSelection(sequences_);

    steps_->setColumnWidth(CStepListModel::StepColumn, StepTextWidth);
    steps_->setColumnWidth(CStepListModel::DurationColumn, StepDurationWidth);
    fixWidth(steps_, StepTextWidth + StepDurationWidth);
    connect(steps_, &QTableView::doubleClicked, this, [this] { editStep(); });
    connect(steps_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CPropSekwencje::stepSelectionChanged);
    // The step list is refilled as a whole; its selection model is kept.
    connect(stepModel_, &QAbstractItemModel::modelReset, this, &CPropSekwencje::stepSelectionChanged);

    timelineArea_->setObjectName(QStringLiteral("timelineArea"));
    timelineArea_->setWidget(timeline_);
    timelineArea_->setWidgetResizable(false);
    timelineArea_->setFocusPolicy(Qt::NoFocus);
    timelineArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    timelineArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    timelineArea_->setFixedHeight(timeline_->sizeHint().height() + 6 +
                                  timelineArea_->horizontalScrollBar()->sizeHint().height());
    timeline_->setObjectName(QStringLiteral("sequenceTimeline"));
    connect(timeline_, &CSequenceTimeline::stepClicked, this, [this](int step) {
        steps_->selectRow(step);
        steps_->setFocus(Qt::MouseFocusReason);
    });

    const auto listKey = [this](QWidget* list, const QKeySequence& keys, const std::function<void()>& action) {
        auto* shortcut = new QShortcut(keys, list, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    listKey(sequences_, QKeySequence(Qt::Key_Insert), [this] { newSequence(); });
    listKey(sequences_, QKeySequence(Qt::Key_Delete), [this] { deleteSequences(); });
    listKey(sequences_, QKeySequence(Qt::CTRL | Qt::Key_D), [this] { copySequences(); });
    listKey(steps_, QKeySequence(Qt::Key_Insert), [this] { newStep(); });
    listKey(steps_, QKeySequence(Qt::Key_Delete), [this] { deleteStep(); });
    listKey(steps_, QKeySequence(Qt::Key_Escape), [this] { sequences_->setFocus(Qt::ShortcutFocusReason); });
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        listKey(sequences_, keys, [this] {
            if (stepArea_->isVisible()) {
                steps_->setFocus(Qt::ShortcutFocusReason);
                if (!steps_->selectionModel()->hasSelection() && stepModel_->rowCount() > 0) {
                    steps_->selectRow(0);
                }
            }
        });
        listKey(steps_, keys, [this] { editStep(); });
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new_);
    buttons->addWidget(delete_);
    buttons->addWidget(copy_);
    buttons->addStretch(1);
    auto* stepButtons = new QHBoxLayout;
    stepButtons->addWidget(newStep_);
    stepButtons->addWidget(deleteStep_);
    stepButtons->addStretch(1);
    auto* stepLayout = new QVBoxLayout(stepArea_);
    stepLayout->setContentsMargins(0, 0, 0, 0);
    stepLayout->addWidget(steps_, 1, Qt::AlignLeft);
    stepLayout->addLayout(stepButtons);
    stepLayout->addWidget(timelineLabel_);
    stepLayout->addWidget(timelineArea_);
    auto* lists = new QHBoxLayout;
    lists->addWidget(sequences_);
    lists->addWidget(stepArea_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 8, 12, 8);
    layout->addLayout(buttons);
    layout->addLayout(lists, 1);

    setTabOrder(new_, delete_);
    setTabOrder(delete_, copy_);
    setTabOrder(copy_, sequences_);
    setTabOrder(sequences_, steps_);
    setTabOrder(steps_, newStep_);
    setTabOrder(newStep_, deleteStep_);
    showItem(false, 0);
}

int CPropSekwencje::currentSequence() const {
    const int row = currentItem();
    return row >= 0 && project() ? project()->sequences().rowToRecord(row) : -1;
}

int CPropSekwencje::currentStep() const {
    const QList<int> rows = selectedRows(steps_);
    return stepArea_->isVisibleTo(this) && rows.size() == 1 ? rows.front() : -1;
}

std::vector<int> CPropSekwencje::selectedRecords() const {
    std::vector<int> records;
    if (!project()) {
        return records;
    }
    for (int row : selectedRows(sequences_)) {
        const int record = project()->sequences().rowToRecord(row);
        if (record >= 0) {
            records.push_back(record);
        }
    }
    return records;
}

// ---- lists ----

void CPropSekwencje::reload(int item) {
    beginListUpdate(sequences_);
    int row = -1;
    if (const ProjectData* p = project(); p && p->sequences().usedCount() > 0) {
        row = std::max(p->sequences().recordToRow(item), 0);
    }
    endListUpdate(sequences_, row);
    onSelectionChanged();
}

void CPropSekwencje::rebuild(int record, int stepRow) {
    reload(record);
    if (currentSequence() >= 0) {
        showSteps(stepRow);
    }
}

void CPropSekwencje::onSelectionChanged() {
    endEditBurst();
    const int selected = showSelectedItem(sequences_);
    delete_->setEnabled(selected > 0);
    copy_->setEnabled(selected > 0);
    new_->setEnabled(project() != nullptr);
}

void CPropSekwencje::showItem(bool single, int) {
    stepArea_->setVisible(single && project());
    if (single && project()) {
        showSteps(0);
    } else {
        stepModel_->beginRefresh();
        stepModel_->setSequence(-1);
        stepModel_->endRefresh();
    }
}

// Refills the step list of the selected sequence with `stepRow` selected (none when out of range).
void CPropSekwencje::showSteps(int stepRow) {
    stepModel_->beginRefresh();
    stepModel_->setSequence(currentSequence());
    stepModel_->endRefresh();
    const int count = stepModel_->rowCount();
    if (count > 0 && stepRow >= 0) {
        steps_->selectRow(std::min(stepRow, count - 1));
    }
    stepSelectionChanged();
}

void CPropSekwencje::stepSelectionChanged() {
    deleteStep_->setEnabled(currentStep() >= 0);
    showTimeline();
}

void CPropSekwencje::showTimeline() {
    const int sequence = currentSequence();
    timeline_->setSequence(project(), sequence, currentStep(), timelineArea_->viewport()->width());
    timeline_->setAccessibleName(text(text::Timeline));
    timeline_->setAccessibleDescription(
        project() && sequence >= 0
            ? QString::fromStdString(timeline::description(project()->sequences(), sequence, context().texts))
            : QString());
    const QRect chosen = timeline_->blockRect(currentStep());
    if (!chosen.isEmpty()) {
        timelineArea_->ensureVisible(chosen.center().x(), chosen.center().y(), chosen.width() / 2 + 8, 0);
    }
}

void CPropSekwencje::resizeEvent(QResizeEvent* event) {
    CDataPage::resizeEvent(event);
    showTimeline();
}

void CPropSekwencje::refreshMarks() {
    sequenceModel_->textsChanged();
}

void CPropSekwencje::refreshTexts() {
    new_->setText(text(text::NewSequence));
    delete_->setText(text(text::DeleteSequences));
    copy_->setText(text(text::CopySequences));
    newStep_->setText(text(text::NewStep));
    deleteStep_->setText(text(text::DeleteStep));
    sequences_->setAccessibleName(text(text::Sequences));
    steps_->setAccessibleName(text(text::Step));
    timelineLabel_->setText(text(text::Timeline) + QLatin1Char(':'));
    sequenceModel_->textsChanged();
    stepModel_->textsChanged();
    showTimeline();
}

// ---- sequences ----

void CPropSekwencje::newSequence() {
    if (!project()) {
        return;
    }
    if (!project()->sequences().hasFreeRecord()) {
        showMessage(text(text::NoFreeSequence));
        return;
    }
    int created = -1;
    endEditBurst();
    edit({text::UndoNewSequence, {}}, {SectionId::Sequences, -1, FieldNewSequence},
         [&](ProjectData& p) { created = p.sequences().createSequence(); });
    endEditBurst();
    rebuild(created, 0);
}

// Without a question, from the last selected row upwards; the sequence before the topmost deleted one is selected.
void CPropSekwencje::deleteSequences() {
    const std::vector<int> records = selectedRecords();
    if (records.empty()) {
        return;
    }
    endEditBurst();
    edit({text::UndoDeleteSequences, {}}, {SectionId::Sequences, -1, FieldDeleteSequences}, [&](ProjectData& p) {
        for (auto it = records.rbegin(); it != records.rend(); ++it) {
            p.sequences().deleteSequence(*it);
        }
    });
    endEditBurst();
    const int previous = project()->sequences().previousUsedRecord(records.front());
    rebuild(previous < 0 ? 0 : previous, 0);
}

void CPropSekwencje::copySequences() {
    const std::vector<int> records = selectedRecords();
    if (records.empty() || !project()) {
        return;
    }
    if (!project()->sequences().hasFreeRecord()) {
        showMessage(text(text::NoFreeSequence));
        return;
    }
    int last = -1;
    bool full = false;
    endEditBurst();
    edit({text::UndoCopySequences, {}}, {SectionId::Sequences, -1, FieldCopySequences}, [&](ProjectData& p) {
        for (int record : records) {
            if (!p.sequences().hasFreeRecord()) {
                full = true;
                break;
            }
            last = p.sequences().copySequence(record);
        }
    });
    endEditBurst();
    rebuild(last, 0);
    if (full) {
        showMessage(text(text::NoFreeSequence));
    }
}

// ---- steps ----

void CPropSekwencje::newStep() {
    const int sequence = currentSequence();
    if (sequence < 0 || !project()) {
        showMessage(text(text::NoSequence));
        return;
    }
    const SequenceTable& table = project()->sequences();
    if (!table.hasFreeStep(sequence)) {
        showMessage(text(text::SequenceFull));
        return;
    }
    const int selected = currentStep();
    const int own = stepediting::ownPosition(selected, table.stepCount(sequence));
    CSeqElemDlg editor(context(), project(), sequence, -1, stepediting::insertPosition(selected), own, this);
    if (context().dialogs.run(editor) != QDialog::Accepted) {
        return;
    }
    if (const int refusal = stepediting::bellStepRefusal(project()->striking(), sequence, editor.step())) {
        showMessage(text(refusal));
        return;
    }
    endEditBurst();
    editor.commit(*document(), {text::UndoNewStep, {static_cast<long long>(sequence + 1)}},
                  {SectionId::Sequences, sequence, FieldNewStep});
    rebuild(sequence, own);
    steps_->setFocus(Qt::OtherFocusReason);
}

void CPropSekwencje::editStep() {
    const int sequence = currentSequence();
    const int step = currentStep();
    if (sequence < 0 || step < 0 || !project()) {
        return;
    }
    CSeqElemDlg editor(context(), project(), sequence, step, 0, step, this);
    if (context().dialogs.run(editor) != QDialog::Accepted) {
        return;
    }
    if (const int refusal = stepediting::bellStepRefusal(project()->striking(), sequence, editor.step())) {
        showMessage(text(refusal));
        return;
    }
    endEditBurst();
    editor.commit(*document(), {text::UndoEditStep, {static_cast<long long>(sequence + 1)}},
                  {SectionId::Sequences, sequence, FieldEditStep});
    rebuild(sequence, step);
    steps_->setFocus(Qt::OtherFocusReason);
}

void CPropSekwencje::deleteStep() {
    const int sequence = currentSequence();
    const int step = currentStep();
    if (sequence < 0 || step < 0) {
        return;
    }
    endEditBurst();
    edit({text::UndoDeleteStep, {static_cast<long long>(sequence + 1)}},
         {SectionId::Sequences, sequence, FieldDeleteStep},
         [&](ProjectData& p) { p.sequences().deleteStep(sequence, step); });
    endEditBurst();
    rebuild(sequence, step);
    steps_->setFocus(Qt::OtherFocusReason);
}

} // namespace tolvane
