#pragma once

#include "device/ByteIO.h"
#include "section/ProjectSection.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tolvane {

class SequenceTable;
class TowerClockTable;

// A user-interface text by number, with the number to put into it (0 when the text takes none).
struct LabelText {
    int textId = 0;
    int number = 0;

    friend bool operator==(const LabelText&, const LabelText&) = default;
};

// The cross-connection as bytes: which relay drives each function, and the role of every input.
class OutputMapRecord : public ByteRecord<238> {
public:
    static constexpr std::uint8_t NoRelay = 0xFF;
    static constexpr int RelayCount = 10;

    // Function bytes.
    static constexpr std::size_t BellRelays = 0; // 0-4, bells 1-5
    static constexpr std::size_t AmplifierRelay = 5;
    static constexpr std::size_t ClockRelayA = 6; // 6-7, also the single relay of a type-4 clock
    static constexpr std::size_t ClockRelayB = 8; // 8-9
    static constexpr std::size_t QuarterHeraldRelay = 12;
    static constexpr std::size_t HourHeraldRelay = 13;
    static constexpr std::size_t AuxiliaryFunction1Relay = 15; // labelled text 541
    static constexpr std::size_t HammerRelays = 16;            // 16-20, hammers 1-5
    static constexpr std::size_t AuxiliaryFunction2Relay = 21; // labelled text 542
    static constexpr std::size_t AstroRelay = 22;
    // Every byte that names a relay for a function.
    static constexpr std::array<std::size_t, 20> FunctionBytes{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                                               12, 13, 15, 16, 17, 18, 19, 20, 21, 22};
    static bool isFunctionByte(std::size_t byte);

    // Input entries: two bytes each, role in the high half of the first byte, flags in its low half, then the
    // role's argument.
    static constexpr std::size_t InputTable = 46;
    static constexpr int InputCount = 32; // 0 = WE1, 1 = WE2; the others are never assigned
    static constexpr std::size_t ReturnTable = 110;
    static constexpr int ReturnCount = 5; // POWR1-POWR5
    static constexpr std::uint8_t NoRole = 0xF;

    static constexpr std::uint8_t RoleSequence = 0;
    static constexpr std::uint8_t RoleClockContact = 4; // the 6:00 correction contact
    static constexpr std::uint8_t RoleClockMinute = 5;
    static constexpr std::uint8_t RoleBellReturn = 6;

    std::uint8_t relay(std::size_t functionByte) const { return u8(functionByte); }

    std::uint8_t inputRole(int entry) const { return static_cast<std::uint8_t>(u8(inputOffset(entry)) >> 4); }
    std::uint8_t inputFlags(int entry) const { return static_cast<std::uint8_t>(u8(inputOffset(entry)) & 0x0F); }
    std::uint8_t inputArgument(int entry) const { return u8(inputOffset(entry) + 1); }
    std::uint8_t returnRole(int entry) const { return static_cast<std::uint8_t>(u8(returnOffset(entry)) >> 4); }
    std::uint8_t returnFlags(int entry) const { return static_cast<std::uint8_t>(u8(returnOffset(entry)) & 0x0F); }
    std::uint8_t returnArgument(int entry) const { return u8(returnOffset(entry) + 1); }

    static std::size_t inputOffset(int entry);
    static std::size_t returnOffset(int entry);
};

// The cross-connection of relays and inputs (one record, bytes stored unchanged in the project file and the card
// image) and the assignment operations of the cross-connection page, its choosers and the bell, hammer and clock
// editors. The 32-bit change mask has one bit per relay (0-9), WE1/WE2 (10, 11) and POWR1-POWR5 (12-16).
class OutputMap : public ProjectSection {
public:
    static constexpr std::size_t ImageSize = OutputMapRecord::Size;
    static constexpr std::size_t BodySize = OutputMapRecord::Size;
    static constexpr int FunctionRowCount = 23;
    static constexpr int FirstInputSequenceRow = 8;
    static constexpr int FirstReturnSequenceRow = 5;

    static constexpr std::uint32_t MaskFirstInput = 10;  // bit number of WE1
    static constexpr std::uint32_t MaskFirstReturn = 12; // bit number of POWR1

    OutputMap() = default;

    // The sequence table lists the sequences a role can start; the clock table tells which clocks use a single
    // relay. Both may be null: then no sequence rows exist and no clock counts as single-relay.
    void setReferences(const SequenceTable* sequences, const TowerClockTable* clocks);
    const SequenceTable* sequenceTable() const { return sequences_; }

    void resetItem(int index);
    void reset();
    void unpackImage(std::span<const std::uint8_t> image);
    void packImage(std::span<std::uint8_t> image) const;
    void serialize(SectionArchive& archive) override;
    void clearModified() override;
    bool isModified() const override;
    SectionState state() const override;
    void setState(const SectionState& state) override;
    void markChanges(const SectionState& from, const SectionState& to) override;

    const OutputMapRecord& record() const { return record_; }
    std::uint32_t changeMask() const { return mask_; }
    // Restores bytes saved before an editor was opened (the editor's Cancel); the mask is left as it is.
    void restore(const OutputMapRecord& saved) { record_ = saved; }

