#pragma once

#include <QString>

class QWidget;

namespace tolvane {

// The question before a card file is written, with "Show changes" (text 2514) beside Yes and No: a prompt
// service that can ask it offers this too. A prompt without it asks Yes/No alone.
class ChangesQuestion {
public:
    enum class Answer { Yes, No, ShowChanges };
    static constexpr int ShowChangesText = 2514;

    virtual ~ChangesQuestion() = default;
    // Closing the question without pressing a button answers No: nothing is written.
    virtual Answer askWithChanges(QWidget* owner, const QString& text) = 0;
};

} // namespace tolvane
