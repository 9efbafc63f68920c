#include "gui/app/PageTable.h"

#include "gui/app/CDataPage.h"
#include "gui/card/CPropWymiana.h"
#include "gui/report/CPropRaport.h"
#include "gui/ringing/CKurantyPage.h"
#include "gui/ringing/CPropKorekty.h"
#include "gui/schedules/CProgramPage.h"
#include "gui/schedules/CPropPlan.h"
#include "gui/schedules/CPropPogNadzw.h"
#include "gui/schedules/CPropProgramy.h"
#include "gui/schedules/CPropSwieta.h"
#include "gui/sequences/CPropGongi.h"
#include "gui/sequences/CPropSekwencje.h"
#include "gui/settings/CPropDruk.h"
#include "gui/settings/CPropSettings.h"
#include "gui/settings/CPropUser.h"
#include "gui/wiring/CPropKrosownica.h"

#include <stdexcept>

namespace tolvane {

namespace {

template <typename Page> CDataPage* make(AppContext& context, QWidget* parent) {
    return new Page(context, parent);
}

// The schedule pages are one class, set up by the row of their kind in the program page table.
template <int Kind> CDataPage* program(AppContext& context, QWidget* parent) {
    return new CProgramPage(context, programPageSpec(Kind), parent);
}

// The sections a page edits, and how many they are.
struct Edits {
    std::array<SectionId, PageSpec::MaxSections> ids{};
    int count = 0;
};

template <typename... Ids> constexpr Edits sections(Ids... ids) {
    return {{ids...}, static_cast<int>(sizeof...(ids))};
}

using Tree = std::array<TreeItemSpec, PageSpec::MaxTreeItems>;

// Stack order is table order. Tree items carry their place in the tree: the tree reads top to bottom as
// Card exchange, Programs (its six programs, Holidays and the day plan), Settings (Users, Time corrections, Striking,
// four entries of the settings page, Sequences, Cross-connection), Chimes, Report (Printing).
// `shows`: the sections the page shows values of besides those it edits. Pages that sum up or cross-refer to the
// whole project (programs naming sequences, chimes and holidays; the report; the day plan) show everything.
constexpr PageSpec row(PageId id, int headerText, int headerIcon, bool stacked,
                       std::array<TreeItemSpec, PageSpec::MaxTreeItems> tree, Edits edits,
                       CDataPage* (*create)(AppContext&, QWidget*), const char* helpTopic,
                       SectionSet shows = SectionSet::all()) {
    for (int i = 0; i < edits.count; ++i) {
        shows.add(edits.ids[static_cast<std::size_t>(i)]);
    }
    return {id, headerText, headerIcon, stacked, tree, edits.ids, edits.count, shows, create, helpTopic};
}

const PageSpec Pages[] = {
    row(PageId::Programy, 173, 5, true, Tree{{{1, 158, 6, false}}}, sections(), make<CPropProgramy>, "programs",
        SectionSet::of(SectionId::Weekly, SectionId::HolidayDay, SectionId::Annual, SectionId::OneTime,
                       SectionId::Funeral, SectionId::SpecialTolling)),
    row(PageId::Wymiana, 174, 2, true, Tree{{{0, 157, 11, false}}},
        sections(SectionId::Identity, SectionId::StartFlags), make<CPropWymiana>, "card-exchange"),
    row(PageId::Tyg, 175, 2, true, Tree{{{2, 159, 7, true}}}, sections(SectionId::Weekly), program<Weekly>, "weekly"),
    row(PageId::Settings, 176, 2, true,
        Tree{{{9, 165, 1, false}, {13, 168, 0, true}, {14, 170, 2, true}, {15, 171, 13, true}, {16, 602, 17, true}}},
        sections(SectionId::General, SectionId::Bells, SectionId::Clocks, SectionId::Hammers, SectionId::Amplifier),
        make<CPropSettings>, "settings", SectionSet::of(SectionId::Outputs)),
    row(PageId::Swieta, 177, 2, true, Tree{{{8, 169, 5, true}}}, sections(SectionId::Holidays), make<CPropSwieta>,
        "holidays"),
    row(PageId::Gongi, 178, 2, true, Tree{{{12, 167, 2, true}}}, sections(SectionId::Striking), make<CPropGongi>,
        "striking", SectionSet::of(SectionId::General, SectionId::Outputs, SectionId::Sequences)),
    row(PageId::Korekty, 179, 2, true, Tree{{{11, 166, 2, true}}}, sections(SectionId::TimeCorrection),
        make<CPropKorekty>, "time-corrections", SectionSet::of(SectionId::General, SectionId::Outputs)),
    row(PageId::Raport, 164, 2, true, Tree{{{20, 164, 12, false}}}, sections(), make<CPropRaport>, "report"),
    row(PageId::Swi, 180, 2, true, Tree{{{4, 161, 9, true}}}, sections(SectionId::HolidayDay), program<HolidayDay>,
        "holiday-programs"),
    row(PageId::Rok, 181, 2, true, Tree{{{3, 160, 8, true}}}, sections(SectionId::Annual), program<Annual>, "annual"),
    row(PageId::Jed, 182, 2, true, Tree{{{5, 162, 10, true}}}, sections(SectionId::OneTime), program<OneTime>,
        "one-time"),
    row(PageId::Pog, 183, 2, true, Tree{{{6, 163, 10, true}}}, sections(SectionId::Funeral), program<Funeral>,
        "funeral"),
    row(PageId::PogSpec, 878, 2, true, Tree{{{7, 879, 10, true}}}, sections(SectionId::SpecialTolling),
        make<CPropPogSpec>, "special-tolling"),
    row(PageId::User, 598, 2, true, Tree{{{10, 598, 15, true}}}, sections(), make<CPropUser>, "user",
        SectionSet::of(SectionId::General)),
    row(PageId::Sekwencje, 599, 2, true, Tree{{{17, 599, 16, true}}}, sections(SectionId::Sequences),
        make<CPropSekwencje>, "sequences"),
    row(PageId::Krosownica, 600, 2, true, Tree{{{18, 600, 13, true}}}, sections(SectionId::Outputs),
        make<CPropKrosownica>, "cross-connection",
        SectionSet::of(SectionId::General, SectionId::Bells, SectionId::Clocks, SectionId::Hammers)),
    row(PageId::Druk, 696, 2, true, Tree{{{21, 696, 19, true}}}, sections(), make<CPropDruk>, "printing",
        SectionSet::of(SectionId::General)),
    row(PageId::Kuranty, 825, 2, true, Tree{{{19, 825, 16, false}}}, sections(SectionId::Chimes), make<CKurantyPage>,
        "chimes", SectionSet()),
    // The day plan comes last among the programs: items with the same place keep the table's order.
    row(PageId::Plan, 2450, 2, true, Tree{{{8, 2450, 7, true}}}, sections(), make<CPropPlan>, "day-plan"),
};

static_assert(std::size(Pages) == PageCount, "every page has its row");

} // namespace

std::span<const PageSpec> pageTable() {
    return Pages;
}

const PageSpec& pageSpec(PageId id) {
    for (const PageSpec& spec : Pages) {
        if (spec.id == id) {
            return spec;
        }
    }
    throw std::out_of_range("page without a row");
}

} // namespace tolvane
