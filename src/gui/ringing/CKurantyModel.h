#pragma once

#include "gui/app/CListModel.h"

#include <QColor>

#include <functional>

namespace tolvane {

class ProjectData;

// The chime list: 300 rows of number and name, read straight from the project's chime-name table. A changed
// name is drawn on light green and read out as changed (the accessible description says what the colour says).
class CKurantyModel : public CListModel {
    Q_OBJECT
public:
    static constexpr int NumberColumn = 0;
    static constexpr int NameColumn = 1;
    static constexpr QRgb ChangedColor = 0xffbbffbb; // RGB(0xBB, 0xFF, 0xBB)

    // `project` gives the project to read (null without one); `text` the catalog texts by number.
    CKurantyModel(std::function<const ProjectData*()> project, std::function<QString(int)> text,
                  QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The row's name (or its mark) changed in the project.
    void rowChanged(int row);
    // Every row's marks may have changed (a save, a card write); the captions after a language change.
    void allRowsChanged();
    void textsChanged();

private:
    std::function<const ProjectData*()> project_;
    std::function<QString(int)> text_;
};

} // namespace tolvane
