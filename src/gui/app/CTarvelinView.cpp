#include "gui/app/CTarvelinView.h"

#include "card/CardFileSystem.h"
#include "gui/app/AppContext.h"
#include "gui/app/CDataPage.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/app/IconStrip.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>

namespace tolvane {

namespace {

// One row of the navigation tree; a child belongs to the last top-level row before it.
struct TreeRow {
    PageId page;
    int text;
    int icon;
    bool child;
};

constexpr TreeRow TreeRows[] = {
    {PageId::Wymiana, 157, 11, false},   {PageId::Programy, 158, 6, false}, {PageId::Tyg, 159, 7, true},
    {PageId::Rok, 160, 8, true},         {PageId::Swi, 161, 9, true},       {PageId::Jed, 162, 10, true},
    {PageId::Pog, 163, 10, true},        {PageId::PogSpec, 879, 10, true},  {PageId::Swieta, 169, 5, true},
    {PageId::Settings, 165, 1, false},   {PageId::User, 598, 15, true},     {PageId::Korekty, 166, 2, true},
    {PageId::Gongi, 167, 2, true},       {PageId::Settings, 168, 0, true},  {PageId::Settings, 170, 2, true},
    {PageId::Settings, 171, 13, true},   {PageId::Settings, 602, 17, true}, {PageId::Sekwencje, 599, 16, true},
    {PageId::Krosownica, 600, 13, true}, {PageId::Kuranty, 825, 16, false}, {PageId::Raport, 164, 12, false},
    {PageId::Druk, 696, 19, true},
};

// The header of each page: its text and its icon in the header strip.
struct HeaderRow {
    PageId page;
    int text;
    int icon;
};

constexpr HeaderRow HeaderRows[] = {
    {PageId::Programy, 173, 5}, {PageId::Wymiana, 174, 2}, {PageId::Tyg, 175, 2},       {PageId::Settings, 176, 2},
    {PageId::Swieta, 177, 2},   {PageId::Gongi, 178, 2},   {PageId::Korekty, 179, 2},   {PageId::Raport, 164, 2},
    {PageId::Swi, 180, 2},      {PageId::Rok, 181, 2},     {PageId::Jed, 182, 2},       {PageId::Pog, 183, 2},
    {PageId::PogSpec, 878, 2},  {PageId::User, 598, 2},    {PageId::Sekwencje, 599, 2}, {PageId::Krosownica, 600, 2},
    {PageId::Druk, 696, 2},     {PageId::Kuranty, 825, 2},
};

// The order of the pages in the stack; the menu-settings page is created but not added.
constexpr PageId StackOrder[] = {
    PageId::Programy, PageId::Wymiana, PageId::Tyg,       PageId::Settings,   PageId::Swieta, PageId::Gongi,
    PageId::Korekty,  PageId::Raport,  PageId::Swi,       PageId::Rok,        PageId::Jed,    PageId::Pog,
    PageId::PogSpec,  PageId::User,    PageId::Sekwencje, PageId::Krosownica, PageId::Druk,   PageId::Kuranty,
};

constexpr int TreeWidth = 230;

} // namespace

CTarvelinView::CTarvelinView(AppContext& context, CTarvelinDoc& document, const IconStrip& treeIcons,
                             const IconStrip& headerIcons, QWidget* parent)
    : QWidget(parent), context_(context), document_(document), treeIcons_(treeIcons), headerIcons_(headerIcons),
      tree_(new QTreeWidget(this)), stack_(new QStackedWidget(this)), blinkTimer_(new QTimer(this)) {
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setFixedWidth(TreeWidth);
    tree_->setIconSize(QSize(IconStrip::Size, IconStrip::Size));
    tree_->setObjectName(QStringLiteral("navigationTree"));
    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    stack_->setObjectName(QStringLiteral("pageStack"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(tree_);
    layout->addWidget(separator);
    layout->addWidget(stack_, 1);

    pages_ = createPages(context_, stack_);
    for (PageId id : StackOrder) {
        stack_->addWidget(page(id));
    }
    page(PageId::SetMenu)->hide();

    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item, QTreeWidgetItem*) { onItemChosen(item); });
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) { onItemChosen(item); });
    connect(&document_, &CTarvelinDoc::projectChanged, this, [this] {
        updateSpecialTollingItem();
        recheckProblems();
    });
    connect(&document_, &CTarvelinDoc::projectReplaced, this, [this] {
        reloadPages();
        updateSpecialTollingItem();
        recheckProblems();
    });
    blinkTimer_->setInterval(BlinkMs);
    connect(blinkTimer_, &QTimer::timeout, this, &CTarvelinView::blinkTick);
}

