#include "gui/widgets/CLinkStatic.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace tolvane {

CLinkStatic::CLinkStatic(QWidget* parent) : QLabel(parent) {
    // Only the underline is set, so the rest of the font follows the parent's.
    QFont underlined;
    underlined.setUnderline(true);
    setFont(underlined);
    setBackgroundRole(QPalette::Button);
    setForegroundRole(QPalette::WindowText); // else a label on the button face is drawn in the button's text colour
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    setTextColor(LinkColor);
}

void CLinkStatic::setValue(int value) {
    setText(QString::number(value));
}

void CLinkStatic::setBracketedValue(int value) {
    setText(QStringLiteral("[%1]").arg(value));
}

void CLinkStatic::setBracketedValue3(int value) {
    setText(QString::asprintf("[%03d]", value));
}

void CLinkStatic::setBracketedUnsigned(unsigned value) {
    setText(QStringLiteral("[%1]").arg(value));
}

bool CLinkStatic::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // The tip answers only over the upper half of the label, as the link has always done.
        auto* help = static_cast<QHelpEvent*>(event);
        if (tipText().isEmpty() || help->pos().y() >= height() / 2) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tipText(), this);
        }
        return true;
    }
    return QLabel::event(event);
}

void CLinkStatic::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    setTextColor(HoverColor);
    QLabel::enterEvent(event);
}

void CLinkStatic::leaveEvent(QEvent* event) {
    hovered_ = false;
    pressed_ = false;
    setTextColor(LinkColor);
    QLabel::leaveEvent(event);
}

void CLinkStatic::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void CLinkStatic::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}

void CLinkStatic::setTextColor(QRgb color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QColor(color));
    setPalette(p);
}

} // namespace tolvane
