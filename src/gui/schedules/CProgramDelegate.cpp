#include "gui/schedules/CProgramDelegate.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QIcon>
#include <QPainter>

namespace tolvane {

namespace {
constexpr int TextMargin = 4;
constexpr int IconSize = 16;
} // namespace

void CProgramDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const bool active = (option.state & QStyle::State_Active) != 0;
    const QPalette::ColorGroup group = active ? QPalette::Active : QPalette::Inactive;
    const QRect& rect = option.rect;
    if (selected) {
        painter->fillRect(rect, option.palette.brush(group, QPalette::Highlight));
    } else {
        const QVariant background = index.data(Qt::BackgroundRole);
        if (background.canConvert<QBrush>()) {
            painter->fillRect(rect, background.value<QBrush>());
        }
    }
    int left = rect.left() + TextMargin;
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.canConvert<QIcon>()) {
        const QIcon icon = decoration.value<QIcon>();
        if (!icon.isNull()) {
            const QRect iconRect(left, rect.top() + (rect.height() - IconSize) / 2, IconSize, IconSize);
            icon.paint(painter, iconRect, Qt::AlignCenter, selected ? QIcon::Selected : QIcon::Normal);
            left = iconRect.right() + 1 + TextMargin;
        }
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty()) {
        return;
    }
    const QRect textRect(left, rect.top(), rect.right() - TextMargin - left + 1, rect.height());
    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    const int flags = alignment.isValid() ? alignment.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(textRect, flags, option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()));
}

} // namespace tolvane
