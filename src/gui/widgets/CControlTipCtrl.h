#pragma once

#include <QHash>
#include <QLabel>
#include <QPointer>

namespace tolvane {

// The help-tip window of a page or dialog: a text is registered per control, and activating the window at a
// control shows that control's text beside it until it is deactivated. A control without a registered text shows
// nothing (never the text of the control asked before).
class CControlTipCtrl : public QLabel {
    Q_OBJECT
public:
    explicit CControlTipCtrl(QWidget* owner = nullptr);

    // Registers `text` for `control`; an empty text removes the registration.
    void setTip(const QWidget* control, const QString& text);
    QString tipFor(const QWidget* control) const;

    void activate(const QWidget* control);
    void deactivate();
    bool isActive() const { return active_; }
    // The control the window was last activated at, null when inactive.
    const QWidget* activeControl() const { return activeControl_; }

private:
    void placeBeside(const QWidget* control);

    QHash<const QWidget*, QString> tips_;
    QPointer<const QWidget> activeControl_;
    bool active_ = false;
};

} // namespace tolvane
