#pragma once

#include "gui/common/Services.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace tolvane::testing {

// A prompt service for tests. Every box is recorded. Plain messages (an OK button only) are answered OK at once;
// a question (Yes/No, Yes/No/Cancel) takes the next scripted answer, and a question that nobody scripted, or an
// answer the box does not offer, fails the test. Answers left over when the prompt goes fail the test too.
class ScriptedPrompt final : public PromptService {
public:
    struct Box {
        QWidget* owner;
        QString text;
        Buttons buttons;
        Icon icon;
        Answer answer;
    };

    ~ScriptedPrompt() override {
        if (!answers_.empty()) {
            ADD_FAILURE() << answers_.size() << " scripted answer(s) never asked for";
        }
    }

    // Queues the answer to the next question.
    ScriptedPrompt& answer(Answer a) {
        answers_.push_back(a);
        return *this;
    }

    Answer ask(QWidget* owner, const QString& text, Buttons buttons, Icon icon) override {
        Answer result = Answer::Ok;
        if (buttons != Buttons::Ok) {
            if (answers_.empty()) {
                ADD_FAILURE() << "unexpected question: " << text.toStdString();
                result = buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
            } else {
                result = answers_.front();
                answers_.pop_front();
                const bool offered = result == Answer::Yes || result == Answer::No ||
                                     (result == Answer::Cancel && buttons == Buttons::YesNoCancel);
                if (!offered) {
                    ADD_FAILURE() << "scripted answer not offered by the question: " << text.toStdString();
                }
            }
        }
        boxes_.push_back({owner, text, buttons, icon, result});
        return result;
    }

    const std::vector<Box>& boxes() const { return boxes_; }
    // The texts of every box in order.
    QStringList texts() const {
        QStringList all;
        for (const Box& box : boxes_) {
            all << box.text;
        }
        return all;
    }
    bool hasPendingAnswers() const { return !answers_.empty(); }
    void clear() {
        boxes_.clear();
        answers_.clear();
    }

private:
    std::deque<Answer> answers_;
    std::vector<Box> boxes_;
};

} // namespace tolvane::testing
