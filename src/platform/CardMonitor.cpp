#include "CardMonitor.h"

namespace tolvane {

CardMonitor::CardMonitor(std::unique_ptr<VolumeSource> source) : source_(std::move(source)) {
    if (!source_) {
        source_ = createSystemVolumeSource();
    }
}

CardPoll CardMonitor::poll() {
    CardPoll result;
    result.volumes = source_->removableVolumes();
    const bool present = !result.volumes.empty();
    if (present && !cardPresent_) {
        result.change = CardChange::Inserted;
    } else if (!present && cardPresent_) {
        result.change = CardChange::Removed;
    }
    cardPresent_ = present;
    result.usable = cardsUsable(result.volumes);
    return result;
}

} // namespace tolvane
