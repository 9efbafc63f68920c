#include "ringing/OutputMap.h"

#include "ringing/SequenceTable.h"
#include "ringing/TowerClockTable.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace tolvane {

namespace {

// Function bytes of the chooser rows 1-22 (row 0 is "none").
constexpr std::array<int, OutputMap::FunctionRowCount> RowBytes{-1, 0, 1, 2, 3, 4, 16, 17, 18, 19, 20, 5,
                                                                6,  7, 6, 8, 7, 9, 12, 13, 15, 21, 22};

// The order in which the user of a relay is looked for.
constexpr std::array<std::size_t, 20> UserSearchOrder{0, 1, 2, 3, 4, 16, 17, 18, 19, 20,
                                                      5, 6, 7, 8, 9, 13, 12, 15, 21, 22};

constexpr std::uint8_t RoleFlagsCleared = 0x0C; // bits 0 and 1 of the flags are cleared when a role is assigned

bool isRelay(std::uint8_t relay) {
    return relay < OutputMapRecord::RelayCount;
}

} // namespace

bool OutputMapRecord::isFunctionByte(std::size_t byte) {
    return std::find(FunctionBytes.begin(), FunctionBytes.end(), byte) != FunctionBytes.end();
}

std::size_t OutputMapRecord::inputOffset(int entry) {
    if (entry < 0 || entry >= InputCount) {
        throw std::out_of_range("input entry");
    }
    return InputTable + 2 * static_cast<std::size_t>(entry);
}

std::size_t OutputMapRecord::returnOffset(int entry) {
    if (entry < 0 || entry >= ReturnCount) {
        throw std::out_of_range("return input entry");
    }
    return ReturnTable + 2 * static_cast<std::size_t>(entry);
}

void OutputMap::setReferences(const SequenceTable* sequences, const TowerClockTable* clocks) {
    sequences_ = sequences;
    clocks_ = clocks;
}

void OutputMap::resetItem(int index) {
    (void)index;
}

void OutputMap::reset() {
    record_.fill(0xFF);
    mask_ = 0;
}

void OutputMap::unpackImage(std::span<const std::uint8_t> image) {
    if (image.size() < ImageSize) {
        throw std::out_of_range("output map image too short");
    }
    std::copy_n(image.begin(), ImageSize, record_.bytes().begin());
}

void OutputMap::packImage(std::span<std::uint8_t> image) const {
    if (image.size() < ImageSize) {
        throw std::out_of_range("output map image too short");
    }
    const auto src = std::as_const(record_).bytes();
    std::copy(src.begin(), src.end(), image.begin());
}

void OutputMap::serialize(SectionArchive& archive) {
    if (archive.isStoring()) {
        archive.writeBody(std::as_const(record_).bytes());
        return;
    }
    const auto body = archive.readBody(BodySize);
    std::copy(body.begin(), body.end(), record_.bytes().begin());
}

void OutputMap::clearModified() {
    mask_ = 0;
}

bool OutputMap::isModified() const {
    return mask_ != 0;
}

std::uint8_t OutputMap::bellRelay(int bell) const {
    if (bell < 0 || bell >= 5) {
        throw std::out_of_range("bell index");
    }
    return record_.relay(OutputMapRecord::BellRelays + static_cast<std::size_t>(bell));
}

std::uint8_t OutputMap::hammerRelay(int hammer) const {
    if (hammer < 0 || hammer >= 5) {
        throw std::out_of_range("hammer index");
    }
    return record_.relay(OutputMapRecord::HammerRelays + static_cast<std::size_t>(hammer));
}

std::uint8_t OutputMap::clockRelayA(int clock) const {
    if (clock < 0 || clock >= 2) {
        throw std::out_of_range("clock index");
    }
    return record_.relay(OutputMapRecord::ClockRelayA + static_cast<std::size_t>(clock));
}

std::uint8_t OutputMap::clockRelayB(int clock) const {
    if (clock < 0 || clock >= 2) {
        throw std::out_of_range("clock index");
    }
    return record_.relay(OutputMapRecord::ClockRelayB + static_cast<std::size_t>(clock));
}

