#include "ringing/SequenceTable.h"

#include "SectionBody.h"
#include "SequenceSteps.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using testing_support::bodyFile;
using testing_support::loadBody;
using testing_support::storeBody;

using Bytes = std::vector<std::uint8_t>;

using testing_support::slice;

using testing_support::repeatStep;
using testing_support::timedStep;

Bytes packed(SequenceTable& table) {
    Bytes image(SequenceTable::ImageSize, 0xFF);
    table.packImage(image);
    return image;
}

class LabelTexts final : public TextSource {
public:
    std::string text(int id) const override { return "T" + std::to_string(id); }
};

const Bytes FreshStep{0xFF, 0xFF, 0xFF, 0xFF, 0x58, 0x02, 0x0A, 0x00, 0x00, 0xFF};

// --- Defaults ---

struct DefaultSlice {
    const char* what;
    int record;
    std::size_t offset;
    Bytes expected;
};

TEST(SequenceTableDefaults, ByteForByte) {
    const SequenceTable table;
    const DefaultSlice cases[] = {
        {"factory sequence header", 0, 0, {0x00, 0xFF, 0xFF, 0xFF, 0x05, 0x00, 0x00, 0x00}},
        {"factory step: one stroke of hammer 1, 0.5 s",
         0,
         8,
         {0x7F, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0xFF}},
        {"second slot of the factory sequence", 0, 18, FreshStep},
        {"trailing spare bytes", 0, 1558, {0xFF, 0xFF}},
        {"free record header", 1, 0, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00}},
        {"free record first step", 1, 8, FreshStep},
        {"last record, last step and spare", 41, 1548,
         [] {
             Bytes b = FreshStep;
             b.insert(b.end(), {0xFF, 0xFF});
             return b;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(slice(table.record(c.record).bytes(), c.offset, c.expected.size()), c.expected);
    }
    // Every other slot of every record is a fresh step.
    for (int r = 0; r < SequenceTable::Count; ++r) {
        for (int j = (r == 0 ? 1 : 0); j < SequenceTable::MaxSteps; ++j) {
            ASSERT_EQ(slice(table.record(r).bytes(), Sequence::stepOffset(j), 10), FreshStep) << r << "/" << j;
        }
    }
    EXPECT_EQ(table.usedCount(), 1);
    EXPECT_FALSE(table.isModified());
}

TEST(SequenceTableDefaults, FactorySequenceAsShown) {
    const SequenceTable table;
    const LabelTexts texts;
    EXPECT_TRUE(table.isUsed(0));
    EXPECT_EQ(table.stepCount(0), 1);
    EXPECT_EQ(table.totalText(0), "00:00:00.5");
    EXPECT_EQ(table.stepCountText(0), "1");
    EXPECT_EQ(SequenceTable::stepText(table.record(0).step(0), texts), "T553 1____");
    EXPECT_EQ(table.stepDurationText(0, 0), "00:00.50");
    EXPECT_EQ(table.stepCountText(1), "-");
    EXPECT_EQ(table.totalText(42), "--:--:--.--");
    EXPECT_FALSE(table.hasBellSteps(0));
}

TEST(SequenceTableDefaults, ResetItemKeepsBytesNobodyEdits) {
    SequenceTable table;
    Bytes body(SequenceTable::BodySize);
    std::copy(table.record(0).bytes().begin(), table.record(0).bytes().end(), body.begin());
    std::fill(body.begin() + 1560, body.end(), 0x00); // record 1 onwards: in use, steps of kind Pause
    const std::size_t r1 = 1560;
    body[r1 + 1] = 0x11;
    body[r1 + 2] = 0x22;
    body[r1 + 3] = 0x33;
    body[r1 + 8 + 2] = 0xAB; // unit mask of step 0
    body[r1 + 8 + 9] = 0xEE; // last byte of step 0
    loadBody(table, bodyFile(body));
    ASSERT_TRUE(table.isUsed(1));
    const int usedBefore = table.usedCount();

    table.resetItem(1);

    const auto rec = table.record(1).bytes();
    EXPECT_EQ(slice(rec, 0, 8), (Bytes{0xFF, 0x11, 0x22, 0x33, 0, 0, 0, 0}));
    EXPECT_EQ(slice(rec, 8, 10), (Bytes{0xFF, 0xFF, 0xAB, 0x00, 0x58, 0x02, 0x0A, 0x00, 0x00, 0xEE}));
    EXPECT_EQ(table.usedCount(), usedBefore - 1) << "a freed record leaves the used count";
}

// --- Creating, copying and deleting sequences ---

TEST(SequenceTableEditing, NewSequencesFillTheLowestFreeRecord) {
    SequenceTable table;
    for (int expected = 1; expected <= 4; ++expected) {
        EXPECT_EQ(table.createSequence(), expected);
    }
    EXPECT_EQ(table.changeMark(3), -1);
    EXPECT_EQ(table.record(3).inUseByte(), 0);
    EXPECT_EQ(table.record(3).totalTenths(), 0u);
    EXPECT_EQ(table.stepCount(3), 0);

    ASSERT_TRUE(table.deleteSequence(2)); // sequence 3
    EXPECT_EQ(table.usedCount(), 4);
    EXPECT_EQ(table.changeMark(2), 0);
    EXPECT_FALSE(table.deleteSequence(2)) << "a free record cannot be deleted twice";
    EXPECT_EQ(table.usedCount(), 4);
    EXPECT_EQ(table.createSequence(), 2) << "sequence 3 again";
}

TEST(SequenceTableEditing, FullTableRefusesNewSequencesAndCopies) {
    SequenceTable table;
    while (table.hasFreeRecord()) {
        ASSERT_GE(table.createSequence(), 0);
    }
    EXPECT_EQ(table.usedCount(), 42);
    EXPECT_EQ(table.firstFreeRecord(), -1);
    const Bytes before = storeBody(table);
    EXPECT_EQ(table.createSequence(), -1);
    EXPECT_EQ(table.copySequence(0), -1);
    EXPECT_EQ(storeBody(table), before);
    EXPECT_EQ(table.usedCount(), 42);
}

TEST(SequenceTableEditing, CopyTakesTheWholeRecordUntilTheTableIsFull) {
    SequenceTable table;
    for (int i = 0; i < 40; ++i) {
        table.createSequence();
    }
    table.insertStep(0, timedStep(StepKind::Pause, 12, 3), 0);
    table.clearModified();

    const int copy = table.copySequence(0);
    ASSERT_EQ(copy, 41);
    EXPECT_EQ(slice(table.record(copy).bytes(), 0, Sequence::Size), slice(table.record(0).bytes(), 0, Sequence::Size));
    EXPECT_EQ(table.changeMark(copy), -1);
    EXPECT_EQ(table.copySequence(0), -1) << "one record was free: one copy, then the table is full";
    EXPECT_EQ(table.usedCount(), 42);

    SequenceTable other;
    EXPECT_EQ(other.copySequence(5), -1) << "a free record is not copied";
    EXPECT_EQ(other.usedCount(), 1);
}

TEST(SequenceTableEditing, ListRowsAndPreviousRecord) {
    SequenceTable table;
    for (int i = 0; i < 5; ++i) {
        table.createSequence();
    }
    table.deleteSequence(2);
    table.deleteSequence(3);
    // Used: 0, 1, 4, 5.
    EXPECT_EQ(table.rowToRecord(2), 4);
    EXPECT_EQ(table.rowToRecord(4), -1);
    EXPECT_EQ(table.rowToRecord(-1), -1);
    EXPECT_EQ(table.recordToRow(5), 3);
    EXPECT_EQ(table.recordToRow(3), -1);
    EXPECT_EQ(table.previousUsedRecord(3), 1);
    EXPECT_EQ(table.previousUsedRecord(100), 5);
    table.deleteSequence(1);
    EXPECT_EQ(table.previousUsedRecord(3), -1) << "record 0 is not examined";
}

// --- Steps ---

TEST(SequenceTableSteps, InsertAppendsOrMovesLaterStepsUp) {
    SequenceTable table;
    const int s = table.createSequence();
    table.clearModified();
    EXPECT_EQ(table.insertStep(s, timedStep(StepKind::BellsA, 10), 0), 1);
    EXPECT_TRUE(table.isChanged(s));
    EXPECT_EQ(table.insertStep(s, timedStep(StepKind::BellsB, 20), 0), 2);
    EXPECT_EQ(table.insertStep(s, timedStep(StepKind::Pause, 30), 1), 2) << "inserted after the first step";
    EXPECT_EQ(table.insertStep(s, timedStep(StepKind::Hammers, 40), 3), 4) << "position at the end appends";
    EXPECT_EQ(table.insertStep(s, timedStep(StepKind::Hammers, 50), 99), 5) << "a position beyond the end appends";

    const std::uint16_t expected[] = {10, 30, 20, 40, 50};
    ASSERT_EQ(table.stepCount(s), 5);
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(table.record(s).step(j).tenths(), expected[j]) << j;
    }
    EXPECT_EQ(table.record(s).totalTenths(), 150u) << "the total follows every change";
    EXPECT_TRUE(table.hasBellSteps(s));
}

