#include "SafeFile.h"

#include <QRandomGenerator>

#include <algorithm>
#include <utility>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tolvane {

namespace {

std::string randomName() {
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string name(6, 'x');
    for (char& ch : name) {
        ch = Letters[QRandomGenerator::system()->bounded(static_cast<int>(sizeof Letters - 1))];
    }
    return name;
}

} // namespace

#ifndef Q_OS_WIN
// File systems that cannot sync a folder say so with EINVAL or ENOTSUP; their renames are as durable as they can
// be made.
int syncFolder(const NativePath& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int result = 0;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EOPNOTSUPP) {
        result = errno;
    }
    ::close(fd);
    return result;
}

int syncFileSystemOf(const NativePath& folder) {
#ifdef Q_OS_LINUX
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    // Since Linux 5.8 syncfs also reports a write-back error that any file of the file system met.
    const int result = ::syncfs(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
#else
    (void)folder;
    return 0;
#endif
}

bool canSyncFileSystems() {
#ifdef Q_OS_LINUX
    return true;
#else
    return false;
#endif
}

bool onSameFileSystem(const NativePath& a, const NativePath& b) {
    struct stat first {};
    struct stat second {};
    return canSyncFileSystems() && ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev;
}
#else
int syncFolder(const NativePath&) {
    return 0; // the rename of QSaveFile is as durable as Windows makes it
}

int syncFileSystemOf(const NativePath&) {
    return 0;
}

bool canSyncFileSystems() {
    return false;
}

bool onSameFileSystem(const NativePath&, const NativePath&) {
    return false;
}
#endif

NativeAtomicWrite::NativeAtomicWrite(std::function<std::string()> names) : names_(std::move(names)) {
    if (!names_) {
        names_ = randomName;
    }
}

NativeAtomicWrite::~NativeAtomicWrite() {
    cancel();
}

bool NativeAtomicWrite::fail(QString message) {
    error_ = std::move(message);
    return false;
}

bool NativeAtomicWrite::fail(int systemError) {
    return fail(qt_error_string(systemError));
}

#ifndef Q_OS_WIN

bool NativeAtomicWrite::open(const NativePath& path) {
    cancel();
    target_ = path;
    error_.clear();
    // An existing file keeps its permissions, and one that may not be written is not replaced.
    mode_t mode = 0666;
    struct stat existing {};
    // Only a regular file (or a link to one) is ever replaced: a device, a pipe, a socket or a folder under the
    // name is refused, so that writing to /dev/null never turns it into a file.
    if (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        return fail(QStringLiteral("%1 is not a regular file (a device, a pipe, a socket or a folder); it is "
                                   "never replaced")
                        .arg(fromNativePath(path)));
    }
    if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        if (::access(path.c_str(), W_OK) != 0) {
            return fail(errno);
        }
        mode = existing.st_mode & 07777;
    }
    const NativePath folder = parentFolder(path);
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const NativePath candidate = joinNative(folder, temporaryName(names_()));
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue; // another writer's file or a planted name: never touched
            }
            return fail(errno);
        }
        fd_ = fd;
        temporary_ = candidate;
        guard_ = RemoveOnSignal(candidate, RemoveOnSignal::Kind::File);
        if (mode != 0666) {
            ::fchmod(fd, mode); // a file system without permissions refuses; the content matters, not the mode
        }
        return true;
    }
    return fail(QStringLiteral("no free name for a temporary file beside %1").arg(fromNativePath(path)));
}

bool NativeAtomicWrite::write(QByteArrayView chunk) {
    qsizetype at = 0;
    while (at < chunk.size()) {
        const ssize_t written = ::write(fd_, chunk.data() + at, static_cast<size_t>(chunk.size() - at));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno);
        }
        at += written;
    }
    return true;
}

bool NativeAtomicWrite::flush() {
    return fd_ >= 0 || fail(EBADF); // written straight to the file: nothing is buffered here
}

bool NativeAtomicWrite::sync() {
    if (!(syncsByCaller_ && canSyncFileSystems()) && ::fsync(fd_) != 0) {
        return fail(errno);
    }
    // The synced pages are clean now; dropping them makes a later read-back come from the device.
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_DONTNEED);
    return true;
}

bool NativeAtomicWrite::commit() {
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) {
        return fail(errno);
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        return fail(errno);
    }
    temporary_.clear();
    guard_.release();
    if (syncsByCaller_ && canSyncFileSystems()) {
        return true;
    }
    if (const int error = syncFolder(parentFolder(target_)); error != 0) {
        return fail(error);
    }
    return true;
}

void NativeAtomicWrite::cancel() {
    if (fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    guard_.release();
}

#else

// On Windows QSaveFile does the same: an exclusive temporary file, FlushFileBuffers and the replacing rename, all
// through the wide-character path.
bool NativeAtomicWrite::open(const NativePath& path) {
    cancel();
    target_ = path;
    error_.clear();
    file_.setFileName(fromNativePath(path));
    file_.setDirectWriteFallback(false);
    return file_.open(QIODevice::WriteOnly) || fail(file_.errorString());
}

bool NativeAtomicWrite::write(QByteArrayView chunk) {
    return file_.write(chunk.data(), chunk.size()) == chunk.size() || fail(file_.errorString());
}

bool NativeAtomicWrite::flush() {
    return file_.flush() || fail(file_.errorString());
}

bool NativeAtomicWrite::sync() {
    return file_.flush() || fail(file_.errorString()); // commit() syncs the file before it replaces the target
}

bool NativeAtomicWrite::commit() {
    return file_.commit() || fail(file_.errorString());
}

void NativeAtomicWrite::cancel() {
    if (file_.isOpen()) {
        file_.cancelWriting();
        file_.commit();
    }
}

#endif

std::optional<QByteArray> readWholeFile(const NativePath& path, qint64 maxBytes, QString* error) {
    FileContent content = readRegularFile(path, maxBytes);
    if (!content.ok()) {
        if (error) {
            *error = content.error;
        }
        return std::nullopt;
    }
    return std::move(content.data);
}

std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes, QString* error) {
    return readWholeFile(toNativePath(path), maxBytes, error);
}

FileResult writeFileAtomically(const NativePath& path, QByteArrayView data) {
    NativeAtomicWrite file;
    return writeFileAtomically(path, data, file);
}

FileResult writeFileAtomically(const QString& path, QByteArrayView data) {
    return writeFileAtomically(toNativePath(path), data);
}

FileResult writeFileAtomically(const QString& path, QByteArrayView data, AtomicWriteFile& file) {
    return writeFileAtomically(toNativePath(path), data, file);
}

FileResult writeFileAtomically(const NativePath& path, QByteArrayView data, AtomicWriteFile& file) {
    if (!file.open(path)) {
        return {false, file.errorString()};
    }
    const auto fail = [&file] {
        const QString message = file.errorString();
        file.cancel();
        return FileResult{false, message};
    };
    for (qsizetype at = 0; at < data.size(); at += ChunkSize) {
        if (!file.write(data.sliced(at, std::min(ChunkSize, data.size() - at)))) {
            return fail();
        }
    }
    if (!file.flush() || !file.sync() || !file.commit()) {
        return fail();
    }
    return {true, {}};
}

} // namespace tolvane
