#pragma once

#include "VolumeSource.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace tolvane {

// One line of /proc/self/mountinfo, with the escapes of its paths (\040 for a space, ...) decoded.
struct MountInfoEntry {
    int mountId = 0;
    unsigned major = 0;
    unsigned minor = 0;
    QString root; // the folder of the file system that is mounted ("/" unless it is a bind mount)
    QString mountPoint;
    QString fileSystemType;
    QString source; // the device, e.g. /dev/sdb1
};

std::vector<MountInfoEntry> parseMountInfo(const QByteArray& text);

// The Windows name of a Linux file system type, as the controller's card rules speak of it: vfat is "FAT32" or
// "FAT" by its cluster count (nothing known: "FAT"), exfat "exFAT", ntfs and ntfs3 "NTFS"; any other type keeps
// its Linux name.
QString fileSystemName(const QString& linuxType, std::optional<std::uint64_t> fatClusters);

// Where the Linux volume source looks. Tests point these at a folder of their own.
struct LinuxVolumePaths {
    QString mountInfo = QStringLiteral("/proc/self/mountinfo");
    QString sysDevBlock = QStringLiteral("/sys/dev/block");    // <major>:<minor> links into the device tree
    QString labelLinks = QStringLiteral("/dev/disk/by-label"); // links named after labels, \x20 for a space
};

// The mounted removable media of a Linux system. A mount counts when its block device (or the disk of its
// partition) has the sysfs flag removable = 1, sits on a USB bus, or is an mmcblk card; optical drives do not count.
// Mounts without a block device (network, fuse, tmpfs: major 0) are skipped before anything is asked, and the
// mount point itself is only asked (statvfs) for a removable FAT volume whose boot sector cannot be read, once per
// mount, so a hung network mount can never block a poll.
class LinuxVolumeSource : public VolumeSource {
public:
    // Clusters of the FAT volume mounted at a mount point, as the mounted file system reports them.
    using ClusterCounter = std::function<std::optional<std::uint64_t>(const QString& mountPoint)>;

    explicit LinuxVolumeSource(LinuxVolumePaths paths = {}, ClusterCounter clusterCounter = {});

    std::vector<RemovableVolume> removableVolumes() override;

    // statvfs of the mount point: the FAT driver reports its data clusters as the block count.
    static std::optional<std::uint64_t> mountedClusterCount(const QString& mountPoint);

private:
    struct Probe {
        QString label;
        QString fileSystem;
    };
    using MountKey = std::tuple<int, unsigned, unsigned, QString>;

    bool isRemovable(const MountInfoEntry& mount) const;
    Probe probe(const MountInfoEntry& mount) const;
    QString labelFromLinks(const QString& device) const;

    LinuxVolumePaths paths_;
    ClusterCounter clusterCounter_;
    // A mount is probed once (nothing when it is not removable); its key changes when it is remounted.
    std::map<MountKey, std::optional<Probe>> probed_;
};

} // namespace tolvane
