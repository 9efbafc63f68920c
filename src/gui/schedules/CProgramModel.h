#pragma once

#include "gui/app/CListModel.h"
#include "schedules/ScheduleProgram.h"

#include <QColor>
#include <QIcon>

#include <functional>
#include <vector>

namespace tolvane {

class ProjectData;
class TextSource;

// The columns a schedule list can show.
enum class ProgramColumn {
    ActionIcon,
    Identifier,
    Time,
    Holiday,
    StartDate,
    EndDate,
    Date,
    Weekdays,
    Priority,
    Description,
    Season
};

// One column of a schedule page's list: what it shows, its header text, its width in pixels and its alignment.
struct ProgramColumnSpec {
    ProgramColumn column;
    int headerText;
    int width;
    Qt::Alignment alignment;
};

// The list of one schedule kind, read straight from the project: one row per used entry in the section's order.
// A row whose program runs in neither season is grey; otherwise a cell whose field carries its change mark is
// light green (identifier and description cells are never coloured). What the colours say is also in the cells'
// accessible descriptions.
class CProgramModel : public CListModel {
    Q_OBJECT
public:
    static constexpr QRgb ChangedColor = 0xffbbffbb;     // RGB(187, 255, 187)
    static constexpr QRgb SwitchedOffColor = 0xffc0c0c0; // RGB(192, 192, 192)
    static constexpr int SwitchedOffText = 265;

    CProgramModel(int kind, std::vector<ProgramColumnSpec> columns, std::function<const ProjectData*()> project,
                  std::function<QString(int)> text, std::function<QIcon(int)> actionIcon, const TextSource& texts,
                  QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const std::vector<ProgramColumnSpec>& columns() const { return columns_; }
    // The sort key a click on column `section` chooses (-1: none).
    int sortKeyOf(int section) const;

    void rowChanged(int row);
    void allRowsChanged();
    void textsChanged();

private:
    const ScheduleProgram* programs() const;
    QString cellText(const ProgramEntry& e, ProgramColumn column) const;
    bool cellChanged(const ScheduleProgram& p, int row, ProgramColumn column) const;

    int kind_;
    std::vector<ProgramColumnSpec> columns_;
    std::function<const ProjectData*()> project_;
    std::function<QString(int)> text_;
    std::function<QIcon(int)> actionIcon_;
    const TextSource& texts_;
};

} // namespace tolvane
