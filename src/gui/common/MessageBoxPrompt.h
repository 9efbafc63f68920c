#pragma once

#include "gui/common/ChangesQuestion.h"
#include "gui/common/Services.h"

#include <QMessageBox>

#include <memory>

namespace tolvane {

class TextSource;

// The editor's real prompt service: a modal message box with caption text 107, the icon asked for, and its
// buttons relabelled with the language's texts (102 Yes, 103 No, 108 OK, 104 Cancel); the write question with
// a third button, Show changes (text 2514).
class MessageBoxPrompt final : public PromptService, public ChangesQuestion {
public:
    using Answer = PromptService::Answer;
    using ChangesQuestion::ShowChangesText;

    static constexpr int CaptionText = 107;
    static constexpr int YesText = 102;
    static constexpr int NoText = 103;
    static constexpr int OkText = 108;
    static constexpr int CancelText = 104;

    explicit MessageBoxPrompt(const TextSource& texts) : texts_(texts) {}

    Answer ask(QWidget* owner, const QString& text, Buttons buttons, Icon icon) override;
    ChangesQuestion::Answer askWithChanges(QWidget* owner, const QString& text) override;
    // The box that askWithChanges() shows, built but not shown; `showChanges` is set to its third button.
    std::unique_ptr<QMessageBox> buildWithChanges(QWidget* owner, const QString& text,
                                                  QAbstractButton*& showChanges) const;

    // The box that ask() shows, built but not shown.
    std::unique_ptr<QMessageBox> build(QWidget* owner, const QString& text, Buttons buttons, Icon icon) const;
    // What a box closed with `pressed` answers. Closing a box without pressing a button answers the choice that
    // changes nothing: Cancel where there is one, otherwise No (or OK for a plain message).
    static Answer answerFor(QMessageBox::StandardButton pressed, Buttons buttons);

private:
    QString text(int id) const;

    const TextSource& texts_;
};

} // namespace tolvane
