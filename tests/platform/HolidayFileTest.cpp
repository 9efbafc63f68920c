#include "platform/HolidayFile.h"
#include "schedules/HolidaySource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tolvane {
namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const std::string data(bytes.begin(), bytes.end());
    f.write(data.data(), static_cast<qint64>(data.size()));
}

// Finds the used slot holding `name`; -1 when there is none.
int slotNamed(const HolidayTable& t, const std::string& name) {
    for (int i = 0; i < HolidayTable::Count; ++i) {
        if (!t.isFree(i) && t.name(i) == name) {
            return i;
        }
    }
    return -1;
}

TEST(HolidaySeedFiles, EachReadsBackAsExactlyTheTableItWasMadeFrom) {
    struct Expect {
        const char* name;
        bool movable;
        int offsetOrDay;
        int month;
    };
    struct Country {
        const char* code;
        std::vector<Expect> samples;
    };
    const Country countries[] = {
        {"PL",
         {{"Wielki Piątek", true, -2, 0},
          {"Poniedziałek Wielkanocny", true, 1, 0},
          {"Boże Ciało", true, 60, 0},
          {"Święto Niepodległości", false, 11, 11},
          {"Wniebowzięcie NMP", false, 15, 8}}},
        {"DE",
         {{"Ostermontag", true, 1, 0},
          {"Christi Himmelfahrt", true, 39, 0},
          {"Pfingstmontag", true, 50, 0},
          {"Tag der Deutschen Einheit", false, 3, 10},
          {"Heilige Drei Könige", false, 6, 1}}},
        {"FR",
         {{"Lundi de Pâques", true, 1, 0},
          {"Ascension", true, 39, 0},
          {"Mercredi des Cendres", true, -46, 0},
          {"Fête nationale", false, 14, 7},
          {"Noël", false, 25, 12}}},
    };
    for (const Country& c : countries) {
        SCOPED_TRACE(c.code);
        HolidayTable source;
        const auto errors =
            HolidaySource::parse(readText(std::string(TOLVANE_HOLIDAY_SOURCE_DIR) + "/" + c.code + ".tsv"), source);
        ASSERT_TRUE(errors.empty());
        ASSERT_GE(source.usedCount(), 20);

        HolidayTable read;
        const QString file = QString(TOLVANE_VERSION_DIR) + "/Data/swieta" + c.code + ".dat";
        ASSERT_EQ(readHolidayFile(read, file), HolidayTable::FileRead);
        EXPECT_EQ(QFile(file).size(), 3 + static_cast<qint64>(HolidayTable::ImageSize));
        EXPECT_EQ(read.usedCount(), source.usedCount());
        for (int i = 0; i < HolidayTable::Count; ++i) {
            EXPECT_EQ(read.record(i), source.record(i)) << "slot " << i;
        }

        IssueList issues;
        read.validate(issues);
        EXPECT_TRUE(issues.empty());
        for (const Expect& e : c.samples) {
            SCOPED_TRACE(e.name);
            const int slot = slotNamed(read, e.name);
            ASSERT_GE(slot, 0);
            const Holiday& h = read.record(slot);
            EXPECT_EQ(h.isMovable(), e.movable);
            EXPECT_EQ(h.days(), 1);
            if (e.movable) {
                EXPECT_EQ(h.offset(), e.offsetOrDay);
            } else {
                EXPECT_EQ(h.day(), e.offsetOrDay);
                EXPECT_EQ(h.month(), e.month);
            }
        }
    }
}

TEST(HolidayFile, FourResultsAndTheTableChangesOnlyOnSuccess) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    HolidayTable holidays;
    ASSERT_TRUE(HolidaySource::parse("fixed\t1.11\t1\tAllerheiligen\n", holidays).empty());
    std::vector<std::uint8_t> good = HolidaySource::holidayFile(holidays);
    std::vector<std::uint8_t> foreign = good;
    foreign[0] = 'P';
    std::vector<std::uint8_t> otherVersion = good;
    otherVersion[2] = 3;
    const std::vector<std::uint8_t> headerOnly = {'Q', 1, 2};

    writeBytes(dir.filePath("good.dat"), good);
    writeBytes(dir.filePath("foreign.dat"), foreign);
    writeBytes(dir.filePath("version.dat"), otherVersion);
    writeBytes(dir.filePath("empty.dat"), {});
    writeBytes(dir.filePath("header.dat"), headerOnly);

    struct Case {
        const char* file;
        int result;
        int usedAfter;
    };
    const Case cases[] = {
        {"missing.dat", HolidayTable::FileCannotOpen, 3}, {"foreign.dat", HolidayTable::FileBadMark, 3},
        {"empty.dat", HolidayTable::FileBadMark, 3},      {"version.dat", HolidayTable::FileBadVersion, 3},
        {"good.dat", HolidayTable::FileRead, 1},          {"header.dat", HolidayTable::FileRead, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        HolidayTable t;
        ASSERT_TRUE(HolidaySource::parse("movable\t0\t1\tA\nmovable\t1\t1\tB\nmovable\t2\t1\tC\n", t).empty());
        EXPECT_EQ(readHolidayFile(t, dir.filePath(c.file)), c.result);
        EXPECT_EQ(t.usedCount(), c.usedAfter);
        if (c.result != HolidayTable::FileRead) {
            EXPECT_EQ(t.name(2), "C");
        }
    }
    HolidayTable t;
    ASSERT_EQ(readHolidayFile(t, dir.filePath("good.dat")), HolidayTable::FileRead);
    EXPECT_EQ(t.name(0), "Allerheiligen");
    EXPECT_EQ(t.record(0).day(), 1);
    EXPECT_EQ(t.record(0).month(), 11);
}

} // namespace
} // namespace tolvane
