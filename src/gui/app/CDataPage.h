#pragma once

#include "gui/app/AppContext.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/common/Services.h"
#include "gui/widgets/HelpReceiver.h"

#include <QIcon>
#include <QList>
#include <QWidget>

class QScrollArea;

#include <functional>
#include <initializer_list>

class QAbstractItemView;

namespace tolvane {

class CControlTipCtrl;
class CPageHeader;
class CTarvelinView;
class ProjectData;

// The base of every page of the editor: it knows the document it edits, draws the blue header band with the page's
// title, shows help tips for its help labels, marks changed values, and carries the pattern of pages that edit a
// list of records (reload the list, react to the selection, show one record). The top HeaderHeight pixels belong to
// the band: a page's own layout sits below it (the page keeps the top contents margin).
class CDataPage : public QWidget, public HelpReceiver {
    Q_OBJECT
public:
    static constexpr int HeaderHeight = 20;

    explicit CDataPage(AppContext& context, QWidget* parent = nullptr);
    ~CDataPage() override;

    // Called once by the view. Until then document(), view() and project() are null and a page does not touch
    // the project.
    void setDocument(CTarvelinDoc* document, CTarvelinView* view);
    CTarvelinDoc* document() const { return document_; }
    // The sections whose values the page shows (the page table's; every section unless told otherwise): only a
    // change of one of them reaches followChange.
    void setShownSections(SectionSet sections) { shows_ = sections; }
    SectionSet shownSections() const { return shows_; }
    CTarvelinView* view() const { return view_; }
    // The document's current project (it changes when a file is opened), null without a document. Pages read it;
    // every change goes through edit().
    const ProjectData* project() const;

    // Refills the page's controls from the project and selects record `item`.
    virtual void reload(int item = 0);
    // Refills the page's controls from the project when no record is asked for (the page is brought back from the
    // tree or the overview, or the project changed under it): a page that remembers the record the user was on
    // selects it again. The base shows the first record.
    virtual void reloadKeepingRecord() { reload(); }
    // The project changed in sections this page shows (an edit on another page, an undo or a redo, a card file
    // read): the page shows the project as it is now, also while it is hidden, so that no page is ever stale. The
    // base reads the project again keeping the record, unless the change came from this page's own edit (which
    // already shows what it stored).
    virtual void followChange(const ProjectChange& change);
    // The tree item showing text `textId` brought the page to the front: a page with several items shows the part
    // that item names. The base does nothing.
    virtual void showTreeEntry(int textId) { (void)textId; }
    // A report row asked for the control that holds the setting with validation code `code` (a page of settings
    // without records): the page brings that control into view and gives it the focus. The base does nothing.
    virtual void focusSetting(int code) { (void)code; }
    // Sets every caption of the page again from the current language.
    virtual void refreshTexts();
    // `single`: show the detail controls for record `item`; otherwise hide them.
    virtual void showItem(bool single, int item);
    // Re-evaluates the list selection.
    virtual void onSelectionChanged();
    // Repaints the change highlighting after marks were cleared (a save, a card write); the values are as shown.
    virtual void refreshMarks();
    // An undo or redo restored the edit `key` names: whether this page shows it, ahead of the pages that edit the
    // key's whole section (a page that edits a few fields of a section another page edits too). The base claims
    // nothing.
    virtual bool showsEdit(const EditKey& key) const {
        (void)key;
        return false;
    }
    // Stores what the focused field of the page holds, as leaving it would (before a save, a close, an undo, a card
    // write). The base finishes a focused line or numeric field: it normalises a numeric field and announces
    // editingFinished, which is where pages that store on leaving a field store.
    virtual void commitPendingEdit();

    // The title is also the page's window title; the icon is kept for the view.
    void setHeader(const QString& title, const QIcon& icon = {});
    QString headerTitle() const;
    QIcon headerIcon() const { return headerIcon_; }
    CPageHeader* header() const { return header_; }

