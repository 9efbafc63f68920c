#include "CardBackups.h"

#include "SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <utility>

#ifndef Q_OS_WIN
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <filesystem>
#include <system_error>
#endif

namespace tolvane {

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz");

// "000042_2024-05-17_12-03-09-512Z"; the older naming is the local time alone, with "_01" ... "_99" for two
// writes in one millisecond.
const QRegularExpression& numberedName() {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{6,9})_\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2}-\\d{3}Z$"));
    return pattern;
}

bool isOlderName(const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2}-\\d{3}(_\\d{2})?$"));
    return pattern.match(name).hasMatch();
}

// The number of a numbered name; 0 for a name of the older naming, -1 for any other name.
qint64 writeNumber(const QString& name) {
    const QRegularExpressionMatch match = numberedName().match(name);
    if (match.hasMatch()) {
        return match.captured(1).toLongLong();
    }
    return isOlderName(name) ? 0 : -1;
}

// Whether the entry `name` of `root` is a folder itself, not a link to one.
bool isRealFolder(const QString& root, const QString& name) {
    const QFileInfo info(QDir(root).filePath(name));
    return info.isDir() && !info.isSymLink() && !info.isJunction();
}

// Removes the write folder `name` of `root`: its entries that are not folders (a link among them is removed
// itself, never what it leads to), then the folder when that left it empty. Nothing is followed through a link:
// the folder is opened without following one, and its entries are removed relative to that open folder.
void removeWriteFolder(const QString& root, const QString& name) {
#ifndef Q_OS_WIN
    const int rootFd = ::open(toNativePath(root).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0) {
        return;
    }
    const NativePath native = toNativePath(name);
    const int fd = ::openat(rootFd, native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        if (DIR* entries = ::fdopendir(fd)) {
            while (const dirent* entry = ::readdir(entries)) {
                const std::string entryName = entry->d_name;
                if (entryName == "." || entryName == "..") {
                    continue;
                }
                struct stat info {};
                if (::fstatat(fd, entryName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(info.st_mode)) {
                    ::unlinkat(fd, entryName.c_str(), 0);
                }
            }
            ::closedir(entries); // closes fd too
        } else {
            ::close(fd);
        }
        ::unlinkat(rootFd, native.c_str(), AT_REMOVEDIR); // fails, and leaves it, when something else is in it
    }
    ::close(rootFd);
#else
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::path(root.toStdWString()) / name.toStdWString();
    if (fs::symlink_status(folder, error).type() != fs::file_type::directory) {
        return;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (entry.symlink_status(error).type() != fs::file_type::directory) {
            fs::remove(entry.path(), error);
        }
    }
    fs::remove(folder, error);
#endif
}

struct WriteFolder {
    qint64 number;
    QString name;
};

// The real write folders under `root`, oldest first.
std::vector<WriteFolder> writeFolders(const QString& root) {
    std::vector<WriteFolder> found;
    for (const QString& name :
         QDir(root).entryList(QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        const qint64 number = writeNumber(name);
        if (number >= 0 && isRealFolder(root, name)) {
            found.push_back({number, name});
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const WriteFolder& a, const WriteFolder& b) { return a.number < b.number; });
    return found;
}

// Makes a folder that did not exist before; false, with the reason, when the name is taken or it cannot be made.
bool makeNewFolder(const NativePath& path, QString* reason) {
#ifndef Q_OS_WIN
    if (::mkdir(path.c_str(), 0777) != 0) {
        *reason = qt_error_string(errno);
        return false;
    }
    return true;
#else
    if (!QDir().mkdir(fromNativePath(path))) {
        *reason = QStringLiteral("the folder cannot be created");
        return false;
    }
    return true;
#endif
}

bool isEmptyFolder(const QString& path) {
    return QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

} // namespace

CardBackups::CardBackups(QString root, QDateTime now) : root_(std::move(root)), now_(std::move(now)) {}

QString CardBackups::defaultRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Nesmar/Tolvane/card-backups");
}

QStringList CardBackups::writes(const QString& root) {
    QStringList names;
    for (const WriteFolder& folder : writeFolders(root)) {
        names.append(folder.name);
    }
    return names;
}

bool CardBackups::makeFolder(QString* error) {
    const QDir root(root_);
    if (!QDir().mkpath(root_)) {
        // mkpath gives no reason: making the last missing level again names it.
        QString reason;
        tolvane::makeFolder(toNativePath(root_), &reason);
        *error = QStringLiteral("cannot create the folder %1%2")
                     .arg(QDir::toNativeSeparators(root_), reason.isEmpty() ? QString() : QStringLiteral(": ") + reason);
        return false;
    }
    // One more than the highest number anything in the folder carries, links and files included, so that a number
    // is never given twice.
    qint64 highest = 0;
    for (const QString& name : root.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)) {
        highest = std::max(highest, writeNumber(name));
    }
    const QString time = now_.toUTC().toString(TimeFormat) + QLatin1Char('Z');
    QString reason;
    for (qint64 number = highest + 1; number <= highest + 100; ++number) {
        const QString name = QStringLiteral("%1_%2").arg(number, 6, 10, QLatin1Char('0')).arg(time);
        if (makeNewFolder(toNativePath(root.filePath(name)), &reason)) {
            folder_ = root.filePath(name);
            return true;
        }
        // Taken by another write made at the same moment: the next number.
    }
    *error = QStringLiteral("cannot create a folder in %1: %2").arg(QDir::toNativeSeparators(root_), reason);
    return false;
}

