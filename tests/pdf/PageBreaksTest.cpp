#include "pdf/PageBreaks.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvane {
namespace {

using Kind = LayoutPiece::Kind;

constexpr double Page = 100;

LayoutPiece heading(double top, double bottom) {
    return {Kind::Heading, top, bottom, {}, 0, 0};
}
LayoutPiece text(double top, double bottom) {
    return {Kind::Text, top, bottom, {}, 0, 0};
}
LayoutPiece empty(double top, double bottom) {
    return {Kind::Empty, top, bottom, {}, 0, 0};
}
// A table of rows of `row` units, the first `head` of them its head rows.
LayoutPiece table(double top, int rows, double row, int head = 0) {
    LayoutPiece t{Kind::Table, top, top + rows * row, {}, 0, 0};
    if (head > 0) {
        t.headTop = top;
        t.headBottom = top + head * row;
    }
    for (int r = head + 1; r < rows; ++r) {
        t.rowCuts.push_back(top + r * row);
    }
    return t;
}

std::vector<double> cuts(const std::vector<PageSlice>& pages) {
    std::vector<double> out;
    for (const PageSlice& p : pages) {
        out.push_back(p.bottom);
    }
    return out;
}

// Whatever the pieces: the pages begin at 0, end at the document's end, follow each other without a gap or an
// overlap, and each holds no more than a page (its repeated head included) of what it shows.
void expectWholeColumn(const std::vector<PageSlice>& pages, double documentHeight) {
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.front().top, 0);
    EXPECT_EQ(pages.back().bottom, documentHeight);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GT(pages[i].bottom, pages[i].top);
        if (i + 1 < pages.size()) {
            EXPECT_EQ(pages[i].bottom, pages[i + 1].top);
            EXPECT_LE(pages[i].bottom - pages[i].top + pages[i].headHeight(), Page);
        }
    }
}

TEST(PageBreaks, WhereThePagesEnd) {
    struct Case {
        const char* what;
        std::vector<LayoutPiece> pieces;
        double height;
        std::vector<double> expected; // the end of each page
    };
    const Case cases[] = {
        {"a document shorter than a page is one page", {heading(0, 10), text(10, 20)}, 25, {25}},
        {"a heading never ends a page: it goes with its table",
         {text(0, 70), heading(75, 85), table(86, 3, 10)},
         116,
         {75, 116}},
        {"a table of values and the table it leads into stay together",
         {text(0, 60), table(62, 2, 10), empty(82, 86), table(86, 3, 10)},
         116,
         {62, 116}},
        {"the empty line after a table, which reaches into its margin, is no place to begin a page",
         {table(0, 8, 10), empty(75, 90), heading(90, 95), table(95, 2, 10)},
         115,
         {90, 115}},
        {"a table longer than a page is cut between rows, not in a row",
         {text(0, 10), table(10, 30, 7)},
         220,
         {94, 192, 220}},
        {"a long table with little room left starts on the next page with its heading",
         {text(0, 85), heading(86, 90), table(90, 30, 5)},
         240,
         {86, 185, 240}},
        {"a piece taller than a page with nowhere to cut is cut where the page ends",
         {text(0, 250)},
         250,
         {100, 200, 250}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<PageSlice> pages = paginate(c.pieces, Page, c.height);
        EXPECT_EQ(cuts(pages), c.expected);
        expectWholeColumn(pages, c.height);
    }
}

// The head rows of a long table come again at the top of every page it continues on, and take their room there.
TEST(PageBreaks, ALongTableRepeatsItsHeadOnEveryFurtherPage) {
    const std::vector<LayoutPiece> pieces{heading(0, 10), table(10, 40, 6, 1), text(260, 270)};
    const std::vector<PageSlice> pages = paginate(pieces, Page, 270);
    expectWholeColumn(pages, 270);
    ASSERT_GE(pages.size(), 3u);
    EXPECT_EQ(pages[0].headHeight(), 0);
    for (std::size_t i = 1; i + 1 < pages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pages[i].headTop, 10);
        EXPECT_EQ(pages[i].headBottom, 16);
    }
    EXPECT_EQ(pages.back().headHeight(), 6) << "the last page still continues the table";
}

} // namespace
} // namespace tolvane
