#pragma once

#include "platform/CardMonitor.h"

#include <QComboBox>
#include <QTimer>

#include <memory>

namespace tolvane {

// The drop-down list of memory cards: every removable drive that holds a medium, as "label root". It refreshes
// itself every 500 ms while refreshing is on, is enabled exactly when it lists a card, and signals when the first
// card is inserted and when the last one is removed. Each item keeps its drive root as Qt::UserRole data.
class CRemoveDirCombo : public QComboBox {
    Q_OBJECT

public:
    static constexpr int RefreshMilliseconds = 500;

    // Asks the system's removable drives, or `source` when given (tests script one). The list starts disabled with
    // refreshing on; its first refresh runs from the event loop, so that signals connected right after
    // construction hear about a card that is already there.
    explicit CRemoveDirCombo(QWidget* parent = nullptr, std::unique_ptr<VolumeSource> source = nullptr);

    // Lists the cards again, keeps the selected card selected when it is still there, signals a card change, and
    // answers whether the cards found are usable: one card only when it is FAT32, two or more always.
    bool refresh();

    // On: refreshes at once and then every 500 ms. Off: stops refreshing and disables the list.
    void enableRefreshing(bool on);
    bool isRefreshing() const { return timer_.isActive(); }

    // The root of the selected drive ("E:\" on Windows, the mount point on Linux), empty when none is selected.
    QString selectedRoot() const;
    // Selects the drive with that root (compared without regard to case); the first drive when none has it.
    void selectRoot(const QString& root);

    bool cardPresent() const { return monitor_.cardPresent(); }
    bool lastUsable() const { return usable_; }

signals:
    void cardInserted();
    void cardRemoved();

private:
    void tick();

    CardMonitor monitor_;
    QTimer timer_;
    bool usable_ = false;
};

} // namespace tolvane