// --- Relays ---

int OutputMap::functionByteOfRow(int row) {
    if (row < 0 || row >= FunctionRowCount) {
        return -1;
    }
    return RowBytes[static_cast<std::size_t>(row)];
}

std::uint8_t OutputMap::relayOfRow(int row) const {
    const int byte = functionByteOfRow(row);
    return byte < 0 ? OutputMapRecord::NoRelay : record_.relay(static_cast<std::size_t>(byte));
}

int OutputMap::relayUserByte(std::uint8_t relay) const {
    if (!isRelay(relay)) {
        return -1;
    }
    for (std::size_t byte : UserSearchOrder) {
        if (record_.relay(byte) == relay) {
            return static_cast<int>(byte);
        }
    }
    return -1;
}

std::optional<LabelText> OutputMap::relayUser(std::uint8_t relay) const {
    const int byte = relayUserByte(relay);
    if (byte < 0) {
        return std::nullopt;
    }
    return functionLabel(static_cast<std::size_t>(byte));
}

std::vector<std::size_t> OutputMap::relayUserBytes(std::uint8_t relay) const {
    std::vector<std::size_t> bytes;
    if (!isRelay(relay)) {
        return bytes;
    }
    for (std::size_t byte : UserSearchOrder) {
        if (record_.relay(byte) == relay) {
            bytes.push_back(byte);
        }
    }
    return bytes;
}

bool OutputMap::isSingleRelayClock(int clock) const {
    return clocks_ != nullptr && clock >= 0 && clock < 2 &&
           clocks_->record(clock).clockType() == TowerClockTable::SingleRelayType;
}

std::optional<LabelText> OutputMap::functionLabel(std::size_t functionByte) const {
    if (!OutputMapRecord::isFunctionByte(functionByte)) {
        return std::nullopt;
    }
    const int byte = static_cast<int>(functionByte);
    switch (byte) {
    case 5:
        return LabelText{304};
    case 6:
        return isSingleRelayClock(0) ? LabelText{543, 1} : LabelText{305};
    case 7:
        return isSingleRelayClock(1) ? LabelText{543, 2} : LabelText{306};
    case 8:
        return LabelText{307};
    case 9:
        return LabelText{308};
    case 12:
        return LabelText{312};
    case 13:
        return LabelText{311};
    case OutputMapRecord::AuxiliaryFunction1Relay:
        return LabelText{541};
    case OutputMapRecord::AuxiliaryFunction2Relay:
        return LabelText{542};
    case 22:
        return LabelText{842};
    default:
        break;
    }
    if (byte >= 16 && byte <= 20) {
        return LabelText{534, byte - 16 + 1};
    }
    return LabelText{110, byte + 1};
}

int OutputMap::functionRowOfRelay(std::uint8_t relay) const {
    if (!isRelay(relay)) {
        return 0;
    }
    auto singleRelay = [this](int clock) { return isSingleRelayClock(clock); };
    for (int b = 0; b < 5; ++b) {
        if (record_.relay(static_cast<std::size_t>(b)) == relay) {
            return 1 + b;
        }
    }
    for (int h = 0; h < 5; ++h) {
        if (record_.relay(OutputMapRecord::HammerRelays + static_cast<std::size_t>(h)) == relay) {
            return 6 + h;
        }
    }
    const std::array<std::pair<std::size_t, int>, 10> rest{{
        {5, 11},
        {6, singleRelay(0) ? 12 : 14},
        {8, 15},
        {7, singleRelay(1) ? 13 : 16},
        {9, 17},
        {12, 18},
        {13, 19},
        {OutputMapRecord::AuxiliaryFunction1Relay, 20},
        {OutputMapRecord::AuxiliaryFunction2Relay, 21},
        {22, 22},
    }};
    for (const auto& [byte, row] : rest) {
        if (record_.relay(byte) == relay) {
            return row;
        }
    }
    return 0;
}

