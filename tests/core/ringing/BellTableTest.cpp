#include "ringing/BellTable.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace tolvane {
namespace {

// Expected bytes of a reset bell: everything 0xFF except the named defaults.
std::array<std::uint8_t, 64> resetBellBytes() {
    std::array<std::uint8_t, 64> b{};
    b.fill(0xFF);
    b[32] = 0xFD; // feedback off (bit 0), bell on (bit 1 clear), other bits set
    b[40] = 180;  // ringing 180 s, little-endian
    b[41] = 0;
    b[42] = 1; // run-up
    b[43] = 1; // stabilisation
    b[44] = 1; // damping
    b[46] = 5; // swinging out
    b[47] = 0;
    return b;
}

TEST(BellTable, ResetGivesDefaultsByteForByte) {
    BellTable t;
    const auto expected = resetBellBytes();
    for (int i = 0; i < BellTable::Count; ++i) {
        SCOPED_TRACE(i);
        const auto got = t.record(i).bytes();
        for (std::size_t off = 0; off < expected.size(); ++off) {
            EXPECT_EQ(got[off], expected[off]) << "offset " << off;
        }
        EXPECT_FALSE(t.bellDisabled(i));
        EXPECT_TRUE(t.record(i).feedbackOff());
        EXPECT_TRUE(t.record(i).secondFeedbackOff());
    }
    EXPECT_FALSE(t.isModified());
}

TEST(BellTable, ResetItemRewritesEveryByteAndClearsItsMarkOnly) {
    BellTable t;
    t.setRunUpSeconds(1, 9);
    t.setRunUpSeconds(2, 9);
    BellRecord dirty = t.record(1);
    dirty.fill(0x00);
    t.acceptEdit(1, dirty, BellTable::MarkRunUp);
    t.resetItem(1);
    EXPECT_EQ(t.record(1), BellTable().record(1));
    EXPECT_EQ(t.changeMark(1), 0u);
    EXPECT_EQ(t.changeMark(2), BellTable::MarkRunUp);
    EXPECT_EQ(t.record(2).runUpSeconds(), 9);
}

TEST(BellTable, BellDisabledReadsBitOneOfTheFlagByte) {
    BellTable t;
    t.setBellEnabled(3, false);
    EXPECT_TRUE(t.bellDisabled(3));
    EXPECT_EQ(t.record(3).bellFlags(), 0xFF);
    EXPECT_EQ(t.changeMark(3), BellTable::MarkEnabled);
    EXPECT_FALSE(t.bellDisabled(2));
    // An index that names no bell (0xFF = none in references) is not a switched-off bell.
    EXPECT_FALSE(t.bellDisabled(5));
    EXPECT_FALSE(t.bellDisabled(255));
    EXPECT_FALSE(t.bellDisabled(-1));
}

TEST(BellTable, SettersMarkOnlyWhenTheValueDiffers) {
    BellTable t;
    t.setRunUpSeconds(0, 1);
    t.setSettleSeconds(0, 1);
    t.setDampSeconds(0, 1);
    t.setRingingTime(0, 3, 0);
    t.setSwingTime(0, 0, 5);
    t.setBellEnabled(0, true);
    EXPECT_EQ(t.changeMark(0), 0u);
    EXPECT_FALSE(t.isModified());

    t.setSettleSeconds(0, 7);
    t.setDampSeconds(0, 8);
    EXPECT_EQ(t.changeMark(0), BellTable::MarkSettle | BellTable::MarkDamp);
    EXPECT_EQ(t.record(0).settleSeconds(), 7);
    EXPECT_EQ(t.record(0).dampSeconds(), 8);
    EXPECT_TRUE(t.isModified());
    t.clearModified();
    EXPECT_FALSE(t.isModified());
    EXPECT_EQ(t.record(0).settleSeconds(), 7);
}

TEST(BellTable, RingingTimeMarksTheMinutesOrTheSecondsPart) {
    struct Case {
        int minutes, seconds;
        std::uint16_t stored;
        std::uint32_t bits;
    };
    const Case cases[] = {
        {3, 0, 180, 0},
        {4, 0, 240, BellTable::MarkRingingMinutes},
        {3, 7, 187, BellTable::MarkRingingSeconds},
        {30, 59, 1859, BellTable::MarkRingingMinutes | BellTable::MarkRingingSeconds},
        {60, 0, 3600, BellTable::MarkRingingMinutes},
        // Far outside any field: saturates instead of wrapping into a value that would pass validation.
        {2000, 0, 0xFFFF, BellTable::MarkRingingMinutes | BellTable::MarkRingingSeconds},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minutes << ":" << c.seconds);
        BellTable t;
        t.setRingingTime(2, c.minutes, c.seconds);
        EXPECT_EQ(t.record(2).ringingSeconds(), c.stored);
        EXPECT_EQ(t.changeMark(2), c.bits);
    }
}

