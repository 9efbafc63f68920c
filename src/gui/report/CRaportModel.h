#pragma once

#include "gui/app/CListModel.h"
#include "gui/app/IconStrip.h"
#include "report/Report.h"
#include "section/ValidationIssue.h"

#include <QString>

#include <array>
#include <vector>

namespace tolvane {

// The report list: one row per issue the page shows, the description with its severity icon and the place. A
// row's severity is also in its tip and its accessible text, so it is not told by the icon alone.
class CRaportModel : public CListModel {
    Q_OBJECT
public:
    static constexpr int DescriptionColumn = 0;
    static constexpr int PlaceColumn = 1;

    struct Entry {
        ValidationIssue issue;
        Report::Row row;
    };

    explicit CRaportModel(const IconStrip& severityIcons, QObject* parent = nullptr);

    // The rows, replaced between beginRefresh() and endRefresh().
    void setEntries(std::vector<Entry> entries) { entries_ = std::move(entries); }
    // Null for a row that does not exist.
    const Entry* entryAt(int row) const;
    // Column headers and the names of the three severities in the current language.
    void setTexts(const QString& description, const QString& place, const std::array<QString, 3>& severities);
    QString severityName(int severity) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const IconStrip& icons_;
    std::vector<Entry> entries_;
    QString descriptionHeader_;
    QString placeHeader_;
    std::array<QString, 3> severities_;
};

} // namespace tolvane
