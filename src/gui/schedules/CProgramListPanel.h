#pragma once

#include "gui/app/CTarvelinDoc.h"
#include "gui/app/IconStrip.h"

#include <QWidget>

#include <functional>

class QPushButton;
class QTableView;

namespace tolvane {

class CProgramPage;
class ProjectData;
class ScheduleProgram;

// The list half of a schedule page: Add, Delete and Copy above the list of programs, the list's keys (Insert,
// Delete, Ctrl+D, Ctrl+C, Ctrl+V, F2 and Enter, only while the list has the focus) and its column clicks. Each action
// on the list as a whole is one undo step of the page's document, inside which the list is put in the order of the
// chosen column. The funeral tolling page has neither the buttons nor the column clicks: its eight programs keep their
// fixed order.
class CProgramListPanel : public QWidget {
    Q_OBJECT
public:
    explicit CProgramListPanel(CProgramPage& page);

    QTableView* list() const { return list_; }
    // Enables the buttons for `selected` selected programs.
    void enableActions(int selected);
    void refreshTexts();

private:
    void addProgram();
    void deleteSelected();
    void copySelected();
    void copyToClipboard();
    void pasteFromClipboard();
    void changeNumber();
    void sortByColumn(int section);
    // One action on the list as a whole (Add, Delete, Copy, Paste, a new number, a column click): an undo step of its
    // own, inside which the list is put in the order of the chosen column; the list is then rebuilt with the entry
    // that `change` names focused.
    void listAction(const EditLabel& label, int record,
                    const std::function<int(ProjectData&, ScheduleProgram&)>& change, int field);
    // Rebuilds the list and focuses `row` (after an action that changed the order or the count).
    void rebuild(int row);

    CProgramPage& page_;
    IconStrip buttonIcons_;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* copy_ = nullptr;
    QTableView* list_ = nullptr;
};

} // namespace tolvane
