#include "gui/app/CTarvelinView.h"

#include "TextNumbers.h"
#include "gui/app/AppContext.h"
#include "gui/app/CDataPage.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/app/CardExchange.h"
#include "gui/app/IconStrip.h"
#include "report/Report.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace tolvane {

namespace {

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

    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item, QTreeWidgetItem*) { onItemChosen(item); });
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) { onItemChosen(item); });
    connect(&document_, &CTarvelinDoc::projectChanged, this, [this] {
        updateSpecialTollingItem();
        recheckProblems();
    });
    connect(&document_, &CTarvelinDoc::projectRestored, this, &CTarvelinView::showRestored);
    connect(&document_, &CTarvelinDoc::marksChanged, this, [this] {
        for (CDataPage* each : createdPages()) {
            each->refreshMarks();
        }
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

CDataPage* CTarvelinView::page(PageId id) const {
    CDataPage*& slot = pages_[pageIndex(id)];
    if (slot) {
        return slot;
    }
    const PageSpec& spec = pageSpec(id);
    auto* self = const_cast<CTarvelinView*>(this);
    slot = spec.create(context_, stack_);
    slot->setHelpTopic(QString::fromLatin1(spec.helpTopic));
    slot->setShownSections(spec.shows);
    if (spec.stacked) {
        // The stack keeps the table's order whatever order the pages are created in.
        int before = 0;
        for (const PageSpec& other : pageTable()) {
            if (other.id == id) {
                break;
            }
            before += other.stacked && pages_[pageIndex(other.id)] ? 1 : 0;
        }
        stack_->insertWidget(before, slot);
    } else {
        slot->hide();
    }
    if (attached_) {
        slot->setDocument(&document_, self);
        if (spec.headerText != 0) {
            slot->setHeader(text(spec.headerText), headerIcons_.icon(spec.headerIcon));
        }
        slot->refreshTexts();
        slot->reload();
    }
    return slot;
}

std::vector<CDataPage*> CTarvelinView::createdPages() const {
    std::vector<CDataPage*> created;
    for (CDataPage* each : pages_) {
        if (each) {
            created.push_back(each);
        }
    }
    return created;
}

QString CTarvelinView::text(int id) const {
    return QString::fromStdString(context_.texts.text(id));
}

void CTarvelinView::initialUpdate(bool fromCardFiles, const QString& cardFolder) {
    attached_ = true;
    for (CDataPage* each : createdPages()) {
        each->setDocument(&document_, this);
    }
    showPage(PageId::Wymiana);
    refreshTexts();
    reloadPages();
    document_.changeAndRestart([fromCardFiles](ProjectData& project) {
        project.clearModifiedAll();
        project.projectOpened = fromCardFiles ? 0 : 1;
    });
    if (fromCardFiles) {
        const bool allRead = readCardFiles(cardFolder);
        showPage(PageId::Programy);
        context_.prompts.showMessage(this, text(allRead ? text::AllCardFilesRead : text::SomeCardFilesNotRead));
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
    // Every item of every page, in tree order.
    struct Placed {
        const PageSpec* spec;
        const TreeItemSpec* item;
    };
    std::vector<Placed> items;
    for (const PageSpec& spec : pageTable()) {
        for (const TreeItemSpec& item : spec.treeItems) {
            if (item.order >= 0) {
                items.push_back({&spec, &item});
            }
        }
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Placed& a, const Placed& b) { return a.item->order < b.item->order; });
    QTreeWidgetItem* top = nullptr;
    QTreeWidgetItem* settingsItem = nullptr;
    for (const Placed& placed : items) {
        const PageId id = placed.spec->id;
        if (id == PageId::PogSpec && !specialOn) {
            continue;
        }
        const TreeItemSpec& row = *placed.item;
        QTreeWidgetItem* item = addItem(row.child ? top : nullptr, id, row.text, row.icon);
        if (!row.child) {
            top = item;
        }
        switch (id) {
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
    for (const PageSpec& spec : pageTable()) {
        if (spec.headerText != 0 && pages_[pageIndex(spec.id)]) {
            pages_[pageIndex(spec.id)]->setHeader(text(spec.headerText), headerIcons_.icon(spec.headerIcon));
        }
    }
    buildTree();
    for (CDataPage* each : createdPages()) {
        each->refreshTexts();
    }
}

void CTarvelinView::reloadPages() {
    for (CDataPage* each : createdPages()) {
        each->reloadKeepingRecord();
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
    // Without a card nothing is read (an empty folder would name the working folder).
    const std::vector<CardExchange::FileRead> reads = CardExchange(context_, document_).readAll(folder);
    for (const CardExchange::FileRead& read : reads) {
        if (read.result.text != 0) {
            context_.prompts.showMessage(this, text(read.result.text));
        }
    }
    return CardExchange::allRead(folder, reads);
}

void CTarvelinView::commitPendingEdit() {
    if (CDataPage* shown = currentPage()) {
        shown->commitPendingEdit();
    }
}

// After an undo or redo (the pages that show what the step changed have read the project again already, see
// CTarvelinDoc::contentChanged) the page that edits it comes to the front with the record selected, so the user sees what was undone: a page that claims the step's
// key, otherwise the first page that edits the step's section.
void CTarvelinView::showRestored(const ProjectChange& change) {
    const EditKey& key = change.key;
    emit identityChanged();
    updateSpecialTollingItem();
    recheckProblems();
    const auto shows = [this, &key](const PageSpec& spec) {
        const CDataPage* created = pages_[pageIndex(spec.id)];
        return created && created->showsEdit(key);
    };
    // A step on one record selects that record; a step on a whole list (an Add, a sort) keeps the one selected.
    const auto bringBack = [this, &key](PageId id) {
        showPage(id);
        if (key.record >= 0) {
            page(id)->reload(key.record);
        } else {
            page(id)->reloadKeepingRecord();
        }
    };
    for (const PageSpec& spec : pageTable()) {
        if (spec.stacked && shows(spec)) {
            bringBack(spec.id);
            return;
        }
    }
    for (const PageSpec& spec : pageTable()) {
        if (spec.stacked && spec.edits(key.section)) {
            bringBack(spec.id);
            return;
        }
    }
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
    // A page reads the project whenever it is brought to the front, also when its item is clicked again, and
    // selects the record the user was on.
    stack_->setCurrentWidget(target);
    target->reloadKeepingRecord();
    // A page with several tree items (the settings page) brings the part the item names into view.
    target->showTreeEntry(item->data(0, TextRole).toInt());
}

void CTarvelinView::recheckProblems() {
    // Errors and warnings make the report item blink; notes (a missing location name, factory access codes) are
    // reminders and leave it quiet, so a new project does not blink. The report page counts by the same rule.
    hasProblems_ = Report::hasProblems(document_.project().validate());
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
