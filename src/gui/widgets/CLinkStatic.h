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

    // The tooltip: the label's own text, at most MaxTipLength characters.
    QString tipText() const { return text().left(MaxTipLength); }
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
};

} // namespace tolvane
