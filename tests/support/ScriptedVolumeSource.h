#pragma once

#include "platform/VolumeSource.h"

#include <vector>

namespace tolvane {

// A volume source whose media the test sets: what it lists is what `volumes` holds at the time of the poll.
class ScriptedVolumeSource : public VolumeSource {
public:
    std::vector<RemovableVolume> volumes;
    int polls = 0;

    std::vector<RemovableVolume> removableVolumes() override {
        ++polls;
        return volumes;
    }

    static RemovableVolume card(const QString& label, const QString& root, const QString& fileSystem = "FAT32") {
        return {label, root, fileSystem};
    }
};

} // namespace tolvane