TEST(SequenceTableSteps, InsertRefusals) {
    SequenceTable table;
    const Bytes before = storeBody(table);
    SequenceStep end;
    end.makeFresh();
    EXPECT_EQ(table.insertStep(0, end, 0), 0) << "an End step would cut the sequence";
    EXPECT_EQ(table.insertStep(5, timedStep(StepKind::Pause, 10), 0), 0) << "no steps in a free record";
    EXPECT_EQ(table.insertStep(42, timedStep(StepKind::Pause, 10), 0), 0);
    EXPECT_EQ(storeBody(table), before);
    EXPECT_FALSE(table.isModified());
}

TEST(SequenceTableSteps, DeleteMovesLaterStepsDownAndFreesTheLastSlot) {
    SequenceTable table;
    const int s = table.createSequence();
    for (int t : {10, 20, 30}) {
        table.insertStep(s, timedStep(StepKind::Pause, static_cast<std::uint16_t>(t)), 0);
    }
    table.clearModified();
    EXPECT_FALSE(table.deleteStep(s, 3)) << "no step there";
    EXPECT_FALSE(table.isModified());
    ASSERT_TRUE(table.deleteStep(s, 0));
    EXPECT_TRUE(table.isChanged(s));
    ASSERT_EQ(table.stepCount(s), 2);
    EXPECT_EQ(table.record(s).step(0).tenths(), 20);
    EXPECT_EQ(table.record(s).step(1).tenths(), 30);
    EXPECT_EQ(table.record(s).totalTenths(), 50u);
    EXPECT_EQ(table.record(s).step(154).kind(), StepKind::End);
}

