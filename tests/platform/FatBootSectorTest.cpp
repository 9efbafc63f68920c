#include "platform/FatBootSector.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

namespace tolvane {
namespace {

using Sector = std::array<std::uint8_t, 512>;

void put16(Sector& s, std::size_t at, std::uint32_t v) {
    s[at] = static_cast<std::uint8_t>(v);
    s[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(Sector& s, std::size_t at, std::uint32_t v) {
    put16(s, at, v & 0xFFFF);
    put16(s, at + 2, v >> 16);
}

// A boot sector of 512-byte sectors and two FATs of 100 sectors that leaves exactly `clusters` data clusters.
// The FAT32 layout has no fixed root folder and a 32-bit FAT size; the FAT12/16 layout a 512-entry root folder.
Sector makeSector(std::uint32_t clusters, bool fat32Layout, std::uint32_t sectorsPerCluster = 1) {
    Sector s{};
    put16(s, 11, 512);
    s[13] = static_cast<std::uint8_t>(sectorsPerCluster);
    const std::uint32_t reserved = fat32Layout ? 32 : 1;
    const std::uint32_t rootSectors = fat32Layout ? 0 : 32;
    put16(s, 14, reserved);
    s[16] = 2;
    put16(s, 17, fat32Layout ? 0 : 512);
    if (fat32Layout) {
        put32(s, 36, 100);
    } else {
        put16(s, 22, 100);
    }
    const std::uint32_t total = reserved + 2 * 100 + rootSectors + clusters * sectorsPerCluster;
    if (total < 0x10000 && !fat32Layout) {
        put16(s, 19, total);
    } else {
        put32(s, 32, total);
    }
    s[510] = 0x55;
    s[511] = 0xAA;
    return s;
}

void putLabel(Sector& s, std::size_t extended, const std::string& label11) {
    s[extended + 2] = 0x29;
    for (std::size_t i = 0; i < 11; ++i) {
        s[extended + 7 + i] = static_cast<std::uint8_t>(label11[i]);
    }
}

TEST(FatBootSector, KindFollowsTheClusterCountAtItsBoundaries) {
    struct Case {
        std::uint32_t clusters;
        bool fat32Layout;
        FatKind kind;
    };
    // The layout of the parameter block does not decide the kind: only the count of data clusters does.
    const Case cases[] = {
        {1, false, FatKind::Fat12},     {4084, false, FatKind::Fat12},     {4085, false, FatKind::Fat16},
        {65524, false, FatKind::Fat16}, {65524, true, FatKind::Fat16},     {65525, true, FatKind::Fat32},
        {65525, false, FatKind::Fat32}, {3'000'000, true, FatKind::Fat32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.clusters << (c.fat32Layout ? " FAT32 layout" : " FAT16 layout"));
        const auto info = readFatBootSector(makeSector(c.clusters, c.fat32Layout));
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->clusters, c.clusters);
        EXPECT_EQ(info->kind, c.kind);
    }
}

TEST(FatBootSector, ClustersCountSectorsPerClusterAndRoundDown) {
    Sector s = makeSector(70000, true, 8);
    // Seven spare sectors at the end do not make a cluster.
    put32(s, 32, 32 + 200 + 70000 * 8 + 7);
    const auto info = readFatBootSector(s);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->clusters, 70000u);
}

TEST(FatBootSector, RejectsWhatIsNoFatVolume) {
    struct Case {
        const char* what;
        std::size_t offset;
        std::uint8_t value;
    };
    const Case cases[] = {
        {"no signature", 510, 0x00},
        {"sector size 0", 12, 0x00},
        {"sector size 768", 12, 0x03},
        {"3 sectors per cluster", 13, 3},
        {"no sectors per cluster", 13, 0},
        {"no reserved sector", 14, 0},
        {"no FAT", 16, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sector s = makeSector(5000, false);
        s[c.offset] = c.value;
        EXPECT_FALSE(readFatBootSector(s).has_value());
    }

    Sector tooSmall = makeSector(5000, false);
    put16(tooSmall, 19, 100); // fewer sectors than the FATs and root folder take
    EXPECT_FALSE(readFatBootSector(tooSmall).has_value());

    const Sector whole = makeSector(5000, false);
    EXPECT_FALSE(readFatBootSector(std::span(whole).first(511)).has_value());
}

TEST(FatBootSector, LabelComesFromTheExtendedBootRecordOfItsLayout) {
    Sector fat16 = makeSector(5000, false);
    putLabel(fat16, 36, "TOWER CARD ");
    EXPECT_EQ(readFatBootSector(fat16)->label, "TOWER CARD");

    Sector fat32 = makeSector(70000, true);
    putLabel(fat32, 64, "BELLS      ");
    EXPECT_EQ(readFatBootSector(fat32)->label, "BELLS");

    Sector unnamed = makeSector(70000, true);
    putLabel(unnamed, 64, "NO NAME    ");
    EXPECT_EQ(readFatBootSector(unnamed)->label, "");

    Sector noRecord = makeSector(70000, true);
    putLabel(noRecord, 64, "BELLS      ");
    noRecord[66] = 0x28; // without the 0x29 signature the label field is not there
    EXPECT_EQ(readFatBootSector(noRecord)->label, "");
}

} // namespace
} // namespace tolvane
