#pragma once

#include "NativeFile.h"
#include "RemoveOnSignal.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>
#include <string>

#ifdef Q_OS_WIN
#include <QSaveFile>
#endif

namespace tolvane {

// Reading and writing whole files. A write goes to a new temporary file beside the target, created exclusively
// under a name of its own (never an existing file or a link planted under that name), is synced to the device and
// only then renamed over the target, and the folder is synced after the rename: a crash, a full disk or a card
// pulled out never leaves a half-written file, and once the write returns the new content is on the device.
struct FileResult {
    bool ok = false;
    QString error; // the operating system's wording when !ok
};

// The steps of one atomic write, so that tests can put a layer in between that fails at any of them.
class AtomicWriteFile {
public:
    virtual ~AtomicWriteFile() = default;
    // Starts a new content for `path` in a temporary file beside it.
    virtual bool open(const NativePath& path) = 0;
    virtual bool write(QByteArrayView chunk) = 0;
    virtual bool flush() = 0;
    // Puts the temporary file's content on the device (fsync).
    virtual bool sync() = 0;
    // Puts the new content in place of the target (the final rename) and syncs the folder that holds it.
    virtual bool commit() = 0;
    // Drops the temporary file after a failure; the target stays as it was.
    virtual void cancel() = 0;
    virtual QString errorString() const = 0;
    // For a caller that writes several files and puts them on the device together (one sync of the whole file
    // system before the renames, one of the folder after them): sync() then only drops the file's cached pages,
    // and commit() only renames. A layer that ignores this syncs each file itself, which is merely slower.
    virtual void leaveSyncsToCaller() {}
};

// The programs' layer. The temporary file is named ".tolvane-<six letters>.tmp~" beside the target (short, so that
// a target of the longest name the file system allows can still be written), created with O_EXCL and never
// through a link; a name that is taken (another writer's temporary file, a planted link) is
// passed over for the next one. It is removed on every failure, and also when the process is ended by a signal
// while it exists. A target that is a link is replaced by the new file, never followed.
class NativeAtomicWrite final : public AtomicWriteFile {
public:
    // `names` gives the random part of each temporary name tried; by default six random letters and digits.
    explicit NativeAtomicWrite(std::function<std::string()> names = {});
    ~NativeAtomicWrite() override;
    NativeAtomicWrite(const NativeAtomicWrite&) = delete;
    NativeAtomicWrite& operator=(const NativeAtomicWrite&) = delete;

    bool open(const NativePath& path) override;
    bool write(QByteArrayView chunk) override;
    bool flush() override;
    bool sync() override;
    bool commit() override;
    void cancel() override;
    QString errorString() const override { return error_; }
    void leaveSyncsToCaller() override { syncsByCaller_ = true; }

    // The temporary name tried for the random part `random`.
    static std::string temporaryName(const std::string& random) { return ".tolvane-" + random + ".tmp~"; }

    // How many names are tried before the write gives up.
    static constexpr int NameAttempts = 100;

private:
    bool fail(int systemError);
    bool fail(QString message);

    std::function<std::string()> names_;
    NativePath target_;
    NativePath temporary_;
    RemoveOnSignal guard_;
    QString error_;
    bool syncsByCaller_ = false;
#ifdef Q_OS_WIN
    QSaveFile file_;
#else
    int fd_ = -1;
#endif
};

// The whole file, when it is a regular file of at most `maxBytes` bytes (see readRegularFile); the reason otherwise.
std::optional<QByteArray> readWholeFile(const NativePath& path, qint64 maxBytes, QString* error = nullptr);
std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes, QString* error = nullptr);

FileResult writeFileAtomically(const NativePath& path, QByteArrayView data);
FileResult writeFileAtomically(const QString& path, QByteArrayView data);
// The same through a given layer, which is used for this one write. The data goes out in chunks of ChunkSize.
FileResult writeFileAtomically(const NativePath& path, QByteArrayView data, AtomicWriteFile& file);
FileResult writeFileAtomically(const QString& path, QByteArrayView data, AtomicWriteFile& file);

constexpr qsizetype ChunkSize = 16 * 1024;

// Puts everything written to the file system that holds `folder` on its device (syncfs on Linux), the folders'
// entries included; 0, or the system's error number. Where the system has no such call, 0 is returned and the
// writers sync their files one by one.
int syncFileSystemOf(const NativePath& folder);
// Syncs a folder itself, so that renames in it are on the device; 0, or the system's error number. A file system
// that cannot sync a folder (EINVAL, ENOTSUP) counts as synced.
int syncFolder(const NativePath& folder);
// Whether syncFileSystemOf does the work on this system (it does on Linux).
bool canSyncFileSystems();
// Whether two existing folders are on one file system (one syncFileSystemOf puts both on the device); false when
// either cannot be looked at, or where the system cannot sync file systems.
bool onSameFileSystem(const NativePath& a, const NativePath& b);

} // namespace tolvane
