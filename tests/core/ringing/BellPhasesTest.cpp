// The phase chart of the bell editor: where its bars lie and what dragging the end of each does to the others.

#include "ringing/BellPhases.h"
#include "ringing/BellTable.h"

#include <gtest/gtest.h>

#include <array>

namespace tolvane {
namespace {

using Bar = BellPhases::Bar;

std::array<int, 5> lengths(const BellPhases& p) {
    return {p.length(Bar::RunUp), p.length(Bar::Settle), p.length(Bar::Ringing), p.length(Bar::Damp),
            p.length(Bar::Swing)};
}

TEST(BellPhases, BarsOfAResetBellOnOneTimeAxis) {
    BellTable bells;
    const BellPhases p = BellPhases::of(bells.record(0));
    EXPECT_EQ(lengths(p), (std::array<int, 5>{1, 1, 180, 1, 5}));
    EXPECT_EQ(p.start(Bar::RunUp), 0);
    EXPECT_EQ(p.start(Bar::Settle), 1);
    EXPECT_EQ(p.start(Bar::Ringing), 0);
    EXPECT_EQ(p.start(Bar::Damp), 180);
    EXPECT_EQ(p.start(Bar::Swing), 180);
    EXPECT_EQ(p.limits(Bar::Ringing).lowest, 12);
    EXPECT_EQ(p.limits(Bar::Ringing).highest, 1799);
    EXPECT_EQ(p.limits(Bar::Swing).lowest, 1);
    EXPECT_EQ(p.limits(Bar::Swing).highest, 599);
    EXPECT_EQ(p.limits(Bar::Damp).highest, 60);
}

TEST(BellPhases, DraggingABarEndMovesTheBarsBehindIt) {
    struct Case {
        const char* what;
        std::array<int, 5> before; // run-up, stabilisation, ringing, damping, swinging out
        Bar bar;
        int end;
        std::array<int, 5> after;
    };
    const Case cases[] = {
        {"run-up 5 s longer lengthens ringing by 5 s", {1, 1, 180, 1, 5}, Bar::RunUp, 6, {6, 1, 185, 1, 5}},
        {"run-up shorter shortens ringing", {10, 1, 180, 1, 5}, Bar::RunUp, 4, {4, 1, 174, 1, 5}},
        {"run-up stops at 60 s", {1, 1, 180, 1, 5}, Bar::RunUp, 90, {60, 1, 239, 1, 5}},
        {"run-up never below 1 s", {5, 1, 180, 1, 5}, Bar::RunUp, -3, {1, 1, 176, 1, 5}},
        {"ringing cannot grow past 1799 s", {1, 1, 1795, 1, 5}, Bar::RunUp, 20, {5, 1, 1799, 1, 5}},
        {"stabilisation end counts from the run-up end", {10, 1, 180, 1, 5}, Bar::Settle, 13, {10, 3, 182, 1, 5}},
        {"ringing end alone", {1, 1, 180, 1, 5}, Bar::Ringing, 200, {1, 1, 200, 1, 5}},
        {"ringing at least run-up + stabilisation + 10", {5, 5, 180, 1, 5}, Bar::Ringing, 3, {5, 5, 20, 1, 5}},
        {"ringing at most 1799 s", {1, 1, 180, 1, 5}, Bar::Ringing, 5000, {1, 1, 1799, 1, 5}},
        {"damping lengthens swinging out as much", {1, 1, 180, 1, 5}, Bar::Damp, 184, {1, 1, 180, 4, 8}},
        {"damping shortens swinging out as much", {1, 1, 180, 10, 20}, Bar::Damp, 185, {1, 1, 180, 5, 15}},
        {"damping pulls back at 599 s of swinging out", {1, 1, 180, 1, 590}, Bar::Damp, 200, {1, 1, 180, 10, 599}},
        {"swinging out alone, not below damping", {1, 1, 180, 8, 20}, Bar::Swing, 182, {1, 1, 180, 8, 8}},
        {"swinging out at most 599 s", {1, 1, 180, 1, 5}, Bar::Swing, 1000, {1, 1, 180, 1, 599}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BellPhases p(c.before[0], c.before[1], c.before[2], c.before[3], c.before[4]);
        p.dragEnd(c.bar, c.end);
        EXPECT_EQ(lengths(p), c.after);
        // Damping and swinging out always start where the ringing ends.
        EXPECT_EQ(p.start(Bar::Damp), p.length(Bar::Ringing));
        EXPECT_EQ(p.start(Bar::Swing), p.length(Bar::Ringing));
    }
}

} // namespace
} // namespace tolvane
