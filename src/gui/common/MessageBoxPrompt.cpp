#include "gui/common/MessageBoxPrompt.h"

#include "section/TextSource.h"

#include <QAbstractButton>
#include <QPushButton>
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
                  {QMessageBox::Cancel, CancelText}};
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
    default:
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
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

std::unique_ptr<QMessageBox> MessageBoxPrompt::buildWithChanges(QWidget* owner, const QString& message,
                                                                QAbstractButton*& showChanges) const {
    std::unique_ptr<QMessageBox> box = build(owner, message, Buttons::YesNo, Icon::Question);
    showChanges = box->addButton(text(ShowChangesText), QMessageBox::ActionRole);
    return box;
}

ChangesQuestion::Answer MessageBoxPrompt::askWithChanges(QWidget* owner, const QString& message) {
    QAbstractButton* showChanges = nullptr;
    std::unique_ptr<QMessageBox> box = buildWithChanges(owner, message, showChanges);
    QPointer<QMessageBox> guard(box.get());
    box->exec();
    if (!guard) {
        (void)box.release();
        return ChangesQuestion::Answer::No;
    }
    if (box->clickedButton() == showChanges) {
        return ChangesQuestion::Answer::ShowChanges;
    }
    return box->clickedButton() == box->button(QMessageBox::Yes) ? ChangesQuestion::Answer::Yes
                                                                  : ChangesQuestion::Answer::No;
}

} // namespace tolvane
