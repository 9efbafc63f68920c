#include "gui/widgets/CRemoveDirCombo.h"

#include <algorithm>

namespace tolvane {

CRemoveDirCombo::CRemoveDirCombo(QWidget* parent, std::unique_ptr<VolumeSource> source)
    : QComboBox(parent), monitor_(std::move(source)) {
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    timer_.setInterval(RefreshMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &CRemoveDirCombo::tick);
    setEnabled(false);
    timer_.start();
    QTimer::singleShot(0, this, [this] {
        if (timer_.isActive()) {
            tick();
        }
    });
}

bool CRemoveDirCombo::refresh() {
    const CardPoll poll = monitor_.poll();

    // The list is rebuilt only when the cards changed: rebuilding it every half second would close an open
    // drop-down and report a new selection each time.
    bool same = count() == static_cast<int>(poll.volumes.size());
    for (int i = 0; same && i < count(); ++i) {
        const RemovableVolume& volume = poll.volumes[static_cast<std::size_t>(i)];
        same = itemText(i) == volume.entryText() && itemData(i).toString() == volume.root;
    }
    if (!same) {
        const QString selected = selectedRoot();
        const int selectedIndexBefore = currentIndex();
        const int selectedIndex = std::max(selectedIndexBefore, 0);
        QSignalBlocker blocker(this);
        clear();
        int keep = -1;
        for (const RemovableVolume& volume : poll.volumes) {
            if (keep < 0 && !selected.isEmpty() && volume.root == selected) {
                keep = count();
            }
            addItem(volume.entryText(), volume.root);
        }
        // The card that was selected stays selected; when it is gone, the place it had (or the first card).
        if (keep < 0 && count() > 0) {
            keep = selectedIndex < count() ? selectedIndex : 0;
        }
        setCurrentIndex(keep);
        blocker.unblock();
        // One notice of the selection after the rebuild, none for the steps of it.
        if (currentIndex() != selectedIndexBefore || selectedRoot() != selected) {
            emit currentIndexChanged(currentIndex());
            emit currentTextChanged(currentText());
        }
    }

    if (poll.change == CardChange::Inserted) {
        emit cardInserted();
    } else if (poll.change == CardChange::Removed) {
        emit cardRemoved();
    }
    usable_ = poll.usable;
    return usable_;
}

void CRemoveDirCombo::tick() {
    refresh();
    setEnabled(count() > 0);
}

void CRemoveDirCombo::enableRefreshing(bool on) {
    if (on) {
        tick();
        timer_.start();
    } else {
        timer_.stop();
        setEnabled(false);
    }
}

QString CRemoveDirCombo::selectedRoot() const {
    return currentIndex() >= 0 ? itemData(currentIndex()).toString() : QString();
}

void CRemoveDirCombo::selectRoot(const QString& root) {
    // Drive letters are compared without regard to case; an exact match goes first, because two Linux mount points
    // may differ in case alone.
    for (const auto sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (int i = 0; i < count(); ++i) {
            if (itemData(i).toString().compare(root, sensitivity) == 0) {
                setCurrentIndex(i);
                return;
            }
        }
    }
    if (count() > 0) {
        setCurrentIndex(0);
    }
}

} // namespace tolvane
