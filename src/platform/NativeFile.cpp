#include "NativeFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <string_view>

#ifdef Q_OS_WIN
#include <QDir>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tolvane {

namespace {

#ifdef Q_OS_WIN
constexpr char Separators[] = "/\\";
#else
constexpr char Separators[] = "/";
#endif

// How much one read() asks for: a file that says it is small but keeps giving bytes is read in steps, never into
// one buffer of its claimed size.
constexpr qint64 ReadStep = 64 * 1024;

FileContent failed(ReadFailure failure, QString error) {
    return {failure, {}, std::move(error)};
}

FileContent tooLarge(qint64 maxBytes) {
    return failed(ReadFailure::TooLarge,
                  QStringLiteral("larger than %1 bytes, the largest valid file of its kind").arg(maxBytes));
}

FileContent notRegular() {
    return failed(ReadFailure::NotRegular, QStringLiteral("not a regular file"));
}

// What the readers share: open without blocking, check what was opened, read at most `cap` bytes from `offset`.
// `refuseAbove` >= 0 refuses a file larger than that, before and while reading.
FileContent readBounded(const NativePath& path, qint64 offset, qint64 cap, qint64 refuseAbove, ReadFrom from) {
#ifdef Q_OS_WIN
    // Windows has no FIFOs that a plain open waits on; the wide-character path keeps every name.
    const QString name = fromNativePath(path);
    const QFileInfo info(name);
    if (!info.exists()) {
        return failed(ReadFailure::CannotOpen, QStringLiteral("No such file or directory"));
    }
    if (!info.isFile()) {
        return notRegular();
    }
    if (refuseAbove >= 0 && info.size() > refuseAbove) {
        return tooLarge(refuseAbove);
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        return failed(ReadFailure::CannotOpen, file.errorString());
    }
    Q_UNUSED(from);
    if (offset > 0 && !file.seek(offset)) {
        return failed(ReadFailure::ReadError, file.errorString());
    }
    FileContent content;
    content.data = file.read(cap);
    if (file.error() != QFileDevice::NoError) {
        return failed(ReadFailure::ReadError, file.errorString());
    }
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return failed(ReadFailure::CannotOpen, qt_error_string(errno));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return failed(ReadFailure::ReadError, qt_error_string(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return notRegular();
    }
    if (refuseAbove >= 0 && info.st_size > refuseAbove) {
        return tooLarge(refuseAbove);
    }
    // Non-blocking means nothing for a regular file but for mandatory locks: every read below is an ordinary one.
    if (const int flags = ::fcntl(fd, F_GETFL); flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    if (from == ReadFrom::Device) {
        // Written pages are clean once synced; dropping them makes the reads below go to the device.
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    }
    FileContent content;
    qint64 at = 0;
    while (at < cap) {
        const qint64 step = std::min(ReadStep, cap - at);
        content.data.resize(at + step);
        const ssize_t got = ::pread(fd, content.data.data() + at, static_cast<size_t>(step), offset + at);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failed(ReadFailure::ReadError, qt_error_string(errno));
        }
        if (got == 0) {
            break;
        }
        at += got;
    }
    content.data.resize(at);
#endif
    if (refuseAbove >= 0 && content.data.size() > refuseAbove) {
        return tooLarge(refuseAbove);
    }
    return content;
}

} // namespace

NativePath toNativePath(const QString& path) {
#ifdef Q_OS_WIN
    return path.toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString fromNativePath(const NativePath& path) {
#ifdef Q_OS_WIN
    return QString::fromStdString(path);
#else
    return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

NativePath parentFolder(const NativePath& path) {
    const auto at = path.find_last_of(Separators);
    if (at == NativePath::npos) {
        return ".";
    }
    return at == 0 ? path.substr(0, 1) : path.substr(0, at);
}

std::string fileNameOf(const NativePath& path) {
    const auto at = path.find_last_of(Separators);
    return at == NativePath::npos ? path : path.substr(at + 1);
}

NativePath joinNative(const NativePath& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    if (std::string_view(Separators).find(folder.back()) != std::string_view::npos) {
        return folder + name;
    }
    return folder + '/' + name;
}

PathKind pathKind(const NativePath& path) {
#ifdef Q_OS_WIN
    const QFileInfo info(fromNativePath(path));
    if (!info.exists()) {
        return PathKind::Missing;
    }
    return info.isDir() ? PathKind::Folder : info.isFile() ? PathKind::RegularFile : PathKind::Other;
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return PathKind::Missing;
    }
    return S_ISDIR(info.st_mode) ? PathKind::Folder : S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
#endif
}

bool pathExists(const NativePath& path) {
#ifdef Q_OS_WIN
    const QFileInfo info(fromNativePath(path));
    return info.exists() || info.isSymLink();
#else
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
#endif
}

bool isSameFile(const NativePath& first, const NativePath& second) {
#ifdef Q_OS_WIN
    const QString a = QFileInfo(fromNativePath(first)).canonicalFilePath();
    return !a.isEmpty() && a.compare(QFileInfo(fromNativePath(second)).canonicalFilePath(), Qt::CaseInsensitive) == 0;
#else
    struct stat a {};
    struct stat b {};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
#endif
}

FileContent readRegularFile(const NativePath& path, qint64 maxBytes, ReadFrom from) {
    return readBounded(path, 0, maxBytes + 1, maxBytes, from);
}

FileContent readRegularPrefix(const NativePath& path, qint64 limit, ReadFrom from) {
    return readBounded(path, 0, limit, -1, from);
}

FileContent readRegularRange(const NativePath& path, qint64 offset, qint64 length) {
    FileContent content = readBounded(path, offset, length, -1, ReadFrom::Cache);
    if (content.ok() && content.data.size() != length) {
        return failed(ReadFailure::ReadError, QStringLiteral("the file ends before byte %1").arg(offset + length));
    }
    return content;
}

bool makeFolder(const NativePath& path, QString* error) {
#ifdef Q_OS_WIN
    if (QDir().mkdir(fromNativePath(path)) || QFileInfo(fromNativePath(path)).isDir()) {
        return true;
    }
    if (error) {
        *error = QStringLiteral("cannot create the folder");
    }
    return false;
#else
    if (::mkdir(path.c_str(), 0777) == 0) {
        return true;
    }
    const int code = errno;
    if (code == EEXIST && pathKind(path) == PathKind::Folder) {
        return true;
    }
    if (error) {
        *error = qt_error_string(code);
    }
    return false;
#endif
}

void removeFile(const NativePath& path) {
#ifdef Q_OS_WIN
    QFile::remove(fromNativePath(path));
#else
    ::unlink(path.c_str());
#endif
}

} // namespace tolvane
