#pragma once

#include "gui/app/CDataPage.h"
#include "gui/app/IconStrip.h"
#include "gui/schedules/CProgramModel.h"
#include "gui/schedules/ProgramPageTable.h"
#include "schedules/ScheduleProgram.h"

#include <functional>

class QLabel;
class QProgressBar;
class QTableView;

namespace tolvane {

class CBellRingingPanel;
class CFuneralProgramPart;
class CHolidayProgramPart;
class CProgramEditor;
class CProgramListPanel;

// The common page of the schedules (weekly, holiday-day, annual, one-time and funeral tolling), set up by its row of
// the program page table: Add, Delete and Copy, the list of programs in the section's order (CProgramListPanel), the
// editor of the one selected program (CProgramEditor) and the count of used entries. A holiday-day program chooses
// its holiday from the holiday table (the "..." button shows that table); the eight funeral tolling programs are
// always there, in their fixed order, without Add, Delete and Copy, and their editor has the funeral relay, the
// number of days, the start mode and three start times. Every field is stored as it is typed, one undo step per
// burst of typing in one field; Add, Copy, Delete, a number change and a column click are one step each and put the
// list in the order of the chosen column inside that step. An edit of a value the list is ordered by (a time, a
// date, a priority) puts the list in order again as the field is left, inside the edit's own step, and the program
// stays selected. Showing a page or selecting a program never changes the project: values the editor cannot show as
// stored are shown corrected and written with the user's next edit of that program. The page remembers the program
// the user was on: brought back from the tree, the overview or after an undo, it selects it again.
//
// Keyboard: Insert adds, Delete deletes the selected programs, Ctrl+D copies them, Ctrl+C puts them on the
// clipboard as text, Ctrl+V adds programs from the clipboard, F2 (or a double click) changes the program's number
// (all only while the list has the focus); Enter goes from the list into the editor, Escape back.
class CProgramPage : public CDataPage {
    Q_OBJECT
public:
    static constexpr int PageLimit = 128;
    // The edit-key field of the actions on the list as a whole (not a field of an entry).
    static constexpr int ListActionField = 100;

    CProgramPage(AppContext& context, ProgramPageSpec spec, QWidget* parent = nullptr);

    void reload(int item = 0) override;
    // Selects again the program the user was on (it follows its program through every reordering of the list).
    void reloadKeepingRecord() override;
    void refreshTexts() override;
    void showItem(bool single, int item) override;
    void onSelectionChanged() override;
    void refreshMarks() override;

    int kind() const { return spec_.kind; }
    const ProgramPageSpec& spec() const { return spec_; }
    QTableView* list() const;
    CProgramModel* model() const { return model_; }
    int sortKey() const { return sortKey_; }

protected:
    // The section of this page in the project.
    const ScheduleProgram* programs() const;

private:
    // The panels and parts of the page work on its program and its document through the page.
    friend class CBellRingingPanel;
    friend class CFuneralProgramPart;
    friend class CHolidayProgramPart;
    friend class CProgramEditor;
    friend class CProgramListPanel;

    // One edit of the shown program: the values the editor shows are written first, then `change`, as one step
    // (merged with the steps of the same field while the user types on).
    void editShown(int field, const std::function<void(ScheduleProgram&, int)>& change);
    // The shown program's last edit is complete (its field was left, its box ticked): the list is put in the order
    // of the page's column again, inside that edit's undo step, and the program stays selected where it lands.
    void settleOrder();
    // Leaving a field: the order is settled and the next keystroke starts a new undo step.
    void finishField();
    // Shows the list in its new order with `row` selected, leaving the focus where the user is working.
    void showOrder(int row);
    // The list's column click chose the order of `key` (it is kept with the document).
    void setSortKey(int key);
    // Enter on the list: the editor takes the focus while it shows a program.
    void enterEditor();
    // The holiday a new holiday-day program gets (the one last chosen).
    int rememberedHoliday() const;

    ProgramEntry shown(int row) const;
    QIcon actionIcon(int index) const;
    QString formatted(int id, long long n) const;
    SectionId sectionId() const { return static_cast<SectionId>(spec_.kind); }

    ProgramPageSpec spec_;
    IconStrip actionIcons_;
    int sortKey_ = 0;
    bool reloading_ = false;
    // The program the user was on (the list's current row), kept while the page lives.
    int focused_ = 0;
    // The shown program was edited since its order was last settled: the step to settle it in.
    bool orderPending_ = false;
    EditLabel pendingLabel_;
    EditKey pendingKey_;
    CProgramModel* model_ = nullptr;
    CProgramListPanel* listPanel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* count_ = nullptr;
    CProgramEditor* editor_ = nullptr;
};

} // namespace tolvane
