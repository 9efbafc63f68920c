#include "gui/widgets/CLinkStatic.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace tolvane {
namespace {

QColor textColor(const CLinkStatic& link) {
    return link.palette().color(QPalette::WindowText);
}

// Pixels of the grab whose colour is mostly `channel` (anti-aliased text rarely hits the exact colour).
int pixelsMostly(CLinkStatic& link, int (QColor::*channel)() const) {
    const QImage image = link.grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            const int strongest = (c.*channel)();
            const int others = c.red() + c.green() + c.blue() - strongest;
            count += strongest > 150 && others < strongest ? 1 : 0;
        }
    }
    return count;
}

TEST(CLinkStaticTest, ShowsValuesInTheirFormats) {
    CLinkStatic link;
    const struct {
        std::function<void(CLinkStatic&)> set;
        const char* shown;
    } cases[] = {
        {[](CLinkStatic& l) { l.setValue(7); }, "7"},
        {[](CLinkStatic& l) { l.setValue(-3); }, "-3"},
        {[](CLinkStatic& l) { l.setBracketedValue(12); }, "[12]"},
        {[](CLinkStatic& l) { l.setBracketedValue3(7); }, "[007]"},
        {[](CLinkStatic& l) { l.setBracketedValue3(1234); }, "[1234]"},
        {[](CLinkStatic& l) { l.setBracketedUnsigned(255u); }, "[255]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        c.set(link);
        EXPECT_EQ(link.text(), QString::fromLatin1(c.shown));
    }
}

TEST(CLinkStaticTest, TipIsTheTextCutToEightyCharacters) {
    CLinkStatic link;
    link.setText(QString(100, QLatin1Char('x')));
    EXPECT_EQ(link.tipText(), QString(80, QLatin1Char('x')));
    link.setText(QStringLiteral("[5]"));
    EXPECT_EQ(link.tipText(), QStringLiteral("[5]"));
}

TEST(CLinkStaticTest, LooksLikeALinkAndTurnsRedWhileHovered) {
    QWidget parent;
    auto* link = new CLinkStatic(&parent);
    link->setValue(3);
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(textColor(*link), QColor(0, 0, 255));
    link->resize(60, 20);
    parent.show();
    EXPECT_GT(pixelsMostly(*link, &QColor::blue), 10) << "the value is drawn in blue";
    EXPECT_EQ(pixelsMostly(*link, &QColor::red), 0);

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(link, &enter);
    EXPECT_TRUE(link->isHovered());
    EXPECT_EQ(textColor(*link), QColor(255, 0, 0));
    EXPECT_GT(pixelsMostly(*link, &QColor::red), 10) << "and in red while the mouse is over it";

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    EXPECT_FALSE(link->isHovered());
    EXPECT_EQ(textColor(*link), QColor(0, 0, 255));
}

TEST(CLinkStaticTest, ALeftClickOnTheLabelIsAClick) {
    QWidget parent;
    auto* link = new CLinkStatic(&parent);
    link->setValue(42);
    link->resize(60, 20);
    parent.show();
    QSignalSpy clicks(link, &CLinkStatic::clicked);

    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);

    QTest::mouseClick(link, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 1) << "a right click opens nothing";

    // Pressed on the label but released elsewhere: the user changed their mind.
    QTest::mousePress(link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(200, 5));
    EXPECT_EQ(clicks.count(), 1);
}

} // namespace
} // namespace tolvane
