#pragma once

#include "gui/app/CListModel.h"

#include <QColor>

#include <functional>

namespace tolvane {

class HolidayTable;
class ProjectData;

// The holiday list: one row per used slot of the holiday table, in slot order, with the name, the date (DD.MM of a
// fixed holiday, the signed offset of a movable one) and the number of days. The date cell is pink for a fixed and
// pale green for a movable holiday; a cell whose value carries its change mark is light green. What the colours say
// is also in the cells' accessible descriptions.
class CSwietaModel : public CListModel {
    Q_OBJECT
public:
    static constexpr int NameColumn = 0;
    static constexpr int DateColumn = 1;
    static constexpr int DaysColumn = 2;
    static constexpr QRgb ChangedColor = 0xffbbffbb; // RGB(187, 255, 187)
    static constexpr QRgb FixedColor = 0xffffe6ff;   // RGB(255, 230, 255)
    static constexpr QRgb MovableColor = 0xffc8ffc8; // RGB(200, 255, 200)

    CSwietaModel(std::function<const ProjectData*()> project, std::function<QString(int)> text,
                 QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The slot shown in `row` (-1 when none).
    int slotOfRow(int row) const;

    void rowChanged(int row);
    void allRowsChanged();
    void textsChanged();

private:
    const HolidayTable* holidays() const;

    std::function<const ProjectData*()> project_;
    std::function<QString(int)> text_;
};

} // namespace tolvane
