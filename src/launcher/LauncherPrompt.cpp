#include "launcher/LauncherPrompt.h"

#include <QMessageBox>
#include <QPushButton>

namespace tolvane {

PromptService::Answer LauncherPrompt::ask(QWidget* owner, const QString& text, Buttons buttons, Icon icon) {
    QMessageBox box(owner);
    box.setWindowTitle(texts_.text(LauncherTexts::Title));
    box.setText(text);
    box.setIcon(icon == Icon::Warning    ? QMessageBox::Warning
                : icon == Icon::Question ? QMessageBox::Question
                                         : QMessageBox::Information);
    QPushButton* ok = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* cancel = nullptr;
    if (buttons == Buttons::Ok) {
        ok = box.addButton(texts_.text(LauncherTexts::Ok), QMessageBox::AcceptRole);
    } else {
        yes = box.addButton(texts_.text(LauncherTexts::Yes), QMessageBox::YesRole);
        no = box.addButton(texts_.text(LauncherTexts::No), QMessageBox::NoRole);
        if (buttons == Buttons::YesNoCancel) {
            cancel = box.addButton(texts_.text(LauncherTexts::Cancel), QMessageBox::RejectRole);
        }
    }
    box.exec();
    const QAbstractButton* pressed = box.clickedButton();
    if (pressed != nullptr && pressed == yes) {
        return Answer::Yes;
    }
    if (pressed != nullptr && pressed == no) {
        return Answer::No;
    }
    if (ok != nullptr) {
        return Answer::Ok;
    }
    // Closed without a button: the answer that changes nothing.
    return cancel != nullptr ? Answer::Cancel : Answer::No;
}

} // namespace tolvane