TEST(SequenceTableSteps, FullSequenceRefusesOneMoreStepAndDeletesTheLast) {
    SequenceTable table;
    const int s = table.createSequence();
    for (int j = 0; j < 155; ++j) {
        ASSERT_EQ(table.insertStep(s, timedStep(StepKind::Pause, static_cast<std::uint16_t>(j + 1)), 0), j + 1);
    }
    EXPECT_FALSE(table.hasFreeStep(s));
    EXPECT_EQ(table.insertStep(s, timedStep(StepKind::Pause, 1), 3), 0);
    EXPECT_EQ(table.stepCount(s), 155);
    ASSERT_TRUE(table.deleteStep(s, 154));
    EXPECT_EQ(table.stepCount(s), 154);
    EXPECT_EQ(slice(table.record(s).bytes(), Sequence::stepOffset(154), 10),
              (Bytes{0xFF, 0xFF, 0x01, 0x00, 0x58, 0x02, 0x0A, 0x00, 0x00, 0xFF}))
        << "a fresh step keeps bytes 2-3 and 9";
}

TEST(SequenceTableSteps, ReplaceMarksOnlyAChange) {
    SequenceTable table;
    table.clearModified();
    EXPECT_TRUE(table.replaceStep(0, 0, table.record(0).step(0)));
    EXPECT_FALSE(table.isModified());
    EXPECT_TRUE(table.replaceStep(0, 0, timedStep(StepKind::Pause, 25)));
    EXPECT_TRUE(table.isChanged(0));
    EXPECT_EQ(table.record(0).totalTenths(), 25u);
    EXPECT_FALSE(table.replaceStep(0, 1, timedStep(StepKind::Pause, 25))) << "slot 1 holds no step";
    SequenceStep end;
    end.makeFresh();
    EXPECT_FALSE(table.replaceStep(0, 0, end));
}

