#include "platform/AppPaths.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// Each data folder is found beside the program first, then in the version folder.
TEST(AppPaths, FindsEachDataFolderBesideTheProgramOrInTheVersionFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir base(dir.path());
    ASSERT_TRUE(base.mkpath("Language"));
    ASSERT_TRUE(base.mkpath("1.41/Language"));
    ASSERT_TRUE(base.mkpath("1.41/Data/Gfx"));
    ASSERT_TRUE(base.mkpath("1.40/print"));

    const AppPaths paths(dir.path() + "/");
    EXPECT_EQ(paths.programFolder(), dir.path());
    EXPECT_EQ(paths.languageFolder(), base.filePath("Language"));
    EXPECT_EQ(paths.dataFolder(), base.filePath("1.41/Data"));
    EXPECT_EQ(paths.dataFile("Gfx/icons.png"), base.filePath("1.41/Data/Gfx/icons.png"));
    // Found nowhere: the place beside the program is named.
    EXPECT_EQ(paths.printFolder(), base.filePath("print"));

    // The editor's own folder is the version folder itself.
    const AppPaths editor(base.filePath("1.41"));
    EXPECT_EQ(editor.languageFolder(), base.filePath("1.41/Language"));
    EXPECT_EQ(editor.dataFolder(), base.filePath("1.41/Data"));
}

TEST(AppPaths, AFileIsNotAFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir base(dir.path());
    ASSERT_TRUE(base.mkpath("1.41/Language"));
    QFile file(base.filePath("Language"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(AppPaths(dir.path()).languageFolder(), base.filePath("1.41/Language"));
}

} // namespace
} // namespace tolvane
