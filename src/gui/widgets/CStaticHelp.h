#pragma once

#include <QTimer>
#include <QWidget>

namespace tolvane {

// A field caption that can ask for help. While help is active (bold, underlined) and the mouse has rested on the
// label, a left click asks the owning page or dialog (its nearest HelpReceiver ancestor) to show the help of this
// label; leaving the label releases it. One click per visit: the label re-arms only after the mouse has left it.
class CStaticHelp : public QWidget {
    Q_OBJECT
public:
    // How long the mouse must rest on the label before a click asks for help.
    static constexpr int DefaultHoverDelayMs = 400;

    explicit CStaticHelp(const QString& text = {}, QWidget* parent = nullptr);

    // Bold while active, normal otherwise, underlined in both cases; a left-aligned label fits its width to the
    // text again.
    void setHelpActive(bool active);
    bool helpActive() const { return helpActive_; }

    // A left-aligned label takes the width of its text plus 3 pixels, keeping its position and height; a centred
    // or right-aligned label keeps its size.
    void setText(const QString& text);
    QString text() const { return text_; }

    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return alignment_; }

    bool hoverArmed() const { return hoverArmed_; }
    void setHoverDelay(int milliseconds) { hoverTimer_.setInterval(milliseconds); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void hovered();
    void fitWidth();
    bool isLeftAligned() const;
    void updateCursor();

    QString text_;
    bool hoverArmed_ = false;
    bool rearm_ = true;
    bool helpActive_ = false;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    QTimer hoverTimer_;
};

} // namespace tolvane
