#include "ringing/StrikingSettings.h"

#include "ringing/OutputMap.h"
#include "ringing/SequenceTable.h"

#include "SectionBody.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using namespace testing_support;
using Bytes = std::vector<std::uint8_t>;

class NumberTexts final : public TextSource {
public:
    std::string text(int id) const override { return "T" + std::to_string(id); }
};

// --- Defaults ---

struct DefaultBytes {
    std::size_t offset;
    Bytes expected;
};

TEST(StrikingDefaults, ByteForByte) {
    const StrikingSettings s;
    const DefaultBytes cases[] = {
        {0, {55, 21, 55, 5, 0xFF, 0xFF, 1, 1, 50, 0, 20, 0, 20, 0, 55, 21, 55, 5}},
        {18, Bytes(30, 0xFF)},
        {48, {0xFF, 0xFF}},
        {50, {1, 0xFF, 0, 0xFF, 0xFF, 0xFF}},
        {56, {2, 0xFF, 0, 0, 0xFF, 0xFF}},
        {62, {3, 0xFF, 0, 0, 0, 0xFF}},
        {68, {4, 0xFF, 0, 0, 0, 0}},
        {74, {0, 0}},
        {76, Bytes(10, 0xFF)},
        {86, {55, 21, 55, 5, 0xFF, 0xFF, 10, 0, 10, 0, 10, 0, 10, 0}},
        {100, Bytes(96, 0xFF)},
    };
    std::size_t covered = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(slice(s.record().bytes(), c.offset, c.expected.size()), c.expected);
        covered += c.expected.size();
    }
    EXPECT_EQ(covered, StrikingRecord::Size);
    EXPECT_FALSE(s.isModified());
}

TEST(StrikingDefaults, ANewProjectAsThePageShowsIt) {
    const StrikingSettings s;
    const StrikingRecord& r = s.record();
    EXPECT_EQ(r.hourMode(), 0);
    EXPECT_FALSE(r.quarterStrikingOn());
    EXPECT_FALSE(r.hourHeraldOn());
    EXPECT_FALSE(r.quarterHeraldOn());
    EXPECT_EQ(s.hourHammerLabel(true), (LabelText{534, 2}));
    EXPECT_EQ(s.hourHammerLabel(false), (LabelText{534, 2}));
    const NumberTexts texts;
    for (int q = 0; q < 4; ++q) {
        EXPECT_EQ(r.seriesCount(q), q + 1);
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(s.seriesText(q, j, texts), j <= q ? "S1" : "T109") << q << "/" << j;
        }
    }
    EXPECT_TRUE(s.usesSequence(0));
    EXPECT_FALSE(s.usesSequence(1));
}

TEST(StrikingDefaults, ResetRestoresEveryByteAndForgetsTheMarks) {
    StrikingSettings s;
    loadBody(s, bodyFile(Bytes(196, 0x00)));
    s.setHourMode(1);
    s.reset();
    EXPECT_EQ(s.record(), StrikingSettings().record());
    EXPECT_FALSE(s.isModified());
}

// --- Setters ---

TEST(StrikingSetters, StrokeIntervalGoesToTheFieldOfItsMode) {
    StrikingSettings s;
    s.setStrokeInterval("2.55", 1);
    EXPECT_EQ(s.record().strokeIntervalSingle(), 25);
    EXPECT_EQ(s.record().strokeIntervalRepeat(), 20);
    EXPECT_TRUE(s.isChanged(StrikingField::StrokeIntervalSingle));
    EXPECT_FALSE(s.isChanged(StrikingField::StrokeIntervalRepeat));
    s.setStrokeInterval("0.4", 2);
    EXPECT_EQ(s.record().strokeIntervalRepeat(), 4);
    s.setStrokeInterval("3", 0);
    EXPECT_EQ(s.changeMask(), (1ull << 13) | (1ull << 15)) << "mode 0 has no interval";
}

// Each setter marks its own bit, and only when the stored value changes.
struct SetterCase {
    const char* what;
    std::function<void(StrikingSettings&, long long)> set;
    long long sameValue;
    long long newValue;
    int bit;
    std::size_t offset;
    Bytes stored;
};