CTarvelinView::~CTarvelinView() = default;

QString CTarvelinView::text(int id) const {
    return QString::fromStdString(context_.texts.text(id));
}

void CTarvelinView::initialUpdate(bool fromCardFiles, const QString& cardFolder) {
    for (CDataPage* each : pages_) {
        each->setDocument(&document_, this);
    }
    showPage(PageId::Wymiana);
    refreshTexts();
    reloadPages();
    document_.project().clearModifiedAll();
    if (fromCardFiles) {
        document_.project().projectOpened = 0;
        const bool allRead = readCardFiles(cardFolder);
        showPage(PageId::Programy);
        context_.prompts.showMessage(this, text(allRead ? 505 : 680));
    } else {
        document_.project().projectOpened = 1;
    }
    recheckProblems();
    blinkTimer_->start();
}

QTreeWidgetItem* CTarvelinView::makeItem(PageId pageId, int textId, int icon) const {
    auto* item = new QTreeWidgetItem(QStringList(text(textId)));
    item->setIcon(0, treeIcons_.icon(icon));
    item->setData(0, PageRole, static_cast<int>(pageId));
    item->setData(0, TextRole, textId);
    return item;
}

QTreeWidgetItem* CTarvelinView::addItem(QTreeWidgetItem* parent, PageId pageId, int textId, int icon) {
    QTreeWidgetItem* item = makeItem(pageId, textId, icon);
    if (parent) {
        parent->addChild(item);
    } else {
        tree_->addTopLevelItem(item);
    }
    return item;
}

void CTarvelinView::buildTree() {
    const PageId shown =
        currentPage()
            ? static_cast<PageId>(std::distance(pages_.begin(), std::find(pages_.begin(), pages_.end(), currentPage())))
            : PageId::Wymiana;
    rebuilding_ = true;
    tree_->setUpdatesEnabled(false);
    tree_->clear();
    programsItem_ = funeralItem_ = specialItem_ = reportItem_ = nullptr;
    const bool specialOn = document_.project().general().specialTollingOn();
    QTreeWidgetItem* top = nullptr;
    QTreeWidgetItem* settingsItem = nullptr;
    for (const TreeRow& row : TreeRows) {
        if (row.page == PageId::PogSpec && !specialOn) {
            continue;
        }
        QTreeWidgetItem* item = addItem(row.child ? top : nullptr, row.page, row.text, row.icon);
        if (!row.child) {
            top = item;
        }
        switch (row.page) {
        case PageId::Programy:
            programsItem_ = item;
            break;
        case PageId::Pog:
            funeralItem_ = item;
            break;
        case PageId::PogSpec:
            specialItem_ = item;
            break;
        case PageId::Raport:
            reportItem_ = item;
            break;
        case PageId::Settings:
            settingsItem = row.child ? settingsItem : item;
            break;
        default:
            break;
        }
    }
    for (QTreeWidgetItem* expanded : {programsItem_, settingsItem, reportItem_}) {
        if (expanded) {
            expanded->setExpanded(true);
        }
    }
    if (reportItem_) {
        reportItem_->setIcon(0, treeIcons_.icon(reportIconIndex_));
    }
    tree_->setUpdatesEnabled(true);
    rebuilding_ = false;
    selectItemOfPage(shown);
}

void CTarvelinView::refreshTexts() {
    for (const HeaderRow& row : HeaderRows) {
        page(row.page)->setHeader(text(row.text), headerIcons_.icon(row.icon));
    }
    buildTree();
    for (CDataPage* each : pages_) {
        each->refreshTexts();
    }
}

