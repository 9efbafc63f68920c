#include "gui/widgets/CControlTipCtrl.h"

#include <QScreen>
#include <QToolTip>

#include <algorithm>

namespace tolvane {

namespace {
constexpr int Gap = 4;        // pixels between the control and the tip
constexpr int MaxWidth = 360; // longer texts wrap
} // namespace

CControlTipCtrl::CControlTipCtrl(QWidget* owner)
    : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(4);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setMaximumWidth(MaxWidth);
    hide();
}

void CControlTipCtrl::setTip(const QWidget* control, const QString& text) {
    if (!control) {
        return;
    }
    if (text.isEmpty()) {
        tips_.remove(control);
        return;
    }
    if (!tips_.contains(control)) {
        // A deleted control must not leave its text behind for a new control at the same address.
        connect(control, &QObject::destroyed, this, [this, control] { tips_.remove(control); });
    }
    tips_.insert(control, text);
}

QString CControlTipCtrl::tipFor(const QWidget* control) const {
    return tips_.value(control);
}

void CControlTipCtrl::activate(const QWidget* control) {
    active_ = true;
    activeControl_ = control;
    setText(tipFor(control));
    if (text().isEmpty() || !control) {
        hide();
        return;
    }
    adjustSize();
    placeBeside(control);
    show();
    raise();
}

void CControlTipCtrl::deactivate() {
    active_ = false;
    activeControl_ = nullptr;
    hide();
    clear();
}

void CControlTipCtrl::placeBeside(const QWidget* control) {
    QPoint at = control->mapToGlobal(QPoint(control->width() + Gap, 0));
    if (const QScreen* screen = control->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.x() + width() > area.right()) {
            // No room on the right: below the control instead.
            at = control->mapToGlobal(QPoint(0, control->height() + Gap));
        }
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    }
    move(at);
}

} // namespace tolvane
