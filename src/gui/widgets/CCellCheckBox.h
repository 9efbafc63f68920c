#pragma once

#include <QCheckBox>

namespace tolvane {

// A check box whose caption stands elsewhere or shows only while it is ticked (a program's bells and weekdays, the
// settings page's boxes beside their help labels). It fills the grid cell it sits in, a click anywhere in that
// cell toggles it (a plain check box reacts only on its small square when it has no caption), and while it has the
// focus a frame is drawn round it, which a check box without a caption does not show.
class CCellCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CCellCheckBox(QWidget* parent = nullptr);

protected:
    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tolvane
