#pragma once

#include "gui/common/Services.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace tolvane::testing {

// A chooser service for tests: every chooser is recorded and answered with the next scripted result of its kind
// (an empty string is the user cancelling). A chooser that nobody scripted fails the test and answers cancel;
// results left over when the chooser goes fail the test too.
class ScriptedChooser final : public ChooserService {
public:
    enum class Kind { OpenFile, SaveFile, Folder };
    struct Call {
        Kind kind;
        QWidget* owner;
        QString title;
        QString start; // the folder or path the chooser starts from
        QString filter;
    };

    ~ScriptedChooser() override {
        const auto left = openFiles_.size() + saveFiles_.size() + folders_.size();
        if (left != 0) {
            ADD_FAILURE() << left << " scripted chooser result(s) never asked for";
        }
    }

    ScriptedChooser& openFileAnswer(const QString& path) {
        openFiles_.push_back(path);
        return *this;
    }
    ScriptedChooser& saveFileAnswer(const QString& path) {
        saveFiles_.push_back(path);
        return *this;
    }
    ScriptedChooser& folderAnswer(const QString& path) {
        folders_.push_back(path);
        return *this;
    }

    QString openFile(QWidget* owner, const QString& title, const QString& folder, const QString& filter) override {
        return next(openFiles_, {Kind::OpenFile, owner, title, folder, filter});
    }
    QString saveFile(QWidget* owner, const QString& title, const QString& path, const QString& filter) override {
        return next(saveFiles_, {Kind::SaveFile, owner, title, path, filter});
    }
    QString folder(QWidget* owner, const QString& title, const QString& start) override {
        return next(folders_, {Kind::Folder, owner, title, start, {}});
    }

    const std::vector<Call>& calls() const { return calls_; }

private:
    QString next(std::deque<QString>& results, Call call) {
        calls_.push_back(call);
        if (results.empty()) {
            ADD_FAILURE() << "unexpected chooser: " << call.title.toStdString();
            return {};
        }
        QString result = results.front();
        results.pop_front();
        return result;
    }

    std::deque<QString> openFiles_;
    std::deque<QString> saveFiles_;
    std::deque<QString> folders_;
    std::vector<Call> calls_;
};

} // namespace tolvane::testing
