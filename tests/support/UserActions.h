#pragma once

#include "ScriptedDialogs.h"
#include "gui/app/CProgramSet.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace tolvane::testing {

// Where a user finds the action: in a menu the menu bar shows, or on a tool bar of the window. Null (and a
// failure) when the window has no action of that name, or shows it nowhere, or shows it disabled.
inline QAction* reachableAction(QMainWindow& window, const QString& objectName) {
    auto* found = window.findChild<QAction*>(objectName);
    if (found == nullptr) {
        ADD_FAILURE() << "no action named " << objectName.toStdString();
        return nullptr;
    }
    bool shown = false;
    for (QObject* place : found->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(place)) {
            shown = shown || window.menuBar()->actions().contains(menu->menuAction());
        } else if (auto* bar = qobject_cast<QToolBar*>(place)) {
            shown = shown || (bar->window() == &window && !bar->isHidden());
        }
    }
    if (!shown || !found->isVisible() || !found->isEnabled()) {
        ADD_FAILURE() << objectName.toStdString()
                      << " is not where the user can use it (in a shown menu or tool bar: " << shown
                      << ", visible: " << found->isVisible() << ", enabled: " << found->isEnabled() << ")";
        return nullptr;
    }
    return found;
}

// The user chooses the action in its menu or presses its tool bar button. False when it cannot be reached.
inline bool triggerAction(QMainWindow& window, const QString& objectName) {
    QAction* reached = reachableAction(window, objectName);
    if (reached == nullptr) {
        return false;
    }
    reached->trigger();
    return true;
}

// In the program settings dialog: the user picks `language` in the list with the keyboard and presses OK.
inline ScriptedDialogs::Step chooseLanguageStep(const QString& language) {
    return [language](QDialog& dialog) {
        auto* settings = qobject_cast<CProgramSet*>(&dialog);
        ASSERT_NE(settings, nullptr) << "not the program settings: " << dialog.windowTitle().toStdString();
        QComboBox* list = settings->languageList();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < list->count() && list->currentText() != language; ++i) {
            QTest::keyClick(list, Qt::Key_Down);
        }
        ASSERT_EQ(list->currentText(), language) << "the list does not offer it";
        QTest::mouseClick(settings->buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    };
}

// Tools -> Program settings, `language` chosen and OK pressed: the language change as the user makes it.
inline void chooseLanguage(QMainWindow& window, ScriptedDialogs& dialogs, const QString& language) {
    dialogs.then(chooseLanguageStep(language));
    const int before = dialogs.runs();
    ASSERT_TRUE(triggerAction(window, QStringLiteral("actionSettings")));
    EXPECT_EQ(dialogs.runs(), before + 1) << "the settings action opened no dialog";
}

} // namespace tolvane::testing
