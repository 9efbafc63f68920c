#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace tolvane {

// One mounted removable medium as the drive list shows it.
struct RemovableVolume {
    QString label;      // volume label, may be empty
    QString root;       // drive root: "E:\" on Windows, the mount point on Linux
    QString fileSystem; // "FAT32", "FAT", "exFAT", "NTFS", ...; empty means the drive holds no medium

    QString entryText() const { return label + QLatin1Char(' ') + root; }
    bool operator==(const RemovableVolume&) const = default;
};

// Lists the removable media of the machine. The drive list asks it every 500 ms on the user-interface thread,
// so an implementation must only ask removable block devices, never anything that can hang (network mounts).
class VolumeSource {
public:
    virtual ~VolumeSource() = default;
    // The removable drives that hold a medium, in a stable order.
    virtual std::vector<RemovableVolume> removableVolumes() = 0;
};

// The volume source of the running system (Linux: mount table and sysfs; Windows: drives C: to Z:).
std::unique_ptr<VolumeSource> createSystemVolumeSource();

// Whether the cards found can be written: none is not usable, a single card only when it is FAT32 (the controller
// reads nothing else), two or more are left to the user's choice.
bool cardsUsable(const std::vector<RemovableVolume>& volumes);

} // namespace tolvane