TEST(BellTable, SwingTimeIsNeverStoredBelowOneSecond) {
    BellTable t;
    t.setSwingTime(4, 0, 0);
    EXPECT_EQ(t.record(4).swingSeconds(), 1);
    EXPECT_EQ(t.changeMark(4), BellTable::MarkSwing);
    t.setSwingTime(4, 9, 59);
    EXPECT_EQ(t.record(4).swingSeconds(), 599);
}

TEST(BellTable, FeedbackOptionsExcludeEachOther) {
    BellTable t;
    t.setFeedbackOn(0, true);
    EXPECT_FALSE(t.record(0).feedbackOff());
    EXPECT_EQ(t.changeMark(0), BellTable::MarkFeedback);

    t.setSecondFeedbackOn(0, true);
    EXPECT_FALSE(t.record(0).secondFeedbackOff());
    EXPECT_TRUE(t.record(0).feedbackOff());
    EXPECT_EQ(t.changeMark(0), BellTable::MarkFeedback | BellTable::MarkSecondFeedback);

    t.clearModified();
    t.setFeedbackOn(0, true);
    EXPECT_FALSE(t.record(0).feedbackOff());
    EXPECT_TRUE(t.record(0).secondFeedbackOff());
    EXPECT_EQ(t.changeMark(0), BellTable::MarkFeedback | BellTable::MarkSecondFeedback);
    // The other flag bits are left as they were.
    EXPECT_EQ(t.record(0).bellFlags() & 0xF8, 0xF8);
    EXPECT_FALSE(t.bellDisabled(0));
}

TEST(BellTable, AcceptEditCopiesTheRecordAndKeepsEarlierMarks) {
    BellTable project;
    project.setRunUpSeconds(1, 5); // marked before the editor opens

    BellTable copy = project;
    copy.clearModified();
    copy.setDampSeconds(1, 12);
    project.acceptEdit(1, copy.record(1), copy.changeMark(1) | BellTable::MarkRelay);

    EXPECT_EQ(project.record(1).dampSeconds(), 12);
    EXPECT_EQ(project.record(1).runUpSeconds(), 5);
    EXPECT_EQ(project.changeMark(1), BellTable::MarkRunUp | BellTable::MarkDamp | BellTable::MarkRelay);
}

TEST(BellTable, ImageCarriesSixteenBitFieldsBigEndian) {
    BellTable t;
    BellRecord r = t.record(1);
    r.setU16(34, 0x1234);
    r.setU16(36, 0xABCD);
    r.setU8(38, 0x11);
    r.setU8(39, 0x22);
    r.setU8(0, 0x42);
    r.setSwingSeconds(0x0102);
    t.acceptEdit(1, r, 0);

    std::vector<std::uint8_t> image(BellTable::ImageSize, 0xFF);
    t.packImage(image);
    // A bell ringing for 180 s carries 00 B4 at offsets 40-41.
    EXPECT_EQ(image[40], 0x00);
    EXPECT_EQ(image[41], 0xB4);
    const std::size_t b1 = 64;
    EXPECT_EQ(image[b1 + 34], 0x12);
    EXPECT_EQ(image[b1 + 35], 0x34);
    EXPECT_EQ(image[b1 + 36], 0xAB);
    EXPECT_EQ(image[b1 + 37], 0xCD);
    EXPECT_EQ(image[b1 + 38], 0x11); // single bytes keep their place
    EXPECT_EQ(image[b1 + 39], 0x22);
    EXPECT_EQ(image[b1 + 46], 0x01);
    EXPECT_EQ(image[b1 + 47], 0x02);
    EXPECT_EQ(image[b1 + 0], 0x42);
    // Packing leaves the records in host order.
    EXPECT_EQ(t.record(0).ringingSeconds(), 180);

    BellTable back;
    back.unpackImage(image);
    for (int i = 0; i < BellTable::Count; ++i) {
        EXPECT_EQ(back.record(i), t.record(i)) << i;
    }
}

