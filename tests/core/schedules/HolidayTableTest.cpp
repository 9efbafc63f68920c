#include "schedules/HolidayTable.h"

#include "ScheduleTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using testing::hexBytes;
using testing::NumberedTexts;
using testing::toVector;

std::vector<std::uint8_t> packed(HolidayTable& t) {
    std::vector<std::uint8_t> image(HolidayTable::ImageSize, 0x00);
    t.packImage(image);
    return image;
}

std::vector<std::uint8_t> entryOf(const std::vector<std::uint8_t>& image, int i) {
    const auto base = image.begin() + i * 88;
    return {base, base + 88};
}

// A table with used holidays in the given slots (named by text 252) and the rest free.
HolidayTable tableWith(std::initializer_list<int> slots) {
    NumberedTexts texts;
    HolidayTable t;
    int next = 0;
    for (int s : slots) {
        while (next < s) {
            t.addHoliday(texts);
            ++next;
        }
        t.addHoliday(texts);
        ++next;
    }
    std::vector<int> gaps;
    for (int i = 0; i < next; ++i) {
        if (std::find(slots.begin(), slots.end(), i) == slots.end()) {
            gaps.push_back(i);
        }
    }
    t.deleteHolidays(gaps);
    return t;
}

TEST(HolidayTable, ResetSlotIsAFreeMovableOneDayHoliday) {
    HolidayTable t;
    EXPECT_EQ(t.usedCount(), 0);
    for (int i = 0; i < HolidayTable::Count; ++i) {
        EXPECT_EQ(toVector(t.record(i).bytes()), hexBytes("00 03 01 00 00 00 00 00"));
        EXPECT_EQ(t.name(i), "");
        EXPECT_EQ(t.changeMark(i), 0u);
    }
    EXPECT_THROW((void)t.record(128), std::out_of_range);
}

TEST(HolidayTable, AddHolidayFillsTheFirstFreeSlot) {
    NumberedTexts texts;
    HolidayTable t = tableWith({0, 2});
    t.clearModified();
    EXPECT_EQ(t.addHoliday(texts), 1);
    EXPECT_EQ(t.usedCount(), 3);
    EXPECT_EQ(t.name(1), "T252");
    EXPECT_TRUE(t.record(1).isMovable());
    EXPECT_EQ(t.record(1).offset(), 0);
    EXPECT_EQ(t.record(1).days(), 1);
    EXPECT_EQ(t.changeMark(1), 0xFFFFFFFFu);
    EXPECT_EQ(t.slotOfPosition(0), 0);
    EXPECT_EQ(t.slotOfPosition(1), 1);
    EXPECT_EQ(t.slotOfPosition(2), 2);

    for (int i = 3; i < 128; ++i) {
        t.addHoliday(texts);
    }
    EXPECT_EQ(t.addHoliday(texts), -1);
    EXPECT_EQ(t.usedCount(), 128);
}

TEST(HolidayTable, DeleteFreesSlotsAndFocusesTheLastUsedBefore) {
    HolidayTable t = tableWith({0, 2, 5, 6});
    EXPECT_EQ(t.deleteHolidays(std::vector<int>{5, 6}), 2);
    EXPECT_EQ(t.usedCount(), 2);
    EXPECT_TRUE(t.isFree(5));
    EXPECT_EQ(t.changeMark(5), 0u);
    EXPECT_EQ(t.deleteHolidays(std::vector<int>{0}), -1);
    EXPECT_EQ(t.deleteHolidays(std::vector<int>{0, 3}), -1); // already free: nothing happens
    EXPECT_EQ(t.usedCount(), 1);
}

