#include "FailingWrite.h"
#include "FullProject.h"
#include "platform/SafeFile.h"
#include "project/ProjectFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <utility>
#include <vector>

namespace tolvane {
namespace {

QByteArray projectBytes(ProjectData& project) {
    const auto bytes = projectfile::store(project);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

using testing_support::FailingWrite;

class SafeFileFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ProjectData old;
        oldBytes = projectBytes(old);
        ASSERT_TRUE(writeFileAtomically(target(), oldBytes).ok);
        testing_support::fillProject(full);
        newBytes = projectBytes(full);
    }
    QString target() const { return folder.filePath(QStringLiteral("tower.tpm")); }
    QStringList folderContent() const {
        return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    // The old file as it was and nothing else in its folder.
    void expectOldFileAlone() const {
        EXPECT_EQ(folderContent(), QStringList{QStringLiteral("tower.tpm")});
        EXPECT_EQ(readWholeFile(target(), projectfile::MaxFileSize), oldBytes);
    }

    QTemporaryDir folder;
    ProjectData full;
    QByteArray oldBytes;
    QByteArray newBytes;
};

// A failure at any step of the save leaves the previous file intact, no temporary file beside it, and gives
// the reason to show the user.
TEST_F(SafeFileFaults, AFailureAtAnyStepKeepsThePreviousFile) {
    const int chunks = static_cast<int>((newBytes.size() + ChunkSize - 1) / ChunkSize);
    ASSERT_GT(chunks, 1);
    std::vector<std::pair<FailingWrite::Step, int>> cases{{FailingWrite::Step::Open, 0}};
    for (int chunk = 0; chunk < chunks; ++chunk) {
        cases.emplace_back(FailingWrite::Step::Write, chunk);
    }
    cases.emplace_back(FailingWrite::Step::Flush, 0);
    cases.emplace_back(FailingWrite::Step::Sync, 0);
    cases.emplace_back(FailingWrite::Step::Commit, 0);
    for (const auto& [step, chunk] : cases) {
        SCOPED_TRACE(static_cast<int>(step) * 100 + chunk);
        FailingWrite layer(step, chunk);
        const FileResult result = writeFileAtomically(target(), newBytes, layer);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, QStringLiteral("No space left on device"));
        expectOldFileAlone();
    }

    FailingWrite none(FailingWrite::Step::Nothing);
    EXPECT_TRUE(writeFileAtomically(target(), newBytes, none).ok);
    EXPECT_EQ(folderContent(), QStringList{QStringLiteral("tower.tpm")});
    EXPECT_EQ(readWholeFile(target(), projectfile::MaxFileSize), newBytes);
}

// A real write failure from the operating system: a file-size limit that the new content exceeds makes the
// writes fail part-way, as a full disk does.
TEST_F(SafeFileFaults, AFileSizeLimitFailsTheSaveAndKeepsThePreviousFile) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const rlim_t limit : {rlim_t{0}, rlim_t{1000}, rlim_t{70000}, static_cast<rlim_t>(newBytes.size() - 1)}) {
        SCOPED_TRACE(limit);
        rlimit small = saved;
        small.rlim_cur = std::min<rlim_t>(limit, saved.rlim_max);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const FileResult result = writeFileAtomically(target(), newBytes);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
        expectOldFileAlone();
    }
    std::signal(SIGXFSZ, previousHandler);
}

TEST_F(SafeFileFaults, AMissingFolderFailsAtOpenWithTheSystemsWording) {
    const FileResult result = writeFileAtomically(folder.filePath(QStringLiteral("missing/tower.tpm")), newBytes);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    expectOldFileAlone();
}

// One sync of a file system serves folders on it alone: two folders of one temporary folder share it, the kernel's
// process folder never does, and a folder that is not there shares nothing.
TEST(SafeFileSystems, FoldersShareAFileSystemOnlyWhenBothAreOnIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("a/b")));
    const NativePath top = toNativePath(dir.path());
    const NativePath nested = toNativePath(dir.filePath(QStringLiteral("a/b")));
    EXPECT_EQ(onSameFileSystem(top, nested), canSyncFileSystems());
    EXPECT_FALSE(onSameFileSystem(top, toNativePath(QStringLiteral("/proc"))));
    EXPECT_FALSE(onSameFileSystem(top, toNativePath(dir.filePath(QStringLiteral("missing")))));
}

} // namespace
} // namespace tolvane
