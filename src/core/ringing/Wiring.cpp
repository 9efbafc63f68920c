#include "ringing/Wiring.h"

#include "ringing/SequenceTable.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace tolvane {

namespace {

constexpr int InputTerminalCount = 2; // WE1, WE2: the inputs the page and the choosers offer

bool isRelay(std::uint8_t relay) {
    return relay < OutputMapRecord::RelayCount;
}

// The labels of the function chooser's rows 1-22, in row order.
constexpr std::array<LabelText, OutputMap::FunctionRowCount> FunctionRowLabels{{
    {wiring::NoneText}, {110, 1}, {110, 2}, {110, 3}, {110, 4}, {110, 5}, {534, 1}, {534, 2},
    {534, 3},           {534, 4}, {534, 5}, {168},    {543, 1}, {543, 2}, {544, 1}, {545, 1},
    {544, 2},           {545, 2}, {546},    {547},    {541},    {542},    {842},
}};

// The sequences in use, in record order: the sequence rows of the role choosers.
std::vector<int> sequencesInUse(const SequenceTable* sequences) {
    std::vector<int> used;
    if (sequences == nullptr) {
        return used;
    }
    for (int s = 0; s < SequenceTable::Count; ++s) {
        if (sequences->isUsed(s)) {
            used.push_back(s);
        }
    }
    return used;
}

// The role label of an input or return-input entry, or of a role the editor does not know.
std::optional<LabelText> roleValue(std::optional<LabelText> known, std::uint8_t role) {
    if (known || role == OutputMapRecord::NoRole) {
        return known;
    }
    return LabelText{wiring::UnknownRoleText, role};
}

// What a function byte drives, split for the wiring table: the kind of function and what it belongs to.
std::pair<LabelText, std::optional<LabelText>> functionParts(const OutputMap& map, std::size_t byte) {
    const int b = static_cast<int>(byte);
    if (b <= 4) {
        return {{wiring::BellDriveText}, LabelText{110, b + 1}};
    }
    if (b >= 16 && b <= 20) {
        return {{wiring::HammerText}, LabelText{534, b - 16 + 1}};
    }
    if (b == 6 || b == 7) {
        const int clock = b - 6;
        return {{map.isSingleRelayClock(clock) ? wiring::ClockSingleRelayText : wiring::ClockRelayAText},
                LabelText{wiring::ClockText, clock + 1}};
    }
    if (b == 8 || b == 9) {
        return {{wiring::ClockRelayBText}, LabelText{wiring::ClockText, b - 8 + 1}};
    }
    return {map.functionLabel(byte).value_or(LabelText{wiring::FreeText}), std::nullopt};
}

// What a role of an input or return input does, split for the wiring table.
std::pair<LabelText, std::optional<LabelText>> roleParts(std::uint8_t role, std::uint8_t argument) {
    switch (role) {
    case OutputMapRecord::NoRole:
        return {{wiring::FreeText}, std::nullopt};
    case OutputMapRecord::RoleSequence:
        return {{wiring::StartsSequenceText}, LabelText{SequenceTable::NameText, argument + 1}};
    case 1:
    case 2:
    case 3:
        return {{535 + role}, std::nullopt};
    case OutputMapRecord::RoleClockContact:
        return {{wiring::ClockContactText}, LabelText{wiring::ClockText, argument + 1}};
    case OutputMapRecord::RoleClockMinute:
        return {{wiring::ClockMinuteText}, LabelText{wiring::ClockText, argument + 1}};
    case OutputMapRecord::RoleBellReturn:
        return {{wiring::BellReturnText}, LabelText{110, argument + 1}};
    default:
        return {{wiring::UnknownRoleText, role}, std::nullopt};
    }
}

} // namespace

