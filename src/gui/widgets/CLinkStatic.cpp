#include "gui/widgets/CLinkStatic.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
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
    // Reached with Tab like a button, opened with Enter or Space.
    setFocusPolicy(Qt::StrongFocus);
}

void CLinkStatic::setValue(int value) {
    setText(QString::number(value));
}

void CLinkStatic::setText(const QString& text) {
    QLabel::setText(text);
    // Read out as a link with its value; a page that names the link itself keeps its own name.
    if (accessibleName().isEmpty() || accessibleName() == lastValueName_) {
        lastValueName_ = text;
        setAccessibleName(text);
    }
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

void CLinkStatic::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CLinkStatic::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    update();
}

void CLinkStatic::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    update();
}

// The label draws as before; with the focus it gets the focus frame, so a keyboard user sees where Enter goes.
void CLinkStatic::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Button);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

void CLinkStatic::setFaceColor(const QColor& color) {
    QPalette p = palette();
    const QPalette face = QApplication::palette(this);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Button, color.isValid() ? color : face.color(group, QPalette::Button));
    }
    setPalette(p);
}

QColor CLinkStatic::faceColor() const {
    return palette().color(QPalette::Button);
}

void CLinkStatic::setTextColor(QRgb color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QColor(color));
    setPalette(p);
}

} // namespace tolvane
