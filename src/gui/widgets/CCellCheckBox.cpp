#include "gui/widgets/CCellCheckBox.h"

#include <QPainter>
#include <QPen>

namespace tolvane {

CCellCheckBox::CCellCheckBox(QWidget* parent) : QCheckBox(parent) {
    // Taller cells (a row of numeric fields) are filled too; the square stays centred in them.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

bool CCellCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void CCellCheckBox::paintEvent(QPaintEvent* event) {
    QCheckBox::paintEvent(event);
    // With a caption the style marks the focus on the caption; without one there is nothing to mark it on.
    if (!hasFocus() || !text().isEmpty()) {
        return;
    }
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight));
    pen.setWidth(2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

} // namespace tolvane
