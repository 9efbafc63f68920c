#pragma once

#include "ringing/OutputMap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

// One terminal of the controller: a relay output PK1-PK10, a general input WE1/WE2 or a return input
// POWR1-POWR5. Terminal i (0-16, relays first) is also bit i of the cross-connection's change mask.
struct Terminal {
    enum class Kind { Relay, Input, ReturnInput };
    static constexpr int Count = 17;

    Kind kind = Kind::Relay;
    int index = 0; // the relay (0-9), the input entry (0-1) or the return input (0-4)

    // Terminal 0-16 in page order: PK1-PK10, WE1, WE2, POWR1-POWR5.
    static Terminal at(int position);
    int position() const;
    std::uint32_t maskBit() const { return 1u << position(); }
    // As printed on the controller's terminal strip: "PK3", "WE1", "POWR2".
    std::string name() const;

    friend bool operator==(const Terminal&, const Terminal&) = default;
};

// What the choosers of the cross-connection offer and what a choice in them means. Each chooser is a list of
// rows; a row has its label and, in the second column, either the label of what uses it now (the relay and input
// choosers) or the terminals that hold it now (the function and role choosers).
struct ChooserRow {
    LabelText label;
    std::optional<LabelText> user;
    std::vector<Terminal> terminals;

    friend bool operator==(const ChooserRow&, const ChooserRow&) = default;
};

// How OK ends in a chooser: refused with a message (its text), or accepted with a value (a row, a relay index, an
// input entry; 0xFF for none).
struct ChoiceOutcome {
    int refusalText = 0;
    int value = -1;

    bool accepted() const { return refusalText == 0; }
    friend bool operator==(const ChoiceOutcome&, const ChoiceOutcome&) = default;
};

// One line of the wiring table: a terminal and one thing connected to it. A free terminal has one line ("free");
// a relay written with several functions has one line per function, each marked shared.
struct WiringLine {
    Terminal terminal;
    LabelText does;                 // what it drives or does
    std::optional<LabelText> which; // the bell, hammer, clock or sequence it belongs to
    bool shared = false;

    friend bool operator==(const WiringLine&, const WiringLine&) = default;
};
namespace wiring {

inline constexpr int NothingChosenText = 114;
inline constexpr int RelayInUseText = 298;
inline constexpr int InputHasRoleText = 302;
inline constexpr int NoneText = 109;

// Labels of the wiring table (our own catalog texts).
inline constexpr int FreeText = 2156;      // a terminal with nothing connected
inline constexpr int BellDriveText = 2160; // swinging-bell drive
inline constexpr int HammerText = 2161;
inline constexpr int ClockRelayAText = 2162;
inline constexpr int ClockRelayBText = 2163;
inline constexpr int ClockSingleRelayText = 2164;
inline constexpr int StartsSequenceText = 2165;
inline constexpr int ClockContactText = 2166; // 6:00 correction contact
inline constexpr int ClockMinuteText = 2167;  // minute-pulse input
inline constexpr int BellReturnText = 2168;   // a bell's return signal
inline constexpr int UnknownRoleText = 2169;  // "%d": a stored role this editor does not know
inline constexpr int ClockText = 111;         // "Clock %d"

// The function chooser of a relay (CSelOut): none, then the 23 functions with the relay that drives each.
std::vector<ChooserRow> functionRows(const OutputMap& map);
// The role chooser of WE1/WE2 (CSelIn): none, the clock roles, roles 1-3, one row per sequence in use; each row
// with WE1/WE2 when they hold it.
std::vector<ChooserRow> inputRoleRows(const OutputMap& map);
// The role chooser of POWR1-POWR5 (CSelPowr): none, the bell's return signal, roles 1-3, one row per sequence in
// use; each with the return inputs that hold it.
std::vector<ChooserRow> returnRoleRows(const OutputMap& map);
// The relay chooser of the editors (CSelectPKDlg): none, then PK1-PK10 with what each drives.
std::vector<ChooserRow> relayRows(const OutputMap& map);
// The input chooser of the clock editor (CSelectWeDlg): none, then WE1 and WE2 with their role.
std::vector<ChooserRow> inputRows(const OutputMap& map);

// The row a chooser preselects: the relay chooser for `current` relay, the input chooser for `current` input
// (row 0 for 0xFF; -1 for a value the chooser does not list).
int relayRowOf(std::uint8_t current);
int inputRowOf(std::uint8_t current);

// OK in the function and role choosers: `row` is the selected row, -1 for none (refused with text 114); the
// outcome's value is the row.
ChoiceOutcome rowChoice(int row);
// OK in the relay chooser opened for a function whose relay is `current`: row 0 gives 0xFF, the preselected row
// gives its relay back, a relay that another function uses is refused (text 298), any other is returned.
ChoiceOutcome relayChoice(const OutputMap& map, std::uint8_t current, int row);
// OK in the input chooser opened for a role held by input `current`: an input that has a role (0-5) of its own
// is refused (text 302).
ChoiceOutcome inputChoice(const OutputMap& map, std::uint8_t current, int row);

// The wiring table's lines, terminal by terminal in page order.
std::vector<WiringLine> wiringLines(const OutputMap& map);

// The functions a relay drives, labelled as on the page (several only in a file written elsewhere).
std::vector<LabelText> relayFunctions(const OutputMap& map, std::uint8_t relay);

// What a terminal's value on the cross-connection page shows: a relay its function (the first one found), an
// input or return input its role; nothing when it has none. A role this editor does not know shows as such.
std::optional<LabelText> terminalValue(const OutputMap& map, Terminal terminal);

} // namespace wiring
} // namespace tolvane
