#pragma once

#include "schedules/ScheduleProgram.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace tolvane {

class CBellRingingPanel;
class CFireEdit;
class CFuneralProgramPart;
class CHolidayProgramPart;
class CLinkStatic;
class CProgramPage;

// Colours a changed value of the editor and says so in its accessible description.
struct ProgramChangeMarker {
    QString description; // what the colour says (text 2007)

    void field(QWidget* control, bool changed) const;
    void option(QWidget* control, bool changed) const;
};

// The editor of the one selected program of a schedule page: what is done (the action and its parameters: the bell
// ringing panel, the melody, the hammer, the sequence or the silence), when (time, priority, dates, weekdays, seasons,
// weeks and months as the page's row asks) and, on their pages, the holiday part and the funeral part. Every field
// stores through the page as it is typed; leaving it settles the list's order. Escape goes back to the list.
class CProgramEditor : public QWidget {
    Q_OBJECT
public:
    explicit CProgramEditor(CProgramPage& page);
    ~CProgramEditor() override;

    // Fills the editor from program `row`.
    void showEntry(int row);
    // Shows the parameters of the entry's action (and only those).
    void showActionControls(const ProgramEntry& e);
    void showMarks();
    void refreshTexts();
    // The captions that follow the settings (the second column's name, the graph's texts), not only the language.
    void refreshBellTexts();
    // Enter from the list: the action list takes the focus.
    void focusFirstField();
    // The holiday a new holiday-day program gets.
    int rememberedHoliday() const;

    // For the panels and parts of the editor.
    CFireEdit* numberField(const char* name, int lower, int upper, int width);
    // A field stores on every keystroke; leaving it puts the list in order and ends the burst of typing, so the next
    // keystroke is a new step.
    void connectField(CFireEdit* field, const std::function<void()>& store);

private:
    QCheckBox* checkBox(const char* name);
    QWidget* linkRow(QLabel*& label, CLinkStatic*& link, const char* name, void (CProgramEditor::*open)());
    // Tab goes through the editor top to bottom, left to right, from the list on.
    void chainTabs();
    void showPriorityLabel(const ProgramEntry& e);
    void showSeasonLabel();
    QString sequenceText(const ProgramEntry& e) const;
    QString hammerText(const ProgramEntry& e) const;

    // Handlers.
    void actionChosen(int position);
    void storeTime();
    void storeStartDate();
    void storeEndDate();
    void storeYear();
    void storePriority();
    void storeSilence();
    void weekdayToggled();
    void seasonToggled();
    void parityToggled(bool weeks);
    void silenceTargetsToggled();
    void chooseSequence();
    void chooseHammer();

    CProgramPage& page_;

    QLabel* actionLabel_ = nullptr;
    QComboBox* actionList_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    CFireEdit* hour_ = nullptr;
    CFireEdit* minute_ = nullptr;
    CFireEdit* second_ = nullptr;
    QLabel* dateLabel_ = nullptr;
    CFireEdit* startDay_ = nullptr;
    CFireEdit* startMonth_ = nullptr;
    QLineEdit* year_ = nullptr;
    QLabel* dateHint_ = nullptr;
    QLabel* endLabel_ = nullptr;
    CFireEdit* endDay_ = nullptr;
    CFireEdit* endMonth_ = nullptr;
    QLabel* weekdaysLabel_ = nullptr;
    std::array<QCheckBox*, 7> weekdays_{};
    QLabel* priorityLabel_ = nullptr;
    CFireEdit* priority_ = nullptr;
    QLabel* specialLabel_ = nullptr;
    QCheckBox* summer_ = nullptr;
    QCheckBox* winter_ = nullptr;
    QLabel* offLabel_ = nullptr;
    QCheckBox* angelus_ = nullptr;
    QCheckBox* evenWeeks_ = nullptr;
    QCheckBox* oddWeeks_ = nullptr;
    QCheckBox* evenMonths_ = nullptr;
    QCheckBox* oddMonths_ = nullptr;

    CBellRingingPanel* bellPanel_ = nullptr;

    QWidget* melodyPanel_ = nullptr;
    QLabel* melodyLabel_ = nullptr;
    CFireEdit* melody_ = nullptr;
    QLabel* repetitionsLabel_ = nullptr;
    CFireEdit* repetitions_ = nullptr;

    QWidget* hammerPanel_ = nullptr;
    QLabel* hammerLabel_ = nullptr;
    CLinkStatic* hammer_ = nullptr;
    QWidget* sequencePanel_ = nullptr;
    QLabel* sequenceLabel_ = nullptr;
    CLinkStatic* sequence_ = nullptr;

    QWidget* silencePanel_ = nullptr;
    QLabel* silenceLabel_ = nullptr;
    CFireEdit* silenceDays_ = nullptr;
    CFireEdit* silenceHours_ = nullptr;
    CFireEdit* silenceMinutes_ = nullptr;
    CFireEdit* silenceSeconds_ = nullptr;
    QCheckBox* silenceBells_ = nullptr;
    QCheckBox* silenceGongs_ = nullptr;

    // Only on their pages: the holiday-day program's holiday, the funeral tolling's times, relay, days and start.
    std::unique_ptr<CHolidayProgramPart> holiday_;
    std::unique_ptr<CFuneralProgramPart> funeral_;
};

} // namespace tolvane
