#pragma once

#include <QLabel>

namespace tolvane {

// A value label that works like a hyperlink: it shows a number (an output, a step), is drawn underlined in blue
// (red while the mouse is over it) with the hand cursor, and a click on it opens the page's selection dialog.
class CLinkStatic : public QLabel {
    Q_OBJECT
public:
    static constexpr int MaxTipLength = 80;
    static constexpr QRgb LinkColor = 0xff0000ff;  // RGB(0, 0, 255)
    static constexpr QRgb HoverColor = 0xffff0000; // RGB(255, 0, 0)

    explicit CLinkStatic(QWidget* parent = nullptr);

    void setValue(int value);                  // "%d"
    void setBracketedValue(int value);         // "[%d]"
    void setBracketedValue3(int value);        // "[%03d]"
    void setBracketedUnsigned(unsigned value); // "[%d]" of an unsigned number
    // Also the accessible name, unless the page gave the link a name of its own.
    void setText(const QString& text);

    // The tooltip: the label's own text, at most MaxTipLength characters, or the tip the page gave the link.
    QString tipText() const { return tip_.isEmpty() ? text().left(MaxTipLength) : tip_; }
    // A tip of the page's own in place of the label's text (a warning about the value); empty: the text again.
    void setTip(const QString& tip) { tip_ = tip; }
    // The colour of the face the link is drawn on (a changed or a doubtful value); an invalid colour gives it the
    // button face again. Only the face changes: the link keeps its text colours.
    void setFaceColor(const QColor& color);
    QColor faceColor() const;
    bool isHovered() const { return hovered_; }

signals:
    void clicked();

protected:
    bool event(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setTextColor(QRgb color);

    bool hovered_ = false;
    bool pressed_ = false;
    QString lastValueName_;
    QString tip_;
};

} // namespace tolvane
