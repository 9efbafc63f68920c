#include "FirmwareDetection.h"

#include "project/ProjectFile.h"

#include <QDir>

#include <algorithm>
#include <cstdint>

namespace tolvane::firmware {

namespace {

constexpr const char* Labels124[] = {"1.16", "1.17", "1.18", "1.19", "1.20", "1.21",
                                     "1.22", "1.23", "1.24", "1.25", "1.26"};
constexpr const char* Labels128[] = {"1.27", "1.28", "1.29", "1.30", "1.31", "1.32"};
// There is no firmware 1.36, 1.39 or 1.40.
constexpr const char* Labels133[] = {"1.33", "1.34", "1.35", "1.37", "1.38"};
constexpr const char* Labels141[] = {"1.41", "1.42", "1.43", "1.44", "1.45"};
constexpr const char* Labels201[] = {"1.01 VARDELO", "1.02 VARDELO", "1.03 VARDELO", "1.04 VARDELO", "1.05 VARDELO",
                                     "1.06 VARDELO", "1.07 VARDELO", "1.08 VARDELO", "1.09 VARDELO", "1.10 VARDELO",
                                     "1.11 VARDELO", "1.12 VARDELO", "1.13 VARDELO"};
constexpr const char* Labels301[] = {"2.00 TOLVANE2", "2.01 TOLVANE2", "2.02 TOLVANE2", "2.03 TOLVANE2"};
constexpr const char* Labels304[] = {"2.04 TOLVANE2", "2.05 TOLVANE2", "2.06 TOLVANE2", "2.07 TOLVANE2",
                                     "2.08 TOLVANE2", "2.09 TOLVANE2", "2.10 TOLVANE2", "2.11 TOLVANE2"};
constexpr const char* Labels312[] = {"2.12 TOLVANE2"};

constexpr FirmwareGroup Firmware[] = {
    {"1.24", Labels124}, {"1.28", Labels128}, {"1.33", Labels133}, {"1.41", Labels141},
    {"2.01", Labels201}, {"3.01", Labels301}, {"3.04", Labels304}, {"3.12", Labels312},
};

struct TagFolder {
    const char* tag;
    const char* folder;
};
// No tag leads to 3.04: that editor is only reached through its project files and the version dialog.
constexpr TagFolder Tags[] = {
    {"V1_02", "1.24"}, {"V1_03", "1.28"}, {"V1_05", "1.33"}, {"V1_06", "1.41"},
    {"V1_04", "2.01"}, {"V2_01", "2.01"}, {"V3_00", "3.01"}, {"V3_02", "3.12"},
};

struct FormatFolder {
    int formatNumber;
    const char* folder;
};
// Format 22 was never released; it is not recognised.
constexpr FormatFolder Formats[] = {
    {19, "1.24"}, {20, "1.28"}, {21, "2.01"}, {23, "1.41"}, {24, "3.01"}, {25, "3.04"}, {26, "3.12"},
};

constexpr qint64 TagLength = 5;
// all.dat holds a bare 23-byte identity; the card images carry theirs after the payload and its checksum.
constexpr qint64 AllDatMinimumSize = 23;
constexpr qint64 ImageTagOffset = 0x10000;
constexpr qint64 ImageMinimumSize = ImageTagOffset + TagLength; // longer than 65,540 bytes

// The folder for the tag at `offset` of a file of at least `minimumSize` bytes; NotRecognised for a missing,
// short or unreadable file and for anything but a regular file (a FIFO on a card is never waited on).
QString folderForFileTag(const NativePath& path, qint64 minimumSize, qint64 offset) {
    const FileContent tag = readRegularRange(path, offset, std::max(TagLength, minimumSize - offset));
    if (!tag.ok()) {
        return NotRecognised;
    }
    return folderForTag(QByteArrayView(tag.data).first(TagLength));
}

#ifdef Q_OS_WIN
const QString EditorProgramName = QStringLiteral("Tolvane.exe");
#else
const QString EditorProgramName = QStringLiteral("Tolvane");
#endif

} // namespace

std::span<const FirmwareGroup> firmwareTable() {
    return Firmware;
}

QString folderForTag(QByteArrayView tag) {
    for (const TagFolder& entry : Tags) {
        if (tag == QByteArrayView(entry.tag)) {
            return QString::fromLatin1(entry.folder);
        }
    }
    return NotRecognised;
}

QString folderForFormatNumber(int formatNumber) {
    for (const FormatFolder& entry : Formats) {
        if (entry.formatNumber == formatNumber) {
            return QString::fromLatin1(entry.folder);
        }
    }
    return NotRecognised;
}

QString detectFolder(const NativePath& folder) {
    // all.dat speaks for the whole folder: the card images beside it are not looked at, even when it is unusable.
    const NativePath allDat = joinNative(folder, "all.dat");
    if (pathKind(allDat) != PathKind::Missing) {
        return folderForFileTag(allDat, AllDatMinimumSize, 0);
    }
    for (const char* name : {"programs.dat", "config.dat", "seq.dat"}) {
        const QString found = folderForFileTag(joinNative(folder, name), ImageMinimumSize, ImageTagOffset);
        if (found != NotRecognised) {
            return found;
        }
    }
    return NotRecognised;
}

QString detectFolder(const QString& folder) {
    return detectFolder(toNativePath(folder));
}

QString detectProjectFile(const NativePath& path) {
    const FileContent head = readRegularRange(path, 0, 4);
    if (!head.ok()) {
        return NotRecognised;
    }
    std::uint32_t header = 0;
    for (int i = 3; i >= 0; --i) {
        header = (header << 8) | static_cast<std::uint8_t>(head.data[i]);
    }
    if ((header >> 8) != projectfile::FormatId) {
        return NotRecognised;
    }
    return folderForFormatNumber(static_cast<int>(header & 0xFF));
}

QString detectProjectFile(const QString& path) {
    return detectProjectFile(toNativePath(path));
}

bool isVersionName(const QString& name) {
    return name.size() == 4 && name[1] == QLatin1Char('.');
}

QStringList versionFolders(const QString& launcherFolder) {
    QStringList folders;
    const QStringList entries =
        QDir(launcherFolder).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString& name : entries) {
        if (isVersionName(name)) {
            folders.append(name);
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

QList<VersionChoice> versionChoices(const QString& launcherFolder) {
    QList<VersionChoice> choices;
    for (const QString& folder : versionFolders(launcherFolder)) {
        for (const FirmwareGroup& group : Firmware) {
            if (folder != QLatin1String(group.folder)) {
                continue;
            }
            for (const char* label : group.labels) {
                choices.append({QString::fromLatin1(label), folder});
            }
        }
    }
    // The dialog's list keeps its items sorted by their text.
    std::stable_sort(choices.begin(), choices.end(),
                     [](const VersionChoice& a, const VersionChoice& b) { return a.label < b.label; });
    return choices;
}

int preselectedIndex(const QList<VersionChoice>& choices, const QString& current) {
    if (choices.isEmpty()) {
        return -1;
    }
    const auto found = std::find_if(choices.begin(), choices.end(),
                                    [&](const VersionChoice& choice) { return choice.label == current; });
    return found == choices.end() ? 0 : static_cast<int>(found - choices.begin());
}

QString folderForLabel(const QList<VersionChoice>& choices, const QString& label) {
    for (const VersionChoice& choice : choices) {
        if (choice.label == label) {
            return choice.folder;
        }
    }
    return NotRecognised;
}

QString editorProgramPath(const QString& launcherFolder, const QString& version) {
    return QDir::toNativeSeparators(QDir(launcherFolder).filePath(version + QLatin1Char('/') + EditorProgramName));
}

} // namespace tolvane::firmware
