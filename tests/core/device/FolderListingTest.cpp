#include "device/FolderListing.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

class FolderListingTest : public testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        dir_ = fs::temp_directory_path() / ("tolvane-listing-" + std::to_string(rd()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void writeFile(const std::string& name, std::size_t size) {
        std::ofstream(dir_ / name, std::ios::binary) << std::string(size, 'x');
    }

    fs::path dir_;
};

TEST_F(FolderListingTest, ListsMatchingFilesSortedWithTheirTotalSize) {
    writeFile("seq.dat", 3);
    writeFile("config.dat", 5);
    writeFile("PROGRAMS.DAT", 7);
    writeFile("kur.bin", 11);
    writeFile("programs.dat.bak", 13);
    fs::create_directory(dir_ / "old.dat"); // a sub-folder that matches the pattern
    writeFile("old.dat/inner.dat", 17);

    const FolderListing names = FolderListing::list(dir_, "*.dat", false);
    EXPECT_EQ(names.entries, (std::vector<std::string>{"PROGRAMS.DAT", "config.dat", "seq.dat"}));
    EXPECT_EQ(names.totalSize, 15u);

    const FolderListing paths = FolderListing::list(dir_, "*.dat", true);
    ASSERT_EQ(paths.entries.size(), 3u);
    EXPECT_EQ(fs::path(paths.entries[0]), dir_ / "PROGRAMS.DAT");
    EXPECT_EQ(fs::path(paths.entries[2]), dir_ / "seq.dat");
    EXPECT_EQ(paths.totalSize, 15u);

    const FolderListing all = FolderListing::list(dir_, "*.*", false);
    EXPECT_EQ(all.entries,
              (std::vector<std::string>{"PROGRAMS.DAT", "config.dat", "kur.bin", "programs.dat.bak", "seq.dat"}));
    EXPECT_EQ(all.totalSize, 39u);
}

TEST_F(FolderListingTest, LinksToFoldersAreLeftOutAndLinksToFilesListed) {
    writeFile("real.dat", 4);
    fs::create_directory(dir_ / "sub");
    std::error_code ec;
    fs::create_directory_symlink(dir_ / "sub", dir_ / "folder.dat", ec);
    if (ec) {
        GTEST_SKIP() << "no symbolic links here";
    }
    fs::create_symlink(dir_ / "real.dat", dir_ / "link.dat");
    fs::create_symlink(dir_ / "missing.dat", dir_ / "broken.dat");
    const FolderListing listing = FolderListing::list(dir_, "*.dat", false);
    EXPECT_EQ(listing.entries, (std::vector<std::string>{"link.dat", "real.dat"}));
    EXPECT_EQ(listing.totalSize, 8u);
}

TEST_F(FolderListingTest, MissingOrEmptyFolderGivesAnEmptyListing) {
    for (const fs::path& folder : {dir_, dir_ / "missing", dir_ / "file.dat"}) {
        SCOPED_TRACE(folder.string());
        const FolderListing listing = FolderListing::list(folder, "*", true);
        EXPECT_TRUE(listing.entries.empty());
        EXPECT_EQ(listing.totalSize, 0u);
        writeFile("file.dat", 1); // from the second pass on, a file stands where a folder is expected
    }
}

TEST(Wildcard, Matching) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"programs.dat", "*.dat", true},
        {"PROGRAMS.DAT", "*.dat", true},
        {"programs.dat.bak", "*.dat", false},
        {"programs.da", "*.dat", false},
        {".dat", "*.dat", true},
        {"seq.dat", "seq.dat", true},
        {"seq.dat", "s?q.dat", true},
        {"sq.dat", "s?q.dat", false},
        {"ąb.dat", "?b.dat", true},  // '?' is one character, not one byte
        {"Ąb.dat", "ąb.dat", false}, // only ASCII letters are compared without case
        {"a", "", false},
        {"", "", true},
        {"", "*", true},
        {"abc", "a*b*c", true},
        {"abcbc", "a*bc", true},
        {"abcb", "a*bc", false},
        {"noextension", "*.*", true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*c", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " ~ " << c.pattern);
        EXPECT_EQ(matchesWildcard(c.name, c.pattern), c.matches);
    }
}

TEST(FolderOfPath, AcceptsBothSeparators) {
    struct Case {
        const char* path;
        const char* folder;
    };
    const Case cases[] = {
        {"C:\\Tolvane\\card\\programs.dat", "C:\\Tolvane\\card\\"},
        {"C:\\Tolvane\\card\\", "C:\\Tolvane\\card\\"},
        {"/media/card/seq.dat", "/media/card/"},
        {"/media/card/", "/media/card/"},
        {"/media/card", "/media/"},
        {"/seq.dat", "/"},
        {"mixed/dir\\file.dat", "mixed/dir\\"},
        {"mixed\\dir/file.dat", "mixed\\dir/"},
        {"programs.dat", ""}, // a bare name lives in the current folder, not in the root
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(folderOfPath(c.path), c.folder);
    }
}

} // namespace
} // namespace tolvane
