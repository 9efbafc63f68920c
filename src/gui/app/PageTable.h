#pragma once

#include "project/ProjectData.h"
#include "project/SectionSet.h"

#include <array>
#include <cstddef>
#include <span>

class QWidget;

namespace tolvane {

class CDataPage;
struct AppContext;

// The view's pages, in the order the view creates them.
enum class PageId : int {
    Programy,   // program overview
    Wymiana,    // card exchange
    Tyg,        // weekly programs
    Settings,   // controller settings
    Krosownica, // cross-connection of relays and inputs
    Swieta,     // holiday table
    PogSpec,    // special tolling
    Gongi,      // hour and quarter striking
    Korekty,    // time corrections
    Raport,     // validation report
    User,       // user settings
    Sekwencje,  // sequences
    Druk,       // printing
    Kuranty,    // chimes
    Swi,        // holiday-day programs
    Rok,        // annual programs
    Jed,        // one-time programs
    Pog,        // funeral tolling
    Plan,       // the day plan: what rings when
};
constexpr int PageCount = 19;

using PageSet = std::array<CDataPage*, PageCount>;

constexpr std::size_t pageIndex(PageId id) {
    return static_cast<std::size_t>(id);
}

// One item of the navigation tree: its place among all items (top to bottom), its text and icon, and whether it
// is a child of the last top-level item above it.
struct TreeItemSpec {
    int order = -1; // -1: no item
    int text = 0;
    int icon = 0;
    bool child = false;
};

// Everything the view knows of one page. Adding a page is adding its row to the table in PageTable.cpp: the view
// creates it, stacks it, titles it, gives it its tree items and its section of the user guide, and brings it to the front when an undo or redo
// changes one of the sections it edits.
struct PageSpec {
    static constexpr std::size_t MaxTreeItems = 5;
    static constexpr std::size_t MaxSections = 6;

    PageId id;
    int headerText;
    int headerIcon;
    bool stacked; // in the page stack (the view stacks pages in table order)
    std::array<TreeItemSpec, MaxTreeItems> treeItems;
    std::array<SectionId, MaxSections> sections; // the sections the page edits: the first sectionCount
    int sectionCount;
    // The sections whose values the page shows (those it edits among them): a change of one of them reaches the
    // page at once, wherever the change was made.
    SectionSet shows;
    CDataPage* (*create)(AppContext& context, QWidget* parent);
    // The section of the user guide that F1 opens on this page (a file of Help/<Language>/ without ".html").
    const char* helpTopic;

    bool edits(SectionId section) const {
        for (int i = 0; i < sectionCount; ++i) {
            if (sections[static_cast<std::size_t>(i)] == section) {
                return true;
            }
        }
        return false;
    }
};

// The pages in stack order (the menu-settings page last, outside the stack).
std::span<const PageSpec> pageTable();
const PageSpec& pageSpec(PageId id);

} // namespace tolvane