    AppContext& context() const { return context_; }
    // The page's section of the user guide (the page table's), which F1 opens; the view sets it.
    void setHelpTopic(const QString& topic) { helpTopic_ = topic; }
    QString helpTopic() const { return helpTopic_; }
    // Opens the help window at the page's section.
    void showHelp();
    QString text(int id) const;
    QString tipText(int id) const;

    // Help labels of the page report here (HelpReceiver).
    void helpRequested(QWidget* label) override;
    void helpReleased(QWidget* label) override;
    CControlTipCtrl& controlTips() const { return *controlTips_; }

    // Change highlighting (see changehighlight): a changed field gets the light-green background, a changed
    // option dark-green text; a clear flag gives the control its own colours back. Each answers whether it
    // coloured the control.
    static bool markChangedField(QWidget* control, bool changed);
    static bool markChangedOption(QWidget* control, bool changed);

protected:
    // One complete user action on the project through the document (one undo step); false without a document or
    // when nothing changed.
    bool edit(const EditLabel& label, const EditKey& key, const std::function<void(ProjectData&)>& change);
    // The next keystroke starts a new undo step (the user chose another record or left the field).
    void endEditBurst();

    // Captions; each does nothing for a missing control.
    void setItemText(QWidget* control, int textId) const;
    static void setItemTwoDigits(QWidget* control, int number); // "%.2d"

    // Controls; each does nothing for a missing control.
    static void showControl(QWidget* control);
    static void hideControl(QWidget* control);
    static void showControlIf(QWidget* control, bool shown);
    static void enableControl(QWidget* control, bool enabled);

    // Pages of settings taller than the window: `content` (its controls already laid out) fills the page below the
    // header inside `scroll`, which scrolls to whatever takes the focus and takes no Tab stop of its own, so Tab
    // goes from the tree straight to the first control.
    void placeInScrollArea(QScrollArea* scroll, QWidget* content);
    // Tab moves through `order` in the order given.
    static void chainTabOrder(std::initializer_list<QWidget*> order);

    // Help: the tip text shown when the help label `control` asks for help (from the tips catalog by number).
    void setHelpTip(QWidget* control, int tipId);
    void setHelpText(QWidget* control, const QString& text);
    bool helpAvailable() const { return context_.texts.tipsAvailable(); }

    // The list-page pattern. beginListUpdate stops redrawing and empties the list (a CListModel is reset, an item
    // widget cleared); endListUpdate redraws it, selects `row` (none when out of range), scrolls it into view and
    // gives the list the focus unless the focus is outside the list's page (the navigation tree keeps it) or
    // `takeFocus` is false (the list was put in order while the user works in the page's editor).
    static void beginListUpdate(QAbstractItemView* list);
    static void endListUpdate(QAbstractItemView* list, int row, bool takeFocus = true);
    // Calls onSelectionChanged whenever the selection of `list` changes (call after the list has its model); Home
    // and End of a table go to its first and last row.
    void watchSelection(QAbstractItemView* list);
    // The selected rows in ascending order.
    static QList<int> selectedRows(const QAbstractItemView* list);
    // Exactly one row selected: it becomes the current item and showItem(true, row) is called; none or several:
    // no current item (-1) and showItem(false, 0). Returns the number of selected rows.
    int showSelectedItem(const QAbstractItemView* list);
    // The record shown in the detail controls, -1 when none.
    int currentItem() const { return currentItem_; }
    void setCurrentItem(int item) { currentItem_ = item; }

    // Messages with this page as owner, caption text 107.
    void showMessage(const QString& text);
    void showWarning(const QString& text);
    PromptService::Answer askYesNo(const QString& text);

    void resizeEvent(QResizeEvent* event) override;
    // F1 (the page's section of the guide) and Shift+F1 (What's This) reach the page from any of its controls.
    void keyPressEvent(QKeyEvent* event) override;

private:
    AppContext& context_;
    CTarvelinDoc* document_ = nullptr;
    CTarvelinView* view_ = nullptr;
    CPageHeader* header_;
    CControlTipCtrl* controlTips_;
    QIcon headerIcon_;
    int currentItem_ = -1;
    SectionSet shows_ = SectionSet::all();
    QString helpTopic_ = QStringLiteral("index");
};

} // namespace tolvane
