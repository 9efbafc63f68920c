#include "pdf/PageBreaks.h"

#include <algorithm>
#include <cstddef>

namespace tolvane {

namespace {

using Kind = LayoutPiece::Kind;

// A group larger than this share of a page is not kept together: it is cut where its pieces meet.
constexpr double GroupShare = 0.9;
// A table that would begin with less than this share of a page left starts on the next page.
constexpr double ShortStartShare = 0.2;
// Repeated head rows taller than this share of a page are not repeated (a page must hold more than its head).
constexpr double HeadShare = 1.0 / 3.0;
constexpr double Epsilon = 0.5;

bool isLead(const LayoutPiece& p) {
    return p.kind == Kind::Heading || p.kind == Kind::Empty;
}

} // namespace

std::vector<PageSlice> paginate(const std::vector<LayoutPiece>& pieces, double pageHeight, double documentHeight) {
    std::vector<PageSlice> pages;
    const std::size_t n = pieces.size();
    if (pageHeight <= 0) {
        return pages;
    }
    // Piece i goes with the next one: a heading or an empty line, or a table followed (after empty lines only) by
    // another table.
    std::vector<bool> glued(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        if (isLead(pieces[i])) {
            glued[i] = true;
        } else if (pieces[i].kind == Kind::Table) {
            std::size_t j = i + 1;
            while (j < n && pieces[j].kind == Kind::Empty) {
                ++j;
            }
            glued[i] = j < n && pieces[j].kind == Kind::Table;
        }
    }
    // The first piece of the group `k` belongs to; empty lines are never where a group starts.
    const auto groupStart = [&glued, &pieces](std::size_t k) {
        std::size_t start = k;
        while (start > 0 && glued[start - 1]) {
            --start;
        }
        while (start < k && pieces[start].kind == Kind::Empty) {
            ++start;
        }
        return start;
    };
    const auto groupEnd = [&glued, n](std::size_t k) {
        while (k + 1 < n && glued[k]) {
            ++k;
        }
        return k;
    };
    // The piece itself, or the first of the headings right before it (empty lines between them included).
    const auto ownStart = [&pieces](std::size_t k) {
        std::size_t start = k;
        for (std::size_t j = k; j > 0 && isLead(pieces[j - 1]); --j) {
            if (pieces[j - 1].kind == Kind::Heading) {
                start = j - 1;
            }
        }
        return start;
    };

    // Where a page may begin with piece `i`: at its top, but never above the end of the piece before it (an empty
    // line after a table may reach into the table's bottom margin).
    const auto startOf = [&pieces](std::size_t i) {
        double start = pieces[i].top;
        for (std::size_t j = i; j > 0; --j) {
            if (pieces[j - 1].kind != Kind::Empty) {
                start = std::max(start, pieces[j - 1].bottom);
                break;
            }
        }
        return start;
    };

    double top = 0;
    double headTop = 0;
    double headBottom = 0;
    while (true) {
        const double limit = top + pageHeight - (headBottom - headTop);
        const auto beyond =
            std::find_if(pieces.begin(), pieces.end(), [limit](const LayoutPiece& p) { return p.bottom > limit; });
        if (limit >= documentHeight || beyond == pieces.end()) {
            pages.push_back({top, std::max(top, documentHeight), headTop, headBottom});
            break;
        }
        const auto k = static_cast<std::size_t>(beyond - pieces.begin());
        const LayoutPiece& piece = pieces[k];
        const double groupTop = startOf(groupStart(k));
        const double ownTop = startOf(ownStart(k));
        double cut = limit;
        double nextHeadTop = 0;
        double nextHeadBottom = 0;
        if (pieces[groupEnd(k)].bottom - groupTop <= pageHeight * GroupShare && groupTop > top + Epsilon) {
            cut = groupTop;
        } else {
            // The last row end of the table that still fits, below the page's top.
            double rowCut = -1;
            if (piece.kind == Kind::Table) {
                for (double c : piece.rowCuts) {
                    if (c > top + Epsilon && c <= limit) {
                        rowCut = c;
                    }
                }
            }
            if (rowCut > 0 && (rowCut - piece.top >= pageHeight * ShortStartShare || ownTop <= top + Epsilon)) {
                cut = rowCut;
                if (piece.headBottom - piece.headTop < pageHeight * HeadShare && rowCut > piece.headBottom) {
                    nextHeadTop = piece.headTop;
                    nextHeadBottom = piece.headBottom;
                }
            } else if (ownTop > top + Epsilon) {
                cut = ownTop;
            }
        }
        pages.push_back({top, cut, headTop, headBottom});
        top = cut;
        headTop = nextHeadTop;
        headBottom = nextHeadBottom;
    }
    return pages;
}

} // namespace tolvane
