#include "VolumeSource.h"

#include "LinuxVolumeSource.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tolvane {

bool cardsUsable(const std::vector<RemovableVolume>& volumes) {
    if (volumes.empty()) {
        return false;
    }
    if (volumes.size() == 1) {
        return volumes.front().fileSystem == QLatin1String("FAT32");
    }
    return true;
}

#ifdef Q_OS_WIN

namespace {

// The removable drives C: to Z: that hold a medium. A card reader without a card has a drive type but no volume
// information; critical-error boxes ("insert a disk") are turned off while asking.
class WindowsVolumeSource : public VolumeSource {
public:
    std::vector<RemovableVolume> removableVolumes() override {
        std::vector<RemovableVolume> volumes;
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        for (wchar_t letter = L'C'; letter <= L'Z'; ++letter) {
            const wchar_t root[] = {letter, L':', L'\\', L'\0'};
            if (GetDriveTypeW(root) != DRIVE_REMOVABLE) {
                continue;
            }
            wchar_t label[81] = {};
            wchar_t fileSystem[11] = {};
            if (!GetVolumeInformationW(root, label, 81, nullptr, nullptr, nullptr, fileSystem, 11) ||
                fileSystem[0] == L'\0') {
                continue;
            }
            volumes.push_back({QString::fromWCharArray(label), QString::fromWCharArray(root, 3),
                               QString::fromWCharArray(fileSystem)});
        }
        SetErrorMode(oldMode);
        return volumes;
    }
};

} // namespace

std::unique_ptr<VolumeSource> createSystemVolumeSource() {
    return std::make_unique<WindowsVolumeSource>();
}

#else

std::unique_ptr<VolumeSource> createSystemVolumeSource() {
    return std::make_unique<LinuxVolumeSource>();
}

#endif

} // namespace tolvane
