#pragma once

#include "schedules/ScheduleProgram.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;

namespace tolvane {

class CFireEdit;
class CProgramEditor;
class CProgramPage;
class CTrackEdytorCtrl;
struct ProgramChangeMarker;

// The bell ringing parameters of a program in the editor: per bell its check box and two minute:second pairs (the
// switch-on delay and the second value the start option of the settings names), the ringing time and the graph that
// shows and drags the same values.
class CBellRingingPanel : public QWidget {
    Q_OBJECT
public:
    CBellRingingPanel(CProgramPage& page, CProgramEditor& editor);

    // `keepUnrung`: the fields of a bell that is not rung keep what they show, so that ticking the bell again
    // gives back the times it had.
    void showEntry(const ProgramEntry& e, bool keepUnrung = false);
    void showMarks(const ProgramChangeMarker& mark, const std::function<bool(EntryField)>& marked);
    void refreshTexts();
    // The captions that follow the settings (the second column's name, the graph's texts), not only the language.
    void refreshBellTexts();
    // The panel's controls in Tab order.
    std::vector<QWidget*> tabOrder() const;

private:
    struct TimePair {
        QCheckBox* bell = nullptr;
        QLabel* firstColon = nullptr;
        QLabel* secondColon = nullptr;
        CFireEdit* minutes = nullptr;
        CFireEdit* seconds = nullptr;
        CFireEdit* secondMinutes = nullptr;
        CFireEdit* secondSeconds = nullptr;
    };

    void fillGraph(const ProgramEntry& e);
    void storeRingingTime();
    void storeBellPair(int bell, bool second);
    void bellToggled(int bell, bool on);
    void graphValueChanged(int trackNumber, bool second);

    CProgramPage& page_;
    CProgramEditor& editor_;
    std::array<TimePair, ProgramEntry::BellCount> bells_{};
    QLabel* firstColumnLabel_ = nullptr;
    QLabel* secondColumnLabel_ = nullptr;
    QLabel* ringingLabel_ = nullptr;
    CFireEdit* ringingMinutes_ = nullptr;
    CFireEdit* ringingSeconds_ = nullptr;
    CTrackEdytorCtrl* graph_ = nullptr;
};

} // namespace tolvane
