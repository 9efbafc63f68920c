#pragma once

#include <QColor>
#include <QLineEdit>

namespace tolvane {

// The numeric field of every page and dialog (hours, minutes, counts, durations). It lets only digits through (and
// the decimal separator in decimal mode), selects its whole text when it is entered, jumps to the next control when
// its width is full, pads and clamps its value when it is left, and turns light red while its text is empty or out
// of range. Pages set it up and read its value; they never check it themselves.
class CFireEdit : public QLineEdit {
    Q_OBJECT

public:
    static constexpr QRgb WarningColor = 0xffff7f80; // RGB(255, 127, 128)

    // Set up as lower bound 1, upper bound 23, width 2, auto-advance, integer mode, step 1, no clamping.
    explicit CFireEdit(QWidget* parent = nullptr);

    // Stores the settings and normalises the current text once, as on leaving the field. `textLimit` is the width
    // in characters (1 to 4 in integer mode, 3 or 4 in decimal mode); `step` is in tenths (decimal mode only).
    void setUp(double lower, double upper, int textLimit, bool autoAdvance = true, bool decimalMode = false,
               int step = 1, bool clampOnExit = false);

    // The value in whole units, or in tenths in decimal mode (a text of 12.5 reads as 125).
    int readInteger() const;
    // The value zero-padded to a width of 2 or 3; any other width prints it plainly.
    void writeInteger(int value);
    // A value counted in half units, shown with one decimal (5 shows as 2.5) and read back (2.5 reads as 5).
    void writeHalves(int halves);
    int readHalves() const;

    // The exit normalisation, as leaving the field does it (for a value committed while the field keeps the focus).
    // The field keeps the focus, so it stays entered.
    void finishEditing() {
        const int entered = focusEnteredCount_;
        normalise();
        focusEnteredCount_ = entered;
    }

    // Whether the text is empty or its value outside the bounds (the field is then drawn light red when enabled).
    bool isOutOfRange() const;

    double lowerBound() const { return lower_; }
    double upperBound() const { return upper_; }
    int textLimit() const { return textLimit_; }
    bool isDecimalMode() const { return decimal_; }
    int step() const { return step_; }
    bool clampsOnExit() const { return clampOnExit_; }
    bool autoAdvances() const { return autoAdvance_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void initStyleOption(QStyleOptionFrame* option) const override;

private:
    bool keyPasses(const QKeyEvent* event) const;
    static bool belongsToWindow(const QKeyEvent* event);
    void normalise();
    double realValue() const;

    int focusEnteredCount_ = 0;
    bool autoAdvance_ = true;
    double upper_ = 23.0;
    double lower_ = 1.0;
    bool decimal_ = false;
    bool keyRejected_ = false;
    int step_ = 1;
    bool clampOnExit_ = false;
    int textLimit_ = 2;
    bool swallowingDrag_ = false; // the button press that entered the field is held down
};

} // namespace tolvane
