#pragma once

#include "NativeFile.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <span>

// Which version of the editor fits a card, a folder of card files or a project file. Each editor version lives
// in a folder of its own beside the launcher, named by its program version ("1.41"), and reads the data of one
// firmware generation only. The launcher and `tolvane-cli detect` pick the folder with these functions.
namespace tolvane::firmware {

// The version text for data nobody recognises; never the name of a real folder.
inline const QString NotRecognised = QStringLiteral("1.00");

// The firmware labels a version folder serves, in the order the version dialog adds them.
struct FirmwareGroup {
    const char* folder;
    std::span<const char* const> labels;
};
std::span<const FirmwareGroup> firmwareTable();

// The folder for a five-byte format tag ("V1_06" -> "1.41"); NotRecognised for any other bytes.
QString folderForTag(QByteArrayView tag);
// The folder for a project file's format number (its first byte); NotRecognised for any other number.
QString folderForFormatNumber(int formatNumber);

// The folder that fits a card root or a folder of card files. all.dat decides alone when it is there (tag in its
// first five bytes); otherwise programs.dat, config.dat and seq.dat are asked in this order (tag at 0x10000 of a
// file longer than 65,540 bytes) and the first one recognised wins. NotRecognised for anything else and on any
// error. Only regular files are read: a FIFO or a device in the folder is never waited on.
QString detectFolder(const NativePath& folder);
QString detectFolder(const QString& folder);
// The folder that fits a project file: the first four bytes, little-endian, must carry the project format mark in
// their upper 24 bits; the low byte is the format number. NotRecognised otherwise and on any error.
QString detectProjectFile(const NativePath& path);
QString detectProjectFile(const QString& path);

// True for a name of four characters with a full stop as the second ("1.41", "3.12").
bool isVersionName(const QString& name);
// The version folders beside the launcher, in ascending name order.
QStringList versionFolders(const QString& launcherFolder);

// One line of the version dialog: a firmware label and the folder that serves it.
struct VersionChoice {
    QString label;
    QString folder;

    friend bool operator==(const VersionChoice&, const VersionChoice&) = default;
};
// The labels of every version folder beside the launcher that the firmware table names, sorted by label.
QList<VersionChoice> versionChoices(const QString& launcherFolder);
// The line the dialog selects first: the first whose label equals `current`, else 0; -1 for an empty list.
int preselectedIndex(const QList<VersionChoice>& choices, const QString& current);
// The folder of a chosen label; NotRecognised when the label is not in the list.
QString folderForLabel(const QList<VersionChoice>& choices, const QString& label);

// The editor program inside a version folder: Tolvane.exe on Windows, Tolvane elsewhere (native separators).
QString editorProgramPath(const QString& launcherFolder, const QString& version);

} // namespace tolvane::firmware
