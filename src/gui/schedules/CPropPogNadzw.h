#pragma once

#include "gui/app/CDataPage.h"
#include "gui/app/RecordFocus.h"
#include "schedules/ProgramEntry.h"

#include <array>

class QGroupBox;
class QLabel;

namespace tolvane {

class CFireEdit;
class CLinkStatic;

// The special ("nadzwyczajne") tolling page: the three special tolling programs, each in its own box: when it starts
// and ends, how many steps it takes (in halves), the sequence it plays (chosen with the sequence chooser), its priority
// and on how many days. The programs are always there; every field is stored as it is typed, one undo step per burst of
// typing in one field. The page is reached from the tree only while the special tolling option of the settings is on.
class CPropPogSpec : public CDataPage, public RecordFocus {
    Q_OBJECT
public:
    static constexpr int BoxCount = 3;

    explicit CPropPogSpec(AppContext& context, QWidget* parent = nullptr);

    void reload(int item = 0) override;
    void refreshTexts() override;
    void refreshMarks() override;
    // A report row about special tolling program `record`: the start time of its box takes the focus.
    void focusRecord(IssueRecord kind, int record) override;

private:
    struct Box {
        QGroupBox* group = nullptr;
        QLabel* startLabel = nullptr;
        QLabel* startHint = nullptr;
        std::array<CFireEdit*, 3> start{};
        QLabel* endLabel = nullptr;
        QLabel* endHint = nullptr;
        std::array<CFireEdit*, 3> end{};
        QLabel* stepsLabel = nullptr;
        CFireEdit* steps = nullptr;
        bool stepsTyped = false; // the steps were typed in since the field was entered
        QLabel* sequenceLabel = nullptr;
        CLinkStatic* sequence = nullptr;
        QLabel* priorityLabel = nullptr;
        CFireEdit* priority = nullptr;
        QLabel* daysLabel = nullptr;
        CFireEdit* days = nullptr;
    };

    void buildBox(int n);
    void showBox(int n);
    void showMarks(int n);
    // One change of program `n` as one undo step, merged while the user types on in the same field.
    void editProgram(int n, EntryField field, const std::function<void(ScheduleProgram&, int)>& change);
    void storeTime(int n, bool end);
    void storeSteps(int n, int halves);
    void chooseSequence(int n);
    QString sequenceText(const ProgramEntry& e) const;

    std::array<Box, BoxCount> boxes_{};
};

} // namespace tolvane
