#pragma once

#include "gui/common/Services.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <utility>

namespace tolvane::testing {

// A dialog service for tests: each modal dialog the editor runs is handed, fully built, to the next scripted
// step, which works its real controls as a user would (QTest clicks and keys, selecting rows) and returns how the
// dialog ends. A step may call dialog.accept()/reject() or press the dialog's own buttons; the service then
// answers the dialog's result. A dialog that nobody scripted fails the test and is cancelled; steps left over
// when the service goes fail the test too.
class ScriptedDialogs final : public DialogService {
public:
    using Step = std::function<void(QDialog&)>;

    ~ScriptedDialogs() override {
        if (!steps_.empty()) {
            ADD_FAILURE() << steps_.size() << " scripted dialog step(s) never used";
        }
    }

    ScriptedDialogs& then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }

    int run(QDialog& dialog) override {
        ++runs_;
        lastTitle_ = dialog.windowTitle();
        if (steps_.empty()) {
            ADD_FAILURE() << "unscripted dialog \"" << dialog.windowTitle().toStdString() << "\"";
            return QDialog::Rejected;
        }
        Step step = std::move(steps_.front());
        steps_.pop_front();
        // A dialog may react to being shown (preselection, focus); show it as exec() would, without its loop.
        dialog.setResult(-1);
        dialog.show();
        step(dialog);
        const int result = dialog.result() == -1 ? QDialog::Rejected : dialog.result();
        dialog.hide();
        return result;
    }

    int runs() const { return runs_; }
    const QString& lastTitle() const { return lastTitle_; }
    bool done() const { return steps_.empty(); }

private:
    std::deque<Step> steps_;
    int runs_ = 0;
    QString lastTitle_;
};

} // namespace tolvane::testing
