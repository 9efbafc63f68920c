#include "PlatformCardFileSystem.h"

#include "TextNumbers.h"
#include "project/TextFormat.h"

#include <algorithm>
#include <set>
#include <utility>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tolvane {

PlatformCardFileSystem::PlatformCardFileSystem(CardBackups* backups, WriteLayer layers)
    : backups_(backups), layers_(std::move(layers)) {
    if (!layers_) {
        layers_ = [] { return std::make_unique<NativeAtomicWrite>(); };
    }
}

PlatformCardFileSystem::~PlatformCardFileSystem() {
    releaseFolder();
}

bool PlatformCardFileSystem::failed(const QString& reason) const {
    lastError_ = reason.toStdString();
    return false;
}

bool PlatformCardFileSystem::exists(const std::string& path) const {
    return pathExists(path);
}

std::optional<std::vector<std::uint8_t>> PlatformCardFileSystem::read(const std::string& path,
                                                                      std::size_t maxBytes) const {
    const FileContent content = readRegularPrefix(path, static_cast<qint64>(maxBytes) + 1, ReadFrom::Device);
    if (!content.ok()) {
        failed(content.error);
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(content.data.begin(), content.data.end());
}

bool PlatformCardFileSystem::write(const std::string& path, std::span<const std::uint8_t> data) {
    // Guarded from before it exists: the working folder is the write's own, so nothing else goes by this name.
    working_.insert_or_assign(path, RemoveOnSignal(path, RemoveOnSignal::Kind::File));
    // A working file is only read back by this write: it needs no sync.
    const std::unique_ptr<AtomicWriteFile> layer = layers_();
    layer->leaveSyncsToCaller();
    const FileResult result = writeFileAtomically(
        path, QByteArrayView(data.data(), static_cast<qsizetype>(data.size())), *layer);
    return result.ok || failed(result.error);
}

bool PlatformCardFileSystem::replaceWithCopy(const std::string& from, const std::string& to) {
    std::vector<Copy> copies{{from, to, false, false, {}}};
    replaceWithCopies(copies);
    if (!copies.front().confirmed) {
        return failed(QString::fromStdString(copies.front().reason));
    }
    return true;
}

void PlatformCardFileSystem::replaceWithCopies(std::vector<Copy>& copies) {
    struct Pending {
        Copy* copy;
        QByteArray data;
        std::unique_ptr<AtomicWriteFile> layer;
    };
    std::vector<Pending> pending;
    const auto fail = [](Copy& copy, const QString& reason) {
        copy.inPlace = copy.confirmed = false;
        copy.reason = reason.toStdString();
    };
    // The new contents, and a copy of every file they replace: a file whose old content cannot be kept is not
    // replaced.
    for (Copy& copy : copies) {
        FileContent content = readRegularFile(copy.from, MaxCopySize);
        if (!content.ok()) {
            fail(copy, content.error);
            continue;
        }
        if (backups_ && pathKind(copy.to) == PathKind::RegularFile) {
            QString reason;
            if (!backups_->keep(copy.to, &reason)) {
                fail(copy, reason);
                continue;
            }
        }
        pending.push_back({&copy, std::move(content.data), nullptr});
    }
    const auto failAll = [&](const QString& reason) {
        for (Pending& p : pending) {
            if (p.layer) {
                p.layer->cancel();
            }
            fail(*p.copy, reason);
        }
        pending.clear();
    };
    // The copies of the old files are put on the device before anything is replaced. When they are on the file
    // system of every target (a folder of card files on the computer's own disk), the one sync of that file system
    // below, which comes before the first replacement, puts them there too: a second sync would do nothing more.
    bool backupsRideWithCard = false;
    if (backups_ && !pending.empty() && !backups_->folder().isEmpty()) {
        const NativePath backupFolder = toNativePath(backups_->folder());
        backupsRideWithCard = std::all_of(pending.begin(), pending.end(), [&](const Pending& p) {
            return onSameFileSystem(backupFolder, parentFolder(p.copy->to));
        });
    }
    if (backups_ && !backupsRideWithCard) {
        QString reason;
        if (!pending.empty() && !backups_->sync(&reason)) {
            failAll(reason); // nothing is replaced before its copy is safe
        }
    }
    // Every new file written beside its target...
    std::set<NativePath> folders;
    for (Pending& p : pending) {
        p.layer = layers_();
        p.layer->leaveSyncsToCaller();
        AtomicWriteFile& layer = *p.layer;
        bool written = layer.open(p.copy->to);
        for (qsizetype at = 0; written && at < p.data.size(); at += ChunkSize) {
            written = layer.write(QByteArrayView(p.data).sliced(at, std::min(ChunkSize, p.data.size() - at)));
        }
        written = written && layer.flush();
        if (!written) {
            fail(*p.copy, layer.errorString());
            layer.cancel();
            p.layer.reset();
            continue;
        }
        folders.insert(parentFolder(p.copy->to));
    }
    std::erase_if(pending, [](const Pending& p) { return !p.layer; });
    // ...then put on the device with one sync of the card's file system, before any of them replaces a file.
    for (const NativePath& folder : folders) {
        if (const int error = syncFileSystemOf(folder); error != 0 && !pending.empty()) {
            failAll(qt_error_string(error));
        }
    }
    bool replaced = false;
    for (Pending& p : pending) {
        AtomicWriteFile& layer = *p.layer;
        if (!layer.sync() || !layer.commit()) {
            fail(*p.copy, layer.errorString());
            layer.cancel();
            continue;
        }
        p.copy->inPlace = true;
        p.copy->confirmed = true;
        replaced = true;
    }
    // One sync of each folder puts the renames on the device. When it fails the new files are in place, but
    // whether they survive the card being pulled is not known: they are reported so, and the backups stay.
    if (replaced) {
        for (const NativePath& folder : folders) {
            if (const int error = syncFolder(folder); error != 0) {
                for (Pending& p : pending) {
                    if (p.copy->inPlace && parentFolder(p.copy->to) == folder) {
                        p.copy->confirmed = false;
                        p.copy->reason = qt_error_string(error).toStdString();
                    }
                }
            }
        }
    }
    if (backups_) {
        backups_->finish(replaced);
    }
}

CardFileSystem::Claim PlatformCardFileSystem::claimFolder(const std::string& folder) {
    releaseFolder();
#ifndef Q_OS_WIN
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        failed(qt_error_string(errno));
        return Claim::Failed;
    }
    // A lock on the folder itself: nothing is made on the card, and the system drops it when the process ends.
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        ::close(fd);
        if (error == EWOULDBLOCK) {
            failed(QStringLiteral("another program is writing to %1").arg(fromNativePath(folder)));
            return Claim::Busy;
        }
        if (error == ENOLCK || error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP) {
            return Claim::Taken; // a file system without locks: written as before, unguarded
        }
        failed(qt_error_string(error));
        return Claim::Failed;
    }
    claimFd_ = fd;
#else
    (void)folder;
#endif
    return Claim::Taken;
}

void PlatformCardFileSystem::releaseFolder() {
#ifndef Q_OS_WIN
    if (claimFd_ >= 0) {
        ::close(std::exchange(claimFd_, -1)); // closing drops the lock
    }
#endif
}

void PlatformCardFileSystem::remove(const std::string& path) {
    removeFile(path);
    working_.erase(path);
}

QString cardWriteMessage(const TextSource& texts, const card::WriteResult& result) {
    QString message = QString::fromStdString(texts.text(result.text));
    if (!result.ok && !result.reason.empty()) {
        message +=
            QLatin1Char('\n') + QString::fromStdString(formatText(texts.text(text::SystemReason), {result.reason}));
    }
    return message;
}

} // namespace tolvane
