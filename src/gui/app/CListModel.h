#pragma once

#include <QAbstractTableModel>

namespace tolvane {

// Base of the table models of list pages. A model reads its section directly; when the page reloads, the list is
// refilled as a whole between beginRefresh() and endRefresh() (CDataPage::beginListUpdate / endListUpdate).
class CListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void beginRefresh() { beginResetModel(); }
    void endRefresh() { endResetModel(); }
};

} // namespace tolvane
