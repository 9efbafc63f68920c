#pragma once

#include "NativeFile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tolvane {

// Copies of the card files a write replaces, kept in the user's data folder, never on the card: one folder per
// write, named after its date and time, and the last KeptWrites of them. An installer who wrote the wrong project
// onto a tower's card finds the files it replaced there and can put them back.
class CardBackups {
public:
    static constexpr int KeptWrites = 20;
    // The largest file kept; card files are far smaller.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    // `root`: the folder of the dated folders (defaultRoot() in the programs, a temporary folder in tests); `now`:
    // the time that names this write's folder.
    explicit CardBackups(QString root, QDateTime now = QDateTime::currentDateTime());

    // <the user's data folder>/Nesmar/Tolvane/card-backups, from the platform's standard locations
    // (~/.local/share/... or $XDG_DATA_HOME/... on Linux, %LOCALAPPDATA%\... on Windows).
    static QString defaultRoot();

    // Copies the file at `path` into this write's folder under its own name. The folder is made on the first copy,
    // and the oldest write folders beyond KeptWrites are removed then. False, with the reason in `error`, when no
    // copy could be made.
    bool keep(const NativePath& path, QString* error);

    // This write's folder once a file was kept; empty before.
    QString folder() const { return folder_; }
    // The write folders under `root`, oldest first.
    static QStringList writes(const QString& root);

private:
    bool makeFolder(QString* error);
    void removeOldWrites() const;

    QString root_;
    QDateTime now_;
    QString folder_;
};

} // namespace tolvane
