#include "gui/sequences/CSequenceListModel.h"

#include "TextNumbers.h"
#include "project/ProjectData.h"
#include "project/SequenceName.h"

namespace tolvane {

CSequenceListModel::CSequenceListModel(std::function<const ProjectData*()> project, std::function<QString(int)> text,
                                       const TextSource& texts, QObject* parent)
    : CListModel(parent), project_(std::move(project)), text_(std::move(text)), texts_(texts) {}

int CSequenceListModel::rowCount(const QModelIndex& parent) const {
    const ProjectData* p = project_();
    return parent.isValid() || !p ? 0 : p->sequences().usedCount();
}

int CSequenceListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant CSequenceListModel::data(const QModelIndex& index, int role) const {
    const ProjectData* p = project_();
    if (!p || !index.isValid()) {
        return {};
    }
    const SequenceTable& table = p->sequences();
    const int record = table.rowToRecord(index.row());
    if (record < 0) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return QString::fromStdString(sequenceName(record, texts_));
        case TotalColumn:
            return QString::fromStdString(table.totalText(record));
        case StepsColumn:
            return QString::fromStdString(table.stepCountText(record));
        default:
            return {};
        }
    case Qt::TextAlignmentRole:
        return index.column() == NameColumn ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return QColor(table.isChanged(record) ? QColor(ChangedColor) : QColor(Qt::white));
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    case Qt::AccessibleDescriptionRole:
        return table.isChanged(record) ? text_(text::ChangedDescription) : QString();
    case Qt::UserRole:
        return record;
    default:
        return {};
    }
}

QVariant CSequenceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case NameColumn:
        return text_(text::Sequence);
    case TotalColumn:
        return text_(text::TotalTime);
    case StepsColumn:
        return text_(text::StepsColumn);
    default:
        return {};
    }
}

void CSequenceListModel::textsChanged() {
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

CStepListModel::CStepListModel(std::function<const ProjectData*()> project, std::function<QString(int)> text,
                               const TextSource& texts, QObject* parent)
    : CListModel(parent), project_(std::move(project)), text_(std::move(text)), texts_(texts) {}

int CStepListModel::rowCount(const QModelIndex& parent) const {
    const ProjectData* p = project_();
    return parent.isValid() || !p ? 0 : p->sequences().stepCount(sequence_);
}

int CStepListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant CStepListModel::data(const QModelIndex& index, int role) const {
    const ProjectData* p = project_();
    if (!p || !index.isValid() || !p->sequences().isStepDefined(sequence_, index.row())) {
        return {};
    }
    const SequenceTable& table = p->sequences();
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == StepColumn) {
            return QString::fromStdString(SequenceTable::stepText(table.record(sequence_).step(index.row()), texts_));
        }
        return index.column() == DurationColumn ? QString::fromStdString(table.stepDurationText(sequence_, index.row()))
                                                : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == StepColumn ? QVariant(Qt::AlignLeft | Qt::AlignVCenter) : QVariant(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant CStepListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    return section == StepColumn ? text_(text::Step) : section == DurationColumn ? text_(text::TotalTime) : QVariant();
}

void CStepListModel::textsChanged() {
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

} // namespace tolvane
