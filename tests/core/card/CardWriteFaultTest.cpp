#include "FailingWrite.h"
#include "FullProject.h"
#include "TestFiles.h"
#include "TextNumbers.h"
#include "card/CardFiles.h"
#include "platform/PlatformCardFileSystem.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using card::FileKind;

using testing_support::readFile;

// Whether the change marks of the group a card file writes are still set.
bool groupMarked(const ProjectData& p, FileKind kind) {
    switch (kind) {
    case FileKind::Programs:
        return p.program(Weekly).isModified();
    case FileKind::Config:
        return p.general().isModified() || p.bells().isModified() || p.striking().isModified();
    case FileKind::Sequences:
        return p.sequences().isModified();
    case FileKind::Chimes:
        return p.chimes().isModified();
    }
    return false;
}

// The card writer over the real file layer, failed by the operating system rather than by a test double.
class CardWriteFaults : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tolvane-cardfault-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "card");
        fs::create_directories(root / "temp");
        testing_support::fillProject(project);
    }
    void TearDown() override { fs::remove_all(root); }

    card::WriteResult write(FileKind kind) {
        return card::writeCardFile(project, kind, (root / "card").string(), (root / "temp").string(), files);
    }
    std::vector<std::string> cardFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(root / "card")) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path root;
    ProjectData project;
    PlatformCardFileSystem files;
};

// A file-size limit makes the writes fail part-way, as a full card does: every kind of file reports the write
// failure of its temporary file, the old file stays, no temporary file is left in either folder, and the group's marks
// stay set.
TEST_F(CardWriteFaults, AFileSizeLimitKeepsTheOldFileAndTheMarks) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const Bytes old{'o', 'l', 'd'};
    for (const FileKind kind : card::AllKinds) {
        const fs::path target = root / "card" / std::string(card::fileName(kind));
        std::ofstream(target, std::ios::binary) << "old";
        for (const rlim_t limit : {rlim_t{0}, rlim_t{4096}, static_cast<rlim_t>(card::fileSize(kind) - 1)}) {
            SCOPED_TRACE(std::string(card::fileName(kind)) + " limit " + std::to_string(limit));
            ASSERT_TRUE(groupMarked(project, kind));
            rlimit small = saved;
            small.rlim_cur = std::min<rlim_t>(limit, saved.rlim_max);
            ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
            const card::WriteResult r = write(kind);
            ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
            EXPECT_FALSE(r.ok);
            // The limit already stops the temporary file, which reports its kind's text (192 or 658).
            EXPECT_EQ(r.text, card::temporaryFailedText(kind));
            EXPECT_EQ(readFile(target), old);
            EXPECT_EQ(cardFolder(), std::vector<std::string>{target.filename().string()});
            EXPECT_TRUE(fs::is_empty(root / "temp"));
            EXPECT_TRUE(groupMarked(project, kind));
        }
        fs::remove(target);
    }
    std::signal(SIGXFSZ, previousHandler);
}

// The final rename fails when the target's name is taken by a folder: the folder is untouched and the copy
// written beside it is removed.
TEST_F(CardWriteFaults, AFailedRenameLeavesNoCopyBeside) {
    fs::create_directories(root / "card" / "kur.bin" / "inside");
    const card::WriteResult r = write(FileKind::Chimes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.text, text::CardWriteFailed);
    EXPECT_EQ(cardFolder(), std::vector<std::string>{"kur.bin"});
    EXPECT_TRUE(fs::is_directory(root / "card" / "kur.bin" / "inside"));
    EXPECT_TRUE(fs::is_empty(root / "temp"));
    EXPECT_TRUE(groupMarked(project, FileKind::Chimes));
}

// Each step of putting the new file on the card failing as a full card does, the sync among them: the old file is
// kept byte for byte, nothing else is left on the card or in the working folder, the marks stay, and the result
// names the system's reason.
std::string stepName(const ::testing::TestParamInfo<testing_support::FailingWrite::Step>& param) {
    static const char* const stepNames[] = {"Nothing", "Open", "Write", "Flush", "Sync", "Commit"};
    return stepNames[static_cast<int>(param.param)];
}

class CardCopyStepFaults : public CardWriteFaults,
                           public ::testing::WithParamInterface<testing_support::FailingWrite::Step> {};

TEST_P(CardCopyStepFaults, TheOldFileIsKeptAndTheReasonReported) {
    using testing_support::FailingWrite;
    const std::string cardRoot = (root / "card").string();
    PlatformCardFileSystem failing(nullptr, [&] { return std::make_unique<FailingWrite>(GetParam(), 0, cardRoot); });
    for (const FileKind kind : card::AllKinds) {
        SCOPED_TRACE(std::string(card::fileName(kind)));
        const fs::path target = root / "card" / std::string(card::fileName(kind));
        std::ofstream(target, std::ios::binary) << "old";
        ASSERT_TRUE(groupMarked(project, kind));
        const card::WriteResult r = card::writeCardFile(project, kind, cardRoot, (root / "temp").string(), failing);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.text, text::CardWriteFailed);
        EXPECT_EQ(r.reason, FailingWrite::Reason.toStdString());
        EXPECT_EQ(readFile(target), (Bytes{'o', 'l', 'd'}));
        EXPECT_EQ(cardFolder(), std::vector<std::string>{target.filename().string()});
        EXPECT_TRUE(fs::is_empty(root / "temp"));
        EXPECT_TRUE(groupMarked(project, kind));
        fs::remove(target);
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, CardCopyStepFaults,
                         ::testing::Values(testing_support::FailingWrite::Step::Open,
                                           testing_support::FailingWrite::Step::Write,
                                           testing_support::FailingWrite::Step::Flush,
                                           testing_support::FailingWrite::Step::Sync,
                                           testing_support::FailingWrite::Step::Commit),
                         stepName);

} // namespace
} // namespace tolvane
