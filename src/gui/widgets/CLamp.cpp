#include "gui/widgets/CLamp.h"

#include <QPainter>

namespace tolvane {

CLamp::CLamp(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
}

void CLamp::setLit(bool lit) {
    if (lit_ == lit) {
        return;
    }
    lit_ = lit;
    updateTexts();
    update();
}

void CLamp::setStateTexts(const QString& on, const QString& off) {
    on_ = on;
    off_ = off;
    updateTexts();
}

void CLamp::updateTexts() {
    const QString state = lit_ ? on_ : off_;
    setToolTip(state);
    setAccessibleName(state);
}

void CLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = QRectF(rect()).adjusted(2, 2, -2, -2);
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    painter.setBrush(lit_ ? QColor(0, 200, 0) : QColor(150, 150, 150));
    painter.drawEllipse(circle);
}

} // namespace tolvane
