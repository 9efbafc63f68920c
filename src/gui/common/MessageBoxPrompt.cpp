#include "gui/common/MessageBoxPrompt.h"

#include "project/TextSource.h"

#include <QAbstractButton>
#include <QPointer>

namespace tolvane {

namespace {

QMessageBox::StandardButtons standardButtons(PromptService::Buttons buttons) {
    switch (buttons) {
    case PromptService::Buttons::Ok:
        return QMessageBox::Ok;
    case PromptService::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptService::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptService::Buttons::YesNoShowChanges:
        // The third button is a standard one relabelled, so exec() reports it like the others.
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Apply;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(PromptService::Icon icon) {
    switch (icon) {
    case PromptService::Icon::Information:
        return QMessageBox::Information;
    case PromptService::Icon::Warning:
        return QMessageBox::Warning;
    case PromptService::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString MessageBoxPrompt::text(int id) const {
    return QString::fromStdString(texts_.text(id));
}

std::unique_ptr<QMessageBox> MessageBoxPrompt::build(QWidget* owner, const QString& message, Buttons buttons,
                                                     Icon icon) const {
    auto box =
        std::make_unique<QMessageBox>(boxIcon(icon), text(CaptionText), message, standardButtons(buttons), owner);
    box->setTextFormat(Qt::PlainText);
    const struct {
        QMessageBox::StandardButton button;
        int textId;
    } labels[] = {{QMessageBox::Yes, YesText},
                  {QMessageBox::No, NoText},
                  {QMessageBox::Ok, OkText},
                  {QMessageBox::Cancel, CancelText},
                  {QMessageBox::Apply, ShowChangesText}};
    for (const auto& label : labels) {
        if (QAbstractButton* button = box->button(label.button)) {
            button->setText(text(label.textId));
        }
    }
    switch (buttons) {
    case Buttons::Ok:
        box->setEscapeButton(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
    case Buttons::YesNoShowChanges:
        box->setEscapeButton(QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    }
    return box;
}

PromptService::Answer MessageBoxPrompt::answerFor(QMessageBox::StandardButton pressed, Buttons buttons) {
    switch (pressed) {
    case QMessageBox::Yes:
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
    case QMessageBox::No:
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Apply:
        return buttons == Buttons::YesNoShowChanges ? Answer::ShowChanges : Answer::Ok;
    default:
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoShowChanges:
        return Answer::No;
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    }
    return Answer::Cancel;
}

PromptService::Answer MessageBoxPrompt::ask(QWidget* owner, const QString& message, Buttons buttons, Icon icon) {
    std::unique_ptr<QMessageBox> box = build(owner, message, buttons, icon);
    // The owner may be deleted while the box runs its own event loop; the box goes with it then.
    QPointer<QMessageBox> guard(box.get());
    const int pressed = box->exec();
    if (!guard) {
        (void)box.release();
        return answerFor(QMessageBox::NoButton, buttons);
    }
    return answerFor(static_cast<QMessageBox::StandardButton>(pressed), buttons);
}

} // namespace tolvane