bool OutputMap::assignRelay(int row, std::uint8_t relay) {
    if (!isRelay(relay) || row < 0 || row >= FunctionRowCount) {
        return false;
    }
    for (std::size_t byte : OutputMapRecord::FunctionBytes) {
        if (record_.relay(byte) == relay) {
            record_.setU8(byte, OutputMapRecord::NoRelay);
        }
    }
    const int byte = functionByteOfRow(row);
    if (byte >= 0) {
        record_.setU8(static_cast<std::size_t>(byte), relay);
    }
    mask_ |= 1u << relay;
    return true;
}

bool OutputMap::relayChoiceAllowed(std::uint8_t current, std::uint8_t chosen) const {
    if (chosen == OutputMapRecord::NoRelay || chosen == current) {
        return true;
    }
    return isRelay(chosen) && relayUserByte(chosen) < 0;
}

bool OutputMap::chooseRelay(std::size_t functionByte, std::uint8_t relay) {
    if (!OutputMapRecord::isFunctionByte(functionByte) || !relayChoiceAllowed(record_.relay(functionByte), relay)) {
        return false;
    }
    record_.setU8(functionByte, relay);
    return true;
}

LabelText OutputMap::relayText(std::uint8_t relay) {
    return relay == OutputMapRecord::NoRelay ? LabelText{109} : LabelText{300, relay + 1};
}

LabelText OutputMap::inputText(std::uint8_t input) {
    return input == OutputMapRecord::NoRelay ? LabelText{109} : LabelText{303, input + 1};
}

// --- Inputs ---

int OutputMap::sequenceOfRow(int index) const {
    if (sequences_ == nullptr || index < 0) {
        return -1;
    }
    int seen = 0;
    for (int s = 0; s < SequenceTable::Count; ++s) {
        if (sequences_->isUsed(s)) {
            if (seen == index) {
                return s;
            }
            ++seen;
        }
    }
    return -1;
}

int OutputMap::rowOfSequence(int record) const {
    if (sequences_ == nullptr || record < 0 || record >= SequenceTable::Count || !sequences_->isUsed(record)) {
        return -1;
    }
    int index = 0;
    for (int s = 0; s < record; ++s) {
        if (sequences_->isUsed(s)) {
            ++index;
        }
    }
    return index;
}

void OutputMap::assignRole(std::size_t offset, std::uint8_t role, std::uint8_t argument) {
    const auto flags = static_cast<std::uint8_t>(record_.u8(offset) & RoleFlagsCleared);
    record_.setU8(offset, static_cast<std::uint8_t>((role << 4) | flags));
    record_.setU8(offset + 1, argument);
}

void OutputMap::clearRole(std::size_t offset) {
    record_.setU8(offset, static_cast<std::uint8_t>(record_.u8(offset) | 0xF0));
}

int OutputMap::inputRow(int entry) const {
    const auto role = record_.inputRole(entry);
    const auto arg = record_.inputArgument(entry);
    switch (role) {
    case OutputMapRecord::NoRole:
        return 0;
    case OutputMapRecord::RoleClockContact:
    case OutputMapRecord::RoleClockMinute:
        if (arg > 1) {
            return -1;
        }
        return 1 + 2 * arg + (role - OutputMapRecord::RoleClockContact);
    case 1:
    case 2:
    case 3:
        return 4 + role;
    case OutputMapRecord::RoleSequence: {
        const int index = rowOfSequence(arg);
        return index < 0 ? -1 : FirstInputSequenceRow + index;
    }
    default:
        return -1;
    }
}

