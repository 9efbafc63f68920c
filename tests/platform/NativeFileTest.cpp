#include "platform/NativeFile.h"
#include "OddFiles.h"
#include "Watchdog.h"
#include "card/CardFiles.h"
#include "card/CardImages.h"
#include "platform/FirmwareDetection.h"
#include "platform/HolidayFile.h"
#include "platform/PlatformCardFileSystem.h"
#include "platform/SafeFile.h"
#include "project/ProjectFile.h"
#include "schedules/HolidaySource.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using testing_support::runInChild;

using testing_support::OddFile;
using testing_support::plantOddFile;

struct OddCase {
    const char* name;
    OddFile odd;
    ReadFailure failure;
};

// A full card image with the 1.41 generation's format tag.
std::string cardImage() {
    std::string image(card::ImageSize, '\xFF');
    image.replace(card::TrailerOffset, 5, "V1_06");
    return image;
}

class OddFiles : public ::testing::TestWithParam<OddCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        odd = (fs::path(dir.path().toStdString()) / "odd").string();
        plantOddFile(GetParam().odd, odd);
    }
    // First in a child process under a watchdog, so that a call that blocks fails the test; then here, where its
    // result can be looked at.
    static void expectNoWait(const std::function<void()>& call) {
        const auto end = runInChild([&] {
            call();
            return 0;
        });
        ASSERT_TRUE(end.finished) << "the call waited and was killed by the watchdog";
        EXPECT_EQ(end.exitCode, 0);
        call();
    }

    QTemporaryDir dir;
    NativePath odd;
};

TEST_P(OddFiles, EveryReaderRefusesThemUnreadWithoutWaiting) {
    FileContent content;
    expectNoWait([&] { content = readRegularFile(odd, static_cast<qint64>(projectfile::MaxFileSize)); });
    EXPECT_EQ(content.failure, GetParam().failure);
    EXPECT_TRUE(content.data.isEmpty());
    EXPECT_FALSE(content.error.isEmpty());

    // As a project file.
    std::optional<QByteArray> project;
    QString projectError;
    expectNoWait([&] { project = readWholeFile(odd, static_cast<qint64>(projectfile::MaxFileSize), &projectError); });
    EXPECT_FALSE(project);
    EXPECT_EQ(projectError, content.error);

    // As a holiday file: refused, and the table keeps what it had.
    HolidayTable holidays;
    ASSERT_TRUE(HolidaySource::parse("fixed\t1.11\t1\tAllerheiligen\n", holidays).empty());
    int result = -1;
    QString holidayError;
    expectNoWait([&] { result = readHolidayFile(holidays, odd, &holidayError); });
    EXPECT_EQ(result, HolidayTable::FileCannotOpen);
    EXPECT_FALSE(holidayError.isEmpty());
    EXPECT_EQ(holidays.usedCount(), 1);

    // As a card file: the cannot-open text, and the project keeps what it had.
    ProjectData target;
    target.identity().setSerial("123456");
    card::ReadResult read;
    expectNoWait([&] { read = card::readCardFile(target, card::FileKind::Config, odd, PlatformCardFileSystem()); });
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.text, card::cannotOpenText(card::FileKind::Config));
    EXPECT_EQ(target.identity().serial(), "123456");
}

// Detection (tolvane-cli detect, and the launcher) passes over such a file in a card folder.
TEST_P(OddFiles, DetectionPassesThemOverWithoutWaiting) {
    QString found;
    expectNoWait([&] { found = firmware::detectProjectFile(odd); });
    EXPECT_EQ(found, firmware::NotRecognised);

    const fs::path card = fs::path(dir.path().toStdString()) / "card";
    fs::create_directory(card);
    plantOddFile(GetParam().odd, card / "programs.dat");
    std::ofstream(card / "config.dat", std::ios::binary) << cardImage();
    expectNoWait([&] { found = firmware::detectFolder(card.string()); });
    EXPECT_EQ(found, "1.41");

    // all.dat decides alone: an odd one is not recognised, and nothing waits on it.
    plantOddFile(GetParam().odd, card / "all.dat");
    expectNoWait([&] { found = firmware::detectFolder(card.string()); });
    EXPECT_EQ(found, firmware::NotRecognised);
}

INSTANTIATE_TEST_SUITE_P(Kinds, OddFiles,
                         ::testing::Values(OddCase{"Fifo", OddFile::Fifo, ReadFailure::NotRegular},
                                           OddCase{"DevZero", OddFile::DevZero, ReadFailure::NotRegular},
                                           OddCase{"SparseFourGigabytes", OddFile::Sparse, ReadFailure::TooLarge},
                                           OddCase{"Folder", OddFile::Folder, ReadFailure::NotRegular}),
                         [](const ::testing::TestParamInfo<OddCase>& param) { return std::string(param.param.name); });

// The limit is the largest valid file of its kind: that size is read, one byte more is refused.
TEST(BoundedReads, TheLimitIsTheLargestValidFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        const char* what;
        qint64 limit;
    };
    const Case cases[] = {{"project", static_cast<qint64>(projectfile::MaxFileSize)},
                          {"holiday", static_cast<qint64>(HolidayTable::MaxFileSize)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.filePath(QString::fromLatin1(c.what)).toStdString();
        std::ofstream(path, std::ios::binary) << std::string(static_cast<std::size_t>(c.limit), 'x');
        const FileContent whole = readRegularFile(path, c.limit);
        ASSERT_TRUE(whole.ok()) << whole.error.toStdString();
        EXPECT_EQ(whole.data.size(), c.limit);

        std::ofstream(path, std::ios::binary | std::ios::app) << 'x';
        const FileContent over = readRegularFile(path, c.limit);
        EXPECT_EQ(over.failure, ReadFailure::TooLarge);
        EXPECT_TRUE(over.data.isEmpty());
        // A prefix read never goes past its limit.
        EXPECT_EQ(readRegularPrefix(path, 10).data, QByteArray(10, 'x'));
    }
    HolidayTable holidays;
    QString error;
    EXPECT_EQ(readHolidayFile(holidays, dir.filePath(QStringLiteral("holiday")), &error), HolidayTable::FileCannotOpen);
    EXPECT_NE(error.indexOf(QString::number(HolidayTable::MaxFileSize)), -1) << error.toStdString();
}

} // namespace
} // namespace tolvane
