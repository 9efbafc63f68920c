#pragma once

#include "schedules/ScheduleProgram.h"

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QRadioButton;
class QWidget;

namespace tolvane {

class CFireEdit;
class CProgramEditor;
class CProgramPage;
struct ProgramChangeMarker;

// The funeral tolling program's part of the editor: three start times, each with its box (the first is the editor's
// own time row, its box in place of the time label), the funeral relay and its delay, the number of days and how the
// tolling is started (by the clock, before or after the Angelus). The start mode decides which times can be set.
class CFuneralProgramPart {
public:
    // `firstTime`: the hour, minute and second fields of the editor's time row, start time 1.
    CFuneralProgramPart(CProgramPage& page, CProgramEditor& editor, QGridLayout* grid, QLabel* timeLabel,
                        const std::array<CFireEdit*, 3>& firstTime);

    void show(const ProgramEntry& e);
    void showMarks(const ProgramChangeMarker& mark, const std::function<bool(EntryField)>& marked);
    void refreshTexts();
    // The box of start time 1, in Tab order before the editor's time row.
    QWidget* firstTimeBox() const;
    // The part's other controls in Tab order (after the editor's priority).
    std::vector<QWidget*> tabOrder() const;

private:
    void enableTimes(const ProgramEntry& e);
    void timeOnToggled(int which, bool on);
    void startModeChosen(FuneralStartMode mode);
    void storeLaterTime(int which);
    void relayToggled(bool on);

    CProgramPage& page_;
    std::array<CFireEdit*, 3> firstTime_;
    std::array<QCheckBox*, 3> timeOn_{};
    std::array<std::array<CFireEdit*, 3>, 2> laterTimes_{}; // times 2 and 3: hour, minute, second
    std::array<QWidget*, 2> laterTimeRows_{};
    QCheckBox* relay_ = nullptr;
    QLabel* relayDelayLabel_ = nullptr;
    CFireEdit* relayDelay_ = nullptr;
    QLabel* relayUnit_ = nullptr;
    QLabel* daysLabel_ = nullptr;
    CFireEdit* days_ = nullptr;
    QGroupBox* startMode_ = nullptr;
    QRadioButton* byClock_ = nullptr;
    QRadioButton* beforeAngelus_ = nullptr;
    QRadioButton* afterAngelus_ = nullptr;
};

} // namespace tolvane
