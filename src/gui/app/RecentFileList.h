#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace tolvane {

// The most recently used project files, newest first, kept in the program's settings under
// "Recent File List" (File1 ... File4).
class RecentFileList {
public:
    static constexpr int Capacity = 4;

    explicit RecentFileList(QSettings& settings);

    QStringList files() const { return files_; }
    // Puts `path` first (once), drops what falls off the end and stores the list.
    void add(const QString& path);
    void remove(const QString& path);

private:
    void store();

    QSettings& settings_;
    QStringList files_;
};

} // namespace tolvane
