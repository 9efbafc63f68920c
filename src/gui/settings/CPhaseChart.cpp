#include "gui/settings/CPhaseChart.h"

#include "project/TextFormat.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace tolvane {

namespace {

constexpr std::array<BellPhases::Bar, BellPhases::BarCount> Bars{
    BellPhases::RunUp, BellPhases::Settle, BellPhases::Ringing, BellPhases::Damp, BellPhases::Swing};

// Seconds between two labelled ticks of the axis at a scale, so that labels never crowd.
int tickStep(int scale) {
    for (int step : {1, 2, 5, 10, 20, 30, 60, 120, 300}) {
        if (step * scale >= 40) {
            return step;
        }
    }
    return 600;
}

} // namespace

CPhaseChart::CPhaseChart(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void CPhaseChart::setPhases(const BellPhases& phases) {
    phases_ = phases;
    fitScale();
    updateReading();
    update();
}

void CPhaseChart::setScale(int pixelsPerSecond) {
    const int next = std::clamp(pixelsPerSecond, MinScale, MaxScale);
    if (next != scale_) {
        scale_ = next;
        update();
        emit scaleChanged(scale_);
    }
}

void CPhaseChart::fitScale() {
    if (userScaled_ || dragged_ >= 0) {
        return;
    }
    const int seconds = std::max({phases_.end(BellPhases::Swing), phases_.end(BellPhases::Damp), 1}) + 5;
    setScale(std::max(MinScale, (width() - 2 * Margin) / seconds));
}

void CPhaseChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitScale();
}

void CPhaseChart::setFirstSecond(int seconds) {
    firstSecond_ = std::max(0, seconds);
    update();
}

void CPhaseChart::setBarNames(const QStringList& names, const QString& readingFormat) {
    names_ = names;
    readingFormat_ = readingFormat;
    updateReading();
}

QString CPhaseChart::reading() const {
    const QString name = names_.value(chosen_);
    if (readingFormat_.isEmpty()) {
        return name;
    }
    return QString::fromStdString(
        formatText(readingFormat_.toStdString(),
                   {TextArg{name.toStdString()}, TextArg{static_cast<long long>(phases_.length(chosen_))}}));
}

void CPhaseChart::updateReading() {
    setAccessibleName(reading());
}

int CPhaseChart::xOf(int seconds) const {
    return Margin + (seconds - firstSecond_) * scale_;
}

int CPhaseChart::secondsAt(int x) const {
    // Rounded to the nearest second, so a bar end follows the pointer symmetrically.
    const int offset = x - Margin;
    return firstSecond_ + (offset >= 0 ? (offset + scale_ / 2) / scale_ : -((-offset + scale_ / 2) / scale_));
}

QRect CPhaseChart::barRect(BellPhases::Bar bar) const {
    const int top = Margin + static_cast<int>(bar) * (RowHeight + RowGap);
    const int left = xOf(phases_.start(bar));
    const int right = xOf(phases_.end(bar));
    return {left, top, std::max(1, right - left), RowHeight};
}

int CPhaseChart::barEndAt(const QPoint& point) const {
    for (BellPhases::Bar bar : Bars) {
        const QRect r = barRect(bar);
        if (point.y() >= r.top() && point.y() <= r.bottom() &&
            std::abs(point.x() - xOf(phases_.end(bar))) <= GrabPixels) {
            return bar;
        }
    }
    return -1;
}

QSize CPhaseChart::sizeHint() const {
    return {480, minimumSizeHint().height()};
}

QSize CPhaseChart::minimumSizeHint() const {
    return {200, 2 * Margin + BellPhases::BarCount * (RowHeight + RowGap) + AxisHeight};
}

void CPhaseChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int axisY = Margin + BellPhases::BarCount * (RowHeight + RowGap);
    // Grid and axis.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(Margin, axisY, width() - Margin, axisY);
    const int step = tickStep(scale_);
    const int firstTick = (firstSecond_ + step - 1) / step * step;
    for (int t = firstTick; xOf(t) <= width() - Margin; t += step) {
        const int x = xOf(t);
        painter.setPen(QPen(palette().color(QPalette::Midlight), 1, Qt::DotLine));
        painter.drawLine(x, Margin, x, axisY);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawLine(x, axisY, x, axisY + 3);
        painter.drawText(QRect(x - 30, axisY + 3, 60, AxisHeight - 3), Qt::AlignHCenter | Qt::AlignTop,
                         QString::number(t));
    }
    painter.setClipRect(QRect(Margin, 0, width() - 2 * Margin, axisY));
    for (BellPhases::Bar bar : Bars) {
        const QRect r = barRect(bar);
        painter.fillRect(r, QColor::fromRgba(BellPhases::Colors[static_cast<std::size_t>(bar)]));
        if (hasFocus() && bar == chosen_) {
            painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DashLine));
            painter.drawRect(r.adjusted(-2, -2, 1, 1));
        }
    }
}

void CPhaseChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    dragged_ = barEndAt(event->position().toPoint());
    if (dragged_ >= 0) {
        chosen_ = static_cast<BellPhases::Bar>(dragged_);
        updateReading();
        update();
    }
}

void CPhaseChart::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (dragged_ >= 0) {
        phases_.dragEnd(static_cast<BellPhases::Bar>(dragged_), secondsAt(at.x()));
        updateReading();
        update();
        return;
    }
    setCursor(barEndAt(at) >= 0 ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

void CPhaseChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && dragged_ >= 0) {
        dragged_ = -1;
        emit phasesEdited();
    }
}

void CPhaseChart::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) {
        userScaled_ = true;
        setScale(scale_ + notches);
    }
    event->accept();
}

void CPhaseChart::keyPressEvent(QKeyEvent* event) {
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int next =
            std::clamp(static_cast<int>(chosen_) + (event->key() == Qt::Key_Up ? -1 : 1), 0, BellPhases::BarCount - 1);
        chosen_ = static_cast<BellPhases::Bar>(next);
        updateReading();
        update();
        return;
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const BellPhases before = phases_;
        phases_.dragEnd(chosen_, phases_.end(chosen_) + (event->key() == Qt::Key_Left ? -step : step));
        updateReading();
        update();
        if (!(phases_ == before)) {
            emit phasesEdited();
        }
        return;
    }
    default:
        QWidget::keyPressEvent(event);
    }
}

void CPhaseChart::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CPhaseChart::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

} // namespace tolvane
