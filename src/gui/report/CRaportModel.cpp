#include "gui/report/CRaportModel.h"

namespace tolvane {

CRaportModel::CRaportModel(const IconStrip& severityIcons, QObject* parent)
    : CListModel(parent), icons_(severityIcons) {}

const CRaportModel::Entry* CRaportModel::entryAt(int row) const {
    if (row < 0 || row >= static_cast<int>(entries_.size())) {
        return nullptr;
    }
    return &entries_[static_cast<std::size_t>(row)];
}

void CRaportModel::setTexts(const QString& description, const QString& place,
                            const std::array<QString, 3>& severities) {
    descriptionHeader_ = description;
    placeHeader_ = place;
    severities_ = severities;
    emit headerDataChanged(Qt::Horizontal, DescriptionColumn, PlaceColumn);
    if (!entries_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

QString CRaportModel::severityName(int severity) const {
    if (severity < 0 || severity >= static_cast<int>(severities_.size())) {
        return {};
    }
    return severities_[static_cast<std::size_t>(severity)];
}

int CRaportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int CRaportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant CRaportModel::data(const QModelIndex& index, int role) const {
    const Entry* entry = index.isValid() ? entryAt(index.row()) : nullptr;
    if (!entry) {
        return {};
    }
    const QString description = QString::fromStdString(entry->row.description);
    const QString place = QString::fromStdString(entry->row.place);
    const QString severity = severityName(entry->row.severity);
    const bool first = index.column() == DescriptionColumn;
    switch (role) {
    case Qt::DisplayRole:
        return first ? description : place;
    case Qt::DecorationRole:
        if (first) {
            const QIcon icon = icons_.icon(entry->row.severity);
            return icon.isNull() ? QVariant() : QVariant(icon);
        }
        return {};
    case Qt::ToolTipRole:
        // The description may be longer than its column.
        return first ? severity + QStringLiteral(": ") + description : place;
    case Qt::AccessibleTextRole:
        return first ? severity + QStringLiteral(": ") + description : place;
    case Qt::AccessibleDescriptionRole:
        return severity;
    default:
        return {};
    }
}

QVariant CRaportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    return section == DescriptionColumn ? descriptionHeader_ : section == PlaceColumn ? placeHeader_ : QString();
}

} // namespace tolvane
