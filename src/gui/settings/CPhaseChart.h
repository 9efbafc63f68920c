#pragma once

#include "ringing/BellPhases.h"

#include <QWidget>

namespace tolvane {

// The phase chart of the bell editor: the five phases of a ringing (run-up, stabilisation, ringing, damping,
// swinging out) as coloured bars on one time axis, one bar per row. The right end of a bar can be dragged with
// the mouse (the cursor changes within 5 pixels of an end); the bars behind it follow as BellPhases says. The
// mouse wheel changes the scale (1-100 pixels per second; until then the whole ringing fits the width); the
// dialog's scroll bar sets the first second shown.
// By keys: Up/Down choose a bar, Left/Right change its length by a second, with Shift by ten. phasesEdited() is
// sent when a drag ends or a key changed a length.
class CPhaseChart : public QWidget {
    Q_OBJECT
public:
    static constexpr int GrabPixels = 5;
    static constexpr int MinScale = 1;
    static constexpr int MaxScale = 100;
    static constexpr int DefaultScale = 3;
    static constexpr int RowHeight = 16;
    static constexpr int RowGap = 4;
    static constexpr int AxisHeight = 18;
    static constexpr int Margin = 6;

    explicit CPhaseChart(QWidget* parent = nullptr);

    const BellPhases& phases() const { return phases_; }
    void setPhases(const BellPhases& phases);

    int scale() const { return scale_; }
    void setScale(int pixelsPerSecond);
    int firstSecond() const { return firstSecond_; }
    void setFirstSecond(int seconds);

    // The bar the keys change (drawn with a frame while the chart has the focus).
    BellPhases::Bar chosenBar() const { return chosen_; }
    // The names of the five bars, for the spoken reading of the chosen one ("%s: %d s", `readingFormat`).
    void setBarNames(const QStringList& names, const QString& readingFormat);
    QString reading() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void phasesEdited();
    void scaleChanged(int pixelsPerSecond);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Until the user zooms, the scale shows the whole ringing with its damping and swinging out.
    void fitScale();
    int xOf(int seconds) const;
    int secondsAt(int x) const;
    QRect barRect(BellPhases::Bar bar) const;
    // The bar whose right end lies within GrabPixels of `point`, or -1.
    int barEndAt(const QPoint& point) const;
    void updateReading();

    BellPhases phases_;
    int scale_ = DefaultScale;
    int firstSecond_ = 0;
    int dragged_ = -1;
    bool userScaled_ = false;
    BellPhases::Bar chosen_ = BellPhases::RunUp;
    QStringList names_;
    QString readingFormat_;
};

} // namespace tolvane
