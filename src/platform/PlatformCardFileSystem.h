#pragma once

#include "CardBackups.h"
#include "RemoveOnSignal.h"
#include "SafeFile.h"
#include "card/CardFileSystem.h"
#include "card/CardFiles.h"
#include "section/TextSource.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace tolvane {

// The card reader's and writer's files on the real file system, through the safe-file layer:
// - reads take regular files only, never block on a FIFO and never read past the limit, and come from the device
//   (its cached pages dropped first), so the check after a write compares what the card itself holds;
// - a write of several files holds an exclusive lock (flock) on the card folder itself for its whole length, which
//   leaves nothing on the card: a second writer, in this process or another, is told the card is busy;
// - the files a write replaces are copied to the backups first (when there are any), and the copies are put on
//   their device with one sync before anything is replaced;
// - every new card file goes to an exclusively created temporary file beside its target; the card's file system
//   is synced once when all of them are written, then they are renamed over their targets and the card folder is
//   synced once: once a write returns, the card may be pulled;
// - working files and temporary files are removed on every failure and when the process is ended by a signal.
class PlatformCardFileSystem final : public CardFileSystem {
public:
    using WriteLayer = std::function<std::unique_ptr<AtomicWriteFile>()>;

    // `backups`: where the files that replaceWithCopy replaces are kept (nothing is kept when null); `layers`:
    // makes the layer of each write (NativeAtomicWrite by default; tests make one that fails a step).
    explicit PlatformCardFileSystem(CardBackups* backups = nullptr, WriteLayer layers = {});
    ~PlatformCardFileSystem() override;
    PlatformCardFileSystem(const PlatformCardFileSystem&) = delete;
    PlatformCardFileSystem& operator=(const PlatformCardFileSystem&) = delete;

    // The largest working file copied onto a card; card files are far smaller.
    static constexpr qint64 MaxCopySize = 16 * 1024 * 1024;

    bool exists(const std::string& path) const override;
    std::optional<std::vector<std::uint8_t>> read(const std::string& path, std::size_t maxBytes) const override;
    bool write(const std::string& path, std::span<const std::uint8_t> data) override;
    bool replaceWithCopy(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
    std::string lastError() const override { return lastError_; }
    void replaceWithCopies(std::vector<Copy>& copies) override;
    Claim claimFolder(const std::string& folder) override;
    void releaseFolder() override;

private:
    bool failed(const QString& reason) const;

    CardBackups* backups_;
    WriteLayer layers_;
    mutable std::string lastError_;
    std::map<std::string, RemoveOnSignal> working_;
    int claimFd_ = -1; // the card folder, open and locked while a write holds it
};

// What the editor shows after a card write: the result's text and, when the system gave a reason for a failure,
// the system reason text (text::SystemReason) with that reason on a line of its own.
QString cardWriteMessage(const TextSource& texts, const card::WriteResult& result);

} // namespace tolvane
