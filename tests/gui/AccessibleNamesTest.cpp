// What a screen reader finds on every page of the editor: each control that takes the keyboard focus has a name.

#include "DocumentEdit.h"
#include "ShellTestSupport.h"

#include "gui/app/CDataPage.h"
#include "gui/app/CTarvelinDoc.h"

#include <QAccessible>
#include <QApplication>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using testing::userEdit;

class AccessibleNamesTest : public ::testing::Test, protected testing::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->resize(1100, 800);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
};

// Every page reached through the tree, with a program of each dated kind so that their editors are shown, as a
// screen reader walks them: a focusable control without a name is listed with its page and object name.
TEST_F(AccessibleNamesTest, EveryFocusableControlOfEveryPageHasAName) {
    userEdit(*frame->document(), [](ProjectData& p) {
        p.general().setSpecialTollingOn(true);
        for (int kind : {Weekly, HolidayDay, Annual, OneTime}) {
            p.program(kind).addEntry();
        }
    });
    QStringList unnamed;
    int named = 0;
    QTreeWidget* tree = frame->view()->tree();
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        tree->setCurrentItem(*it);
        QApplication::processEvents();
        CDataPage* page = frame->view()->currentPage();
        ASSERT_NE(page, nullptr);
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(frame.get()) || !w->isEnabled() || (w->focusPolicy() & Qt::TabFocus) == 0 ||
                w->focusProxy()) {
                continue;
            }
            QAccessibleInterface* control = QAccessible::queryAccessibleInterface(w);
            if (control && !control->text(QAccessible::Name).trimmed().isEmpty()) {
                ++named;
            } else {
                unnamed << QStringLiteral("%1: %2 %3")
                               .arg(page->headerTitle(), QString::fromLatin1(w->metaObject()->className()),
                                    w->objectName());
            }
        }
    }
    EXPECT_GT(named, 100);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QLatin1Char('\n')).toStdString();
}

} // namespace
} // namespace tolvane
