#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace tolvane {

// The ringing graph of the bell programs: one horizontal track per bell. The left region spans the program's
// ringing time and shows each bell's switch-on delay as a bar from the left edge (the blue rest is how long the
// bell rings); the right region shows the bell's second time value. The user drags a bar end with the mouse, or
// with the graph focused chooses a track (Up/Down) and one of its two ends (Page Up/Page Down) and moves it
// with Left/Right (Shift: ten seconds), Home/End (the limits). Each change is announced with the track number,
// and the page reads the values back.
class CTrackEdytorCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr std::uint16_t NotRung = 0xFFFF;
    static constexpr int RowMargin = 5;
    static constexpr int EdgeMargin = 5; // pixels left and right of the two regions
    static constexpr int GripDistance = 9;
    static constexpr QRgb GridColor = 0xff808080;
    static constexpr QRgb RegionColor = 0xff0000ff;
    static constexpr QRgb ValueColor = 0xff008000;
    static constexpr QRgb ActiveColor = 0xffff0000;

    enum class End { None, First, Second };

    explicit CTrackEdytorCtrl(QWidget* parent = nullptr);

    // Deletes every track. The keyboard's chosen track and end stay, so a page that refills the graph after each
    // change keeps the user where they were.
    void clear();
    void setRegions(int firstLength, int secondLength);
    void addTrack(std::uint16_t first, std::uint16_t second);
    // Limits of a track's two values (track from 0); ignored for a track that does not exist.
    void setLimits(int track, int firstMin, int firstMax, int secondMin, int secondMax);

    int trackCount() const { return static_cast<int>(tracks_.size()); }
    std::uint16_t firstValue(int track) const;  // track from 0
    std::uint16_t secondValue(int track) const; // track from 0
    int firstRegion() const { return firstRegion_; }
    int secondRegion() const { return secondRegion_; }

    // Texts of the accessible description, set (and re-set on a language change) by the page: trackFormat has
    // %1 for the track number from 1 (e.g. "Bell %1"); firstName and secondName name the two values.
    void setTexts(const QString& trackFormat, const QString& firstName, const QString& secondName);

    // The end under the mouse (track from 1, 0 = none) and the keyboard's choice (track from 0).
    int hoveredFirst() const { return hoveredFirst_; }
    int hoveredSecond() const { return hoveredSecond_; }
    int chosenTrack() const { return chosenTrack_; }
    End chosenEnd() const { return chosenEnd_; }

    // What the accessible description says: the chosen track, which value and the value as mm:ss.
    QString descriptionText() const;

signals:
    void firstValueChanged(int trackNumber); // counted from 1; 0 = none (release without a hovered end)
    void secondValueChanged(int trackNumber);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Track {
        std::uint16_t first = 0;
        std::uint16_t second = 0;
        int firstMin = 0;
        int firstMax = 0xFFFE;
        int secondMin = 0;
        int secondMax = 0xFFFE;
        bool rung() const { return first != NotRung; }
    };

    double scale() const;
    int rowHeight() const;
    // Pixel column of a length in seconds from the left edge of the first region.
    int xOf(double seconds) const;
    void updateHover(const QPoint& pos);
    void setHovered(int first, int second);
    // Sets one value of a track (from 0) within its limits; true when it changed.
    bool setValue(int track, End end, int value);
    void stepChosen(int delta);
    void setChosenTo(bool maximum);
    void announce(int track, End end);
    void updateDescription();
    int validChosenTrack() const;

    std::vector<Track> tracks_;
    int rowMargin_ = RowMargin;
    bool grid_ = true;
    bool dragging_ = false;
    int firstRegion_ = 10;
    int secondRegion_ = 10;
    int hoveredFirst_ = 0;
    int hoveredSecond_ = 0;
    int chosenTrack_ = 0;
    End chosenEnd_ = End::First;
    QString trackFormat_ = QStringLiteral("%1");
    QString firstName_;
    QString secondName_;
};

} // namespace tolvane
