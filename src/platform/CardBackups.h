#pragma once

#include "NativeFile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tolvane {

// Copies of the card files a write replaces, kept in the user's data folder, never on the card: one folder per
// write and the last KeptWrites of them. An installer who wrote the wrong project onto a tower's card finds the
// files it replaced there and can put them back.
//
// A write's folder is named "<number>_<UTC date and time>Z" ("000042_2024-05-17_12-03-09-512Z"): the number is one
// more than the highest number in the folder, so the order of the writes never depends on the clock, and a clock
// or time zone set back never makes a new write look like the oldest. Folders of the older naming (local time
// without a number) count as older than every numbered one. Only real folders of ours count and are ever removed:
// a link, a file or a folder of another name is left alone, and removing never follows a link.
class CardBackups {
public:
    static constexpr int KeptWrites = 20;
    // The largest file kept; card files are far smaller.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
    // An empty write folder (left by a write that was ended before it kept anything) is removed once it has not
    // changed for this long; a younger one may belong to a write that is under way.
    static constexpr qint64 EmptyFolderAgeSeconds = 600;

    // `root`: the folder of the write folders (defaultRoot() in the programs, a temporary folder in tests); `now`:
    // the time that names this write's folder.
    explicit CardBackups(QString root, QDateTime now = QDateTime::currentDateTimeUtc());

    // <the user's data folder>/Nesmar/Tolvane/card-backups, from the platform's standard locations
    // (~/.local/share/... or $XDG_DATA_HOME/... on Linux, %LOCALAPPDATA%\... on Windows).
    static QString defaultRoot();

    // Copies the file at `path` into this write's folder under its own name; the folder is made on the first copy.
    // The copy is not yet on the device: sync() puts all of them there at once. False, with the reason in `error`,
    // when no copy could be made.
    bool keep(const NativePath& path, QString* error);
    // Puts every copy kept so far on the device: called once, before any of the files they keep is replaced.
    bool sync(QString* error);
    // Ends the write. `replaced`: whether any kept file was replaced on the card. Then the oldest write folders
    // beyond KeptWrites are removed (never this one). Otherwise this write's folder is removed again (what it
    // holds is still on the card) and nothing else is touched, so failed writes never evict real backups.
    void finish(bool replaced);

    // This write's folder once a file was kept; empty before and after finish(false).
    QString folder() const { return folder_; }
    // The write folders under `root` that count, oldest first.
    static QStringList writes(const QString& root);

private:
    bool makeFolder(QString* error);
    void removeOldWrites() const;

    QString root_;
    QDateTime now_;
    QString folder_;
    QStringList kept_;
};

} // namespace tolvane
