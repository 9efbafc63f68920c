#include "gui/widgets/CTrackEdytorCtrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tolvane {

namespace {

// "mm:ss" of a number of seconds.
QString minutesSeconds(int seconds) {
    return QString::asprintf("%.2d:%.2d", seconds / 60, seconds % 60);
}

// Within [low, high]; when the limits cross (a ringing time below five seconds gives the delay the upper limit
// -5), the lower limit wins, so a value never leaves the unsigned range.
int bounded(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

} // namespace

CTrackEdytorCtrl::CTrackEdytorCtrl(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    updateDescription();
}

void CTrackEdytorCtrl::clear() {
    tracks_.clear();
    dragging_ = false;
    hoveredFirst_ = 0;
    hoveredSecond_ = 0;
    unsetCursor();
    updateDescription();
    update();
}

void CTrackEdytorCtrl::setRegions(int firstLength, int secondLength) {
    firstRegion_ = firstLength;
    secondRegion_ = secondLength;
    update();
}

void CTrackEdytorCtrl::addTrack(std::uint16_t first, std::uint16_t second) {
    Track track;
    track.first = first;
    track.second = second;
    tracks_.push_back(track);
    updateDescription();
    update();
}

void CTrackEdytorCtrl::setLimits(int track, int firstMin, int firstMax, int secondMin, int secondMax) {
    if (track < 0 || track >= trackCount()) {
        return;
    }
    Track& t = tracks_[static_cast<std::size_t>(track)];
    // The values are unsigned 16-bit and 0xFFFF means "not rung", so no limit reaches beyond 0xFFFE.
    t.firstMin = bounded(firstMin, 0, 0xFFFE);
    t.firstMax = bounded(firstMax, 0, 0xFFFE);
    t.secondMin = bounded(secondMin, 0, 0xFFFE);
    t.secondMax = bounded(secondMax, 0, 0xFFFE);
}

std::uint16_t CTrackEdytorCtrl::firstValue(int track) const {
    return track >= 0 && track < trackCount() ? tracks_[static_cast<std::size_t>(track)].first : NotRung;
}

std::uint16_t CTrackEdytorCtrl::secondValue(int track) const {
    return track >= 0 && track < trackCount() ? tracks_[static_cast<std::size_t>(track)].second : NotRung;
}

void CTrackEdytorCtrl::setTexts(const QString& trackFormat, const QString& firstName, const QString& secondName) {
    trackFormat_ = trackFormat;
    firstName_ = firstName;
    secondName_ = secondName;
    updateDescription();
}

// Pixels per second. Without any length to show (both regions 0) nothing is scaled, drawn or hovered.
double CTrackEdytorCtrl::scale() const {
    const int total = firstRegion_ + secondRegion_;
    return total > 0 ? static_cast<double>(width() - 2 * EdgeMargin) / total : 0.0;
}

int CTrackEdytorCtrl::rowHeight() const {
    return tracks_.empty() ? 0 : height() / trackCount();
}

int CTrackEdytorCtrl::xOf(double seconds) const {
    return EdgeMargin + static_cast<int>(seconds * scale());
}

void CTrackEdytorCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (!tracks_.empty() && scale() > 0.0) {
        const int rows = trackCount();
        const int rowH = rowHeight();
        if (grid_) {
            painter.setPen(QColor(GridColor));
            for (int row = 0; row < rows; ++row) {
                const int y = (row + 1) * rowH - 1;
                painter.drawLine(0, y, width() - 1, y);
            }
        }
        const int border = xOf(firstRegion_);
        const int chosen = hasFocus() ? validChosenTrack() : -1;
        for (int row = 0; row < rows; ++row) {
            const Track& t = tracks_[static_cast<std::size_t>(row)];
            if (!t.rung()) {
                continue;
            }
            const int top = row * rowH + rowMargin_;
            const int barHeight = rowH - 2 * rowMargin_;
            if (barHeight <= 0) {
                continue;
            }
            const bool firstActive = hoveredFirst_ == row + 1 || (chosen == row && chosenEnd_ == End::First);
            const bool secondActive = hoveredSecond_ == row + 1 || (chosen == row && chosenEnd_ == End::Second);
            painter.fillRect(QRect(EdgeMargin, top, border - EdgeMargin, barHeight), QColor(RegionColor));
            painter.fillRect(QRect(EdgeMargin, top, xOf(t.first) - EdgeMargin, barHeight),
                             QColor(firstActive ? ActiveColor : ValueColor));
            painter.fillRect(QRect(border, top, xOf(firstRegion_ + t.second) - border, barHeight),
                             QColor(secondActive ? ActiveColor : ValueColor));
        }
        painter.setPen(QColor(GridColor));
        painter.drawLine(EdgeMargin, 0, EdgeMargin, height() - 1);
        painter.drawLine(width() - EdgeMargin, 0, width() - EdgeMargin, height() - 1);
        painter.setPen(QColor(RegionColor));
        painter.drawLine(border, 0, border, height() - 1);
    }
    if (hasFocus()) {
        painter.end();
        QStylePainter focus(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Button);
        focus.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

void CTrackEdytorCtrl::updateHover(const QPoint& pos) {
    int first = 0;
    int second = 0;
    const int rowH = rowHeight();
    if (rowH > 0 && scale() > 0.0 && pos.y() >= 0) {
        const int row = pos.y() / rowH;
        if (row < trackCount() && tracks_[static_cast<std::size_t>(row)].rung()) {
            const Track& t = tracks_[static_cast<std::size_t>(row)];
            if (std::abs(pos.x() - xOf(t.first)) <= GripDistance) {
                first = row + 1;
            } else if (std::abs(pos.x() - xOf(firstRegion_ + t.second)) <= GripDistance) {
                second = row + 1;
            }
        }
    }
    setHovered(first, second);
}

void CTrackEdytorCtrl::setHovered(int first, int second) {
    if (first != hoveredFirst_ || second != hoveredSecond_) {
        hoveredFirst_ = first;
        hoveredSecond_ = second;
        update();
    }
    if (first != 0 || second != 0) {
        setCursor(Qt::SizeHorCursor);
    } else {
        unsetCursor();
    }
}

void CTrackEdytorCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (!dragging_) {
        updateHover(pos);
        return;
    }
    const double s = scale();
    if (s <= 0.0 || pos.x() < EdgeMargin || pos.x() > width() - EdgeMargin) {
        return;
    }
    if (hoveredFirst_ != 0) {
        const int value = static_cast<int>((pos.x() - EdgeMargin) / s);
        if (setValue(hoveredFirst_ - 1, End::First, value)) {
            announce(hoveredFirst_ - 1, End::First);
        }
    } else if (hoveredSecond_ != 0) {
        const int value = static_cast<int>((pos.x() - EdgeMargin - firstRegion_ * s) / s);
        if (setValue(hoveredSecond_ - 1, End::Second, value)) {
            announce(hoveredSecond_ - 1, End::Second);
        }
    }
}

void CTrackEdytorCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // Qt grabs the mouse for the widget under a pressed button, so the drag follows it outside the graph.
    dragging_ = true;
    // The end taken with the mouse becomes the keyboard's choice too.
    if (hoveredFirst_ != 0 || hoveredSecond_ != 0) {
        chosenTrack_ = (hoveredFirst_ != 0 ? hoveredFirst_ : hoveredSecond_) - 1;
        chosenEnd_ = hoveredFirst_ != 0 ? End::First : End::Second;
        updateDescription();
    }
    event->accept();
}

void CTrackEdytorCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int first = hoveredFirst_;
    const int second = hoveredSecond_;
    dragging_ = false;
    hoveredFirst_ = 0;
    hoveredSecond_ = 0;
    unsetCursor();
    update();
    if (second != 0) {
        emit secondValueChanged(second);
    } else {
        emit firstValueChanged(first);
    }
    event->accept();
}

void CTrackEdytorCtrl::leaveEvent(QEvent* event) {
    if (!dragging_) {
        setHovered(0, 0);
    }
    QWidget::leaveEvent(event);
}

int CTrackEdytorCtrl::validChosenTrack() const {
    return tracks_.empty() ? -1 : std::clamp(chosenTrack_, 0, trackCount() - 1);
}

void CTrackEdytorCtrl::keyPressEvent(QKeyEvent* event) {
    const int track = validChosenTrack();
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (track >= 0) {
            chosenTrack_ = std::clamp(track + (event->key() == Qt::Key_Up ? -1 : 1), 0, trackCount() - 1);
            updateDescription();
            update();
        }
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        chosenEnd_ = chosenEnd_ == End::First ? End::Second : End::First;
        updateDescription();
        update();
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        stepChosen((event->key() == Qt::Key_Left ? -1 : 1) * (shift ? 10 : 1));
        break;
    case Qt::Key_Home:
    case Qt::Key_End:
        setChosenTo(event->key() == Qt::Key_End);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool CTrackEdytorCtrl::setValue(int track, End end, int value) {
    Track& t = tracks_[static_cast<std::size_t>(track)];
    std::uint16_t& stored = end == End::First ? t.first : t.second;
    const int low = end == End::First ? t.firstMin : t.secondMin;
    const int high = end == End::First ? t.firstMax : t.secondMax;
    const auto v = static_cast<std::uint16_t>(bounded(value, low, high));
    if (v == stored) {
        return false;
    }
    stored = v;
    update();
    return true;
}

void CTrackEdytorCtrl::stepChosen(int delta) {
    const int track = validChosenTrack();
    if (track < 0 || !tracks_[static_cast<std::size_t>(track)].rung()) {
        return;
    }
    const Track& t = tracks_[static_cast<std::size_t>(track)];
    const int current = chosenEnd_ == End::First ? t.first : t.second;
    if (setValue(track, chosenEnd_, current + delta)) {
        announce(track, chosenEnd_);
    }
}

void CTrackEdytorCtrl::setChosenTo(bool maximum) {
    const int track = validChosenTrack();
    if (track < 0 || !tracks_[static_cast<std::size_t>(track)].rung()) {
        return;
    }
    const Track& t = tracks_[static_cast<std::size_t>(track)];
    const int target =
        chosenEnd_ == End::First ? (maximum ? t.firstMax : t.firstMin) : (maximum ? t.secondMax : t.secondMin);
    if (setValue(track, chosenEnd_, target)) {
        announce(track, chosenEnd_);
    }
}

void CTrackEdytorCtrl::announce(int track, End end) {
    if (track == validChosenTrack() && end == chosenEnd_) {
        updateDescription();
    }
    if (end == End::First) {
        emit firstValueChanged(track + 1);
    } else {
        emit secondValueChanged(track + 1);
    }
}

void CTrackEdytorCtrl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CTrackEdytorCtrl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

QString CTrackEdytorCtrl::descriptionText() const {
    const int track = validChosenTrack();
    if (track < 0) {
        return {};
    }
    const Track& t = tracks_[static_cast<std::size_t>(track)];
    const bool first = chosenEnd_ == End::First;
    // A bell that is not rung has no value to show.
    const QString value = t.rung() ? minutesSeconds(first ? t.first : t.second) : QStringLiteral("--:--");
    return QStringLiteral("%1, %2: %3").arg(trackFormat_.arg(track + 1), first ? firstName_ : secondName_, value);
}

// setAccessibleDescription tells assistive tools (QAccessible::DescriptionChanged) when the text changes.
void CTrackEdytorCtrl::updateDescription() {
    const QString text = descriptionText();
    if (text != accessibleDescription()) {
        setAccessibleDescription(text);
    }
}

} // namespace tolvane