TEST(SequenceTableSteps, KindChangeKeepsTheLowBitsOfTheKindByte) {
    SequenceStep s;
    s.makeFresh();
    s.setKind(StepKind::BellsA);
    EXPECT_EQ(s.kindByte(), 0x3F);
    s.setU8(0, 0x25);
    s.setKind(StepKind::RepeatTime);
    EXPECT_EQ(s.kindByte(), 0xA5);
}

// --- Durations and totals ---

struct TotalCase {
    const char* what;
    std::vector<SequenceStep> steps;
    const char* total;
};

TEST(SequenceTableTotals, RoundedToTheNearestTenth) {
    const TotalCase cases[] = {
        {"0.50 + 0.25 + 0.05 s",
         {timedStep(StepKind::Pause, 5), timedStep(StepKind::BellsA, 2, 5), timedStep(StepKind::Hammers, 0, 5)},
         "00:00:00.8"},
        {"0.04 s rounds down", {timedStep(StepKind::Pause, 0, 4)}, "00:00:00.0"},
        {"0.05 s rounds up", {timedStep(StepKind::Pause, 0, 5)}, "00:00:00.1"},
        {"repeat 3 times over 1.00 s and 0.50 s",
         {timedStep(StepKind::BellsA, 10), timedStep(StepKind::Pause, 5), repeatStep(StepKind::RepeatCount, 0, 1, 3)},
         "00:00:06.0"},
        {"a repeat over a repeat plays nothing",
         {timedStep(StepKind::Pause, 10), repeatStep(StepKind::RepeatTime, 0, 0, 5),
          repeatStep(StepKind::RepeatCount, 0, 1, 3)},
         "00:00:06.0"},
        {"repeat for 600 s", {repeatStep(StepKind::RepeatTime, 0, 0, 600)}, "00:10:00.0"},
        {"days are dropped",
         {repeatStep(StepKind::RepeatTime, 0, 0, 65535), repeatStep(StepKind::RepeatTime, 0, 0, 65535)},
         "12:24:30.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SequenceTable table;
        const int s = table.createSequence();
        for (const auto& step : c.steps) {
            ASSERT_NE(table.insertStep(s, step, 0), 0);
        }
        EXPECT_EQ(table.totalText(s), c.total);
    }
}

TEST(SequenceTableTotals, StepDurations) {
    SequenceTable table;
    const int s = table.createSequence();
    table.insertStep(s, timedStep(StepKind::BellsA, 10), 0);
    table.insertStep(s, timedStep(StepKind::Pause, 5), 0);
    table.insertStep(s, repeatStep(StepKind::RepeatCount, 0, 1, 3), 0);
    table.insertStep(s, repeatStep(StepKind::RepeatCount, 2, 2, 3), 0);
    table.insertStep(s, repeatStep(StepKind::RepeatCount, 0, 255, 2), 0); // range beyond the table
    EXPECT_EQ(table.stepDurationText(s, 2), "00:04.50");
    EXPECT_EQ(table.stepDurationText(s, 3), "00:00.00");
    EXPECT_EQ(table.stepDurationText(s, 4), "00:00.00") << "range holds repeat steps";

    // A range that reaches beyond the table reads only the slots that exist; free slots play nothing.
    const int t = table.createSequence();
    table.insertStep(t, repeatStep(StepKind::RepeatCount, 1, 255, 2), 0);
    table.insertStep(t, timedStep(StepKind::Pause, 10), 0);
    table.insertStep(t, timedStep(StepKind::Pause, 5), 0);
    EXPECT_EQ(table.stepDurationText(t, 0), "00:03.00");
}

TEST(SequenceTableTotals, TotalIsHeldAtTheLargestValue) {
    SequenceTable table;
    const int s = table.createSequence();
    for (int j = 0; j < 77; ++j) {
        table.insertStep(s, timedStep(StepKind::Pause, 65535, 255), 0);
    }
    for (int j = 0; j < 78; ++j) {
        table.insertStep(s, repeatStep(StepKind::RepeatCount, 0, 76, 65535), 0);
    }
    EXPECT_EQ(table.record(s).totalTenths(), 0xFFFFFFFFu);
}

// --- Card image ---

TEST(SequenceTableImage, BigEndianFieldsAndFreeSlots) {
    SequenceTable table;
    const int s = table.createSequence(); // record 1
    table.insertStep(s, timedStep(StepKind::BellsA, 10, 0, 0x0105), 0);
    table.insertStep(s, timedStep(StepKind::Pause, 20), 0);
    table.insertStep(s, repeatStep(StepKind::RepeatCount, 2, 5, 3), 0);
    table.recomputeTotal(s);
    // A total of 261 tenths is set through a project body, as a stored file would carry it.
    Bytes body = slice(storeBody(table), 4, SequenceTable::BodySize);
    bytes::putU32LE(body, 1560 + 4, 261);
    body[1560 + 1] = 0x42; // spare bytes do not travel to the card
    loadBody(table, bodyFile(body));

    const Bytes image = packed(table);
    const std::size_t r = 1560;
    EXPECT_EQ(slice(image, r, 8), (Bytes{0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x05}));
    EXPECT_EQ(slice(image, r + 8, 10), (Bytes{0x3F, 0xFF, 0x01, 0x05, 0x02, 0x58, 0x00, 0x0A, 0x00, 0xFF}));
    EXPECT_EQ(slice(image, r + 18 + 6, 2), (Bytes{0x00, 0x14}));
    EXPECT_EQ(slice(image, r + 28, 10), (Bytes{0x9F, 0xFF, 0xFF, 0xFF, 0x00, 0x03, 0x02, 0x05, 0x00, 0xFF}))
        << "a repeat step carries first and last step at 6-7";
    EXPECT_EQ(slice(image, r + 38, 1522), Bytes(1522, 0xFF)) << "no End step and no free slot is written";
    EXPECT_EQ(slice(image, 2 * r, 8), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0})) << "a free record";
    EXPECT_EQ(slice(image, 2 * r + 8, 1552), Bytes(1552, 0xFF));
    EXPECT_EQ(table.record(s).totalTenths(), 261u) << "packing leaves the records in host order";
}

