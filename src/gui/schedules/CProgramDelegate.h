#pragma once

#include <QStyledItemDelegate>

namespace tolvane {

// Draws the cells of a program list: the cell's colour (or the selection), its icon and its one line of text,
// cut with an ellipsis when it does not fit. The lists are rebuilt after every Add, Delete and column click, so a
// cell is drawn with the painter directly instead of through the style's general item drawing.
class CProgramDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace tolvane
