#pragma once

#include <QWidget>

namespace tolvane {

// The on/off lamp: a small round light, green while lit and grey while out. Its tool tip and accessible name
// say the state in words, so the state is not told by colour alone.
class CLamp : public QWidget {
    Q_OBJECT
public:
    explicit CLamp(QWidget* parent = nullptr);

    bool isLit() const { return lit_; }
    void setLit(bool lit);
    // The words for the two states (the catalog's "On" and "Off").
    void setStateTexts(const QString& on, const QString& off);

    QSize sizeHint() const override { return {18, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateTexts();

    bool lit_ = false;
    QString on_;
    QString off_;
};

} // namespace tolvane
