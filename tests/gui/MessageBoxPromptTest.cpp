#include "gui/common/MessageBoxPrompt.h"
#include "TestAppContext.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using P = PromptService;
using testing::TestAppContext;

const std::map<int, QString> ShellTexts = {
    {102, "Tak"}, {103, "Nie"}, {104, "Anuluj"}, {107, "Tolvane - komunikat"}, {108, "Dobrze"}, {2514, "Pokaż zmiany"}};

QStringList buttonTexts(const QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* button : box.buttons()) {
        texts << button->text();
    }
    texts.sort();
    return texts;
}

TEST(MessageBoxPromptTest, BoxesCarryCaption107TheIconAndRelabelledButtons) {
    TestAppContext app(ShellTexts);
    MessageBoxPrompt prompt(app.languages);
    const struct {
        P::Buttons buttons;
        P::Icon icon;
        QMessageBox::Icon boxIcon;
        QStringList labels; // sorted
        QMessageBox::StandardButton escape;
    } cases[] = {
        {P::Buttons::Ok, P::Icon::Information, QMessageBox::Information, {"Dobrze"}, QMessageBox::Ok},
        {P::Buttons::Ok, P::Icon::Warning, QMessageBox::Warning, {"Dobrze"}, QMessageBox::Ok},
        {P::Buttons::YesNo, P::Icon::Question, QMessageBox::Question, {"Nie", "Tak"}, QMessageBox::No},
        {P::Buttons::YesNoCancel,
         P::Icon::Question,
         QMessageBox::Question,
         {"Anuluj", "Nie", "Tak"},
         QMessageBox::Cancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.labels.join(',').toStdString());
        const auto box = prompt.build(nullptr, QStringLiteral("Zapisać zmiany?"), c.buttons, c.icon);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Tolvane - komunikat"));
        EXPECT_EQ(box->text(), QStringLiteral("Zapisać zmiany?"));
        EXPECT_EQ(box->icon(), c.boxIcon);
        EXPECT_EQ(buttonTexts(*box), c.labels);
        EXPECT_EQ(box->escapeButton(), box->button(c.escape));
    }
}

TEST(MessageBoxPromptTest, WithoutACatalogEveryLabelIsThePlaceholder) {
    TestAppContext app;
    MessageBoxPrompt prompt(app.languages);
    const auto box = prompt.build(nullptr, QStringLiteral("?"), P::Buttons::YesNoCancel, P::Icon::Question);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("---"));
    EXPECT_EQ(buttonTexts(*box), (QStringList{"---", "---", "---"}));
}

TEST(MessageBoxPromptTest, AnswersFollowTheButtonAndClosingChangesNothing) {
    const struct {
        QMessageBox::StandardButton pressed;
        P::Buttons buttons;
        P::Answer answer;
    } cases[] = {
        {QMessageBox::Yes, P::Buttons::YesNo, P::Answer::Yes},
        {QMessageBox::No, P::Buttons::YesNo, P::Answer::No},
        {QMessageBox::NoButton, P::Buttons::YesNo, P::Answer::No},
        {QMessageBox::Yes, P::Buttons::YesNoCancel, P::Answer::Yes},
        {QMessageBox::No, P::Buttons::YesNoCancel, P::Answer::No},
        {QMessageBox::Cancel, P::Buttons::YesNoCancel, P::Answer::Cancel},
        {QMessageBox::NoButton, P::Buttons::YesNoCancel, P::Answer::Cancel},
        {QMessageBox::Ok, P::Buttons::Ok, P::Answer::Ok},
        {QMessageBox::NoButton, P::Buttons::Ok, P::Answer::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.pressed));
        EXPECT_EQ(MessageBoxPrompt::answerFor(c.pressed, c.buttons), c.answer);
    }
}

TEST(MessageBoxPromptTest, AskReturnsTheRelabelledButtonThatWasPressed) {
    TestAppContext app(ShellTexts);
    MessageBoxPrompt prompt(app.languages);
    QString seenLabel;
    // Presses "Nie" on the box once it runs; gives up (closing nothing) if no box appears.
    int tries = 0;
    QTimer presser;
    presser.setInterval(10);
    QObject::connect(&presser, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            presser.stop();
            seenLabel = box->button(QMessageBox::No)->text();
            box->button(QMessageBox::No)->click();
        } else if (++tries > 300) {
            presser.stop();
        }
    });
    presser.start();
    EXPECT_EQ(prompt.ask(nullptr, QStringLiteral("Zapisać?"), P::Buttons::YesNoCancel, P::Icon::Question),
              P::Answer::No);
    EXPECT_EQ(seenLabel, QStringLiteral("Nie"));
}

// The write question: Yes and No relabelled, Show changes beside them; the button pressed is the answer, and
// Escape (or closing the box) writes nothing.
TEST(MessageBoxPromptTest, TheWriteQuestionOffersShowChangesBesideYesAndNo) {
    TestAppContext app(ShellTexts);
    MessageBoxPrompt prompt(app.languages);
    QAbstractButton* showChanges = nullptr;
    const auto box = prompt.buildWithChanges(nullptr, QStringLiteral("Zapisać?"), showChanges);
    EXPECT_EQ(buttonTexts(*box), (QStringList{"Nie", "Pokaż zmiany", "Tak"}));
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::No));
    ASSERT_NE(showChanges, nullptr);

    using A = ChangesQuestion::Answer;
    const struct {
        QString label;
        A answer;
    } cases[] = {{"Tak", A::Yes}, {"Nie", A::No}, {"Pokaż zmiany", A::ShowChanges}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label.toStdString());
        int tries = 0;
        QTimer presser;
        presser.setInterval(10);
        QObject::connect(&presser, &QTimer::timeout, [&] {
            if (auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                presser.stop();
                for (QAbstractButton* button : shown->buttons()) {
                    if (button->text() == c.label) {
                        button->click();
                    }
                }
            } else if (++tries > 300) {
                presser.stop();
            }
        });
        presser.start();
        EXPECT_EQ(prompt.askWithChanges(nullptr, QStringLiteral("Zapisać?")), c.answer);
    }
}

} // namespace
} // namespace tolvane