TEST(HolidayTable, PositionsAndChoiceList) {
    NumberedTexts texts;
    HolidayTable t = tableWith({0, 2, 5});
    EXPECT_EQ(t.positionOfSlot(5), 2);
    EXPECT_EQ(t.positionOfSlot(1), -1);
    EXPECT_EQ(t.slotOfPosition(3), -1);
    EXPECT_EQ(t.lastUsedAtOrBefore(4), 2);
    EXPECT_EQ(t.lastUsedAtOrBefore(127), 5);

    struct Choice {
        int position;
        int index;
    };
    for (const Choice c : {Choice{-1, 255}, Choice{0, 254}, Choice{1, 0}, Choice{2, 2}, Choice{3, 5}, Choice{4, 255}}) {
        EXPECT_EQ(t.choiceToIndex(c.position), c.index) << c.position;
    }
    EXPECT_EQ(t.indexToChoice(254), 0);
    EXPECT_EQ(t.indexToChoice(5), 3);
    EXPECT_EQ(t.indexToChoice(1), -1);
    EXPECT_EQ(t.indexToChoice(200), -1);
    t.setName(2, "Boze Cialo");
    EXPECT_EQ(t.choiceList(texts), (std::vector<std::string>{"T253", "T252", "Boze Cialo", "T252"}));
}

TEST(HolidayTable, ImageLayoutAndRoundTripWithTheLongestName) {
    HolidayTable t = tableWith({0, 1, 3});
    t.setMovable(0, false);
    t.setFixedDate(0, 25, 12);
    t.setDays(0, 0x0102);
    t.setName(0, "Boże Narodzenie");
    t.setOffset(1, -2);
    t.setDays(1, 2);
    const std::string longest(64, 'i'); // 64 glyphs of 2 pixels and 63 gaps: 191 pixels
    EXPECT_EQ(t.setName(1, longest + "i"), longest);
    t.setName(3, "");

    const auto image = packed(t);
    ASSERT_EQ(image.size(), 11264u);
    // Fixed: flags little-endian, days big-endian, month and day at 5 and 6, name then 0 then 0xFF.
    const auto fixed = entryOf(image, 0);
    EXPECT_EQ((std::vector<std::uint8_t>(fixed.begin(), fixed.begin() + 8)), hexBytes("00 00 01 02 00 0C 19 00"));
    const auto name = hexBytes("42 6F BF 65 20 4E 61 72 6F 64 7A 65 6E 69 65 00");
    EXPECT_EQ((std::vector<std::uint8_t>(fixed.begin() + 8, fixed.begin() + 24)), name);
    EXPECT_EQ((std::vector<std::uint8_t>(fixed.begin() + 24, fixed.end())), std::vector<std::uint8_t>(64, 0xFF));
    // Movable: the offset is big-endian too.
    const auto movable = entryOf(image, 1);
    EXPECT_EQ((std::vector<std::uint8_t>(movable.begin(), movable.begin() + 8)), hexBytes("00 01 00 02 FF FE 00 00"));
    EXPECT_EQ((std::vector<std::uint8_t>(movable.begin() + 8, movable.begin() + 72)),
              std::vector<std::uint8_t>(64, 'i'));
    EXPECT_EQ(movable[72], 0);
    EXPECT_EQ(movable[73], 0xFF);
    // A free slot: its numbers and only the zero byte of its empty name.
    EXPECT_EQ(entryOf(image, 2), [] {
        auto e = hexBytes("00 03 00 01 00 00 00 00 00");
        e.resize(88, 0xFF);
        return e;
    }());

    HolidayTable back;
    back.unpackImage(image);
    EXPECT_EQ(back.usedCount(), 3);
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(back.record(i), t.record(i)) << i;
    }
    EXPECT_EQ(back.name(0), "Boże Narodzenie");
    EXPECT_EQ(back.name(1), longest);
    EXPECT_FALSE(back.isModified());
    EXPECT_EQ(packed(back), image);
}