    std::uint8_t amplifierRelay() const { return record_.relay(OutputMapRecord::AmplifierRelay); }
    std::uint8_t bellRelay(int bell) const;
    std::uint8_t hammerRelay(int hammer) const;
    std::uint8_t clockRelayA(int clock) const;
    std::uint8_t clockRelayB(int clock) const;
    // The one relay of a type-4 clock shares the byte of relay A.
    std::uint8_t clockSingleRelay(int clock) const { return clockRelayA(clock); }

    // --- Relays ---
    // The function byte of a row of the function chooser (1-22); -1 for row 0 or a row outside the list.
    static int functionByteOfRow(int row);
    // The relay that drives the function of a chooser row, or 0xFF.
    std::uint8_t relayOfRow(int row) const;
    // The function byte that holds `relay`, searched bells, hammers, amplifier, 6, 7, 8, 9, 13, 12, 15, 21, 22;
    // -1 when the relay is free.
    int relayUserByte(std::uint8_t relay) const;
    // The label of the function that uses `relay`; nothing when the relay is free.
    std::optional<LabelText> relayUser(std::uint8_t relay) const;
    // Every function byte that holds `relay`, in the order relayUserByte searches them. More than one only in a
    // file written elsewhere: this editor never gives one relay two functions.
    std::vector<std::size_t> relayUserBytes(std::uint8_t relay) const;
    // The label a function byte is shown by as the user of its relay (a type-4 clock's byte 6 or 7 as its single
    // relay); nothing for a byte that is no function.
    std::optional<LabelText> functionLabel(std::size_t functionByte) const;
    // Whether clock `clock` (0, 1) drives its dial through one relay (type 4).
    bool isSingleRelayClock(int clock) const;
    // The function-chooser row preselected for `relay`; 0 when no function holds it.
    int functionRowOfRelay(std::uint8_t relay) const;
    // The cross-connection page: frees `relay` from every function, then gives it to the function of `row`
    // (row 0 only frees it), and marks the relay. Refused (false) for a relay outside 0-9 or an unknown row.
    bool assignRelay(int row, std::uint8_t relay);
    // The relay chooser of the editors: the current relay, none (0xFF) and any free relay may be chosen; a relay
    // that another function uses may not.
    bool relayChoiceAllowed(std::uint8_t current, std::uint8_t chosen) const;
    // Writes the chosen relay into the editor's own function byte after the same check; false when refused.
    bool chooseRelay(std::size_t functionByte, std::uint8_t relay);

    static LabelText relayText(std::uint8_t relay);
    // The change-mask bits of the terminals whose wiring differs between two records: a relay whose function
    // bytes gained or lost it, WE1/WE2 and POWR1-POWR5 whose entry differs. `unmapped` tells whether bytes that
    // belong to no terminal differ too.
    static std::uint32_t terminalChanges(const OutputMapRecord& from, const OutputMapRecord& to,
                                         bool* unmapped = nullptr);
    static LabelText inputText(std::uint8_t input);

    // --- Inputs ---
    // The row of the input-role chooser that shows the role of input entry `entry`; -1 when no row shows it (a
    // deleted sequence, a role the chooser does not offer).
    int inputRow(int entry) const;
    // Stores the role of chooser row `row` in input entry `entry` and marks WE1/WE2. False when the row is unknown.
    bool setInputRow(int entry, int row);
    // The cross-connection page's choice for WE1 or WE2: as setInputRow, except that a clock role (rows 1-4) moves
    // as in the clock editor: every input entry that holds it for that clock (all 32 are searched) loses it first,
    // so one clock never counts minute pulses or correction contacts from two inputs. Every input that gains or
    // loses a role is marked.
    bool assignInputRow(int entry, int row);
    // The same for the return inputs POWR1-POWR5 and their chooser.
    int returnRow(int entry) const;
    bool setReturnRow(int entry, int row);
    // The label of an input's or a return input's role; nothing when it has none.
    std::optional<LabelText> inputRoleLabel(int entry) const;
    std::optional<LabelText> returnRoleLabel(int entry) const;

    // The input entry that holds role 4 or 5 for `clock`, or 0xFF.
    std::uint8_t clockInput(int clock, std::uint8_t role) const;
    // The input chooser of the clock editor: the current input, none and an input without a role (0-5) may be
    // chosen; only WE1 and WE2 are offered.
    bool inputChoiceAllowed(std::uint8_t current, std::uint8_t chosen) const;
    // Moves role 4 or 5 of `clock` to input `entry`: every entry holding it loses it first; entry 0xFF only clears.
    bool setClockInput(int clock, std::uint8_t role, std::uint8_t entry);

private:
    // The sequence record shown on sequence row `index` (0 = first sequence in use); -1 when none.
    int sequenceOfRow(int index) const;
    int rowOfSequence(int record) const;
    void assignRole(std::size_t offset, std::uint8_t role, std::uint8_t argument);
    void clearRole(std::size_t offset);

    OutputMapRecord record_{};
    std::uint32_t mask_ = 0;
    const SequenceTable* sequences_ = nullptr;
    const TowerClockTable* clocks_ = nullptr;
};

} // namespace tolvane