TEST(SequenceTableImage, PackThenUnpackReturnsEverySequence) {
    SequenceTable table;
    const int full = table.createSequence();
    for (int j = 0; j < 155; ++j) {
        const auto kind = static_cast<StepKind>(j % 6);
        SequenceStep step = timedStep(kind, static_cast<std::uint16_t>(j * 7), static_cast<std::uint8_t>(j % 10),
                                      static_cast<std::uint16_t>(j % 32));
        if (step.isRepeat()) {
            step = repeatStep(kind, static_cast<std::uint8_t>(j / 2), static_cast<std::uint8_t>(j - 1),
                              static_cast<std::uint16_t>(j));
        }
        ASSERT_NE(table.insertStep(full, step, 0), 0);
    }
    const int other = table.createSequence();
    table.insertStep(other, timedStep(StepKind::Hammers, 3, 7, 0x1F), 0);
    table.createSequence();
    table.deleteSequence(table.createSequence() - 1); // leaves a hole before the last record

    SequenceTable copy;
    copy.createSequence();
    copy.insertStep(1, timedStep(StepKind::Pause, 99), 0);
    copy.unpackImage(packed(table));

    for (int i = 0; i < SequenceTable::Count; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(copy.record(i), table.record(i));
    }
    EXPECT_EQ(copy.stepCount(full), 155);
    EXPECT_EQ(copy.usedCount(), table.usedCount());
    EXPECT_FALSE(copy.isModified()) << "unpacking forgets the marks";
}

