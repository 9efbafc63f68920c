#include "gui/widgets/CStaticHelp.h"

#include "gui/widgets/HelpReceiver.h"

#include <QMouseEvent>
#include <QPainter>

namespace tolvane {

namespace {
constexpr int ExtraWidth = 3; // pixels beyond the text's width
} // namespace

CStaticHelp::CStaticHelp(const QString& text, QWidget* parent) : QWidget(parent), text_(text) {
    setMouseTracking(true);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    hoverTimer_.setSingleShot(true);
    hoverTimer_.setInterval(DefaultHoverDelayMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &CStaticHelp::hovered);
    fitWidth();
}

void CStaticHelp::setHelpActive(bool active) {
    helpActive_ = active;
    // Only weight and underline are set, so family and size still follow the parent's font.
    QFont own;
    own.setUnderline(true);
    own.setWeight(active ? QFont::Bold : QFont::Normal);
    setFont(own);
    fitWidth();
    updateCursor();
    update();
}

void CStaticHelp::setText(const QString& text) {
    text_ = text;
    fitWidth();
    update();
}

void CStaticHelp::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    setSizePolicy(isLeftAligned() ? QSizePolicy::Fixed : QSizePolicy::Preferred, QSizePolicy::Fixed);
    update();
}

QSize CStaticHelp::sizeHint() const {
    return {fontMetrics().horizontalAdvance(text_) + ExtraWidth, fontMetrics().height()};
}

bool CStaticHelp::isLeftAligned() const {
    return !(alignment_ & (Qt::AlignHCenter | Qt::AlignRight));
}

void CStaticHelp::fitWidth() {
    if (!isLeftAligned()) {
        return;
    }
    updateGeometry();
    resize(sizeHint().width(), height());
}

void CStaticHelp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), static_cast<int>(alignment_ | Qt::TextSingleLine), text_);
}

void CStaticHelp::enterEvent(QEnterEvent*) {
    hoverTimer_.start();
}

void CStaticHelp::mouseMoveEvent(QMouseEvent*) {
    // Hover means the mouse rests: every move starts the wait again.
    hoverTimer_.start();
}

void CStaticHelp::hovered() {
    if (rearm_) {
        hoverArmed_ = true;
        rearm_ = false;
    }
    updateCursor();
}

void CStaticHelp::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (helpActive_ && hoverArmed_) {
            if (HelpReceiver* receiver = HelpReceiver::of(this)) {
                receiver->helpRequested(this);
            }
        }
        hoverArmed_ = false;
    } else if (event->button() == Qt::RightButton) {
        hoverArmed_ = false;
    }
    updateCursor();
}

void CStaticHelp::leaveEvent(QEvent*) {
    hoverTimer_.stop();
    hoverArmed_ = false;
    rearm_ = true;
    updateCursor();
    if (HelpReceiver* receiver = HelpReceiver::of(this)) {
        receiver->helpReleased(this);
    }
}

void CStaticHelp::updateCursor() {
    if (helpActive_ && hoverArmed_) {
        setCursor(Qt::WhatsThisCursor);
    } else {
        unsetCursor();
    }
}

} // namespace tolvane