TEST(StrikingSetters, MarkTheirBitOnlyOnAChange) {
    const SetterCase cases[] = {
        {"hour block start hour",
         [](auto& s, long long v) { s.setBlockStartHour(NightBlock::Hour, v); },
         21,
         22,
         0,
         1,
         {22}},
        {"hour block start minute",
         [](auto& s, long long v) { s.setBlockStartMinute(NightBlock::Hour, v); },
         55,
         0,
         1,
         0,
         {0}},
        {"hour block end hour", [](auto& s, long long v) { s.setBlockEndHour(NightBlock::Hour, v); }, 5, 6, 2, 3, {6}},
        {"hour block end minute",
         [](auto& s, long long v) { s.setBlockEndMinute(NightBlock::Hour, v); },
         55,
         1,
         3,
         2,
         {1}},
        {"quarter block start hour",
         [](auto& s, long long v) { s.setBlockStartHour(NightBlock::Quarter, v); },
         21,
         20,
         4,
         87,
         {20}},
        {"quarter block end minute",
         [](auto& s, long long v) { s.setBlockEndMinute(NightBlock::Quarter, v); },
         55,
         30,
         7,
         88,
         {30}},
        {"repeat block start minute",
         [](auto& s, long long v) { s.setBlockStartMinute(NightBlock::Repeat, v); },
         55,
         10,
         9,
         14,
         {10}},
        {"repeat block end hour",
         [](auto& s, long long v) { s.setBlockEndHour(NightBlock::Repeat, v); },
         5,
         7,
         10,
         17,
         {7}},
        {"repetition delay", [](auto& s, long long v) { s.setRepeatDelayTenths(v); }, 50, 600, 12, 8, {0x58, 0x02}},
        {"hammer, single mode",
         [](auto& s, long long v) { s.setHourHammer(static_cast<int>(v), true); },
         1,
         4,
         19,
         6,
         {4}},
        {"hammer, repeat mode",
         [](auto& s, long long v) { s.setHourHammer(static_cast<int>(v), false); },
         1,
         0,
         20,
         7,
         {0}},
        {"hour herald advance", [](auto& s, long long v) { s.setHourHeraldAdvance(v); }, 10, 30, 22, 92, {30, 0}},
        {"hour herald hold", [](auto& s, long long v) { s.setHourHeraldHold(v); }, 10, 60, 23, 96, {60, 0}},
        {"series count of quarter 3", [](auto& s, long long v) { s.setSeriesCount(2, v); }, 3, 4, 27, 62, {4}},
        {"quarter herald advance", [](auto& s, long long v) { s.setQuarterHeraldAdvance(v); }, 10, 1, 35, 94, {1, 0}},
        {"quarter herald hold", [](auto& s, long long v) { s.setQuarterHeraldHold(v); }, 10, 2, 36, 98, {2, 0}},
        {"quarter 4 advance", [](auto& s, long long v) { s.setQuarter4AdvanceTenths(v); }, 0, 200, 38, 74, {200, 0}},
        {"a value beyond the field is held at its largest",
         [](auto& s, long long v) { s.setHourHeraldHold(v); },
         10,
         70000,
         23,
         96,
         {0xFF, 0xFF}},
        {"a byte field does not wrap round",
         [](auto& s, long long v) { s.setBlockStartHour(NightBlock::Hour, v); },
         21,
         256,
         0,
         1,
         {0xFF}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StrikingSettings s;
        c.set(s, c.sameValue);
        EXPECT_FALSE(s.isModified());
        c.set(s, c.newValue);
        EXPECT_EQ(s.changeMask(), 1ull << c.bit);
        EXPECT_EQ(slice(s.record().bytes(), c.offset, c.stored.size()), c.stored);
    }
}

TEST(StrikingSetters, RepetitionDelayNeverBelowOneSecond) {
    StrikingSettings s;
    s.setRepeatDelay(0, 0);
    EXPECT_EQ(s.record().repeatDelayTenths(), 10);
    s.setRepeatDelay(9, 59);
    EXPECT_EQ(s.record().repeatDelayTenths(), 9 * 600 + 590);
}

TEST(StrikingSetters, SwitchesAndModeMarkOnEveryCallAndKeepOtherBits) {
    StrikingSettings s;
    s.setHourMode(0);
    EXPECT_TRUE(s.isChanged(StrikingField::HourMode)) << "marked although nothing changed";
    const std::pair<int, std::uint8_t> modes[] = {{1, 0xFC}, {2, 0xFE}, {0, 0xFF}};
    for (const auto& [mode, flags] : modes) {
        s.setHourMode(mode);
        EXPECT_EQ(s.record().hourModeFlags(), flags);
        EXPECT_EQ(s.record().hourMode(), mode);
    }
    s.setHourMode(3);
    EXPECT_EQ(s.record().hourModeFlags(), 0xFF) << "an unknown mode is ignored";

    s.clearModified();
    s.setHourHerald(true);
    s.setQuarterHerald(false);
    EXPECT_EQ(s.record().heraldFlags(), 0xFD);
    EXPECT_EQ(s.changeMask(), (1ull << 21) | (1ull << 34));
    s.setQuarterStriking(true);
    EXPECT_EQ(s.record().quarterFlags(), 0xFE);
    EXPECT_TRUE(s.record().quarterStrikingOn());
    EXPECT_TRUE(s.isChanged(StrikingField::QuarterStriking));
}

TEST(StrikingSetters, LoweringACountForgetsTheSeriesBeyondIt) {
    StrikingSettings s;
    const NumberTexts texts;
    s.setSeriesCount(2, 1);
    EXPECT_EQ(slice(s.record().bytes(), 62, 6), (Bytes{1, 0xFF, 0, 0xFF, 0xFF, 0xFF}));
    s.setSeriesCount(2, 3);
    EXPECT_EQ(s.seriesText(2, 1, texts), "T109");
    EXPECT_EQ(s.seriesText(2, 2, texts), "T109");
    EXPECT_EQ(s.seriesText(2, 0, texts), "S1");
    EXPECT_EQ(s.changeMask(), 1ull << 27);
}

// A new sequence that rings bells, which no quarter may play.
int createBellSequence(SequenceTable& sequences) {
    const int index = sequences.createSequence();
    SequenceStep ring;
    ring.makeFresh();
    ring.setKind(StepKind::BellsB);
    sequences.insertStep(index, ring, 0);
    return index;
}

TEST(StrikingSetters, SeriesSequenceAcceptsOnlyHammerSequencesInPlayedSeries) {
    SequenceTable sequences;
    const int bells = createBellSequence(sequences);
    const int hammers = sequences.createSequence();

    StrikingSettings s;
    s.setReferences(&sequences, nullptr);
    EXPECT_FALSE(s.setSeriesSequence(1, 0, bells)) << "a sequence with bell steps";
    EXPECT_FALSE(s.setSeriesSequence(1, 2, hammers)) << "beyond the quarter's count";
    EXPECT_FALSE(s.setSeriesSequence(1, 0, 42));
    EXPECT_FALSE(s.isModified());
    EXPECT_TRUE(s.setSeriesSequence(1, 1, 0)) << "the same sequence again";
    EXPECT_FALSE(s.isModified());
    EXPECT_TRUE(s.setSeriesSequence(1, 1, hammers));
    EXPECT_EQ(s.record().seriesSequence(1, 1), hammers);
    EXPECT_TRUE(s.isModified()) << "a changed series must not be lost unnoticed";
    EXPECT_FALSE(s.isChanged(StrikingField::SeriesCount1));
    EXPECT_TRUE(s.setSeriesSequence(1, 1, 0xFF));
    EXPECT_EQ(s.record().seriesSequence(1, 1), 0xFF);
    EXPECT_TRUE(s.usesSequence(0));
    EXPECT_FALSE(s.usesSequence(hammers));
}

TEST(StrikingSetters, HeraldRelaysComeFromTheOutputMap) {
    StrikingSettings s;
    EXPECT_EQ(s.hourHeraldRelay(), 0xFF);
    OutputMap outputs;
    Bytes body(238, 0xFF);
    body[13] = 3;
    body[12] = 7;
    Bytes file = bodyFile(body);
    ByteReader reader(file);
    auto archive = SectionArchive::forLoading(reader);
    outputs.serialize(archive);
    s.setReferences(nullptr, &outputs);
    EXPECT_EQ(s.hourHeraldRelay(), 3);
    EXPECT_EQ(s.quarterHeraldRelay(), 7);
    s.markChanged(StrikingField::HourHeraldRelay);
    EXPECT_EQ(s.changeMask(), 1ull << 24);
}

// --- Card image ---

TEST(StrikingImage, SixteenBitFieldsAreBigEndian) {
    StrikingSettings s;
    s.setQuarter4AdvanceTenths(0x0102);
    Bytes image(196, 0xFF);
    s.packImage(image);
    EXPECT_EQ(slice(image, 8, 2), (Bytes{0x00, 0x32})) << "repetition delay 50";
    EXPECT_EQ(slice(image, 10, 4), (Bytes{0x00, 0x14, 0x00, 0x14}));
    EXPECT_EQ(slice(image, 74, 2), (Bytes{0x01, 0x02}));
    EXPECT_EQ(slice(image, 92, 8), (Bytes{0, 10, 0, 10, 0, 10, 0, 10}));
    EXPECT_EQ(slice(image, 0, 8), slice(s.record().bytes(), 0, 8)) << "single bytes as they are";
    EXPECT_EQ(s.record().repeatDelayTenths(), 50) << "packing leaves the record in host order";

    StrikingSettings copy;
    copy.setHourMode(2);
    copy.unpackImage(image);
    EXPECT_EQ(copy.record(), s.record());
}

// --- Validation ---

struct ValidationCase {
    const char* what;
    std::function<void(StrikingSettings&)> change;
    IssueList expected;
};

TEST(StrikingValidation, Rules) {
    const ValidationCase cases[] = {
        {"defaults", [](auto&) {}, {}},
        {"stroke interval 0.4 s", [](auto& s) { s.setStrokeInterval("0.4", 1); }, {{31, 0, 8, 0}}},
        {"stroke interval 9.1 s", [](auto& s) { s.setStrokeIntervalTenths(91, 1); }, {{31, 0, 8, 0}}},
        {"the repeat-mode interval is not checked", [](auto& s) { s.setStrokeIntervalTenths(1, 2); }, {}},
        {"hour herald advance 0", [](auto& s) { s.setHourHeraldAdvance(0); }, {{35, 0, 9, 0}}},
        {"hour herald hold 61", [](auto& s) { s.setHourHeraldHold(61); }, {{32, 0, 9, 0}}},
        {"quarter 4 advance 20.1 s", [](auto& s) { s.setQuarter4Advance("20.1"); }, {{44, 0, 10, 0}}},
        {"series counts 5",
         [](auto& s) {
             s.setSeriesCount(1, 5);
             s.setSeriesCount(3, 9);
         },
         {{36, 1, 10, 0}, {36, 3, 10, 0}}},
        {"quarter herald advance 61", [](auto& s) { s.setQuarterHeraldAdvance(61); }, {{35, 0, 11, 0}}},
        {"quarter herald hold 0", [](auto& s) { s.setQuarterHeraldHold(0); }, {{32, 0, 11, 0}}},
        {"start hour 0xFF", [](auto& s) { s.setBlockStartHour(NightBlock::Hour, 0xFF); }, {{59, 0, 12, 0}}},
        {"start 24:60",
         [](auto& s) {
             s.setBlockStartHour(NightBlock::Hour, 24);
             s.setBlockStartMinute(NightBlock::Hour, 60);
         },
         {{59, 0, 12, 0}, {59, 0, 12, 0}}},
        {"end 24:60",
         [](auto& s) {
             s.setBlockEndHour(NightBlock::Hour, 24);
             s.setBlockEndMinute(NightBlock::Hour, 60);
         },
         {{60, 0, 12, 0}, {60, 0, 12, 0}}},
        {"quarter and repeat blocks are not checked",
         [](auto& s) {
             s.setBlockStartHour(NightBlock::Quarter, 99);
             s.setBlockEndMinute(NightBlock::Repeat, 99);
         },
         {}},
        {"heralds are checked while off", [](auto& s) { s.setHourHeraldAdvance(99); }, {{35, 0, 9, 0}}},
        {"every rule in order",
         [](auto& s) {
             s.setBlockEndHour(NightBlock::Hour, 30);
             s.setBlockStartHour(NightBlock::Hour, 30);
             s.setQuarterHeraldHold(0);
             s.setQuarterHeraldAdvance(0);
             s.setSeriesCount(0, 7);
             s.setQuarter4AdvanceTenths(201);
             s.setHourHeraldHold(0);
             s.setHourHeraldAdvance(0);
             s.setStrokeIntervalTenths(4, 1);
         },
         {{31, 0, 8, 0},
          {35, 0, 9, 0},
          {32, 0, 9, 0},
          {44, 0, 10, 0},
          {36, 0, 10, 0},
          {35, 0, 11, 0},
          {32, 0, 11, 0},
          {59, 0, 12, 0},
          {60, 0, 12, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StrikingSettings s;
        c.change(s);
        IssueList issues;
        s.validate(issues);
        EXPECT_EQ(issues, c.expected);
    }
}

TEST(StrikingValidation, QuarterSequences) {
    SequenceTable sequences;
    const int bells = createBellSequence(sequences);
    const int deleted = sequences.createSequence();
    sequences.deleteSequence(deleted);

    // A stored file may carry what the page would refuse: sequences set through a project body.
    Bytes body = slice(StrikingSettings().record().bytes(), 0, 196);
    body[50 + 2] = static_cast<std::uint8_t>(deleted); // quarter 1, series 1
    body[62 + 3] = static_cast<std::uint8_t>(bells);   // quarter 3, series 2
    body[62 + 5] = static_cast<std::uint8_t>(deleted); // quarter 3, series 4: beyond its count of 3
    body[68 + 4] = 0xFF;                               // quarter 4, series 3: none
    body[68 + 5] = 41;                                 // quarter 4, series 4: free record
    body[74] = 201;                                    // and one rule after the quarter sequences
    StrikingSettings s;
    s.setReferences(&sequences, nullptr);
    loadBody(s, bodyFile(body));

    IssueList issues;
    s.validate(issues);
    EXPECT_EQ(issues, (IssueList{{53, 0, 10, 0}, {54, 2, 10, 0}, {53, 3, 10, 0}, {44, 0, 10, 0}}));

    s.setReferences(nullptr, nullptr);
    issues.clear();
    s.validate(issues);
    EXPECT_EQ(issues, (IssueList{{44, 0, 10, 0}})) << "without the sequences their checks are skipped";
}

// --- Project file ---

TEST(StrikingProjectFile, BodyRoundTripAndRefusals) {
    StrikingSettings s;
    s.setHourMode(2);
    s.setRepeatDelayTenths(1234);
    const Bytes file = storeBody(s);
    ASSERT_EQ(file.size(), 4u + 196u);
    EXPECT_EQ(slice(file, 0, 4), (Bytes{196, 0, 0, 0}));
    EXPECT_EQ(slice(file, 4 + 8, 2), (Bytes{0xD2, 0x04})) << "little-endian in the project file";

    StrikingSettings copy;
    loadBody(copy, file);
    EXPECT_EQ(copy.record(), s.record());

    StrikingSettings partial;
    loadBody(partial, bodyFile({30, 10}));
    EXPECT_EQ(partial.record().blockStartMinute(NightBlock::Hour), 30);
    EXPECT_EQ(partial.record().blockStartHour(NightBlock::Hour), 10);
    EXPECT_EQ(partial.record().blockEndHour(NightBlock::Hour), 5) << "a short body overwrites only its bytes";

    StrikingSettings refused;
    Bytes cut = file;
    cut.pop_back();
    for (const Bytes& bad : {bodyFile(Bytes(197, 0)), cut}) {
        try {
            loadBody(refused, bad);
            ADD_FAILURE() << "accepted";
        } catch (const ProjectFileError& e) {
            EXPECT_EQ(e.textId, 113);
        }
    }
    EXPECT_EQ(refused.record(), StrikingSettings().record());
}

} // namespace
} // namespace tolvane
