#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace tolvane {

// Every message box and question of the editor goes through one prompt service: the program shows a real
// message box (caption text 107, buttons relabelled with texts 102 Yes, 103 No, 108 OK, 104 Cancel); tests
// install a scripted one, so no test ever waits on a modal dialog.
class PromptService {
public:
    enum class Icon { Information, Warning, Question };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Yes, No, Ok, Cancel };

    virtual ~PromptService() = default;
    virtual Answer ask(QWidget* owner, const QString& text, Buttons buttons, Icon icon) = 0;

    void showMessage(QWidget* owner, const QString& text) { ask(owner, text, Buttons::Ok, Icon::Information); }
    void showWarning(QWidget* owner, const QString& text) { ask(owner, text, Buttons::Ok, Icon::Warning); }
};

// Every file and folder chooser goes through one chooser service, for the same reason. An empty result means
// the user cancelled.
class ChooserService {
public:
    virtual ~ChooserService() = default;
    virtual QString openFile(QWidget* owner, const QString& title, const QString& folder, const QString& filter) = 0;
    virtual QString saveFile(QWidget* owner, const QString& title, const QString& path, const QString& filter) = 0;
    virtual QString folder(QWidget* owner, const QString& title, const QString& start) = 0;
};

// Every modal dialog of our own (choosers, edit dialogs) is run through one dialog service: the program runs it
// with exec(); tests install a scripted one that works the real dialog's controls and then closes it, so the
// dialog's own code runs and no test waits on a modal loop. The result is the dialog's (QDialog::Accepted or
// QDialog::Rejected).
class DialogService {
public:
    virtual ~DialogService() = default;
    virtual int run(QDialog& dialog) = 0;
};

// The program's dialog service: a plain modal exec().
class ExecDialogService final : public DialogService {
public:
    int run(QDialog& dialog) override;
};

} // namespace tolvane
