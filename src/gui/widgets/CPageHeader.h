#pragma once

#include <QWidget>

namespace tolvane {

// The band across the top of a page: 20 pixels of blue with the page's title in white, 20 pixels from the left,
// on one line, vertically centred and cut with an ellipsis when it does not fit.
class CPageHeader : public QWidget {
    Q_OBJECT
public:
    static constexpr int Height = 20;
    static constexpr int TitleIndent = 20;
    static constexpr QRgb BandColor = 0xff0000ff;  // RGB(0, 0, 255)
    static constexpr QRgb TitleColor = 0xffffffff; // white

    explicit CPageHeader(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const { return title_; }
    // The title as it is drawn at the current width.
    QString shownTitle() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
};

} // namespace tolvane
