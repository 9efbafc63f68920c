#include "LinuxVolumeSource.h"

#include "FatBootSector.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <set>

#ifdef Q_OS_UNIX
#include <sys/statvfs.h>
#endif

namespace tolvane {

namespace {

// mountinfo writes a space, tab, newline and backslash in a path as \040, \011, \012 and \134.
QString decodeMountPath(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = digits.size() == 3;
            for (const char d : digits) {
                ok = ok && d >= '0' && d <= '7';
            }
            if (ok) {
                out.append(static_cast<char>(digits.toInt(nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QString::fromUtf8(out);
}

// udev names a label link with \xHH for every byte it does not keep as it is (a space is \x20).
QString decodeLabelLink(const QString& name) {
    const QByteArray raw = name.toUtf8();
    QByteArray out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 3 < raw.size() && raw[i + 1] == 'x') {
            bool ok = false;
            const int value = raw.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.append(raw[i]);
    }
    return QString::fromUtf8(out);
}

QByteArray readSmallFile(const QString& path, qint64 limit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.read(limit);
}

} // namespace

std::vector<MountInfoEntry> parseMountInfo(const QByteArray& text) {
    std::vector<MountInfoEntry> entries;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // id parent major:minor root mount-point options [optional fields...] - type source super-options
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 6 || dash < 6 || dash + 2 >= fields.size()) {
            continue;
        }
        const QList<QByteArray> device = fields[2].split(':');
        bool okId = false;
        bool okMajor = false;
        bool okMinor = false;
        MountInfoEntry entry;
        entry.mountId = fields[0].toInt(&okId);
        if (device.size() == 2) {
            entry.major = device[0].toUInt(&okMajor);
            entry.minor = device[1].toUInt(&okMinor);
        }
        if (!okId || !okMajor || !okMinor) {
            continue;
        }
        entry.root = decodeMountPath(fields[3]);
        entry.mountPoint = decodeMountPath(fields[4]);
        entry.fileSystemType = QString::fromUtf8(fields[dash + 1]);
        entry.source = decodeMountPath(fields[dash + 2]);
        entries.push_back(entry);
    }
    return entries;
}

QString fileSystemName(const QString& linuxType, std::optional<std::uint64_t> fatClusters) {
    if (linuxType == QLatin1String("vfat") || linuxType == QLatin1String("msdos")) {
        return fatClusters && fatKindFromClusterCount(*fatClusters) == FatKind::Fat32 ? QStringLiteral("FAT32")
                                                                                      : QStringLiteral("FAT");
    }
    if (linuxType == QLatin1String("exfat")) {
        return QStringLiteral("exFAT");
    }
    if (linuxType == QLatin1String("ntfs") || linuxType == QLatin1String("ntfs3")) {
        return QStringLiteral("NTFS");
    }
    return linuxType;
}

LinuxVolumeSource::LinuxVolumeSource(LinuxVolumePaths paths, ClusterCounter clusterCounter)
    : paths_(std::move(paths)), clusterCounter_(std::move(clusterCounter)) {
    if (!clusterCounter_) {
        clusterCounter_ = &LinuxVolumeSource::mountedClusterCount;
    }
}

std::vector<RemovableVolume> LinuxVolumeSource::removableVolumes() {
    std::vector<RemovableVolume> volumes;
    std::set<std::pair<unsigned, unsigned>> devicesSeen;
    std::map<MountKey, std::optional<Probe>> stillMounted;

    for (const MountInfoEntry& mount : parseMountInfo(readSmallFile(paths_.mountInfo, 4 * 1024 * 1024))) {
        // Major 0 is a file system without a block device (network, fuse, tmpfs, proc): never asked further.
        // A bind mount of a folder (root other than "/") and a second mount of one device add no new drive.
        if (mount.major == 0 || mount.root != QLatin1String("/") ||
            !devicesSeen.insert({mount.major, mount.minor}).second) {
            continue;
        }
        const MountKey key{mount.mountId, mount.major, mount.minor, mount.mountPoint};
        auto known = probed_.find(key);
        std::optional<Probe> probe;
        if (known != probed_.end()) {
            probe = known->second;
        } else if (isRemovable(mount)) {
            probe = this->probe(mount);
        }
        stillMounted.emplace(key, probe);
        if (probe && !probe->fileSystem.isEmpty()) {
            volumes.push_back({probe->label, mount.mountPoint, probe->fileSystem});
        }
    }
    probed_ = std::move(stillMounted);
    return volumes;
}

bool LinuxVolumeSource::isRemovable(const MountInfoEntry& mount) const {
    const QString link = paths_.sysDevBlock + QStringLiteral("/%1:%2").arg(mount.major).arg(mount.minor);
    QString device = QFileInfo(link).canonicalFilePath();
    if (device.isEmpty()) {
        return false;
    }
    // The removable flag belongs to the disk; a partition is a folder inside its disk's folder.
    if (QFileInfo::exists(device + QStringLiteral("/partition"))) {
        device = QFileInfo(device).path();
    }
    const QString disk = QFileInfo(device).fileName();
    if (disk.startsWith(QLatin1String("sr"))) {
        return false; // optical drives are not card drives
    }
    return readSmallFile(device + QStringLiteral("/removable"), 8).trimmed() == "1" ||
           disk.startsWith(QLatin1String("mmcblk")) || device.contains(QLatin1String("/usb"));
}

LinuxVolumeSource::Probe LinuxVolumeSource::probe(const MountInfoEntry& mount) const {
    std::optional<FatBootInfo> boot;
    if (mount.fileSystemType == QLatin1String("vfat") || mount.fileSystemType == QLatin1String("msdos")) {
        // Reading the device needs the right to read it (usually only root or the disk group has it); without it
        // the mounted file system's own block count, which the FAT driver gives in clusters, tells the kind.
        if (QFileInfo(mount.source).isReadable()) {
            const QByteArray sector = readSmallFile(mount.source, 512);
            const std::vector<std::uint8_t> bytes(sector.begin(), sector.end());
            boot = readFatBootSector(bytes);
        }
    }
    std::optional<std::uint64_t> clusters;
    if (boot) {
        clusters = boot->clusters;
    } else if (mount.fileSystemType == QLatin1String("vfat") || mount.fileSystemType == QLatin1String("msdos")) {
        clusters = clusterCounter_(mount.mountPoint);
    }

    Probe result;
    result.fileSystem = fileSystemName(mount.fileSystemType, clusters);
    result.label = labelFromLinks(mount.source);
    if (result.label.isEmpty() && boot) {
        result.label = QString::fromStdString(boot->label);
    }
    return result;
}

QString LinuxVolumeSource::labelFromLinks(const QString& device) const {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty()) {
        return {};
    }
    const QDir links(paths_.labelLinks);
    for (const QFileInfo& link : links.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        if (link.canonicalFilePath() == target) {
            return decodeLabelLink(link.fileName());
        }
    }
    return {};
}

std::optional<std::uint64_t> LinuxVolumeSource::mountedClusterCount(const QString& mountPoint) {
#ifdef Q_OS_UNIX
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(mountPoint).constData(), &info) == 0 && info.f_blocks > 0) {
        return static_cast<std::uint64_t>(info.f_blocks);
    }
#else
    Q_UNUSED(mountPoint);
#endif
    return std::nullopt;
}

} // namespace tolvane
