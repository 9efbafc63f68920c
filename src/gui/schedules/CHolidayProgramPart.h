#pragma once

#include "schedules/ScheduleProgram.h"

#include <functional>
#include <vector>

class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace tolvane {

class CProgramEditor;
class CProgramPage;
struct ProgramChangeMarker;

// The holiday-day program's part of the editor: the holiday it rings on, chosen from the used holidays of the
// holiday table, and the "..." button that shows that table at the program's holiday. It takes the place of the date
// row, and remembers the holiday last chosen for the next new program.
class CHolidayProgramPart {
public:
    CHolidayProgramPart(CProgramPage& page, CProgramEditor& editor, QGridLayout* grid);

    void show(const ProgramEntry& e);
    void showMarks(const ProgramChangeMarker& mark, const std::function<bool(EntryField)>& marked);
    void refreshTexts();
    // The part's controls in Tab order.
    std::vector<QWidget*> tabOrder() const;
    int rememberedHoliday() const { return rememberedHoliday_; }

private:
    void holidayChosen(int position);
    void showHolidayTable();

    CProgramPage& page_;
    CProgramEditor& editor_;
    QWidget* panel_ = nullptr;
    QLabel* label_ = nullptr;
    QComboBox* list_ = nullptr;
    QPushButton* button_ = nullptr;
    int rememberedHoliday_ = 0;
};

} // namespace tolvane
