#include "gui/app/RecentFileList.h"

#include <QDir>
#include <QSettings>

namespace tolvane {

namespace {
const QString Group = QStringLiteral("Recent File List");
QString key(int i) {
    return QStringLiteral("File%1").arg(i + 1);
}
} // namespace

RecentFileList::RecentFileList(QSettings& settings) : settings_(settings) {
    settings_.beginGroup(Group);
    for (int i = 0; i < Capacity; ++i) {
        const QString path = settings_.value(key(i)).toString();
        if (!path.isEmpty() && !files_.contains(path)) {
            files_.append(path);
        }
    }
    settings_.endGroup();
}

void RecentFileList::add(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    files_.removeAll(clean);
    files_.prepend(clean);
    while (files_.size() > Capacity) {
        files_.removeLast();
    }
    store();
}

void RecentFileList::remove(const QString& path) {
    files_.removeAll(QDir::cleanPath(path));
    store();
}

void RecentFileList::store() {
    settings_.beginGroup(Group);
    settings_.remove(QString());
    for (int i = 0; i < files_.size(); ++i) {
        settings_.setValue(key(i), files_.at(i));
    }
    settings_.endGroup();
    settings_.sync();
}

} // namespace tolvane