TEST(BellTable, SwapByteOrderIsItsOwnInverse) {
    std::vector<std::uint8_t> image(BellTable::ImageSize);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7);
    }
    const auto original = image;
    BellTable t;
    t.swapByteOrder(image);
    EXPECT_NE(image, original);
    EXPECT_EQ(image[4 * 64 + 46], original[4 * 64 + 47]);
    EXPECT_EQ(image[4 * 64 + 45], original[4 * 64 + 45]);
    t.swapByteOrder(image);
    EXPECT_EQ(image, original);
}

TEST(BellTable, ShortImageIsRefusedWithoutChangingTheBells) {
    BellTable t;
    t.setRunUpSeconds(0, 30);
    const BellRecord before = t.record(0);
    std::vector<std::uint8_t> shortImage(BellTable::ImageSize - 1, 0x00);
    EXPECT_THROW(t.unpackImage(shortImage), std::out_of_range);
    EXPECT_EQ(t.record(0), before);
    EXPECT_THROW(t.packImage(shortImage), std::out_of_range);
}

TEST(BellTable, ValidationReportsEachRuleWithItsCodeInRecordOrder) {
    BellTable t;
    IssueList none;
    t.validate(none);
    EXPECT_TRUE(none.empty());

    t.setRunUpSeconds(0, 0);
    t.setRingingTime(0, 60, 0); // 3600 s
    t.setSwingTime(0, 10, 0);   // 600 s
    t.setSettleSeconds(3, 61);
    t.setDampSeconds(3, 0);
    t.setRingingTime(4, 59, 59); // 3599 s passes
    t.setSwingTime(4, 9, 59);    // 599 s passes
    IssueList issues;
    t.validate(issues);
    const IssueList expected{
        {16, 0, 6, 0}, {18, 0, 6, 0}, {20, 0, 6, 0}, {17, 3, 6, 0}, {19, 3, 6, 0},
    };
    EXPECT_EQ(issues, expected);
}

TEST(BellTable, SwitchedOffBellsAreValidatedToo) {
    BellTable t;
    t.setBellEnabled(2, false);
    t.setRingingTime(2, 0, 0);
    IssueList issues;
    t.validate(issues);
    ASSERT_EQ(issues.size(), 1u);
    EXPECT_EQ(issues[0], (ValidationIssue{18, 2, 6, 0}));
}

// The project body carries every byte of every bell in the PC's order (the size and the refusals are part of the
// section contract).
TEST(BellTable, ProjectBodyKeepsEveryByteInHostOrder) {
    BellTable t;
    BellRecord r = t.record(4);
    for (std::size_t i = 0; i < BellRecord::Size; ++i) {
        r.setU8(i, static_cast<std::uint8_t>(i + 3));
    }
    t.acceptEdit(4, r, 0);
    std::vector<std::uint8_t> file;
    auto out = SectionArchive::forStoring(file);
    t.serialize(out);
    EXPECT_EQ(file[4 + 40], 180); // raw body keeps host order
    EXPECT_EQ(file[4 + 41], 0);

    ByteReader reader(file);
    auto in = SectionArchive::forLoading(reader);
    BellTable loaded;
    loaded.setRunUpSeconds(0, 44);
    loaded.serialize(in);
    for (int i = 0; i < BellTable::Count; ++i) {
        EXPECT_EQ(loaded.record(i), t.record(i)) << i;
    }
    EXPECT_TRUE(reader.atEnd());
}

TEST(BellTable, ShortBodyOverwritesOnlyItsBytes) {
    std::vector<std::uint8_t> file{66, 0, 0, 0};
    file.insert(file.end(), 66, 0x07);
    ByteReader reader(file);
    auto in = SectionArchive::forLoading(reader);
    BellTable t;
    t.serialize(in);
    EXPECT_EQ(t.record(0).runUpSeconds(), 7);
    EXPECT_EQ(t.record(1).u8(0), 7);
    EXPECT_EQ(t.record(1).u8(1), 7);
    EXPECT_EQ(t.record(1).u8(2), 0xFF);
    EXPECT_EQ(t.record(1).ringingSeconds(), 180);
}

} // namespace
} // namespace tolvane
