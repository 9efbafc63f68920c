#pragma once

#include <QDialog>

#include <functional>

class QLabel;

namespace tolvane {

// The small untitled window shown while a card file is written: a busy bar and the destination path. It appears
// first and only then runs the copy, so the user sees that something happens; the copy itself runs on the
// user-interface thread and the window closes when it is done.
class CCopyProgress : public QDialog {
    Q_OBJECT

public:
    static constexpr int ShowDelayMilliseconds = 300;

    CCopyProgress(const QString& destination, QWidget* owner);

    // Shows the window (modal to its owner), lets it appear, runs `copy` and closes; returns what `copy` returned.
    template <typename Result>
    static Result run(const QString& destination, QWidget* owner, const std::function<Result()>& copy) {
        CCopyProgress dialog(destination, owner);
        dialog.appear();
        Result result = copy();
        dialog.close();
        return result;
    }

private:
    void appear();

    QLabel* destination_;
};

} // namespace tolvane
