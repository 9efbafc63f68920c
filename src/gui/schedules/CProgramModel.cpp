#include "gui/schedules/CProgramModel.h"

#include "TextNumbers.h"
#include "gui/app/CDataPage.h"
#include "project/ProjectData.h"
#include "schedules/ProgramEntryText.h"

#include <QBrush>

namespace tolvane {

namespace {

QString fromStd(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

CProgramModel::CProgramModel(int kind, std::vector<ProgramColumnSpec> columns,
                             std::function<const ProjectData*()> project, std::function<QString(int)> text,
                             std::function<QIcon(int)> actionIcon, const TextSource& texts, QObject* parent)
    : CListModel(parent), kind_(kind), columns_(std::move(columns)), project_(std::move(project)),
      text_(std::move(text)), actionIcon_(std::move(actionIcon)), texts_(texts) {}

const ScheduleProgram* CProgramModel::programs() const {
    const ProjectData* project = project_();
    return project ? &project->program(kind_) : nullptr;
}

int CProgramModel::rowCount(const QModelIndex& parent) const {
    const ScheduleProgram* p = programs();
    return parent.isValid() || !p ? 0 : p->usedCount();
}

int CProgramModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString CProgramModel::cellText(const ProgramEntry& e, ProgramColumn column) const {
    switch (column) {
    case ProgramColumn::ActionIcon:
        return {};
    case ProgramColumn::Identifier:
        return fromStd(ProgramEntryText::identifier(e));
    case ProgramColumn::Time:
        return fromStd(isTollingKind(kind_) ? ProgramEntryText::funeralTime(e, texts_) : ProgramEntryText::time(e));
    case ProgramColumn::Holiday: {
        const ScheduleProgram* p = programs();
        return fromStd(ProgramEntryText::holiday(e, p ? p->holidayTable() : nullptr, texts_));
    }
    case ProgramColumn::StartDate:
        return fromStd(ProgramEntryText::startDate(e));
    case ProgramColumn::EndDate:
        return fromStd(ProgramEntryText::endDate(e));
    case ProgramColumn::Date:
        return fromStd(kind_ == OneTime ? ProgramEntryText::oneTimeDate(e) : ProgramEntryText::startDate(e));
    case ProgramColumn::Weekdays:
        return fromStd(ProgramEntryText::weekdays(e, texts_));
    case ProgramColumn::Priority:
        return fromStd(ProgramEntryText::priority(e));
    case ProgramColumn::Description:
        return fromStd(ProgramEntryText::actionDescription(e));
    case ProgramColumn::Season:
        return fromStd(ProgramEntryText::season(e, texts_));
    }
    return {};
}

bool CProgramModel::cellChanged(const ScheduleProgram& p, int row, ProgramColumn column) const {
    const auto any = [&](std::initializer_list<EntryField> fields) {
        for (EntryField f : fields) {
            if (p.isMarked(row, f)) {
                return true;
            }
        }
        return false;
    };
    switch (column) {
    case ProgramColumn::ActionIcon:
        return any({EntryField::Action});
    case ProgramColumn::Time:
        return any({EntryField::Hour, EntryField::Minute, EntryField::Second});
    case ProgramColumn::StartDate:
        return any({EntryField::StartDay, EntryField::StartMonth});
    case ProgramColumn::Date:
        return any({EntryField::StartDay, EntryField::StartMonth, EntryField::Year});
    case ProgramColumn::EndDate:
        return any({EntryField::EndDay, EntryField::EndMonth});
    case ProgramColumn::Weekdays:
        return any({EntryField::Days});
    case ProgramColumn::Holiday:
        return any({EntryField::Holiday});
    case ProgramColumn::Season:
        return any({EntryField::Summer, EntryField::Winter});
    case ProgramColumn::Priority:
        return any({EntryField::Priority});
    case ProgramColumn::Identifier:
    case ProgramColumn::Description:
        return false;
    }
    return false;
}

QVariant CProgramModel::data(const QModelIndex& index, int role) const {
    const ScheduleProgram* p = programs();
    if (!p || !index.isValid() || index.row() >= p->usedCount() || index.column() >= columnCount()) {
        return {};
    }
    const int row = index.row();
    const ProgramEntry& e = p->entry(row);
    const ProgramColumnSpec& spec = columns_[static_cast<std::size_t>(index.column())];
    const bool switchedOff = !e.summer() && !e.winter();
    switch (role) {
    case Qt::DisplayRole:
        // Funeral programs have no numbers of their own: they are listed as 1 to 8.
        if (kind_ == Funeral && spec.column == ProgramColumn::Identifier) {
            return QString::number(row + 1);
        }
        return cellText(e, spec.column);
    case Qt::DecorationRole:
        return spec.column == ProgramColumn::ActionIcon
                   ? QVariant(actionIcon_(ProgramEntryText::actionIcon(e.action())))
                   : QVariant();
    case Qt::ToolTipRole:
        return spec.column == ProgramColumn::ActionIcon
                   ? QVariant(fromStd(ProgramEntryText::actionName(e.action(), texts_)))
                   : QVariant();
    case Qt::AccessibleTextRole:
        // The icon column reads out the action's name.
        return spec.column == ProgramColumn::ActionIcon
                   ? QVariant(fromStd(ProgramEntryText::actionName(e.action(), texts_)))
                   : data(index, Qt::DisplayRole);
    case Qt::TextAlignmentRole:
        return QVariant(spec.alignment | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (switchedOff) {
            return QBrush(QColor(SwitchedOffColor));
        }
        return cellChanged(*p, row, spec.column) ? QVariant(QBrush(QColor(ChangedColor))) : QVariant();
    case Qt::AccessibleDescriptionRole:
        if (switchedOff) {
            return text_(SwitchedOffText);
        }
        return cellChanged(*p, row, spec.column) ? QVariant(text_(text::ChangedDescription)) : QVariant();
    default:
        return {};
    }
}

QVariant CProgramModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < columnCount()) {
        const ProgramColumnSpec& spec = columns_[static_cast<std::size_t>(section)];
        if (role == Qt::DisplayRole) {
            return text_(spec.headerText);
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant(spec.alignment | Qt::AlignVCenter);
        }
    }
    return CListModel::headerData(section, orientation, role);
}

int CProgramModel::sortKeyOf(int section) const {
    if (section < 0 || section >= columnCount() || isTollingKind(kind_)) {
        return -1;
    }
    switch (columns_[static_cast<std::size_t>(section)].column) {
    case ProgramColumn::Time:
        return static_cast<int>(SortKey::Time);
    case ProgramColumn::StartDate:
        return static_cast<int>(SortKey::StartDate);
    case ProgramColumn::EndDate:
        return static_cast<int>(SortKey::EndDate);
    case ProgramColumn::ActionIcon:
        return static_cast<int>(SortKey::Action);
    case ProgramColumn::Holiday:
        return static_cast<int>(SortKey::Holiday);
    case ProgramColumn::Date:
        return static_cast<int>(kind_ == OneTime ? SortKey::OneTimeDate : SortKey::StartDate);
    case ProgramColumn::Priority:
        return static_cast<int>(SortKey::Priority);
    case ProgramColumn::Weekdays:
        return static_cast<int>(SortKey::Weekdays);
    case ProgramColumn::Identifier:
        return static_cast<int>(SortKey::Identifier);
    case ProgramColumn::Description:
    case ProgramColumn::Season:
        return -1;
    }
    return -1;
}

void CProgramModel::rowChanged(int row) {
    if (row >= 0 && row < rowCount()) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

void CProgramModel::allRowsChanged() {
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

void CProgramModel::textsChanged() {
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    allRowsChanged();
}

} // namespace tolvane
