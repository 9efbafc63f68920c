#pragma once

#include "VolumeSource.h"

#include <memory>
#include <vector>

namespace tolvane {

enum class CardChange { None, Inserted, Removed };

// What one poll found.
struct CardPoll {
    std::vector<RemovableVolume> volumes;
    CardChange change = CardChange::None;
    bool usable = false; // see cardsUsable()
};

// Watches the removable media through a volume source. Each poll lists the media and says whether the first card
// has just been inserted or the last one removed; a change is reported once, by the poll that sees it.
class CardMonitor {
public:
    explicit CardMonitor(std::unique_ptr<VolumeSource> source);

    CardPoll poll();
    bool cardPresent() const { return cardPresent_; }
    VolumeSource& source() { return *source_; }

private:
    std::unique_ptr<VolumeSource> source_;
    bool cardPresent_ = false;
};

} // namespace tolvane
