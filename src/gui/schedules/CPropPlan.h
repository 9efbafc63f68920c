#pragma once

#include "gui/app/CDataPage.h"
#include "report/DayPlan.h"

#include <QDate>

#include <vector>

class QCalendarWidget;
class QDateEdit;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tolvane {

// "What rings when": a calendar whose days with programs are bold and whose days with programs starting in the
// same minute are in the warning colour, and beside it the chosen day's programs in time order (time, program,
// action, priority) with the programs started at the controller below. A double click (or Enter) on a program
// opens it on its own page. The page reads the project whenever it is shown and after every change, and states
// the readings the plan relies on. Below the readings, "Export calendar…" writes the plan of the range shown
// there (from a day, 366 days unless the user chooses fewer) as an iCalendar file for the parish's calendar
// program; exporting changes nothing in the project.
class CPropPlan : public CDataPage {
    Q_OBJECT
public:
    static constexpr QRgb CollisionColor = 0xffc00000;      // the calendar's days with a collision
    static constexpr QRgb CollisionBackground = 0xffffd0d0; // rows of programs that collide

    explicit CPropPlan(AppContext& context, QWidget* parent = nullptr);

    void reload(int item = 0) override;
    void refreshTexts() override;

    QCalendarWidget* calendar() const { return calendar_; }
    QTableWidget* dayList() const { return dayList_; }
    QTableWidget* onDemandList() const { return onDemandList_; }
    QLabel* readings() const { return readings_; }
    int readingsYear() const { return readingsYear_; }
    QDateEdit* exportFrom() const { return exportFrom_; }
    QSpinBox* exportDays() const { return exportDays_; }
    QLabel* exportRange() const { return exportRange_; }
    QPushButton* exportButton() const { return exportButton_; }

private:
    void markMonth();
    // The readings for `year`, the year of the calendar's month page (summer time dates change with the year).
    void showReadings(int year);
    void showDay();
    void openProgram(const QTableWidget* list, int row);
    void showExportRange();
    QString suggestedCalendarPath() const;
    void exportCalendar();
    void fillRow(QTableWidget* list, int row, const dayplan::PlannedProgram& program);
    QString qtext(const std::string& s) const { return QString::fromStdString(s); }

    QCalendarWidget* calendar_;
    QLabel* dayTitle_;
    QTableWidget* dayList_;
    QLabel* onDemandTitle_;
    QTableWidget* onDemandList_;
    QLabel* readings_;
    QLabel* exportFromLabel_;
    QDateEdit* exportFrom_;
    QLabel* exportDaysLabel_;
    QSpinBox* exportDays_;
    QLabel* exportRange_;
    QPushButton* exportButton_;
    int readingsYear_ = 0;
    std::vector<dayplan::PlannedProgram> dayPrograms_;
    std::vector<dayplan::PlannedProgram> onDemand_;
    std::vector<QDate> marked_;
};

} // namespace tolvane
