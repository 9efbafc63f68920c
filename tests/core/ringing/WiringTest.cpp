#include "ringing/Wiring.h"
#include "ringing/OutputMap.h"
#include "ringing/SequenceTable.h"
#include "ringing/TowerClockTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tolvane {
namespace {

constexpr std::uint8_t PK(int n) {
    return static_cast<std::uint8_t>(n - 1);
}

constexpr Terminal relayTerminal(int n) {
    return {Terminal::Kind::Relay, n - 1};
}

std::vector<LabelText> labels(const std::vector<ChooserRow>& rows) {
    std::vector<LabelText> all;
    for (const ChooserRow& row : rows) {
        all.push_back(row.label);
    }
    return all;
}

// A tower with clocks and sequences 1 and 3 in use (2 was created and deleted).
class Wiring : public testing::Test {
protected:
    Wiring() {
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

TEST(Terminal, PositionsNamesAndMaskBitsFollowThePage) {
    const char* names[Terminal::Count] = {"PK1",  "PK2", "PK3", "PK4",   "PK5",   "PK6",   "PK7",   "PK8",  "PK9",
                                          "PK10", "WE1", "WE2", "POWR1", "POWR2", "POWR3", "POWR4", "POWR5"};
    for (int p = 0; p < Terminal::Count; ++p) {
        const Terminal t = Terminal::at(p);
        EXPECT_EQ(t.name(), names[p]);
        EXPECT_EQ(t.position(), p);
        EXPECT_EQ(t.maskBit(), 1u << p);
    }
    EXPECT_EQ(Terminal::at(11), (Terminal{Terminal::Kind::Input, 1}));
    EXPECT_EQ(Terminal::at(16), (Terminal{Terminal::Kind::ReturnInput, 4}));
    EXPECT_THROW(Terminal::at(17), std::out_of_range);
}

TEST_F(Wiring, TheFunctionChooserListsTheFunctionsWithTheRelayOfEach) {
    const std::vector<LabelText> expected{
        {109},    {110, 1}, {110, 2}, {110, 3}, {110, 4}, {110, 5}, {534, 1}, {534, 2},
        {534, 3}, {534, 4}, {534, 5}, {168},    {543, 1}, {543, 2}, {544, 1}, {545, 1},
        {544, 2}, {545, 2}, {546},    {547},    {541},    {542},    {842},
    };
    EXPECT_EQ(labels(wiring::functionRows(map)), expected);

    ASSERT_TRUE(map.assignRelay(2, PK(3)));  // bell 2
    ASSERT_TRUE(map.assignRelay(16, PK(7))); // clock 2 relay A: byte 7, also the row of its single relay
    const auto rows = wiring::functionRows(map);
    ASSERT_EQ(rows.size(), 23u);
    for (int row = 0; row < 23; ++row) {
        SCOPED_TRACE(row);
        std::vector<Terminal> terminals;
        if (row == 2) {
            terminals = {relayTerminal(3)};
        } else if (row == 13 || row == 16) {
            terminals = {relayTerminal(7)};
        }
        EXPECT_EQ(rows[static_cast<std::size_t>(row)].terminals, terminals);
    }
}

TEST_F(Wiring, TheInputRoleChooserOffersASequenceOnlyWhileItIsInUse) {
    auto rows = wiring::inputRoleRows(map);
    const std::vector<LabelText> expected{{109}, {539, 1}, {540, 1}, {539, 2}, {540, 2},
                                          {536}, {537},    {538},    {535, 1}, {535, 3}};
    EXPECT_EQ(labels(rows), expected);

    ASSERT_TRUE(map.setInputRow(0, 9)); // WE1 starts sequence 3
    ASSERT_TRUE(map.setInputRow(1, 2)); // WE2 the minute input of clock 1
    rows = wiring::inputRoleRows(map);
    EXPECT_EQ(rows[9].terminals, (std::vector<Terminal>{{Terminal::Kind::Input, 0}}));
    EXPECT_EQ(rows[2].terminals, (std::vector<Terminal>{{Terminal::Kind::Input, 1}}));

    // Sequence 3 deleted: no longer offered, and the role WE1 still stores is on no row.
    sequences.deleteSequence(2);
    rows = wiring::inputRoleRows(map);
    EXPECT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows.back().label, (LabelText{535, 1}));
    EXPECT_EQ(map.inputRow(0), -1);
    // A new sequence takes the first free record and is offered again.
    sequences.createSequence();
    EXPECT_EQ(labels(wiring::inputRoleRows(map)).back(), (LabelText{535, 2}));
}

TEST_F(Wiring, TheReturnRoleChooserListsItsRolesAndTheReturnInputsHoldingThem) {
    ASSERT_TRUE(map.setReturnRow(2, 1)); // POWR3: bell return
    ASSERT_TRUE(map.setReturnRow(4, 1)); // POWR5: bell return
    ASSERT_TRUE(map.setReturnRow(0, 5)); // POWR1: sequence 1
    const auto rows = wiring::returnRoleRows(map);
    const std::vector<LabelText> expected{{109}, {226}, {536}, {537}, {538}, {535, 1}, {535, 3}};
    EXPECT_EQ(labels(rows), expected);
    EXPECT_EQ(rows[1].terminals,
              (std::vector<Terminal>{{Terminal::Kind::ReturnInput, 2}, {Terminal::Kind::ReturnInput, 4}}));
    EXPECT_EQ(rows[5].terminals, (std::vector<Terminal>{{Terminal::Kind::ReturnInput, 0}}));
    EXPECT_TRUE(rows[0].terminals.empty());
}

TEST_F(Wiring, TheRelayAndInputChoosersShowWhatUsesEach) {
    ASSERT_TRUE(map.assignRelay(11, PK(1))); // amplifier
    ASSERT_TRUE(map.setInputRow(1, 2));      // WE2: minute input of clock 1
    const auto relays = wiring::relayRows(map);
    ASSERT_EQ(relays.size(), 11u);
    EXPECT_EQ(relays[0].label, (LabelText{109}));
    EXPECT_EQ(relays[1].label, (LabelText{300, 1}));
    EXPECT_EQ(relays[1].user, (LabelText{304}));
    EXPECT_EQ(relays[10].label, (LabelText{300, 10}));
    EXPECT_FALSE(relays[10].user.has_value());

    const auto inputs = wiring::inputRows(map);
    ASSERT_EQ(inputs.size(), 3u);
    EXPECT_EQ(inputs[1].label, (LabelText{303, 1}));
    EXPECT_FALSE(inputs[1].user.has_value());
    EXPECT_EQ(inputs[2].user, (LabelText{540, 1}));

    EXPECT_EQ(wiring::relayRowOf(0xFF), 0);
    EXPECT_EQ(wiring::relayRowOf(PK(10)), 10);
    EXPECT_EQ(wiring::relayRowOf(10), -1);
    EXPECT_EQ(wiring::inputRowOf(1), 2);
    EXPECT_EQ(wiring::inputRowOf(5), -1) << "entries beyond WE2 are not listed";
}

struct RelayChoiceCase {
    const char* name;
    std::uint8_t current;
    int row;
    ChoiceOutcome outcome;
};

class RelayChoice : public testing::TestWithParam<RelayChoiceCase> {};

// Bell 2 holds PK3; the chooser is opened for a function that holds `current`.
TEST_P(RelayChoice, OkEndsAsTheRulesSay) {
    OutputMap map;
    ASSERT_TRUE(map.assignRelay(2, PK(3)));
    EXPECT_EQ(wiring::relayChoice(map, GetParam().current, GetParam().row), GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(Wiring, RelayChoice,
                         testing::Values(RelayChoiceCase{"NothingSelected", 0xFF, -1, {114, -1}},
                                         RelayChoiceCase{"NoneRow", PK(3), 0, {0, 0xFF}},
                                         RelayChoiceCase{"FreeRelay", 0xFF, 5, {0, PK(5)}},
                                         RelayChoiceCase{"RelayOfAnotherFunction", 0xFF, 3, {298, -1}},
                                         RelayChoiceCase{"TheFunctionsOwnRelay", PK(3), 3, {0, PK(3)}},
                                         RelayChoiceCase{"RowBeyondTheList", 0xFF, 11, {114, -1}}),
                         [](const ::testing::TestParamInfo<RelayChoiceCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(WiringChoice, InputChoiceRefusesAnInputWithARoleOfItsOwn) {
    OutputMap map;
    ASSERT_TRUE(map.setInputRow(0, 5)); // WE1: input function 1
    EXPECT_EQ(wiring::inputChoice(map, 0xFF, -1), (ChoiceOutcome{114, -1}));
    EXPECT_EQ(wiring::inputChoice(map, 0xFF, 1), (ChoiceOutcome{302, -1}));
    EXPECT_EQ(wiring::inputChoice(map, 0, 1), (ChoiceOutcome{0, 0}));
    EXPECT_EQ(wiring::inputChoice(map, 0, 2), (ChoiceOutcome{0, 1}));
    EXPECT_EQ(wiring::inputChoice(map, 0, 0), (ChoiceOutcome{0, 0xFF}));
    EXPECT_EQ(wiring::rowChoice(-1), (ChoiceOutcome{114, -1}));
    EXPECT_EQ(wiring::rowChoice(0), (ChoiceOutcome{0, 0}));
}

TEST_F(Wiring, TheWiringLinesOfASmallTower) {
    clocks.setClockType(1, 4);
    ASSERT_TRUE(map.assignRelay(1, PK(1)));  // bell 1
    ASSERT_TRUE(map.assignRelay(6, PK(2)));  // hammer 1
    ASSERT_TRUE(map.assignRelay(11, PK(3))); // amplifier
    ASSERT_TRUE(map.assignRelay(14, PK(4))); // clock 1 relay A
    ASSERT_TRUE(map.assignRelay(15, PK(5))); // clock 1 relay B
    ASSERT_TRUE(map.assignRelay(13, PK(6))); // clock 2's single relay
    ASSERT_TRUE(map.assignRelay(19, PK(7))); // hour herald
    ASSERT_TRUE(map.setInputRow(0, 9));      // WE1 starts sequence 3
    ASSERT_TRUE(map.setInputRow(1, 4));      // WE2 minute input of clock 2
    ASSERT_TRUE(map.setReturnRow(1, 1));     // POWR2 return of bell 2

    using K = Terminal::Kind;
    const std::vector<WiringLine> expected{
        {{K::Relay, 0}, {2160}, LabelText{110, 1}, false},  {{K::Relay, 1}, {2161}, LabelText{534, 1}, false},
        {{K::Relay, 2}, {304}, std::nullopt, false},        {{K::Relay, 3}, {2162}, LabelText{111, 1}, false},
        {{K::Relay, 4}, {2163}, LabelText{111, 1}, false},  {{K::Relay, 5}, {2164}, LabelText{111, 2}, false},
        {{K::Relay, 6}, {311}, std::nullopt, false},        {{K::Relay, 7}, {2156}, std::nullopt, false},
        {{K::Relay, 8}, {2156}, std::nullopt, false},       {{K::Relay, 9}, {2156}, std::nullopt, false},
        {{K::Input, 0}, {2165}, LabelText{535, 3}, false},  {{K::Input, 1}, {2167}, LabelText{111, 2}, false},
        {{K::ReturnInput, 0}, {2156}, std::nullopt, false}, {{K::ReturnInput, 1}, {2168}, LabelText{110, 2}, false},
        {{K::ReturnInput, 2}, {2156}, std::nullopt, false}, {{K::ReturnInput, 3}, {2156}, std::nullopt, false},
        {{K::ReturnInput, 4}, {2156}, std::nullopt, false},
    };
    EXPECT_EQ(wiring::wiringLines(map), expected);
}

TEST_F(Wiring, ARelayWrittenWithTwoFunctionsIsListedTwiceAndMarkedShared) {
    OutputMapRecord record = map.record();
    record.setU8(1, PK(3));  // bell 2
    record.setU8(5, PK(3));  // amplifier
    record.setU8(17, PK(3)); // hammer 2
    map.restore(record);
    EXPECT_EQ(wiring::relayFunctions(map, PK(3)), (std::vector<LabelText>{{110, 2}, {534, 2}, {304}}));
    EXPECT_EQ(wiring::terminalValue(map, relayTerminal(3)), (LabelText{110, 2})) << "the first found, as on the page";
    std::vector<WiringLine> ofPk3;
    for (const WiringLine& line : wiring::wiringLines(map)) {
        if (line.terminal == relayTerminal(3)) {
            ofPk3.push_back(line);
        } else {
            EXPECT_FALSE(line.shared);
        }
    }
    ASSERT_EQ(ofPk3.size(), 3u);
    for (const WiringLine& line : ofPk3) {
        EXPECT_TRUE(line.shared);
    }
    EXPECT_EQ(ofPk3[2].does, (LabelText{304}));
}

TEST_F(Wiring, TerminalValuesShowTheRoleAndAnUnknownRoleAsSuch) {
    EXPECT_FALSE(wiring::terminalValue(map, Terminal::at(0)).has_value()) << "a new project: nothing assigned";
    EXPECT_FALSE(wiring::terminalValue(map, Terminal::at(10)).has_value());
    ASSERT_TRUE(map.setReturnRow(3, 1));
    EXPECT_EQ(wiring::terminalValue(map, Terminal::at(15)), (LabelText{110, 4}));
    OutputMapRecord record = map.record();
    record.setU8(OutputMapRecord::InputTable, 0x90); // role 9, which no chooser offers
    map.restore(record);
    EXPECT_EQ(wiring::terminalValue(map, Terminal::at(10)), (LabelText{2169, 9}));
    EXPECT_EQ(wiring::wiringLines(map)[10].does, (LabelText{2169, 9}));
}

} // namespace
} // namespace tolvane
