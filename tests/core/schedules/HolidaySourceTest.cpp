#include "schedules/HolidaySource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvane {
namespace {

TEST(HolidaySource, ReadsFixedAndMovableHolidaysIntoConsecutiveSlots) {
    const std::string text = "# comment\n"
                             "\n"
                             "fixed\t25.12\t2\tBoże Narodzenie\r\n"
                             "movable\t-2\t1\tWielki Piątek\n"
                             "movable\t+39\t1\tChristi Himmelfahrt\n"
                             "fixed\t1.1\t1\tJour de l'an"; // no newline at the end
    HolidayTable t;
    const auto errors = HolidaySource::parse(text, t);
    ASSERT_TRUE(errors.empty()) << errors.front().line << ": " << errors.front().message;

    EXPECT_EQ(t.usedCount(), 4);
    EXPECT_FALSE(t.isModified());
    EXPECT_FALSE(t.record(0).isMovable());
    EXPECT_EQ(t.record(0).day(), 25);
    EXPECT_EQ(t.record(0).month(), 12);
    EXPECT_EQ(t.record(0).days(), 2);
    EXPECT_EQ(t.name(0), "Boże Narodzenie");
    EXPECT_TRUE(t.record(1).isMovable());
    EXPECT_EQ(t.record(1).offset(), -2);
    EXPECT_EQ(t.name(1), "Wielki Piątek");
    EXPECT_EQ(t.record(2).offset(), 39);
    EXPECT_EQ(t.record(3).month(), 1);
    EXPECT_EQ(t.name(3), "Jour de l'an");
    EXPECT_TRUE(t.isFree(4));

    IssueList issues;
    t.validate(issues);
    EXPECT_TRUE(issues.empty());
}

TEST(HolidaySource, MalformedLinesAreReportedWithTheirLineNumbers) {
    struct Case {
        const char* line;
        const char* messagePart;
    };
    const Case cases[] = {
        {"fixed\t25.12\t1", "4 tab-separated fields"},
        {"fixed\t25.12\t1\tA\textra", "4 tab-separated fields"},
        {"fixed 25.12 1 Spaces", "4 tab-separated fields"},
        {"Fixed\t25.12\t1\tA", "kind"},
        {"fixed\t31.4\t1\tA", "existing day.month"},
        {"fixed\t0.1\t1\tA", "existing day.month"},
        {"fixed\t1.13\t1\tA", "existing day.month"},
        {"fixed\t25\t1\tA", "existing day.month"},
        {"fixed\t25.12.2024\t1\tA", "existing day.month"},
        {"fixed\t+1.1\t1\tA", "existing day.month"},
        {"movable\t367\t1\tA", "-366 to +366"},
        {"movable\t1.5\t1\tA", "-366 to +366"},
        {"movable\t\t1\tA", "-366 to +366"},
        {"movable\t+-1\t1\tA", "-366 to +366"},
        {"movable\t1\t0\tA", "days"},
        {"movable\t1\t367\tA", "days"},
        {"movable\t1\t-1\tA", "days"},
        {"movable\t1\t1\t", "empty"},
        {"movable\t1\t1\tœuvre", "cannot show"},
        {"movable\t1\t1\t\xC3", "not valid UTF-8"},
        {"movable\t1\t1\tMMMMMMMMMMMMMMMMMMMMMMMMM", "wider"},
        {"movable\t-2\t1\tSame offset", "same date"},
        {"fixed\t24.12\t1\tSame date", "same date"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        HolidayTable t;
        const std::string text = std::string("fixed\t24.12\t1\tWigilia\nmovable\t-2\t1\tKarfreitag\n") + c.line + "\n";
        const auto errors = HolidaySource::parse(text, t);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].line, 3);
        EXPECT_NE(errors[0].message.find(c.messagePart), std::string::npos) << errors[0].message;
        EXPECT_EQ(t.usedCount(), 2);
    }
}

TEST(HolidaySource, EveryErrorIsReportedAndA129thHolidayIsRefused) {
    HolidayTable t;
    EXPECT_EQ(HolidaySource::parse("bad\nfixed\t1.1\t1\tA\nworse\n", t).size(), 2u);

    std::string full;
    for (int i = 0; i < 129; ++i) {
        full += "movable\t" + std::to_string(i) + "\t1\tH" + std::to_string(i) + "\n";
    }
    const auto errors = HolidaySource::parse(full, t);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].line, 129);
    EXPECT_EQ(t.usedCount(), 128);
}

TEST(HolidaySource, HolidayFileIsTheHeaderAndThePackedImage) {
    HolidayTable t;
    ASSERT_TRUE(HolidaySource::parse("fixed\t15.8\t1\tWniebowzięcie NMP\nmovable\t+1\t1\tOstermontag\n", t).empty());
    const auto file = HolidaySource::holidayFile(t);
    ASSERT_EQ(file.size(), 3u + HolidayTable::ImageSize);
    EXPECT_EQ(file[0], 'Q');
    EXPECT_EQ(file[1], 1);
    EXPECT_EQ(file[2], 2);

    HolidayTable copy = t;
    std::vector<std::uint8_t> image(HolidayTable::ImageSize);
    copy.packImage(image);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), file.begin() + 3));

    HolidayTable back;
    ASSERT_EQ(back.readHolidayFile(file), HolidayTable::FileRead);
    for (int i = 0; i < HolidayTable::Count; ++i) {
        EXPECT_EQ(back.record(i), t.record(i)) << "slot " << i;
    }
}

} // namespace
} // namespace tolvane
