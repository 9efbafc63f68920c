#include "gui/ringing/CKurantyModel.h"

#include "TextNumbers.h"
#include "gui/app/CDataPage.h"
#include "project/ProjectData.h"

#include <QBrush>
#include <QColor>

namespace tolvane {

CKurantyModel::CKurantyModel(std::function<const ProjectData*()> project, std::function<QString(int)> text,
                             QObject* parent)
    : CListModel(parent), project_(std::move(project)), text_(std::move(text)) {}

int CKurantyModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !project_() ? 0 : ChimeNameTable::Count;
}

int CKurantyModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant CKurantyModel::data(const QModelIndex& index, int role) const {
    const ProjectData* project = project_();
    if (!project || !index.isValid() || index.row() >= ChimeNameTable::Count) {
        return {};
    }
    const int row = index.row();
    const bool changed = project->chimes().isChanged(row);
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == NumberColumn ? QString::number(row + 1)
                                              : QString::fromStdString(project->chimes().name(row));
    case Qt::TextAlignmentRole:
        return index.column() == NumberColumn ? QVariant(Qt::AlignCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return index.column() == NameColumn && changed ? QVariant(QBrush(QColor(ChangedColor))) : QVariant();
    case Qt::AccessibleDescriptionRole:
        return index.column() == NameColumn && changed ? QVariant(text_(text::ChangedDescription)) : QVariant();
    default:
        return {};
    }
}

QVariant CKurantyModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return text_(section == NumberColumn ? text::ChimeNumber : text::ChimeName);
    }
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        return section == NumberColumn ? QVariant(Qt::AlignCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return CListModel::headerData(section, orientation, role);
}

void CKurantyModel::rowChanged(int row) {
    emit dataChanged(index(row, NumberColumn), index(row, NameColumn));
}

void CKurantyModel::allRowsChanged() {
    if (rowCount() > 0) {
        emit dataChanged(index(0, NumberColumn), index(rowCount() - 1, NameColumn));
    }
}

void CKurantyModel::textsChanged() {
    emit headerDataChanged(Qt::Horizontal, NumberColumn, NameColumn);
}

} // namespace tolvane
