#include "ringing/OutputMap.h"
#include "ringing/SequenceTable.h"
#include "ringing/TowerClockTable.h"

#include "SectionBody.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tolvane {
namespace {

template <typename Section>
constexpr bool HasCheck = requires(const Section& section, IssueList& issues) { section.validate(issues); };

constexpr std::uint8_t PK(int n) {
    return static_cast<std::uint8_t>(n - 1);
}

TEST(OutputMap, ResetFillsEveryByteWithNothingAssigned) {
    OutputMap m;
    for (std::size_t i = 0; i < OutputMapRecord::Size; ++i) {
        EXPECT_EQ(m.record().u8(i), 0xFF) << i;
    }
    EXPECT_EQ(m.amplifierRelay(), 0xFF);
    EXPECT_FALSE(m.isModified());
    for (std::uint8_t relay = 0; relay < 10; ++relay) {
        EXPECT_FALSE(m.relayUser(relay).has_value());
        EXPECT_EQ(m.functionRowOfRelay(relay), 0);
    }
    EXPECT_EQ(m.inputRow(0), 0);
    EXPECT_EQ(m.inputRow(1), 0);
    EXPECT_FALSE(m.inputRoleLabel(0).has_value());
    EXPECT_EQ(m.returnRow(4), 0);

    ASSERT_TRUE(m.assignRelay(11, PK(2)));
    m.reset();
    EXPECT_EQ(m.amplifierRelay(), 0xFF);
    EXPECT_FALSE(m.isModified());
}

TEST(OutputMap, ChooserRowsMapToTheirFunctionBytes) {
    const int expected[OutputMap::FunctionRowCount] = {-1, 0, 1, 2, 3, 4, 16, 17, 18, 19, 20, 5,
                                                       6,  7, 6, 8, 7, 9, 12, 13, 15, 21, 22};
    for (int row = 0; row < OutputMap::FunctionRowCount; ++row) {
        EXPECT_EQ(OutputMap::functionByteOfRow(row), expected[row]) << row;
    }
    EXPECT_EQ(OutputMap::functionByteOfRow(23), -1);
    EXPECT_EQ(OutputMap::functionByteOfRow(-1), -1);
}

TEST(OutputMap, AssigningARelayTakesItFromItsOldFunction) {
    OutputMap m;
    ASSERT_TRUE(m.assignRelay(2, PK(3))); // bell 2
    ASSERT_TRUE(m.assignRelay(6, PK(3))); // hammer 1
    EXPECT_EQ(m.record().u8(1), 0xFF);
    EXPECT_EQ(m.record().u8(16), 2);
    EXPECT_EQ(m.changeMask(), 1u << 2);
    EXPECT_TRUE(m.isModified());
    EXPECT_EQ(m.functionRowOfRelay(PK(3)), 6);
    EXPECT_EQ(m.relayUser(PK(3)), (LabelText{534, 1}));

    // Row 0 only frees the relay.
    ASSERT_TRUE(m.assignRelay(0, PK(3)));
    EXPECT_EQ(m.record().u8(16), 0xFF);
    EXPECT_FALSE(m.relayUser(PK(3)).has_value());
}

TEST(OutputMap, MovingAFunctionToAnotherRelayMarksOnlyTheNewRelay) {
    OutputMap m;
    ASSERT_TRUE(m.assignRelay(19, PK(4))); // hour herald
    m.clearModified();
    ASSERT_TRUE(m.assignRelay(19, PK(5)));
    EXPECT_EQ(m.record().u8(13), PK(5));
    EXPECT_FALSE(m.relayUser(PK(4)).has_value());
    EXPECT_EQ(m.changeMask(), 1u << 4);
}

TEST(OutputMap, AssignRelayRefusesWhatNamesNoRelayOrRow) {
    OutputMap m;
    EXPECT_FALSE(m.assignRelay(1, 0xFF));
    EXPECT_FALSE(m.assignRelay(1, 10));
    EXPECT_FALSE(m.assignRelay(23, PK(1)));
    EXPECT_FALSE(m.assignRelay(-1, PK(1)));
    EXPECT_EQ(m.record(), OutputMap().record());
    EXPECT_EQ(m.changeMask(), 0u);
}

TEST(OutputMap, RelayUserFollowsTheSearchOrderAndLabels) {
    OutputMap m;
    TowerClockTable clocks;
    m.setReferences(nullptr, &clocks);
    struct Case {
        int row;
        LabelText label;
    };
    const Case cases[] = {
        {3, {110, 3}}, {10, {534, 5}}, {11, {304}}, {14, {305}}, {16, {306}}, {15, {307}},
        {17, {308}},   {18, {312}},    {19, {311}}, {20, {541}}, {21, {542}}, {22, {842}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        OutputMap one;
        one.setReferences(nullptr, &clocks);
        ASSERT_TRUE(one.assignRelay(c.row, PK(7)));
        EXPECT_EQ(one.relayUser(PK(7)), c.label);
        EXPECT_EQ(one.relayUserByte(PK(7)), OutputMap::functionByteOfRow(c.row));
        EXPECT_EQ(one.relayOfRow(c.row), PK(7));
    }
    // A relay written into two bytes by older files: bells are found before the amplifier.
    OutputMapRecord shared = m.record();
    shared.setU8(5, PK(1));
    shared.setU8(4, PK(1));
    m.restore(shared);
    EXPECT_EQ(m.relayUserByte(PK(1)), 4);
    EXPECT_EQ(m.functionRowOfRelay(PK(1)), 5);
}

TEST(OutputMap, ASingleRelayClockChangesTheLabelAndTheRow) {
    TowerClockTable clocks;
    clocks.setClockType(1, 4);
    OutputMap m;
    m.setReferences(nullptr, &clocks);
    ASSERT_TRUE(m.assignRelay(13, PK(8)));
    EXPECT_EQ(m.record().u8(7), PK(8));
    EXPECT_EQ(m.relayUser(PK(8)), (LabelText{543, 2}));
    EXPECT_EQ(m.functionRowOfRelay(PK(8)), 13);
    ASSERT_TRUE(m.assignRelay(12, PK(9))); // clock 1 keeps type 1: its byte 6 shows as relay A
    EXPECT_EQ(m.relayUser(PK(9)), (LabelText{305}));
    EXPECT_EQ(m.functionRowOfRelay(PK(9)), 14);

    OutputMap lone; // without the clock table no clock counts as single-relay
    ASSERT_TRUE(lone.assignRelay(13, PK(8)));
    EXPECT_EQ(lone.functionRowOfRelay(PK(8)), 16);
}

TEST(OutputMap, EditorsRelayChoiceRefusesARelayInUse) {
    OutputMap m;
    ASSERT_TRUE(m.assignRelay(2, PK(3))); // bell 2 holds PK3
    EXPECT_FALSE(m.relayChoiceAllowed(0xFF, PK(3)));
    EXPECT_FALSE(m.chooseRelay(OutputMapRecord::HammerRelays, PK(3)));
    EXPECT_EQ(m.hammerRelay(0), 0xFF);
    // The current relay, none and a free relay are accepted.
    EXPECT_TRUE(m.chooseRelay(1, PK(3)));
    EXPECT_TRUE(m.chooseRelay(OutputMapRecord::HammerRelays, PK(4)));
    EXPECT_EQ(m.hammerRelay(0), PK(4));
    EXPECT_TRUE(m.chooseRelay(1, 0xFF));
    EXPECT_EQ(m.bellRelay(1), 0xFF);
    // Neither a relay beyond PK10 nor a byte that is no function.
    EXPECT_FALSE(m.chooseRelay(5, 10));
    EXPECT_FALSE(m.chooseRelay(10, PK(1)));
    EXPECT_FALSE(m.chooseRelay(30, PK(1)));
    EXPECT_EQ(m.changeMask(), 1u << 2); // the editors mark their own records
}

TEST(OutputMap, CancelRestoresTheSavedBytes) {
    OutputMap m;
    ASSERT_TRUE(m.assignRelay(11, PK(1)));
    const OutputMapRecord saved = m.record();
    ASSERT_TRUE(m.chooseRelay(0, PK(2)));
    ASSERT_TRUE(m.setClockInput(0, OutputMapRecord::RoleClockMinute, 1));
    m.restore(saved);
    EXPECT_EQ(m.record(), saved);
    EXPECT_EQ(m.amplifierRelay(), PK(1));
}

TEST(OutputMap, RelayAndInputTexts) {
    EXPECT_EQ(OutputMap::relayText(0), (LabelText{300, 1}));
    EXPECT_EQ(OutputMap::relayText(9), (LabelText{300, 10}));
    EXPECT_EQ(OutputMap::relayText(0xFF), (LabelText{109}));
    EXPECT_EQ(OutputMap::inputText(1), (LabelText{303, 2}));
    EXPECT_EQ(OutputMap::inputText(0xFF), (LabelText{109}));
}

class OutputMapInputs : public testing::Test {
protected:
    OutputMapInputs() {
        // Sequences 1, 2 and 3 created, then 2 deleted: 1 and 3 are in use.
        while (sequences.usedCount() < 3) {
            sequences.createSequence();
        }
        sequences.deleteSequence(1);
        map.setReferences(&sequences, &clocks);
    }
    SequenceTable sequences;
    TowerClockTable clocks;
    OutputMap map;
};

TEST_F(OutputMapInputs, SequenceRowsSkipDeletedSequences) {
    ASSERT_TRUE(sequences.isUsed(0));
    ASSERT_FALSE(sequences.isUsed(1));
    ASSERT_TRUE(sequences.isUsed(2));
    ASSERT_TRUE(map.setInputRow(0, 9)); // the row of sequence 3
    EXPECT_EQ(map.record().inputRole(0), OutputMapRecord::RoleSequence);
    EXPECT_EQ(map.record().inputArgument(0), 2);
    EXPECT_EQ(map.inputRow(0), 9);
    EXPECT_EQ(map.inputRoleLabel(0), (LabelText{535, 3}));
    EXPECT_EQ(map.changeMask(), 1u << 10);
    // A row beyond the sequences in use is refused and changes nothing.
    EXPECT_FALSE(map.setInputRow(1, 10));
    EXPECT_EQ(map.inputRow(1), 0);
    EXPECT_EQ(map.changeMask(), 1u << 10);
}

TEST_F(OutputMapInputs, InputRowsRoundTrip) {
    struct Case {
        int row;
        std::uint8_t role, argument;
        LabelText label;
    };
    const Case cases[] = {
        {1, 4, 0, {539, 1}}, {2, 5, 0, {540, 1}}, {3, 4, 1, {539, 2}}, {4, 5, 1, {540, 2}},
        {5, 1, 0x55, {536}}, {6, 2, 0x55, {537}}, {7, 3, 0x55, {538}}, {8, 0, 0, {535, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        OutputMapRecord start = map.record();
        start.setU8(OutputMapRecord::InputTable + 2, 0xF7); // WE2: no role, flags 0111
        start.setU8(OutputMapRecord::InputTable + 3, 0x55);
        map.restore(start);
        map.clearModified();
        ASSERT_TRUE(map.setInputRow(1, c.row));
        EXPECT_EQ(map.record().inputRole(1), c.role);
        EXPECT_EQ(map.record().inputFlags(1), 0x4); // bits 0 and 1 cleared, bit 2 kept
        EXPECT_EQ(map.record().inputArgument(1), c.argument);
        EXPECT_EQ(map.inputRow(1), c.row);
        EXPECT_EQ(map.inputRoleLabel(1), c.label);
        EXPECT_EQ(map.changeMask(), 1u << 11);
    }
    ASSERT_TRUE(map.setInputRow(1, 0));
    EXPECT_EQ(map.record().inputRole(1), OutputMapRecord::NoRole);
    EXPECT_EQ(map.inputRow(1), 0);
}

TEST_F(OutputMapInputs, ReturnRowsRoundTrip) {
    ASSERT_TRUE(map.setReturnRow(3, 1));
    EXPECT_EQ(map.record().returnRole(3), OutputMapRecord::RoleBellReturn);
    EXPECT_EQ(map.record().returnArgument(3), 3); // its own index
    EXPECT_EQ(map.returnRow(3), 1);
    EXPECT_EQ(map.returnRoleLabel(3), (LabelText{110, 4}));
    EXPECT_EQ(map.changeMask(), 1u << 15);

    for (int row = 2; row <= 4; ++row) {
        ASSERT_TRUE(map.setReturnRow(0, row));
        EXPECT_EQ(map.record().returnRole(0), row - 1);
        EXPECT_EQ(map.returnRow(0), row);
    }
    ASSERT_TRUE(map.setReturnRow(4, 6)); // second sequence in use: record 2
    EXPECT_EQ(map.record().returnArgument(4), 2);
    EXPECT_EQ(map.returnRow(4), 6);
    EXPECT_FALSE(map.setReturnRow(4, 7));
    EXPECT_EQ(map.changeMask(), (1u << 15) | (1u << 12) | (1u << 16));
}

TEST_F(OutputMapInputs, AStoredRoleWithoutARowShowsNoRow) {
    ASSERT_TRUE(map.setInputRow(0, 9)); // sequence 3
    sequences.deleteSequence(2);
    EXPECT_EQ(map.inputRow(0), -1);
    EXPECT_EQ(map.record().inputArgument(0), 2); // the stored role is left alone

    OutputMapRecord odd = map.record();
    odd.setU8(OutputMapRecord::InputTable + 2, 0x40); // role 4 for a clock 3 that does not exist
    odd.setU8(OutputMapRecord::InputTable + 3, 2);
    odd.setU8(OutputMapRecord::ReturnTable, 0x40); // role 4 is not offered for return inputs
    map.restore(odd);
    EXPECT_EQ(map.inputRow(1), -1);
    EXPECT_EQ(map.returnRow(0), -1);

    OutputMap lone; // without the sequence table there are no sequence rows
    EXPECT_FALSE(lone.setInputRow(0, 8));
}

TEST_F(OutputMapInputs, ClockEditorMovesTheRoleWhileThePageMayDuplicateIt) {
    ASSERT_TRUE(map.setClockInput(0, OutputMapRecord::RoleClockMinute, 0));
    EXPECT_EQ(map.clockInput(0, OutputMapRecord::RoleClockMinute), 0);
    ASSERT_TRUE(map.setClockInput(0, OutputMapRecord::RoleClockMinute, 1));
    EXPECT_EQ(map.record().inputRole(0), OutputMapRecord::NoRole);
    EXPECT_EQ(map.record().inputRole(1), OutputMapRecord::RoleClockMinute);
    EXPECT_EQ(map.record().inputArgument(1), 0);
    EXPECT_EQ(map.clockInput(0, OutputMapRecord::RoleClockMinute), 1);

    // On the page the same choice leaves both inputs with the role.
    ASSERT_TRUE(map.setInputRow(0, 2));
    EXPECT_EQ(map.record().inputRole(0), OutputMapRecord::RoleClockMinute);
    EXPECT_EQ(map.record().inputRole(1), OutputMapRecord::RoleClockMinute);

    // The clock editor's move clears every holder, also entries beyond WE2; 0xFF only clears.
    OutputMapRecord r = map.record();
    r.setU8(OutputMapRecord::InputTable + 2 * 20, 0x50);
    r.setU8(OutputMapRecord::InputTable + 2 * 20 + 1, 0);
    map.restore(r);
    ASSERT_TRUE(map.setClockInput(0, OutputMapRecord::RoleClockMinute, 0xFF));
    EXPECT_EQ(map.clockInput(0, OutputMapRecord::RoleClockMinute), 0xFF);
    EXPECT_EQ(map.record().inputRole(20), OutputMapRecord::NoRole);
}

TEST_F(OutputMapInputs, ClockRolesOfTheOtherClockAndKindStay) {
    ASSERT_TRUE(map.setClockInput(1, OutputMapRecord::RoleClockContact, 0));
    ASSERT_TRUE(map.setClockInput(0, OutputMapRecord::RoleClockContact, 1));
    ASSERT_TRUE(map.setClockInput(1, OutputMapRecord::RoleClockMinute, 0xFF));
    EXPECT_EQ(map.clockInput(1, OutputMapRecord::RoleClockContact), 0);
    EXPECT_EQ(map.clockInput(0, OutputMapRecord::RoleClockContact), 1);
    EXPECT_FALSE(map.setClockInput(2, OutputMapRecord::RoleClockContact, 0));
    EXPECT_FALSE(map.setClockInput(0, 3, 0));
    EXPECT_FALSE(map.setClockInput(0, OutputMapRecord::RoleClockContact, 32));
}

TEST_F(OutputMapInputs, InputChoiceRefusesAnInputThatHasARole) {
    ASSERT_TRUE(map.setInputRow(1, 5)); // WE2: role 1
    EXPECT_FALSE(map.inputChoiceAllowed(0xFF, 1));
    EXPECT_TRUE(map.inputChoiceAllowed(0xFF, 0));
    EXPECT_TRUE(map.inputChoiceAllowed(1, 1));
    EXPECT_TRUE(map.inputChoiceAllowed(1, 0xFF));
    EXPECT_FALSE(map.inputChoiceAllowed(0xFF, 2)); // only WE1 and WE2 are offered
}

// The page's own choice of a clock role moves it, as the clock editor does: one clock never takes its minute
// pulses or its 6:00 contact from two inputs.
TEST_F(OutputMapInputs, ThePagesClockRoleChoiceMovesTheRoleAndMarksBothInputs) {
    ASSERT_TRUE(map.assignInputRow(0, 2)); // WE1: minute input of clock 1
    OutputMapRecord r = map.record();
    r.setU8(OutputMapRecord::InputTable + 2 * 20, 0x53); // entry 20 holds it too, flags 0011
    r.setU8(OutputMapRecord::InputTable + 2 * 20 + 1, 0);
    map.restore(r);
    map.clearModified();

    ASSERT_TRUE(map.assignInputRow(1, 2)); // WE2 takes it
    EXPECT_EQ(map.record().inputRole(0), OutputMapRecord::NoRole);
    EXPECT_EQ(map.record().inputRole(20), OutputMapRecord::NoRole);
    EXPECT_EQ(map.record().inputFlags(20), 0x3) << "losing a role keeps the flags";
    EXPECT_EQ(map.record().inputRole(1), OutputMapRecord::RoleClockMinute);
    EXPECT_EQ(map.clockInput(0, OutputMapRecord::RoleClockMinute), 1);
    EXPECT_EQ(map.changeMask(), (1u << 10) | (1u << 11));

    // The other clock's role and the other kind stay where they are.
    ASSERT_TRUE(map.assignInputRow(0, 1)); // WE1: 6:00 contact of clock 1
    ASSERT_TRUE(map.assignInputRow(0, 3)); // WE1: 6:00 contact of clock 2 instead
    ASSERT_TRUE(map.assignInputRow(1, 1)); // WE2: 6:00 contact of clock 1
    EXPECT_EQ(map.clockInput(1, OutputMapRecord::RoleClockContact), 0);
    EXPECT_EQ(map.clockInput(0, OutputMapRecord::RoleClockContact), 1);
    EXPECT_EQ(map.clockInput(0, OutputMapRecord::RoleClockMinute), 0xFF) << "WE2 gave up the minute input";

    // Two inputs may start the same sequence: nothing moves for the other roles.
    ASSERT_TRUE(map.assignInputRow(0, 8));
    ASSERT_TRUE(map.assignInputRow(1, 8));
    EXPECT_EQ(map.inputRow(0), 8);
    EXPECT_EQ(map.inputRow(1), 8);
    EXPECT_FALSE(map.assignInputRow(0, 10));
    EXPECT_FALSE(map.assignInputRow(32, 0));
}

// An undo marks the terminals whose wiring it changed, not every terminal.
TEST(OutputMap, WhatAnUndoChangesIsMarkedTerminalByTerminal) {
    OutputMap m;
    ASSERT_TRUE(m.assignRelay(2, PK(3))); // bell 2
    m.clearModified();
    const SectionState before = m.state();
    ASSERT_TRUE(m.assignRelay(2, PK(5))); // bell 2 moves to PK5: PK3 is free
    ASSERT_TRUE(m.setReturnRow(1, 1));
    const SectionState after = m.state();
    m.setState(before);
    m.markChanges(after, before);
    EXPECT_EQ(m.changeMask(), (1u << 2) | (1u << 4) | (1u << 13));

    bool unmapped = true;
    EXPECT_EQ(OutputMap::terminalChanges(m.record(), m.record(), &unmapped), 0u);
    EXPECT_FALSE(unmapped);

    // A byte that belongs to no terminal marks the whole section, so the change is never lost.
    OutputMapRecord odd = m.record();
    odd.setU8(200, 0x12);
    m.clearModified();
    const SectionState plain = m.state();
    m.restore(odd);
    const SectionState changed = m.state();
    m.setState(plain);
    m.markChanges(changed, plain);
    EXPECT_EQ(m.changeMask(), 0xFFFFFFFFu);
}

TEST(OutputMap, ImageAndProjectBodyAreTheBytesUnchanged) {
    OutputMap m;
    OutputMapRecord r;
    for (std::size_t i = 0; i < OutputMapRecord::Size; ++i) {
        r.setU8(i, static_cast<std::uint8_t>(i * 3));
    }
    m.restore(r);

    std::vector<std::uint8_t> image(OutputMap::ImageSize, 0xFF);
    m.packImage(image);
    for (std::size_t i = 0; i < image.size(); ++i) {
        EXPECT_EQ(image[i], r.u8(i)) << i;
    }
    OutputMap fromImage;
    fromImage.unpackImage(image);
    EXPECT_EQ(fromImage.record(), r);

    OutputMap loaded;
    testing_support::loadBody(loaded, testing_support::storeBody(m));
    EXPECT_EQ(loaded.record(), r);

    // The section has no rule of its own, so it offers no check for the project to call.
    static_assert(!HasCheck<OutputMap>);
}

} // namespace
} // namespace tolvane