TEST(SequenceTableImage, UnpackStopsAtTheEndStepAndCountsUsedRecords) {
    Bytes image(SequenceTable::ImageSize, 0xFF);
    const std::size_t r = 3 * 1560;
    image[r] = 0x00;
    bytes::putU32BE(image, r + 4, 0x01020304);
    const Bytes step{0x7F, 0xFF, 0x00, 0x02, 0x00, 0x00, 0x00, 0x05, 0x00, 0xFF};
    std::copy(step.begin(), step.end(), image.begin() + static_cast<std::ptrdiff_t>(r + 8));
    // After the End slot at step 1, a slot that looks like a step is not read.
    std::copy(step.begin(), step.end(), image.begin() + static_cast<std::ptrdiff_t>(r + 28));

    SequenceTable table;
    table.unpackImage(image);
    EXPECT_EQ(table.usedCount(), 1);
    EXPECT_FALSE(table.isUsed(0));
    ASSERT_TRUE(table.isUsed(3));
    EXPECT_EQ(table.record(3).totalTenths(), 0x01020304u);
    EXPECT_EQ(table.stepCount(3), 1);
    EXPECT_EQ(table.record(3).step(0).unitMask(), 2);
    EXPECT_EQ(table.record(3).step(0).tenths(), 5);
    EXPECT_EQ(table.record(3).step(2).kind(), StepKind::End);
}

TEST(SequenceTableImage, ShortImageReadsAsErasedMemory) {
    SequenceTable table;
    const Bytes image = packed(table);
    SequenceTable copy;
    copy.createSequence();
    copy.unpackImage(std::span<const std::uint8_t>(image).first(100));
    EXPECT_EQ(copy.record(0), table.record(0));
    EXPECT_EQ(copy.usedCount(), 1);
}

// --- Validation ---

struct ValidationCase {
    const char* what;
    std::vector<SequenceStep> steps;
    std::vector<std::int32_t> codes;
};

