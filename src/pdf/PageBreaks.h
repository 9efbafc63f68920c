#pragma once

#include <vector>

namespace tolvane {

// One top-level piece of a document laid out in one long column (a heading, a line of text, an empty line, a
// table), with where it begins and ends, in the document's units (y grows downwards).
struct LayoutPiece {
    enum class Kind { Text, Heading, Empty, Table };

    Kind kind = Kind::Text;
    double top = 0;
    double bottom = 0;
    // Tables: where a page may end between two rows, top to bottom (none inside or right after the head rows).
    std::vector<double> rowCuts;
    // Tables: the head rows (column heads), repeated at the top of every page the table continues on.
    double headTop = 0;
    double headBottom = 0;
};

// One page: the part of the column from `top` to `bottom`, below the repeated head rows of a table that continues
// from the page before (`headTop` to `headBottom`; none when they are equal).
struct PageSlice {
    double top = 0;
    double bottom = 0;
    double headTop = 0;
    double headBottom = 0;

    double headHeight() const { return headBottom - headTop; }
    friend bool operator==(const PageSlice&, const PageSlice&) = default;
};

// Cuts the column into pages of `pageHeight`, as a reader wants them: a heading never ends a page, a group of
// settings that fits on a page (a heading with what follows it, a table of values with the table after it) is not
// cut, a longer table is cut between rows and repeats its head rows, and no table begins with only a few lines at
// the bottom of a page. Only a piece taller than a page with nowhere to cut it is cut where the page ends. The
// pages follow each other without a gap or an overlap, from 0 to `documentHeight`.
std::vector<PageSlice> paginate(const std::vector<LayoutPiece>& pieces, double pageHeight, double documentHeight);

} // namespace tolvane