void CTarvelinView::reloadPages() {
    for (CDataPage* each : pages_) {
        each->reload();
    }
    emit identityChanged();
}

void CTarvelinView::updateSpecialTollingItem() {
    if (!programsItem_) {
        return;
    }
    const bool on = document_.project().general().specialTollingOn();
    if (!on && specialItem_) {
        const bool wasCurrent = tree_->currentItem() == specialItem_;
        delete specialItem_;
        specialItem_ = nullptr;
        if (wasCurrent) {
            tree_->setCurrentItem(programsItem_);
        }
    } else if (on && !specialItem_) {
        specialItem_ = makeItem(PageId::PogSpec, SpecialTollingText, SpecialTollingIcon);
        const int funeralAt = funeralItem_ ? programsItem_->indexOfChild(funeralItem_) : -1;
        programsItem_->insertChild(funeralAt >= 0 ? funeralAt + 1 : programsItem_->childCount(), specialItem_);
    }
}

bool CTarvelinView::readCardFiles(const QString& folder) {
    if (folder.isEmpty()) {
        // No card was chosen: nothing to read, and nothing is read from the working folder by accident.
        return false;
    }
    StdCardFileSystem files;
    ProjectData& project = document_.project();
    bool allRead = true;
    const auto readOne = [&](card::FileKind kind, bool onlyWhenPresent) {
        const std::string path = card::joinPath(folder.toStdString(), card::fileName(kind));
        if (onlyWhenPresent && !files.exists(path)) {
            return;
        }
        const card::ReadResult result = card::readCardFile(project, kind, path, files);
        if (result.text != 0) {
            context_.prompts.showMessage(this, text(result.text));
        }
        allRead = allRead && result.ok;
    };
    readOne(card::FileKind::Programs, true);
    readOne(card::FileKind::Sequences, true);
    readOne(card::FileKind::Config, false);
    readOne(card::FileKind::Chimes, false);
    document_.notifyReplaced();
    return allRead;
}

card::WriteResult CTarvelinView::writeCardFile(card::FileKind kind, const QString& folder) {
    StdCardFileSystem files;
    const card::WriteResult result =
        card::writeCardFile(document_.project(), kind, folder.toStdString(), context_.tempFolder.toStdString(), files);
    document_.notifyChanged();
    return result;
}

CDataPage* CTarvelinView::currentPage() const {
    return qobject_cast<CDataPage*>(stack_->currentWidget());
}

void CTarvelinView::showPage(PageId id) {
    CDataPage* target = page(id);
    if (stack_->indexOf(target) < 0) {
        return;
    }
    stack_->setCurrentWidget(target);
    selectItemOfPage(id);
}

void CTarvelinView::selectItemOfPage(PageId id) {
    QTreeWidgetItem* current = tree_->currentItem();
    if (current && current->data(0, PageRole).toInt() == static_cast<int>(id)) {
        return;
    }
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        if ((*it)->data(0, PageRole).toInt() == static_cast<int>(id)) {
            tree_->setCurrentItem(*it);
            return;
        }
    }
}

void CTarvelinView::onItemChosen(QTreeWidgetItem* item) {
    if (!item || rebuilding_) {
        return;
    }
    CDataPage* target = page(static_cast<PageId>(item->data(0, PageRole).toInt()));
    // A page reads the project whenever it is brought to the front, also when its item is clicked again.
    stack_->setCurrentWidget(target);
    target->reload();
}

void CTarvelinView::recheckProblems() {
    ProjectData& project = document_.project();
    project.validate();
    hasProblems_ = project.issueCount() > 0;
}

void CTarvelinView::blinkTick() {
    if (!reportItem_) {
        return;
    }
    ++blinkCount_;
    const int icon = hasProblems_ && blinkCount_ % 2 == 0 ? ReportProblemIcon : ReportIcon;
    if (icon != reportIconIndex_) {
        reportIconIndex_ = icon;
        reportItem_->setIcon(0, treeIcons_.icon(icon));
    }
}

} // namespace tolvane