void CardBackups::removeOldWrites() const {
    const QString ours = QFileInfo(folder_).fileName();
    std::vector<WriteFolder> counted;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const WriteFolder& folder : writeFolders(root_)) {
        if (folder.name == ours) {
            continue;
        }
        const QString path = QDir(root_).filePath(folder.name);
        if (isEmptyFolder(path)) {
            // Left by a write that ended before it kept a file: it keeps nothing, so it does not count.
            if (QFileInfo(path).lastModified().secsTo(now) > EmptyFolderAgeSeconds) {
                removeWriteFolder(root_, folder.name);
            }
            continue;
        }
        counted.push_back(folder);
    }
    // This write's folder is the newest and is one of the kept ones.
    const qsizetype keepOthers = ours.isEmpty() ? KeptWrites : KeptWrites - 1;
    for (qsizetype i = 0; i + keepOthers < static_cast<qsizetype>(counted.size()); ++i) {
        removeWriteFolder(root_, counted[static_cast<std::size_t>(i)].name);
    }
}

bool CardBackups::keep(const NativePath& path, QString* error) {
    QString reason;
    const std::optional<QByteArray> old = readWholeFile(path, MaxFileSize, &reason);
    if (!old) {
        *error = QStringLiteral("cannot read %1 to keep a copy: %2").arg(fromNativePath(path), reason);
        return false;
    }
    if (folder_.isEmpty() && !makeFolder(error)) {
        return false;
    }
    const QString copy = QDir(folder_).filePath(fromNativePath(fileNameOf(path)));
    NativeAtomicWrite layer;
    layer.leaveSyncsToCaller();
    const FileResult written = writeFileAtomically(toNativePath(folder_) + "/" + fileNameOf(path), *old, layer);
    if (!written.ok) {
        *error = QStringLiteral("cannot keep a copy in %1: %2").arg(QDir::toNativeSeparators(folder_), written.error);
        return false;
    }
    kept_.append(copy);
    return true;
}

bool CardBackups::sync(QString* error) {
    if (folder_.isEmpty()) {
        return true;
    }
    int result = syncFileSystemOf(toNativePath(folder_));
    if (result == 0 && !canSyncFileSystems()) {
        result = syncFolder(toNativePath(folder_));
    }
    if (result != 0) {
        *error = QStringLiteral("cannot put the copies in %1 on the disk: %2")
                     .arg(QDir::toNativeSeparators(folder_), qt_error_string(result));
        return false;
    }
    return true;
}

void CardBackups::finish(bool replaced) {
    if (!replaced) {
        if (!folder_.isEmpty()) {
            removeWriteFolder(root_, QFileInfo(folder_).fileName());
            folder_.clear();
            kept_.clear();
        }
        return;
    }
    removeOldWrites();
}

} // namespace tolvane