TEST(HolidayTable, UnpackIgnoresTheNameOfAFreeSlotAndReadsShortImagesAsErased) {
    std::vector<std::uint8_t> image(88 * 2, 0xFF);
    const auto used = hexBytes("00 00 00 01 00 01 0F 00 41 42 00");
    std::copy(used.begin(), used.end(), image.begin());
    const auto freeSlot = hexBytes("00 02 00 01 00 00 00 00 41 00");
    std::copy(freeSlot.begin(), freeSlot.end(), image.begin() + 88);
    HolidayTable t;
    t.unpackImage(image);
    EXPECT_EQ(t.usedCount(), 1);
    EXPECT_EQ(t.name(0), "AB");
    EXPECT_EQ(t.record(0).day(), 15);
    EXPECT_EQ(t.record(0).month(), 1);
    EXPECT_TRUE(t.isFree(1));
    EXPECT_EQ(t.name(1), "");
    EXPECT_TRUE(t.isFree(2));

    // A name field without its zero byte stops at the end of the field.
    std::vector<std::uint8_t> full(88, 'A');
    full[0] = 0;
    full[1] = 0;
    HolidayTable u;
    u.unpackImage(full);
    EXPECT_EQ(u.name(0), std::string(80, 'A'));
}

TEST(HolidayTable, HolidayFileHeaderDecidesWhetherTheTableIsReplaced) {
    HolidayTable source = tableWith({4});
    source.setName(4, "Trzech Kroli");
    std::vector<std::uint8_t> file = {'Q', 1, 2};
    const auto image = packed(source);
    file.insert(file.end(), image.begin(), image.end());

    struct Case {
        std::vector<std::uint8_t> header;
        int result;
    };
    const Case refused[] = {{{}, 2}, {{'X', 1, 2}, 2}, {{'Q'}, 3}, {{'Q', 1}, 3}, {{'Q', 1, 3}, 3}, {{'Q', 2, 2}, 3}};
    for (const Case& c : refused) {
        HolidayTable t = tableWith({0});
        std::vector<std::uint8_t> bad = c.header;
        if (bad.size() == 3) {
            bad.insert(bad.end(), image.begin(), image.end());
        }
        EXPECT_EQ(t.readHolidayFile(bad), c.result);
        EXPECT_EQ(t.usedCount(), 1);
        EXPECT_EQ(t.name(0), "T252");
    }

    HolidayTable t = tableWith({0, 1});
    EXPECT_EQ(readHolidayFile(t, file), 0);
    EXPECT_EQ(t.usedCount(), 1);
    EXPECT_EQ(t.name(4), "Trzech Kroli");
    EXPECT_TRUE(t.isFree(0));

    // A file cut after the first holiday leaves the rest erased (free).
    HolidayTable cut = tableWith({0});
    std::vector<std::uint8_t> shortFile(file.begin(), file.begin() + 3 + 88 * 5);
    EXPECT_EQ(cut.readHolidayFile(shortFile), 0);
    EXPECT_EQ(cut.usedCount(), 1);
    EXPECT_EQ(cut.name(4), "Trzech Kroli");
}

TEST(HolidayTable, ValidationRangesAndDuplicates) {
    HolidayTable t = tableWith({0, 3, 9, 12, 20, 21, 30});
    for (int s : {3, 9, 12}) {
        t.setMovable(s, false);
        t.setFixedDate(s, 25, 12);
    }
    t.setOffset(20, 49);
    t.setOffset(21, 49);
    t.setOffset(0, 100); // unique movable
    t.setDays(0, 0);
    t.setMovable(30, false);   // 01.01
    t.setFixedDate(30, 0, 13); // both parts bad
    t.setDays(30, 367);
    IssueList issues;
    t.validate(issues);
    // Ranges per slot first, then one duplicate issue for each holiday that has a twin further on.
    const IssueList expected = {{14, 0, 5, 1}, {14, 30, 5, 1}, {15, 30, 5, 1}, {15, 30, 5, 1},
                                {46, 3, 5, 1}, {46, 9, 5, 1},  {47, 20, 5, 1}};
    EXPECT_EQ(issues, expected);

    // A fixed and a movable holiday with the same bytes are no duplicates.
    HolidayTable mixed = tableWith({0, 1});
    mixed.setMovable(0, false);
    mixed.setFixedDate(0, 1, 1);
    mixed.setOffset(1, 256);
    IssueList none;
    mixed.validate(none);
    EXPECT_TRUE(none.empty());
}

