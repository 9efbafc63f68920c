#include "gui/widgets/CTrackEdytorCtrl.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace tolvane {
namespace {

using End = CTrackEdytorCtrl::End;

// A graph as a bell program shows it, at a size where one second is two pixels: 410 px wide, a ringing time of
// 180 s and a second region of 20 s, so x = 5 + 2 * seconds; five rows of 40 px. The page's limits: the delay
// from 0 to ringing time - 5, the second value from 0 to 3599.
//   track 1: delay 30 (end at x 65), second 10 (end at x 385)
//   track 2: not rung
//   track 3: delay 175 (x 355), second 2 (x 369): both ends within reach at x 362
//   tracks 4 and 5: delay 0, second 0
class GraphTest : public ::testing::Test {
protected:
    static constexpr int RingingTime = 180;

    void SetUp() override {
        graph.resize(410, 200);
        graph.setRegions(RingingTime, 20);
        const std::pair<std::uint16_t, std::uint16_t> values[] = {
            {30, 10}, {CTrackEdytorCtrl::NotRung, 10}, {175, 2}, {0, 0}, {0, 0}};
        for (const auto& [first, second] : values) {
            graph.addTrack(first, second);
        }
        for (int track = 0; track < graph.trackCount(); ++track) {
            graph.setLimits(track, 0, RingingTime - 5, 0, 3599);
        }
        graph.setTexts(QStringLiteral("Bell %1"), QStringLiteral("Delay"), QStringLiteral("Duration"));
        graph.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&graph));
        // Qt drops a mouse move to where the mouse already is, and an earlier test may have left it at a spot
        // that a test moves to first: start every test from a corner that reaches no bar end.
        QTest::mouseMove(&graph, {200, 199});
    }

    QColor pixel(int x, int y) { return QColor(graph.grab().toImage().pixel(x, y)); }

    CTrackEdytorCtrl graph;
    QSignalSpy firstSpy{&graph, &CTrackEdytorCtrl::firstValueChanged};
    QSignalSpy secondSpy{&graph, &CTrackEdytorCtrl::secondValueChanged};
};