Terminal Terminal::at(int position) {
    if (position < 0 || position >= Count) {
        throw std::out_of_range("terminal");
    }
    if (position < OutputMapRecord::RelayCount) {
        return {Kind::Relay, position};
    }
    if (position < OutputMapRecord::RelayCount + InputTerminalCount) {
        return {Kind::Input, position - OutputMapRecord::RelayCount};
    }
    return {Kind::ReturnInput, position - OutputMapRecord::RelayCount - InputTerminalCount};
}

int Terminal::position() const {
    switch (kind) {
    case Kind::Relay:
        return index;
    case Kind::Input:
        return OutputMapRecord::RelayCount + index;
    case Kind::ReturnInput:
        return OutputMapRecord::RelayCount + InputTerminalCount + index;
    }
    return index;
}

std::string Terminal::name() const {
    switch (kind) {
    case Kind::Relay:
        return "PK" + std::to_string(index + 1);
    case Kind::Input:
        return "WE" + std::to_string(index + 1);
    case Kind::ReturnInput:
        return "POWR" + std::to_string(index + 1);
    }
    return {};
}

namespace wiring {

std::vector<ChooserRow> functionRows(const OutputMap& map) {
    std::vector<ChooserRow> rows;
    rows.reserve(OutputMap::FunctionRowCount);
    for (int row = 0; row < OutputMap::FunctionRowCount; ++row) {
        ChooserRow r{FunctionRowLabels[static_cast<std::size_t>(row)], std::nullopt, {}};
        const std::uint8_t relay = map.relayOfRow(row);
        if (isRelay(relay)) {
            r.terminals.push_back({Terminal::Kind::Relay, relay});
        }
        rows.push_back(std::move(r));
    }
    return rows;
}

std::vector<ChooserRow> inputRoleRows(const OutputMap& map) {
    std::vector<ChooserRow> rows{
        {{NoneText}, std::nullopt, {}}, {{539, 1}, std::nullopt, {}}, {{540, 1}, std::nullopt, {}},
        {{539, 2}, std::nullopt, {}},   {{540, 2}, std::nullopt, {}}, {{536}, std::nullopt, {}},
        {{537}, std::nullopt, {}},      {{538}, std::nullopt, {}},
    };
    for (int s : sequencesInUse(map.sequenceTable())) {
        rows.push_back({{SequenceTable::NameText, s + 1}, std::nullopt, {}});
    }
    for (int entry = 0; entry < InputTerminalCount; ++entry) {
        const int row = map.inputRow(entry);
        if (row > 0 && row < static_cast<int>(rows.size())) {
            rows[static_cast<std::size_t>(row)].terminals.push_back({Terminal::Kind::Input, entry});
        }
    }
    return rows;
}

std::vector<ChooserRow> returnRoleRows(const OutputMap& map) {
    std::vector<ChooserRow> rows{
        {{NoneText}, std::nullopt, {}}, {{226}, std::nullopt, {}}, {{536}, std::nullopt, {}},
        {{537}, std::nullopt, {}},      {{538}, std::nullopt, {}},
    };
    for (int s : sequencesInUse(map.sequenceTable())) {
        rows.push_back({{SequenceTable::NameText, s + 1}, std::nullopt, {}});
    }
    for (int entry = 0; entry < OutputMapRecord::ReturnCount; ++entry) {
        const int row = map.returnRow(entry);
        if (row > 0 && row < static_cast<int>(rows.size())) {
            rows[static_cast<std::size_t>(row)].terminals.push_back({Terminal::Kind::ReturnInput, entry});
        }
    }
    return rows;
}

std::vector<ChooserRow> relayRows(const OutputMap& map) {
    std::vector<ChooserRow> rows{{{NoneText}, std::nullopt, {}}};
    for (int relay = 0; relay < OutputMapRecord::RelayCount; ++relay) {
        const auto r = static_cast<std::uint8_t>(relay);
        rows.push_back({OutputMap::relayText(r), map.relayUser(r), {}});
    }
    return rows;
}

std::vector<ChooserRow> inputRows(const OutputMap& map) {
    std::vector<ChooserRow> rows{{{NoneText}, std::nullopt, {}}};
    for (int entry = 0; entry < InputTerminalCount; ++entry) {
        rows.push_back({OutputMap::inputText(static_cast<std::uint8_t>(entry)),
                        roleValue(map.inputRoleLabel(entry), map.record().inputRole(entry)),
                        {}});
    }
    return rows;
}

int relayRowOf(std::uint8_t current) {
    if (current == OutputMapRecord::NoRelay) {
        return 0;
    }
    return isRelay(current) ? current + 1 : -1;
}

int inputRowOf(std::uint8_t current) {
    if (current == OutputMapRecord::NoRelay) {
        return 0;
    }
    return current < InputTerminalCount ? current + 1 : -1;
}

ChoiceOutcome rowChoice(int row) {
    if (row < 0) {
        return {NothingChosenText, -1};
    }
    return {0, row};
}

ChoiceOutcome relayChoice(const OutputMap& map, std::uint8_t current, int row) {
    if (row < 0 || row > OutputMapRecord::RelayCount) {
        return {NothingChosenText, -1};
    }
    const auto chosen = row == 0 ? OutputMapRecord::NoRelay : static_cast<std::uint8_t>(row - 1);
    if (!map.relayChoiceAllowed(current, chosen)) {
        return {RelayInUseText, -1};
    }
    return {0, chosen};
}

ChoiceOutcome inputChoice(const OutputMap& map, std::uint8_t current, int row) {
    if (row < 0 || row > InputTerminalCount) {
        return {NothingChosenText, -1};
    }
    const auto chosen = row == 0 ? OutputMapRecord::NoRelay : static_cast<std::uint8_t>(row - 1);
    if (!map.inputChoiceAllowed(current, chosen)) {
        return {InputHasRoleText, -1};
    }
    return {0, chosen};
}

std::vector<LabelText> relayFunctions(const OutputMap& map, std::uint8_t relay) {
    std::vector<LabelText> labels;
    for (std::size_t byte : map.relayUserBytes(relay)) {
        if (auto label = map.functionLabel(byte)) {
            labels.push_back(*label);
        }
    }
    return labels;
}

std::optional<LabelText> terminalValue(const OutputMap& map, Terminal terminal) {
    switch (terminal.kind) {
    case Terminal::Kind::Relay:
        return map.relayUser(static_cast<std::uint8_t>(terminal.index));
    case Terminal::Kind::Input:
        return roleValue(map.inputRoleLabel(terminal.index), map.record().inputRole(terminal.index));
    case Terminal::Kind::ReturnInput:
        return roleValue(map.returnRoleLabel(terminal.index), map.record().returnRole(terminal.index));
    }
    return std::nullopt;
}

std::vector<WiringLine> wiringLines(const OutputMap& map) {
    std::vector<WiringLine> lines;
    for (int position = 0; position < Terminal::Count; ++position) {
        const Terminal terminal = Terminal::at(position);
        switch (terminal.kind) {
        case Terminal::Kind::Relay: {
            const auto bytes = map.relayUserBytes(static_cast<std::uint8_t>(terminal.index));
            if (bytes.empty()) {
                lines.push_back({terminal, {FreeText}, std::nullopt, false});
            }
            for (std::size_t byte : bytes) {
                auto [does, which] = functionParts(map, byte);
                lines.push_back({terminal, does, which, bytes.size() > 1});
            }
            break;
        }
        case Terminal::Kind::Input: {
            auto [does, which] =
                roleParts(map.record().inputRole(terminal.index), map.record().inputArgument(terminal.index));
            lines.push_back({terminal, does, which, false});
            break;
        }
        case Terminal::Kind::ReturnInput: {
            auto [does, which] =
                roleParts(map.record().returnRole(terminal.index), map.record().returnArgument(terminal.index));
            lines.push_back({terminal, does, which, false});
            break;
        }
        }
    }
    return lines;
}

} // namespace wiring
} // namespace tolvane
