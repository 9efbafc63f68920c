#pragma once

#include <array>

class QWidget;

namespace tolvane {

class CDataPage;
struct AppContext;

// The view's pages. The order is the order in which the view creates them; each page is reached through the
// navigation tree (the menu-settings page, which has no tree item, is created but never shown).
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
    SetMenu,    // menu settings (no tree item)
    User,       // user settings
    Sekwencje,  // sequences
    Druk,       // printing
    Kuranty,    // chimes
    Swi,        // holiday-day programs
    Rok,        // annual programs
    Jed,        // one-time programs
    Pog,        // funeral tolling
};
constexpr int PageCount = 19;

using PageSet = std::array<CDataPage*, PageCount>;

constexpr std::size_t pageIndex(PageId id) {
    return static_cast<std::size_t>(id);
}

// Creates every page once, as children of `parent`. A page that is built for real replaces its one line here.
PageSet createPages(AppContext& context, QWidget* parent);

} // namespace tolvane
