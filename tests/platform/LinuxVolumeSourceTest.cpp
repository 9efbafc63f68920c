#include "platform/LinuxVolumeSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

namespace tolvane {
namespace {

TEST(MountInfo, ParsesFieldsOptionalTagsAndEscapes) {
    const QByteArray text =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "\n"
        "95 22 8:17 / /media/u/TOWER\\040CARD rw,nosuid shared:52 master:7 - vfat /dev/sdb1 rw,fmask=22\n"
        "96 22 0:52 /exports /mnt/net rw - nfs4 server:/exports rw\n"
        "97 22 8:17 /sub /srv/bind rw - vfat /dev/sdb1 rw\n"
        "garbage line\n"
        "98 22 x:1 / /bad rw - vfat /dev/x rw\n";
    const auto entries = parseMountInfo(text);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1].mountId, 95);
    EXPECT_EQ(entries[1].major, 8u);
    EXPECT_EQ(entries[1].minor, 17u);
    EXPECT_EQ(entries[1].root, "/");
    EXPECT_EQ(entries[1].mountPoint, "/media/u/TOWER CARD");
    EXPECT_EQ(entries[1].fileSystemType, "vfat");
    EXPECT_EQ(entries[1].source, "/dev/sdb1");
    EXPECT_EQ(entries[2].major, 0u);
    EXPECT_EQ(entries[2].fileSystemType, "nfs4");
    EXPECT_EQ(entries[3].root, "/sub");
}

TEST(MountInfo, FileSystemNamesAsTheCardRulesSpeakOfThem) {
    struct Case {
        const char* type;
        std::optional<std::uint64_t> clusters;
        const char* name;
    };
    const Case cases[] = {
        {"vfat", 65525, "FAT32"}, {"vfat", 65524, "FAT"}, {"msdos", 4000, "FAT"}, {"vfat", std::nullopt, "FAT"},
        {"exfat", {}, "exFAT"},   {"ntfs3", {}, "NTFS"},  {"ntfs", {}, "NTFS"},   {"ext4", {}, "ext4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(fileSystemName(c.type, c.clusters), c.name);
    }
}

// A small system: sysfs device tree, device nodes, label links and a mount table, all inside a temporary folder.
class FakeSystem {
public:
    FakeSystem() {
        paths.mountInfo = dir.filePath("mountinfo");
        paths.sysDevBlock = dir.filePath("sys/dev/block");
        paths.labelLinks = dir.filePath("by-label");
        QDir().mkpath(paths.sysDevBlock);
        QDir().mkpath(paths.labelLinks);
        QDir().mkpath(dir.filePath("dev"));
    }

    // A disk below `bus` with its removable flag; `partition` empty for a disk without partitions.
    void addDevice(const QString& bus, const QString& disk, const QString& partition, const char* removable,
                   const QString& majorMinor) {
        const QString diskFolder = dir.filePath("sys/devices/" + bus + "/block/" + disk);
        QDir().mkpath(diskFolder);
        write(diskFolder + "/removable", QByteArray(removable) + "\n");
        QString target = diskFolder;
        if (!partition.isEmpty()) {
            target = diskFolder + "/" + partition;
            QDir().mkpath(target);
            write(target + "/partition", "1\n");
        }
        ASSERT_TRUE(QFile::link(target, paths.sysDevBlock + "/" + majorMinor));
    }

    QString device(const QString& name, const QByteArray& content) {
        const QString path = dir.filePath("dev/" + name);
        write(path, content);
        return path;
    }

    void label(const QString& linkName, const QString& devicePath) {
        ASSERT_TRUE(QFile::link(devicePath, paths.labelLinks + "/" + linkName));
    }

    void mounts(const QByteArray& text) { write(paths.mountInfo, text); }

    static void write(const QString& path, const QByteArray& data) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }

    QTemporaryDir dir;
    LinuxVolumePaths paths;
};

QByteArray fat32BootSector(const std::string& label11) {
    std::array<std::uint8_t, 512> s{};
    s[11] = 0x00; // 512 bytes per sector
    s[12] = 0x02;
    s[13] = 8;  // sectors per cluster
    s[14] = 32; // reserved sectors
    s[16] = 2;  // FATs
    const std::uint32_t fatSize = 1000;
    const std::uint32_t total = 32 + 2 * fatSize + 8 * 100000;
    for (int i = 0; i < 4; ++i) {
        s[32 + i] = static_cast<std::uint8_t>(total >> (8 * i));
        s[36 + i] = static_cast<std::uint8_t>(fatSize >> (8 * i));
    }
    s[66] = 0x29;
    for (std::size_t i = 0; i < 11; ++i) {
        s[71 + i] = static_cast<std::uint8_t>(label11[i]);
    }
    s[510] = 0x55;
    s[511] = 0xAA;
    QByteArray bytes;
    for (const std::uint8_t b : s) {
        bytes.append(static_cast<char>(b));
    }
    return bytes;
}

class LinuxVolumeSourceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sys.dir.isValid());
        sys.addDevice("pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0", "sdb", "sdb1", "0", "8:17");
        sys.addDevice("platform/fe320000.mmc/mmc_host/mmc1/mmc1:aaaa", "mmcblk0", "mmcblk0p1", "0", "179:1");
        sys.addDevice("pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0", "sda", "sda1", "0", "8:1");
        sys.addDevice("pci0000:00/0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0", "sdc", "", "1", "8:32");
        sys.addDevice("pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0", "sr0", "", "1", "11:0");
        sdb1 = sys.device("sdb1", fat32BootSector("TOWER      "));
        mmc = sys.device("mmcblk0p1", QByteArray(512, 'x')); // readable, but no FAT boot sector
        sys.label("MY\\x20CARD", mmc);
    }

    QByteArray table() const {
        return "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
               "30 22 0:52 / /mnt/net rw - nfs4 server:/exports rw\n"
               "31 22 0:40 / /run/user/1000 rw - tmpfs tmpfs rw\n"
               "40 22 8:17 / /media/u/TOWER\\040CARD rw shared:5 - vfat " +
               sdb1.toUtf8() +
               " rw\n"
               "41 22 8:17 / /media/u/again rw - vfat " +
               sdb1.toUtf8() +
               " rw\n"
               "42 22 8:17 /sub /srv/bind rw - vfat " +
               sdb1.toUtf8() +
               " rw\n"
               "43 22 179:1 / /media/u/sd rw - vfat " +
               mmc.toUtf8() +
               " rw\n"
               "44 22 8:32 / /mnt/reader rw - exfat /dev/none-sdc rw\n"
               "45 22 11:0 / /media/cdrom ro - iso9660 /dev/sr0 ro\n";
    }

    FakeSystem sys;
    QString sdb1;
    QString mmc;
    QStringList counted; // mount points whose file system was asked for its cluster count
};

TEST_F(LinuxVolumeSourceTest, ListsRemovableMountsOnceAndAsksOnlyThem) {
    sys.mounts(table());
    LinuxVolumeSource source(sys.paths, [this](const QString& mountPoint) -> std::optional<std::uint64_t> {
        counted << mountPoint;
        return 3000; // a small FAT16 card
    });

    const std::vector<RemovableVolume> expected = {
        {"TOWER", "/media/u/TOWER CARD", "FAT32"}, // USB disk, kind and label read from the boot sector
        {"MY CARD", "/media/u/sd", "FAT"},         // mmc card, label link, kind from the mounted cluster count
        {"", "/mnt/reader", "exFAT"},              // removable flag of a whole disk
    };
    EXPECT_EQ(source.removableVolumes(), expected);
    EXPECT_EQ(source.removableVolumes(), expected);
    // The mounted file system is asked only for the FAT card whose boot sector says nothing, and once per mount.
    EXPECT_EQ(counted, QStringList{"/media/u/sd"});
}

TEST_F(LinuxVolumeSourceTest, ARemountIsProbedAgainAndAnUnmountDisappears) {
    sys.mounts(table());
    std::uint64_t clusters = 3000;
    LinuxVolumeSource source(sys.paths,
                             [&clusters](const QString&) -> std::optional<std::uint64_t> { return clusters; });
    ASSERT_EQ(source.removableVolumes().size(), 3u);

    sys.mounts("22 1 8:1 / / rw - ext4 /dev/sda1 rw\n");
    EXPECT_TRUE(source.removableVolumes().empty());

    // The card comes back reformatted as FAT32 under a new mount id.
    clusters = 500000;
    sys.mounts("22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
               "50 22 179:1 / /media/u/sd rw - vfat " +
               mmc.toUtf8() + " rw\n");
    const std::vector<RemovableVolume> expected = {{"MY CARD", "/media/u/sd", "FAT32"}};
    EXPECT_EQ(source.removableVolumes(), expected);
}

TEST_F(LinuxVolumeSourceTest, NoMountTableMeansNoCards) {
    LinuxVolumeSource source(sys.paths);
    EXPECT_TRUE(source.removableVolumes().empty());
}

} // namespace
} // namespace tolvane