bool OutputMap::setInputRow(int entry, int row) {
    const std::size_t offset = OutputMapRecord::inputOffset(entry);
    if (row == 0) {
        clearRole(offset);
    } else if (row >= 1 && row <= 4) {
        const auto clock = static_cast<std::uint8_t>((row - 1) / 2);
        const auto role = static_cast<std::uint8_t>(OutputMapRecord::RoleClockContact + (row - 1) % 2);
        assignRole(offset, role, clock);
    } else if (row >= 5 && row <= 7) {
        assignRole(offset, static_cast<std::uint8_t>(row - 4), record_.inputArgument(entry));
    } else {
        const int sequence = sequenceOfRow(row - FirstInputSequenceRow);
        if (sequence < 0) {
            return false;
        }
        assignRole(offset, OutputMapRecord::RoleSequence, static_cast<std::uint8_t>(sequence));
    }
    if (entry < 2) {
        mask_ |= 1u << (MaskFirstInput + static_cast<std::uint32_t>(entry));
    }
    return true;
}

bool OutputMap::assignInputRow(int entry, int row) {
    if (entry < 0 || entry >= OutputMapRecord::InputCount) {
        return false;
    }
    if (row < 1 || row > 4) {
        return setInputRow(entry, row);
    }
    const int clock = (row - 1) / 2;
    const auto role = static_cast<std::uint8_t>(OutputMapRecord::RoleClockContact + (row - 1) % 2);
    for (int e = 0; e < OutputMapRecord::InputCount; ++e) {
        if (e != entry && record_.inputRole(e) == role && record_.inputArgument(e) == clock) {
            clearRole(OutputMapRecord::inputOffset(e));
            if (e < 2) {
                mask_ |= 1u << (MaskFirstInput + static_cast<std::uint32_t>(e));
            }
        }
    }
    return setInputRow(entry, row);
}

int OutputMap::returnRow(int entry) const {
    const auto role = record_.returnRole(entry);
    const auto arg = record_.returnArgument(entry);
    switch (role) {
    case OutputMapRecord::NoRole:
        return 0;
    case OutputMapRecord::RoleBellReturn:
        return 1;
    case 1:
    case 2:
    case 3:
        return 1 + role;
    case OutputMapRecord::RoleSequence: {
        const int index = rowOfSequence(arg);
        return index < 0 ? -1 : FirstReturnSequenceRow + index;
    }
    default:
        return -1;
    }
}

bool OutputMap::setReturnRow(int entry, int row) {
    const std::size_t offset = OutputMapRecord::returnOffset(entry);
    if (row == 0) {
        clearRole(offset);
    } else if (row == 1) {
        assignRole(offset, OutputMapRecord::RoleBellReturn, static_cast<std::uint8_t>(entry));
    } else if (row >= 2 && row <= 4) {
        assignRole(offset, static_cast<std::uint8_t>(row - 1), record_.returnArgument(entry));
    } else {
        const int sequence = sequenceOfRow(row - FirstReturnSequenceRow);
        if (sequence < 0) {
            return false;
        }
        assignRole(offset, OutputMapRecord::RoleSequence, static_cast<std::uint8_t>(sequence));
    }
    mask_ |= 1u << (MaskFirstReturn + static_cast<std::uint32_t>(entry));
    return true;
}

