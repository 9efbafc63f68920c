#include "gui/schedules/CSwietaModel.h"

#include "TextNumbers.h"
#include "gui/app/CDataPage.h"
#include "project/ProjectData.h"

#include <QBrush>

namespace tolvane {

CSwietaModel::CSwietaModel(std::function<const ProjectData*()> project, std::function<QString(int)> text,
                           QObject* parent)
    : CListModel(parent), project_(std::move(project)), text_(std::move(text)) {}

const HolidayTable* CSwietaModel::holidays() const {
    const ProjectData* project = project_();
    return project ? &project->holidays() : nullptr;
}

int CSwietaModel::rowCount(const QModelIndex& parent) const {
    const HolidayTable* h = holidays();
    return parent.isValid() || !h ? 0 : h->usedCount();
}

int CSwietaModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

int CSwietaModel::slotOfRow(int row) const {
    const HolidayTable* h = holidays();
    return h ? h->slotOfPosition(row) : -1;
}

QVariant CSwietaModel::data(const QModelIndex& index, int role) const {
    const HolidayTable* h = holidays();
    const int slot = index.isValid() ? slotOfRow(index.row()) : -1;
    if (!h || slot < 0 || index.column() >= columnCount()) {
        return {};
    }
    const Holiday& holiday = h->record(slot);
    const std::uint32_t mark = h->changeMark(slot);
    const int column = index.column();
    const bool changed = column == NameColumn   ? (mark & HolidayTable::MarkName) != 0
                         : column == DateColumn ? (mark & HolidayTable::MarkDate) != 0
                                                : (mark & HolidayTable::MarkDays) != 0;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        if (column == NameColumn) {
            return QString::fromStdString(holiday.name());
        }
        if (column == DateColumn) {
            return QString::fromStdString(h->dateText(slot));
        }
        return QString::number(holiday.days());
    case Qt::TextAlignmentRole:
        return QVariant((column == NameColumn ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (changed) {
            return QBrush(QColor(ChangedColor));
        }
        if (column == DateColumn) {
            return QBrush(QColor(holiday.isMovable() ? MovableColor : FixedColor));
        }
        return {};
    case Qt::AccessibleDescriptionRole: {
        QStringList said;
        if (column == DateColumn) {
            said << text_(holiday.isMovable() ? text::MovableOffset : text::FixedDate);
        }
        if (changed) {
            said << text_(text::ChangedDescription);
        }
        return said.isEmpty() ? QVariant() : QVariant(said.join(QLatin1String(", ")));
    }
    default:
        return {};
    }
}

QVariant CSwietaModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < columnCount()) {
        if (role == Qt::DisplayRole) {
            return text_(section == NameColumn   ? text::HolidayName
                         : section == DateColumn ? text::HolidayDateColumn
                                                 : text::HolidayDaysColumn);
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant((section == NameColumn ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
        }
    }
    return CListModel::headerData(section, orientation, role);
}

void CSwietaModel::rowChanged(int row) {
    if (row >= 0 && row < rowCount()) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

void CSwietaModel::allRowsChanged() {
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

void CSwietaModel::textsChanged() {
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    allRowsChanged();
}

} // namespace tolvane
