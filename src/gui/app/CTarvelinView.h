#pragma once

#include "card/CardFiles.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/app/PageTable.h"

#include <QString>
#include <QWidget>

#include <vector>

class QStackedWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace tolvane {

class CDataPage;
class IconStrip;
struct AppContext;

// The project's workspace: the navigation tree on the left, a thin separator, and on the right the stack of pages
// (a property sheet without tabs), all as the page table says. Selecting a tree item brings its page to the front.
// The view creates each page when it is first needed, keeps the special-tolling item in step with the settings, blinks
// the report item while the project has problems, reads the card files when the editor was started from a card or a
// folder of them, and after an undo or redo brings the page and record it changed to the front.
class CTarvelinView : public QWidget {
    Q_OBJECT
public:
    // Icons of the tree items and of the page headers, by index in their strips.
    static constexpr int ReportIcon = 12;
    static constexpr int ReportProblemIcon = 18;
    static constexpr int SpecialTollingIcon = 10;
    static constexpr int SpecialTollingText = 879;
    static constexpr int BlinkMs = 500;
    // Item data: the page an item shows, and the number of its text.
    static constexpr int PageRole = Qt::UserRole;
    static constexpr int TextRole = Qt::UserRole + 1;

    CTarvelinView(AppContext& context, CTarvelinDoc& document, const IconStrip& treeIcons, const IconStrip& headerIcons,
                  QWidget* parent = nullptr);
    ~CTarvelinView() override;

    // Hands the pages the document, localises everything, reloads the pages and forgets the change marks; then,
    // for a start from a card or a folder of card files, reads the card files from `cardFolder` and sums the
    // reading up with text 505 or 680. Starts the report blink.
    void initialUpdate(bool fromCardFiles = false, const QString& cardFolder = QString());

    void buildTree();
    // Header texts and icons, the tree and every page's own captions in the current language.
    void refreshTexts();
    // Every page reads the project again; the status bar shows the card identity.
    void reloadPages();
    // Inserts or removes the special-tolling item as the settings say, without rebuilding the tree.
    void updateSpecialTollingItem();

    // Reads programs.dat and seq.dat when present, then config.dat and kur.bin, from `folder` into the project;
    // true when all succeeded. Each refusal is shown with its own text. The history starts anew.
    bool readCardFiles(const QString& folder);
    // The page in front stores what its focused field holds (before a save, a close, an undo, a card write).
    void commitPendingEdit();

    void showPage(PageId id);
    // The page, created when it is first asked for (a page nobody has shown costs nothing at start-up).
    CDataPage* page(PageId id) const;
    CDataPage* currentPage() const;
    QTreeWidget* tree() const { return tree_; }
    QTreeWidgetItem* reportItem() const { return reportItem_; }
    QTreeWidgetItem* specialTollingItem() const { return specialItem_; }
    // The icon index the report item shows now.
    int reportIconIndex() const { return reportIconIndex_; }
    // One tick of the 500 ms report blink.
    void blinkTick();

signals:
    // The pages were reloaded: the main window shows the card identity.
    void identityChanged();

private:
    QTreeWidgetItem* addItem(QTreeWidgetItem* parent, PageId page, int text, int icon);
    // The pages created so far.
    std::vector<CDataPage*> createdPages() const;
    void showRestored(const ProjectChange& change);
    QTreeWidgetItem* makeItem(PageId page, int text, int icon) const;
    void selectItemOfPage(PageId id);
    void onItemChosen(QTreeWidgetItem* item);
    void recheckProblems();
    QString text(int id) const;

    AppContext& context_;
    CTarvelinDoc& document_;
    const IconStrip& treeIcons_;
    const IconStrip& headerIcons_;
    QTreeWidget* tree_;
    QStackedWidget* stack_;
    QTimer* blinkTimer_;
    mutable PageSet pages_{};
    bool attached_ = false; // initialUpdate has run: new pages get the document at once
    QTreeWidgetItem* programsItem_ = nullptr;
    QTreeWidgetItem* funeralItem_ = nullptr;
    QTreeWidgetItem* specialItem_ = nullptr;
    QTreeWidgetItem* reportItem_ = nullptr;
    bool rebuilding_ = false;
    bool hasProblems_ = false;
    int blinkCount_ = 0;
    int reportIconIndex_ = ReportIcon;
};

} // namespace tolvane
