#pragma once

#include "CardBackups.h"
#include "RemoveOnSignal.h"
#include "SafeFile.h"
#include "card/CardFileSystem.h"
#include "card/CardFiles.h"
#include "project/TextSource.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace tolvane {

// The card reader's and writer's files on the real file system, through the safe-file layer:
// - reads take regular files only, never block on a FIFO and never read past the limit, and come from the device
//   (its cached pages dropped first), so the check after a write compares what the card itself holds;
// - every write goes to an exclusively created temporary file beside its target, synced before it is renamed
//   over the target, with the folder synced after the rename: once a write returns, the card may be pulled;
// - before a card file is replaced, the file it replaces is copied to the backups when there are any;
// - working files and temporary files are removed on every failure and when the process is ended by a signal.
class PlatformCardFileSystem final : public CardFileSystem {
public:
    using WriteLayer = std::function<std::unique_ptr<AtomicWriteFile>()>;

    // `backups`: where the files that replaceWithCopy replaces are kept (nothing is kept when null); `layers`:
    // makes the layer of each write (NativeAtomicWrite by default; tests make one that fails a step).
    explicit PlatformCardFileSystem(CardBackups* backups = nullptr, WriteLayer layers = {});

    // The largest working file copied onto a card; card files are far smaller.
    static constexpr qint64 MaxCopySize = 16 * 1024 * 1024;

    bool exists(const std::string& path) const override;
    std::optional<std::vector<std::uint8_t>> read(const std::string& path, std::size_t maxBytes) const override;
    bool write(const std::string& path, std::span<const std::uint8_t> data) override;
    bool replaceWithCopy(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
    std::string lastError() const override { return lastError_; }

private:
    bool writeThroughLayer(const NativePath& path, QByteArrayView data);
    bool failed(const QString& reason) const;

    CardBackups* backups_;
    WriteLayer layers_;
    mutable std::string lastError_;
    std::map<std::string, RemoveOnSignal> working_;
};

// What the editor shows after a card write: the result's text and, when the system gave a reason for a failure,
// text 2400 with that reason on a line of its own.
QString cardWriteMessage(const TextSource& texts, const card::WriteResult& result);

// The text number of that second line.
constexpr int TextSystemReason = 2400;

} // namespace tolvane