TEST_F(GraphTest, HoverReachesAnEndWithinNinePixelsAndNotAtTen) {
    const struct {
        QPoint pos;
        int first;
        int second;
    } cases[] = {
        {{74, 20}, 1, 0},                     // 9 px right of the first end
        {{56, 20}, 1, 0},                     // 9 px left of it
        {{75, 20}, 0, 0},                     // 10 px
        {{55, 20}, 0, 0},                     // 10 px
        {{394, 20}, 0, 1},                    // 9 px right of the second end
        {{395, 20}, 0, 0},                    // 10 px
        {{362, 100}, 3, 0},                   // both ends 7 px away: the first end wins
        {{5, 60}, 0, 0},                      // a bell that is not rung offers neither end
        {{385, 60}, 0, 0},  {{5, 140}, 4, 0}, // delay 0 on the left edge
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.pos.x() << "," << c.pos.y());
        QTest::mouseMove(&graph, c.pos);
        EXPECT_EQ(graph.hoveredFirst(), c.first);
        EXPECT_EQ(graph.hoveredSecond(), c.second);
        EXPECT_EQ(graph.cursor().shape(), c.first + c.second != 0 ? Qt::SizeHorCursor : Qt::ArrowCursor);
    }
    // Leaving the graph lets go of the hovered end.
    QTest::mouseMove(&graph, {65, 20});
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&graph, &leave);
    EXPECT_EQ(graph.hoveredFirst(), 0);
    EXPECT_EQ(graph.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GraphTest, DraggingADelayBeyondTheRingingTimeStopsFiveSecondsBeforeIt) {
    QTest::mouseMove(&graph, {65, 20});
    QTest::mousePress(&graph, Qt::LeftButton, {}, {65, 20});
    QTest::mouseMove(&graph, {105, 20});
    EXPECT_EQ(graph.firstValue(0), 50);
    QTest::mouseMove(&graph, {395, 20}); // 195 s, beyond the ringing time
    EXPECT_EQ(graph.firstValue(0), RingingTime - 5);
    QTest::mouseMove(&graph, {408, 20}); // beyond width - 5: not a value
    EXPECT_EQ(graph.firstValue(0), RingingTime - 5);
    QTest::mouseMove(&graph, {2, 20}); // left of the graph: not a value either
    EXPECT_EQ(graph.firstValue(0), RingingTime - 5);
    EXPECT_EQ(graph.secondValue(0), 10);
    ASSERT_EQ(firstSpy.count(), 2);
    EXPECT_EQ(firstSpy.at(1).at(0).toInt(), 1);

    QTest::mouseRelease(&graph, Qt::LeftButton, {}, {2, 20});
    ASSERT_EQ(firstSpy.count(), 3) << "the release tells the page once more";
    EXPECT_EQ(firstSpy.at(2).at(0).toInt(), 1);
    EXPECT_EQ(secondSpy.count(), 0);
    EXPECT_EQ(graph.hoveredFirst(), 0);
    EXPECT_EQ(graph.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GraphTest, DraggingASecondValueCountsFromTheRegionBorder) {
    QTest::mouseMove(&graph, {385, 20});
    QTest::mousePress(&graph, Qt::LeftButton, {}, {385, 20});
    QTest::mouseMove(&graph, {379, 20});
    EXPECT_EQ(graph.secondValue(0), 7);
    QTest::mouseMove(&graph, {305, 20}); // left of the border: the lower limit
    EXPECT_EQ(graph.secondValue(0), 0);
    EXPECT_EQ(graph.firstValue(0), 30);
    QTest::mouseRelease(&graph, Qt::LeftButton, {}, {305, 20});
    ASSERT_EQ(secondSpy.count(), 3);
    for (const QList<QVariant>& call : secondSpy) {
        EXPECT_EQ(call.at(0).toInt(), 1);
    }
    EXPECT_EQ(firstSpy.count(), 0);
}

TEST_F(GraphTest, ReleaseWithoutAHoveredEndTellsTrackZero) {
    QTest::mouseMove(&graph, {200, 20});
    QTest::mousePress(&graph, Qt::LeftButton, {}, {200, 20});
    QTest::mouseMove(&graph, {250, 20});
    QTest::mouseRelease(&graph, Qt::LeftButton, {}, {250, 20});
    ASSERT_EQ(firstSpy.count(), 1);
    EXPECT_EQ(firstSpy.at(0).at(0).toInt(), 0);
    EXPECT_EQ(secondSpy.count(), 0);
    EXPECT_EQ(graph.firstValue(0), 30);
}

TEST_F(GraphTest, KeyboardChoosesATrackAndAnEndAndMovesIt) {
    using Keys = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const struct {
        const char* name;
        Keys keys;
        const char* description;
        std::uint16_t first1; // track 1
        std::uint16_t second1;
        std::uint16_t first3; // track 3
        int firstSignals;
        int secondSignals;
    } cases[] = {
        {"nothing pressed", {}, "Bell 1, Delay: 00:30", 30, 10, 175, 0, 0},
        {"right", {{Qt::Key_Right, none}}, "Bell 1, Delay: 00:31", 31, 10, 175, 1, 0},
        {"shift right", {{Qt::Key_Right, shift}}, "Bell 1, Delay: 00:40", 40, 10, 175, 1, 0},
        {"left to the lower limit",
         {{Qt::Key_Left, shift}, {Qt::Key_Left, shift}, {Qt::Key_Left, shift}, {Qt::Key_Left, shift}},
         "Bell 1, Delay: 00:00",
         0,
         10,
         175,
         3,
         0},
        {"page down takes the second value",
         {{Qt::Key_PageDown, none}, {Qt::Key_Right, none}},
         "Bell 1, Duration: 00:11",
         30,
         11,
         175,
         0,
         1},
        {"page up goes back",
         {{Qt::Key_PageDown, none}, {Qt::Key_PageUp, none}},
         "Bell 1, Delay: 00:30",
         30,
         10,
         175,
         0,
         0},
        {"a bell not rung has no value",
         {{Qt::Key_Down, none}, {Qt::Key_Right, none}},
         "Bell 2, Delay: --:--",
         30,
         10,
         175,
         0,
         0},
        {"the upper limit holds",
         {{Qt::Key_Down, none}, {Qt::Key_Down, none}, {Qt::Key_Right, shift}},
         "Bell 3, Delay: 02:55",
         30,
         10,
         175,
         0,
         0},
        {"down and left",
         {{Qt::Key_Down, none}, {Qt::Key_Down, none}, {Qt::Key_Left, shift}},
         "Bell 3, Delay: 02:45",
         30,
         10,
         165,
         1,
         0},
        {"up stops at the first track",
         {{Qt::Key_Up, none}, {Qt::Key_Right, none}},
         "Bell 1, Delay: 00:31",
         31,
         10,
         175,
         1,
         0},
        {"down stops at the last track",
         {{Qt::Key_Down, none},
          {Qt::Key_Down, none},
          {Qt::Key_Down, none},
          {Qt::Key_Down, none},
          {Qt::Key_Down, none},
          {Qt::Key_Down, none}},
         "Bell 5, Delay: 00:00",
         30,
         10,
         175,
         0,
         0},
        {"end takes the upper limit",
         {{Qt::Key_PageDown, none}, {Qt::Key_End, none}},
         "Bell 1, Duration: 59:59",
         30,
         3599,
         175,
         0,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTrackEdytorCtrl g;
        g.setRegions(RingingTime, 3599);
        g.addTrack(30, 10);
        g.addTrack(CTrackEdytorCtrl::NotRung, 0);
        g.addTrack(175, 2);
        g.addTrack(0, 0);
        g.addTrack(0, 0);
        for (int track = 0; track < g.trackCount(); ++track) {
            g.setLimits(track, 0, RingingTime - 5, 0, 3599);
        }
        g.setTexts(QStringLiteral("Bell %1"), QStringLiteral("Delay"), QStringLiteral("Duration"));
        QSignalSpy first(&g, &CTrackEdytorCtrl::firstValueChanged);
        QSignalSpy second(&g, &CTrackEdytorCtrl::secondValueChanged);
        for (const auto& [key, modifiers] : c.keys) {
            QTest::keyClick(&g, key, modifiers);
        }
        EXPECT_EQ(g.accessibleDescription(), QString::fromUtf8(c.description));
        EXPECT_EQ(g.firstValue(0), c.first1);
        EXPECT_EQ(g.secondValue(0), c.second1);
        EXPECT_EQ(g.firstValue(2), c.first3);
        EXPECT_EQ(first.count(), c.firstSignals);
        EXPECT_EQ(second.count(), c.secondSignals);
        // Each change names the chosen track.
        for (const QList<QVariant>& call : first) {
            EXPECT_EQ(call.at(0).toInt(), g.chosenTrack() + 1);
        }
        for (const QList<QVariant>& call : second) {
            EXPECT_EQ(call.at(0).toInt(), g.chosenTrack() + 1);
        }
    }
}

// A shown graph of the given size with tracks (first, second) at limits 0 to first region - 5 and 0 to 3599, the
// mouse moved off every bar end first (Qt drops a move to where the mouse already is).
void showGraph(CTrackEdytorCtrl& g, QSize size, int firstRegion, int secondRegion,
               const std::vector<std::pair<std::uint16_t, std::uint16_t>>& tracks) {
    g.resize(size);
    g.setRegions(firstRegion, secondRegion);
    for (const auto& [first, second] : tracks) {
        g.addTrack(first, second);
        g.setLimits(g.trackCount() - 1, 0, firstRegion - 5, 0, 3599);
    }
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    QTest::mouseMove(&g, {size.width() / 2, 0});
}

TEST(CTrackEdytorCtrlTest, ARingingTimeBelowFiveSecondsHoldsTheDelayAtZero) {
    // The delay's upper limit is then below its lower limit: the lower one wins, so the delay can neither pass
    // the ringing time nor wrap around to a huge unsigned number.
    CTrackEdytorCtrl g;
    showGraph(g, {410, 40}, 3, 20, {{2, 0}});
    QSignalSpy first(&g, &CTrackEdytorCtrl::firstValueChanged);
    QTest::keyClick(&g, Qt::Key_Right);
    EXPECT_EQ(g.firstValue(0), 0);
    QTest::keyClick(&g, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&g, Qt::Key_End);
    EXPECT_EQ(g.firstValue(0), 0);
    EXPECT_EQ(first.count(), 1);

    QTest::mouseMove(&g, {5, 20});
    ASSERT_EQ(g.hoveredFirst(), 1);
    QTest::mousePress(&g, Qt::LeftButton, {}, {5, 20});
    QTest::mouseMove(&g, {300, 20});
    QTest::mouseRelease(&g, Qt::LeftButton, {}, {300, 20});
    EXPECT_EQ(g.firstValue(0), 0);
}

TEST(CTrackEdytorCtrlTest, WithoutAnyLengthToShowNothingIsDrawnOrHovered) {
    // Both regions 0 would scale by a division by zero.
    CTrackEdytorCtrl g;
    showGraph(g, {410, 40}, 0, 0, {{0, 0}});
    g.clearFocus();
    const QImage image = g.grab().toImage();
    const QRgb face = g.palette().color(QPalette::Button).rgb();
    for (int x = 0; x < image.width(); ++x) {
        ASSERT_EQ(image.pixel(x, 20), face) << x;
    }
    QTest::mouseMove(&g, {5, 20});
    EXPECT_EQ(g.hoveredFirst(), 0);
    EXPECT_EQ(g.hoveredSecond(), 0);
}

TEST(CTrackEdytorCtrlTest, TheStripBelowTheLastRowBelongsToNoTrack) {
    // 203 pixels for five rows of 40: the last three pixels would name a sixth row.
    CTrackEdytorCtrl g;
    showGraph(g, {410, 203}, 100, 100, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}});
    QTest::mouseMove(&g, {5, 198});
    EXPECT_EQ(g.hoveredFirst(), 5);
    QTest::mouseMove(&g, {5, 201});
    EXPECT_EQ(g.hoveredFirst(), 0);
    EXPECT_EQ(g.hoveredSecond(), 0);
}