TEST(HolidayTable, KindSwitchKeepsOrRepairsTheSharedDateBytes) {
    HolidayTable t = tableWith({0});
    t.setMovable(0, false); // a new holiday has date 0: becomes 01.01
    EXPECT_EQ(t.dateText(0), "01.01");
    t.setFixedDate(0, 31, 12);
    t.clearModified();
    t.setMovable(0, true); // bytes read as offset 3072: set to 0, which clears the month
    EXPECT_EQ(t.record(0).offset(), 0);
    EXPECT_EQ(t.changeMark(0), HolidayTable::MarkDate);
    t.setMovable(0, false);
    EXPECT_EQ(t.dateText(0), "01.01");
    t.setFixedDate(0, 15, 1);
    t.setMovable(0, true);
    EXPECT_EQ(t.record(0).offset(), 256);
    t.clearModified();
    t.setMovable(0, true); // no switch, no mark
    EXPECT_EQ(t.changeMark(0), 0u);
}

TEST(HolidayTable, OffsetAndDateTexts) {
    HolidayTable t = tableWith({0});
    EXPECT_EQ(t.setOffset(0, -2), -2);
    EXPECT_EQ(t.dateText(0), "-02");
    EXPECT_EQ(t.offsetText(0), "-2");
    t.setOffset(0, 49);
    EXPECT_EQ(t.dateText(0), "+49");
    EXPECT_EQ(t.offsetText(0), "+49");
    EXPECT_EQ(t.setOffset(0, 367), 0);
    EXPECT_EQ(t.offsetText(0), "+0");
    EXPECT_EQ(t.setOffset(0, -366), -366);
}

TEST(HolidayTable, SettersMarkOnlyChangedValues) {
    HolidayTable t = tableWith({0});
    t.clearModified();
    t.setDays(0, 1);
    t.setName(0, "T252");
    EXPECT_FALSE(t.isModified());
    t.setName(0, "Nowy Rok");
    EXPECT_EQ(t.changeMark(0), HolidayTable::MarkName);
    t.setDays(0, 2);
    EXPECT_EQ(t.changeMark(0), HolidayTable::MarkName | HolidayTable::MarkDays);
}

TEST(HolidayTable, SortKeys) {
    HolidayTable t = tableWith({0, 1});
    t.setMovable(0, false);
    t.setFixedDate(0, 25, 12);
    t.setOffset(1, -2);
    EXPECT_EQ(t.sortKey(0), 12 * 256 + 25);
    EXPECT_EQ(t.sortKey(1), 65536 - 2 * 256);
    EXPECT_EQ(HolidayTable::sortKeyOf(&t, 254), 65536);
    EXPECT_EQ(HolidayTable::sortKeyOf(nullptr, 0), 65536);
    EXPECT_EQ(HolidayTable::sortKeyOf(&t, 0), 12 * 256 + 25);
}

TEST(HolidayTable, ProjectBodyKeepsNamesOffsetsAndTheUsedCount) {
    HolidayTable t = tableWith({2, 7});
    t.setName(7, "Święto");
    t.setOffset(2, -46);
    std::vector<std::uint8_t> file;
    auto store = SectionArchive::forStoring(file);
    t.serialize(store);

    HolidayTable back;
    ByteReader reader(file);
    auto load = SectionArchive::forLoading(reader);
    back.serialize(load);
    EXPECT_EQ(back.usedCount(), 2);
    EXPECT_EQ(back.name(7), "Święto");
    EXPECT_EQ(back.record(2).offset(), -46);
}

} // namespace
} // namespace tolvane
