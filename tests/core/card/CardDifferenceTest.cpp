#include "FullProject.h"
#include "OneOfEverything.h"
#include "card/CardFolder.h"
#include "platform/PlatformCardFileSystem.h"
#include "report/ProjectDifference.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

// A project written to a card folder and read back as the editor reads a card.
class CardDifference : public ::testing::TestWithParam<std::function<void(ProjectData&)>> {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("tolvane-card-diff-" + std::to_string(getpid()) + "-" +
                std::to_string(::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "card");
        fs::create_directories(root / "temp");
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
    PlatformCardFileSystem files;
};

TEST_P(CardDifference, ACardReadBackDiffersInNothingTheCardCarries) {
    ProjectData project;
    GetParam()(project);
    project.sortSchedulesByTime();
    for (card::FileKind kind : card::AllKinds) {
        ASSERT_TRUE(card::writeCardFile(project, kind, (root / "card").string(), (root / "temp").string(), files).ok);
    }
    ProjectData read;
    const card::FolderReadResult result = card::readCardFolder(read, (root / "card").string(), files);
    ASSERT_TRUE(result.ok) << result.path << " " << result.text;
    const auto differences = ProjectDifference::between(read, project, NoTexts());
    EXPECT_TRUE(differences.empty()) << ProjectDifference::text(differences, NoTexts());
}

INSTANTIATE_TEST_SUITE_P(Projects, CardDifference,
                         testing::Values([](ProjectData& p) { testing_support::OneOfEverything::fill(p); },
                                         [](ProjectData& p) { testing_support::fillProject(p); }));

} // namespace
} // namespace tolvane
