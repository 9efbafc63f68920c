#pragma once

#include <QDialog>

class QTimer;

namespace tolvane {

// The splash screen: the picture with the version line, faded in over about half a second and closed after
// about two seconds. Every 20 ms tick raises the opacity by 10 (of 255) while it is below 255 and adds 10 to a
// counter; the splash closes once the counter passes 999.
class CSplash : public QDialog {
    Q_OBJECT
public:
    static constexpr int TickMs = 20;
    static constexpr int Step = 10;
    static constexpr int CloseAfter = 999;

    CSplash(const QString& picturePath, const QString& version, QWidget* parent = nullptr);

    void tick();
    int opacity() const { return opacity_; }
    int counter() const { return counter_; }

private:
    QTimer* timer_;
    int opacity_ = 0;
    int counter_ = 0;
};

} // namespace tolvane