TEST(CTrackEdytorCtrlTest, TabLeavesTheGraph) {
    QWidget window;
    auto* before = new QWidget(&window);
    auto* graphInWindow = new CTrackEdytorCtrl(&window);
    auto* after = new QWidget(&window);
    before->setFocusPolicy(Qt::StrongFocus);
    after->setFocusPolicy(Qt::StrongFocus);
    graphInWindow->addTrack(30, 10);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    graphInWindow->setFocus();
    ASSERT_TRUE(graphInWindow->hasFocus());
    QTest::keyClick(graphInWindow, Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
}

TEST_F(GraphTest, PaintsRegionsBarsAndLinesInTheirColours) {
    graph.clearFocus(); // with the focus, the chosen end is drawn red
    const QColor face = graph.palette().color(QPalette::Button);
    const QColor grey(0x80, 0x80, 0x80);
    const QColor blue(0, 0, 255);
    const QColor green(0, 0x80, 0);
    const struct {
        QPoint at;
        QColor colour;
        const char* what;
    } cases[] = {
        {{30, 20}, green, "the delay of bell 1"},
        {{100, 20}, blue, "the rest of the ringing time"},
        {{370, 20}, green, "the second value of bell 1"},
        {{395, 20}, face, "beyond the second value"},
        {{100, 60}, face, "a bell not rung"},
        {{200, 39}, grey, "the grid line under row 1"},
        {{5, 2}, grey, "the left edge"},
        {{405, 2}, grey, "the right edge"},
        {{365, 2}, blue, "the border of the regions"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(pixel(c.at.x(), c.at.y()), c.colour);
    }
    // A hovered end is drawn red.
    QTest::mouseMove(&graph, {65, 20});
    EXPECT_EQ(pixel(30, 20), QColor(255, 0, 0));
    EXPECT_EQ(pixel(370, 20), green);
}

TEST_F(GraphTest, WithTheFocusTheChosenEndIsRed) {
    const QColor red(255, 0, 0);
    const QColor green(0, 0x80, 0);
    graph.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&graph));
    graph.setFocus();
    ASSERT_TRUE(graph.hasFocus());
    EXPECT_EQ(pixel(30, 20), red);
    EXPECT_EQ(pixel(370, 20), green);
    QTest::keyClick(&graph, Qt::Key_PageDown);
    EXPECT_EQ(pixel(30, 20), green);
    EXPECT_EQ(pixel(370, 20), red);
    QTest::keyClick(&graph, Qt::Key_Down, Qt::NoModifier);
    QTest::keyClick(&graph, Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(pixel(370, 20), green) << "bell 3 is chosen now";
    EXPECT_EQ(pixel(366, 100), red);
    graph.clearFocus();
    EXPECT_EQ(pixel(366, 100), green) << "only while focused";
}

TEST_F(GraphTest, NothingIsDrawnWithoutTracks) {
    graph.clear();
    EXPECT_EQ(graph.trackCount(), 0);
    const QImage image = graph.grab().toImage();
    const QRgb face = graph.palette().color(QPalette::Button).rgb();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(image.pixel(x, y), face) << x << "," << y;
        }
    }
    // Nor is there anything to hover, drag or step.
    QTest::mouseMove(&graph, {5, 20});
    EXPECT_EQ(graph.hoveredFirst(), 0);
    QTest::keyClick(&graph, Qt::Key_Right);
    EXPECT_EQ(firstSpy.count(), 0);
}

} // namespace
} // namespace tolvane