TEST(SequenceTableValidation, RepeatRanges) {
    const auto pause = timedStep(StepKind::Pause, 10);
    const ValidationCase cases[] = {
        {"a sound range", {pause, pause, repeatStep(StepKind::RepeatCount, 0, 1, 2)}, {}},
        {"last before first", {pause, pause, repeatStep(StepKind::RepeatTime, 1, 0, 2)}, {55}},
        {"range over two repeat steps",
         {pause, repeatStep(StepKind::RepeatTime, 0, 0, 2), repeatStep(StepKind::RepeatCount, 0, 0, 2),
          repeatStep(StepKind::RepeatCount, 0, 2, 2)},
         {56, 56}},
        {"the range holds the repeat step itself", {pause, repeatStep(StepKind::RepeatCount, 0, 1, 2)}, {56}},
        {"range reaching past the end", {pause, repeatStep(StepKind::RepeatCount, 0, 4, 2)}, {56, 57, 57, 57}},
        {"range beyond the table", {repeatStep(StepKind::RepeatCount, 154, 156, 2)}, {57, 57, 57}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SequenceTable table;
        const int s = table.createSequence();
        for (const auto& step : c.steps) {
            ASSERT_NE(table.insertStep(s, step, 0), 0);
        }
        IssueList issues;
        table.validate(issues);
        ASSERT_EQ(issues.size(), c.codes.size());
        for (std::size_t n = 0; n < issues.size(); ++n) {
            EXPECT_EQ(issues[n], (ValidationIssue{c.codes[n], s, 17, severity::Critical}));
        }
    }
}

TEST(SequenceTableValidation, FreeRecordsAreNotChecked) {
    SequenceTable table;
    const int s = table.createSequence();
    table.insertStep(s, repeatStep(StepKind::RepeatCount, 3, 1, 2), 0);
    table.deleteSequence(s);
    IssueList issues;
    table.validate(issues);
    EXPECT_TRUE(issues.empty());
}

TEST(SequenceTableValidation, StepsMovedUnderARepeatAreReported) {
    SequenceTable table;
    const int s = table.createSequence();
    table.insertStep(s, timedStep(StepKind::Pause, 10), 0);
    table.insertStep(s, repeatStep(StepKind::RepeatCount, 0, 0, 2), 0);
    table.insertStep(s, timedStep(StepKind::Pause, 10), 1); // moves the repeat step to slot 2, range unchanged
    table.deleteStep(s, 0);
    table.deleteStep(s, 0); // the repeat step is now step 0 and repeats itself
    IssueList issues;
    table.validate(issues);
    EXPECT_EQ(issues, (IssueList{{56, s, 17, 0}}));
}

// --- Project file ---

TEST(SequenceTableProjectFile, BodyRoundTrip) {
    SequenceTable table;
    const int s = table.createSequence();
    table.insertStep(s, timedStep(StepKind::BellsB, 12, 3, 0x11), 0);
    table.createSequence();
    table.deleteSequence(s);
    table.createSequence();
    const Bytes file = storeBody(table);
    ASSERT_EQ(file.size(), 4u + 65520u);
    EXPECT_EQ(slice(file, 0, 4), (Bytes{0xF0, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(slice(file, 4 + 1560, 8), slice(table.record(1).bytes(), 0, 8)) << "records as they are in memory";

    SequenceTable copy;
    loadBody(copy, file);
    for (int i = 0; i < SequenceTable::Count; ++i) {
        EXPECT_EQ(copy.record(i), table.record(i)) << i;
    }
    EXPECT_EQ(copy.usedCount(), 3);
}

TEST(SequenceTableProjectFile, ShortBodyOverwritesOnlyItsBytes) {
    SequenceTable table;
    table.createSequence();
    Bytes body = slice(table.record(0).bytes(), 0, 1560);
    body[0] = 0xFF; // record 0 free in the file
    SequenceTable copy;
    copy.createSequence();
    loadBody(copy, bodyFile(body));
    EXPECT_FALSE(copy.isUsed(0));
    EXPECT_TRUE(copy.isUsed(1));
    EXPECT_EQ(copy.usedCount(), 1);
}

TEST(SequenceTableProjectFile, DamagedBodiesAreRefused) {
    const Bytes tooLong = bodyFile(Bytes(65521, 0xFF));
    SequenceTable fresh;
    Bytes cut = storeBody(fresh);
    cut.resize(cut.size() - 1);
    for (const Bytes* file : std::vector<const Bytes*>{&tooLong, &cut}) {
        SequenceTable table;
        try {
            loadBody(table, *file);
            ADD_FAILURE() << "accepted";
        } catch (const ProjectFileError& e) {
            EXPECT_EQ(e.textId, 113);
        }
        EXPECT_EQ(table.usedCount(), 1);
        EXPECT_EQ(table.record(0), SequenceTable().record(0));
    }
}

} // namespace
} // namespace tolvane
