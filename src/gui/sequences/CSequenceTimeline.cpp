#include "gui/sequences/CSequenceTimeline.h"

#include "project/ProjectData.h"

#include <QMouseEvent>
#include <QPainter>

namespace tolvane {

namespace {
constexpr int Margin = 2;
} // namespace

CSequenceTimeline::CSequenceTimeline(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSequenceTimeline::setSequence(const ProjectData* project, int sequence, int selected, int availableWidth) {
    line_ = project != nullptr && project->sequences().isUsed(sequence)
                ? timeline::layout(project->sequences(), sequence, std::max(availableWidth - 2 * Margin, 0))
                : Timeline{};
    selected_ = selected;
    setFixedSize(sizeHint());
    update();
}

void CSequenceTimeline::setSelected(int step) {
    selected_ = step;
    update();
}

QSize CSequenceTimeline::sizeHint() const {
    return {line_.width + 2 * Margin, BracketHeight + BlockHeight + 2 * Margin};
}

QSize CSequenceTimeline::minimumSizeHint() const {
    return sizeHint();
}

QRect CSequenceTimeline::blockRect(int step) const {
    for (const TimelineBlock& block : line_.blocks) {
        if (block.step == step) {
            return {Margin + block.x, Margin + BracketHeight, block.width, BlockHeight};
        }
    }
    return {};
}

QColor CSequenceTimeline::colorOf(StepKind kind) {
    switch (kind) {
    case StepKind::BellsA:
    case StepKind::BellsB:
        return QColor(BellColor);
    case StepKind::Hammers:
        return QColor(HammerColor);
    case StepKind::Pause:
        return QColor(PauseColor);
    case StepKind::RepeatCount:
    case StepKind::RepeatTime:
        return QColor(RepeatColor);
    default:
        return QColor(OtherColor);
    }
}

void CSequenceTimeline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = fontMetrics();
    for (const TimelineBlock& block : line_.blocks) {
        const QRect r = blockRect(block.step);
        painter.fillRect(r, colorOf(block.kind));
        painter.setPen(palette().base().color());
        painter.drawLine(r.topRight(), r.bottomRight());
        const QString label = QString::fromStdString(block.label);
        if (!label.isEmpty() && metrics.horizontalAdvance(label) + 4 <= r.width()) {
            painter.setPen(Qt::black);
            painter.drawText(r, Qt::AlignCenter, label);
        }
    }
    // Brackets: a line over the range with its ends turned down, the count or time written on it.
    painter.setPen(QPen(QColor(RepeatColor).darker(150), 1));
    for (const TimelineBracket& bracket : line_.brackets) {
        const int left = Margin + bracket.x;
        const int right = left + bracket.width - 1;
        const int y = Margin + BracketHeight / 2;
        painter.drawLine(left, y, right, y);
        painter.drawLine(left, y, left, Margin + BracketHeight - 1);
        painter.drawLine(right, y, right, Margin + BracketHeight - 1);
        const QString label = QString::fromStdString(bracket.label);
        const int textWidth = metrics.horizontalAdvance(label) + 6;
        if (textWidth <= bracket.width) {
            const QRect box(left + (bracket.width - textWidth) / 2, Margin, textWidth, BracketHeight);
            painter.fillRect(box, palette().base());
            painter.drawText(box, Qt::AlignCenter, label);
        }
    }
    const QRect chosen = blockRect(selected_);
    if (!chosen.isEmpty()) {
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(chosen.adjusted(1, 1, -1, -1));
    }
}

void CSequenceTimeline::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (at.y() < Margin + BracketHeight || at.y() >= Margin + BracketHeight + BlockHeight) {
        return;
    }
    const int step = timeline::stepAt(line_, at.x() - Margin);
    if (step >= 0) {
        emit stepClicked(step);
    }
}

} // namespace tolvane