namespace {

std::optional<LabelText> roleLabel(std::uint8_t role, std::uint8_t arg) {
    switch (role) {
    case OutputMapRecord::NoRole:
        return std::nullopt;
    case OutputMapRecord::RoleSequence:
        return LabelText{535, arg + 1};
    case 1:
    case 2:
    case 3:
        return LabelText{535 + role};
    case OutputMapRecord::RoleClockContact:
        return LabelText{539, arg + 1};
    case OutputMapRecord::RoleClockMinute:
        return LabelText{540, arg + 1};
    case OutputMapRecord::RoleBellReturn:
        return LabelText{110, arg + 1};
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<LabelText> OutputMap::inputRoleLabel(int entry) const {
    return roleLabel(record_.inputRole(entry), record_.inputArgument(entry));
}

std::optional<LabelText> OutputMap::returnRoleLabel(int entry) const {
    return roleLabel(record_.returnRole(entry), record_.returnArgument(entry));
}

std::uint8_t OutputMap::clockInput(int clock, std::uint8_t role) const {
    for (int e = 0; e < OutputMapRecord::InputCount; ++e) {
        if (record_.inputRole(e) == role && record_.inputArgument(e) == clock) {
            return static_cast<std::uint8_t>(e);
        }
    }
    return 0xFF;
}

bool OutputMap::inputChoiceAllowed(std::uint8_t current, std::uint8_t chosen) const {
    if (chosen == 0xFF || chosen == current) {
        return true;
    }
    return chosen < 2 && record_.inputRole(chosen) > OutputMapRecord::RoleClockMinute;
}

bool OutputMap::setClockInput(int clock, std::uint8_t role, std::uint8_t entry) {
    if (clock < 0 || clock > 1 ||
        (role != OutputMapRecord::RoleClockContact && role != OutputMapRecord::RoleClockMinute) ||
        (entry != 0xFF && entry >= OutputMapRecord::InputCount)) {
        return false;
    }
    for (int e = 0; e < OutputMapRecord::InputCount; ++e) {
        if (record_.inputRole(e) == role && record_.inputArgument(e) == clock) {
            clearRole(OutputMapRecord::inputOffset(e));
        }
    }
    if (entry != 0xFF) {
        assignRole(OutputMapRecord::inputOffset(entry), role, static_cast<std::uint8_t>(clock));
    }
    return true;
}

SectionState OutputMap::state() const {
    return sectionstate::tableState<OutputMapRecord, std::uint32_t>(std::span(&record_, 1), std::span(&mask_, 1));
}

void OutputMap::setState(const SectionState& state) {
    sectionstate::setTableState<OutputMapRecord, std::uint32_t>(state, std::span(&record_, 1), std::span(&mask_, 1));
}

std::uint32_t OutputMap::terminalChanges(const OutputMapRecord& from, const OutputMapRecord& to, bool* unmapped) {
    std::uint32_t bits = 0;
    bool other = false;
    auto markRelay = [&bits](std::uint8_t relay) {
        if (isRelay(relay)) {
            bits |= 1u << relay;
        }
    };
    for (std::size_t byte = 0; byte < OutputMapRecord::Size; ++byte) {
        const std::uint8_t a = from.u8(byte);
        const std::uint8_t b = to.u8(byte);
        if (a == b) {
            continue;
        }
        if (OutputMapRecord::isFunctionByte(byte)) {
            markRelay(a);
            markRelay(b);
            other = other || (!isRelay(a) && !isRelay(b)); // one unassigned value for another
        } else if (byte >= OutputMapRecord::InputTable && byte < OutputMapRecord::InputTable + 4) {
            bits |= 1u << (MaskFirstInput + static_cast<std::uint32_t>((byte - OutputMapRecord::InputTable) / 2));
        } else if (byte >= OutputMapRecord::ReturnTable &&
                   byte < OutputMapRecord::ReturnTable + 2 * OutputMapRecord::ReturnCount) {
            bits |= 1u << (MaskFirstReturn + static_cast<std::uint32_t>((byte - OutputMapRecord::ReturnTable) / 2));
        } else {
            other = true;
        }
    }
    if (unmapped != nullptr) {
        *unmapped = other;
    }
    return bits;
}

// What an undo or redo changes is marked terminal by terminal, so the page highlights the relays and inputs the
// step touched; a change in bytes that belong to no terminal marks the whole section, so it still counts as
// changed.
void OutputMap::markChanges(const SectionState& from, const SectionState& to) {
    OutputMapRecord before;
    OutputMapRecord after;
    std::uint32_t ignored = 0;
    sectionstate::setTableState<OutputMapRecord, std::uint32_t>(from, std::span(&before, 1), std::span(&ignored, 1));
    sectionstate::setTableState<OutputMapRecord, std::uint32_t>(to, std::span(&after, 1), std::span(&ignored, 1));
    bool unmapped = false;
    mask_ |= terminalChanges(before, after, &unmapped);
    if (unmapped) {
        mask_ = 0xFFFFFFFFu;
    }
}

} // namespace tolvane
