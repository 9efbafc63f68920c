#include "gui/app/PageFactory.h"

#include "gui/app/CDataPage.h"
#include "gui/card/CPropWymiana.h"

namespace tolvane {

PageSet createPages(AppContext& context, QWidget* parent) {
    PageSet pages{};
    // Schedule pages get their program index when they are built for real: Tyg 0, Swi 1, Rok 2, Jed 3, Pog 4.
    pages[pageIndex(PageId::Programy)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Wymiana)] = new CPropWymiana(context, parent);
    pages[pageIndex(PageId::Tyg)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Settings)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Krosownica)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Swieta)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::PogSpec)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Gongi)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Korekty)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Raport)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::SetMenu)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::User)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Sekwencje)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Druk)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Kuranty)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Swi)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Rok)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Jed)] = new CDataPage(context, parent);
    pages[pageIndex(PageId::Pog)] = new CDataPage(context, parent);
    return pages;
}

} // namespace tolvane
