#include "gui/widgets/CStaticHelp.h"
#include "gui/widgets/HelpReceiver.h"

#include <QEnterEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// A window that takes help requests the way a page does.
class HelpWindow : public QWidget, public HelpReceiver {
public:
    void helpRequested(QWidget* label) override { requests.push_back(label); }
    void helpReleased(QWidget* label) override { releases.push_back(label); }
    std::vector<QWidget*> requests;
    std::vector<QWidget*> releases;
};

class CStaticHelpTest : public ::testing::Test {
protected:
    CStaticHelpTest() {
        // The label sits in a group inside the window, as captions on pages do.
        auto* group = new QWidget(&window);
        label = new CStaticHelp(QStringLiteral("Output"), group);
        label->setHoverDelay(0);
        window.resize(300, 100);
        window.show();
    }

    // The mouse comes over the label and rests there.
    void hover() {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(label, &enter);
        QTest::qWait(5);
    }
    void leave() {
        QEvent leaveEvent(QEvent::Leave);
        QApplication::sendEvent(label, &leaveEvent);
    }
    // A whole click: a press left without its release would stay pressed for the tests that run after these.
    void click(Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(label, button, {}, QPoint(2, 2));
        QTest::mouseRelease(label, button, {}, QPoint(2, 2));
    }

    HelpWindow window;
    CStaticHelp* label;
};

TEST_F(CStaticHelpTest, InactiveHelpKeepsTheNormalCursorAndSendsNothing) {
    hover();
    EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);
    click();
    EXPECT_TRUE(window.requests.empty());
}

TEST_F(CStaticHelpTest, OneRequestPerVisitAndLeavingReArms) {
    label->setHelpActive(true);

    hover();
    EXPECT_EQ(label->cursor().shape(), Qt::WhatsThisCursor);
    click();
    ASSERT_EQ(window.requests.size(), 1u);
    EXPECT_EQ(window.requests.front(), label) << "the request names the label";

    hover(); // resting again without leaving does not re-arm
    click();
    EXPECT_EQ(window.requests.size(), 1u);
    EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);

    leave();
    ASSERT_EQ(window.releases.size(), 1u);
    EXPECT_EQ(window.releases.front(), label);
    hover();
    click();
    EXPECT_EQ(window.requests.size(), 2u);
}

TEST_F(CStaticHelpTest, AClickBeforeTheMouseRestsAndARightClickAskForNothing) {
    label->setHelpActive(true);
    click(); // no hover yet
    EXPECT_TRUE(window.requests.empty());

    hover();
    click(Qt::RightButton);
    EXPECT_FALSE(label->hoverArmed());
    click();
    EXPECT_TRUE(window.requests.empty());
}

TEST_F(CStaticHelpTest, ActiveHelpIsBoldAndUnderlined) {
    label->setHelpActive(true);
    EXPECT_TRUE(label->font().bold());
    EXPECT_TRUE(label->font().underline());
    label->setHelpActive(false);
    EXPECT_FALSE(label->font().bold());
    EXPECT_TRUE(label->font().underline());
}

TEST_F(CStaticHelpTest, ALeftAlignedLabelFitsItsTextAndOthersKeepTheirSize) {
    label->move(10, 30);
    label->resize(label->width(), 18);
    label->setText(QStringLiteral("A much longer caption"));
    EXPECT_EQ(label->width(), label->fontMetrics().horizontalAdvance(label->text()) + 3);
    EXPECT_EQ(label->height(), 18);
    EXPECT_EQ(label->pos(), QPoint(10, 30));

    const int boldWidth = [&] {
        label->setHelpActive(true);
        return label->width();
    }();
    EXPECT_EQ(boldWidth, label->fontMetrics().horizontalAdvance(label->text()) + 3) << "bold text is wider";

    for (Qt::Alignment alignment : {Qt::AlignRight, Qt::AlignHCenter}) {
        label->setAlignment(alignment);
        label->resize(200, 18);
        label->setText(QStringLiteral("Short"));
        label->setHelpActive(false);
        EXPECT_EQ(label->size(), QSize(200, 18));
    }
}

} // namespace
} // namespace tolvane
