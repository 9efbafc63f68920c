#pragma once

#include "gui/common/Services.h"
#include "platform/LauncherTexts.h"

namespace tolvane {

// The launcher's real prompt service: a plain message box titled with the launcher's window title and its buttons
// labelled in the launcher's language (texts 10 OK, 11 Yes, 12 No, 13 Cancel). The launcher has no language
// catalog of its own, so the editor's prompt cannot serve it.
class LauncherPrompt final : public PromptService {
public:
    explicit LauncherPrompt(LauncherTexts texts) : texts_(texts) {}

    Answer ask(QWidget* owner, const QString& text, Buttons buttons, Icon icon) override;

private:
    LauncherTexts texts_;
};

} // namespace tolvane
