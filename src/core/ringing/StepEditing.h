#pragma once

#include "ringing/SequenceTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tolvane {

class StrikingSettings;

// The rules of the sequence step editor and of the sequences page, kept apart from the widgets: which kinds the
// kind list offers and in which order, what a new step is, what choosing another kind does to a step, what the
// editor's fields show for a stored step and what they store, what OK refuses and which steps the range chooser
// offers.
namespace stepediting {

// The units (bells or hammers 1-5) a step can name: bits 0-4 of its unit mask.
constexpr int UnitCount = 5;
constexpr std::uint16_t UnitBits = 0x1F;
constexpr int MaxRepetitions = 99;
constexpr std::uint16_t DefaultRepeatSeconds = 600;

// The kinds of the editor's kind list, in list order.
constexpr std::array<StepKind, 6> KindList{StepKind::BellsA, StepKind::BellsB,      StepKind::Hammers,
                                           StepKind::Pause,  StepKind::RepeatCount, StepKind::RepeatTime};
// The list position of a kind; -1 for a kind the list does not offer (6 and End).
int kindPosition(StepKind kind);
// The kind at a list position; End for a position outside the list.
StepKind kindAt(int position);

// A new step: a fresh step turned into bells A (kind byte 0x3F, 1.00 s, count 600) with bell 1 chosen, so that it
// never starts with no unit or with the five units the fresh bytes would otherwise name.
SequenceStep newStep();

// Choosing `kind` in the kind list: bells A and B change only the kind; hammers take 1.00 s and hammer 1; a pause
// takes 1.00 s; a repeat step takes the range 1-1 and one repetition (repeat N times) or 600 s (repeat for a
// time). A bell step whose mask names none of the five bells gets bell 1, so that it rings something.
SequenceStep converted(SequenceStep step, StepKind kind);

// The step as the editor shows it: a repeat step's first step is lowered to its last step when it lies beyond it,
// and a repeat-N-times count of 0 or of 100 and more becomes 1. Other steps are shown as stored.
SequenceStep shown(SequenceStep step);

// The pause fields (minutes, seconds, hundredths) of a pause, bell or hammer step.
struct PauseFields {
    long long minutes = 0;
    long long seconds = 0;
    long long hundredths = 0;

    friend bool operator==(const PauseFields&, const PauseFields&) = default;
};
PauseFields pauseFields(const SequenceStep& step);
// Stores typed pause fields: minutes x 6000 + seconds x 100 + hundredths, 0 when negative, held at the largest
// duration the step can hold; kept as tenths and the remaining hundredths.
void storePause(SequenceStep& step, const PauseFields& typed);

// The time fields (minutes, seconds) of a repeat-for-a-time step.
struct TimeFields {
    long long minutes = 0;
    long long seconds = 0;

    friend bool operator==(const TimeFields&, const TimeFields&) = default;
};
TimeFields timeFields(const SequenceStep& step);
// minutes x 60 + seconds, at least 1 and at most 65535 seconds.
std::uint16_t typedRepeatSeconds(const TimeFields& typed);

// The width a minutes field needs to show `minutes` unchanged: the editor's two characters, more only for a value
// written by other software (so that opening and confirming the step never cuts it).
int minutesFieldWidth(long long minutes);

// Whether unit `unit` (0-4) is chosen in a unit mask.
bool unitChosen(std::uint16_t mask, int unit);
// A unit box clicked: its bit set or cleared; when none of the five is left, unit 1 is chosen again. Bits above
// the five units are kept as found.
std::uint16_t toggledUnit(std::uint16_t mask, int unit, bool on);

// What the editor's fields hold when OK is pressed.
struct TypedFields {
    PauseFields pause;
    TimeFields time;
    long long repetitions = 1;
};

// OK in the step editor: reads the fields the step's kind uses into `step` and checks a repeat step's range
// against sequence `sequence` of `table` and the step's own position. Returns 0 when the step may be taken,
// otherwise the text of the one message to show (a range message wins over the repetitions message). A
// repetition count below 1 is stored as 1, as the editor shows it.
int accept(const SequenceTable& table, int sequence, int ownPosition, const TypedFields& typed, SequenceStep& step);
// The range check alone: 664, 667, 676, 677, 666 in this order, the first that applies; 0 for a sound range.
int rangeRefusal(const SequenceTable& table, int sequence, int ownPosition, const SequenceStep& step);

// The steps the range chooser offers: for the first step the defined steps 0 ... min(last, own - 1), for the last
// step the defined steps first ... own - 1. A range thus only reaches backwards.
std::vector<int> firstStepChoices(const SequenceTable& table, int sequence, int ownPosition, const SequenceStep& step);
std::vector<int> lastStepChoices(const SequenceTable& table, int sequence, int ownPosition, const SequenceStep& step);
// "<n>" of the 1-based step number, as the range labels and the chooser show a step.
std::string stepNumberText(int index);

// The sequences page: a bell step in a sequence that the quarter striking plays is refused (text 686); 0 otherwise.
int bellStepRefusal(const StrikingSettings& striking, int sequence, const SequenceStep& step);
// Where a new step goes: after the selected step row, or at the end when no row is selected. `insertPosition` is
// what insertStep takes (0 appends); `ownPosition` is the slot the step will take, the position the range chooser
// and the range check measure from, so that a range chosen for it still lies before it once it is inserted.
int insertPosition(int selectedRow);
int ownPosition(int selectedRow, int stepCount);

} // namespace stepediting
} // namespace tolvane
