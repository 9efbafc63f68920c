#pragma once

#include "ringing/SequenceTimeline.h"

#include <QColor>
#include <QWidget>

namespace tolvane {

class ProjectData;

// The timeline of the selected sequence, drawn under the step list: every step one block as wide as its duration,
// bells, hammers, pauses and repeats in their own colours, the unit digits (or a repeat's count or time) written in
// a block where they fit, a bracket over the range of each repeat step, the selected step outlined. It only
// shows: a click on a block selects its step in the step list (stepClicked), nothing else. It sits in a scroll area
// whose width it fits; a sequence whose shortest blocks need more room scrolls.
class CSequenceTimeline : public QWidget {
    Q_OBJECT
public:
    static constexpr QRgb BellColor = 0xff5b9bd5;   // blue
    static constexpr QRgb HammerColor = 0xffed9a3b; // orange
    static constexpr QRgb PauseColor = 0xffdadada;  // light grey
    static constexpr QRgb RepeatColor = 0xffb48fd9; // violet
    static constexpr QRgb OtherColor = 0xff9e9e9e;  // a kind the editor never makes
    static constexpr int BracketHeight = 16;
    static constexpr int BlockHeight = 26;

    explicit CSequenceTimeline(QWidget* parent = nullptr);

    // Lays the sequence out for `availableWidth` pixels and repaints; `selected` is the outlined step (-1: none).
    void setSequence(const ProjectData* project, int sequence, int selected, int availableWidth);
    void setSelected(int step);
    const Timeline& line() const { return line_; }
    int selected() const { return selected_; }
    // The rectangle of step `step`'s block, empty when there is none.
    QRect blockRect(int step) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void stepClicked(int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    static QColor colorOf(StepKind kind);

    Timeline line_;
    int selected_ = -1;
};

} // namespace tolvane
