#include "PlatformCardFileSystem.h"

#include "project/TextFormat.h"

#include <utility>

namespace tolvane {

PlatformCardFileSystem::PlatformCardFileSystem(CardBackups* backups, WriteLayer layers)
    : backups_(backups), layers_(std::move(layers)) {
    if (!layers_) {
        layers_ = [] { return std::make_unique<NativeAtomicWrite>(); };
    }
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

bool PlatformCardFileSystem::writeThroughLayer(const NativePath& path, QByteArrayView data) {
    const std::unique_ptr<AtomicWriteFile> layer = layers_();
    const FileResult result = writeFileAtomically(path, data, *layer);
    return result.ok || failed(result.error);
}

bool PlatformCardFileSystem::write(const std::string& path, std::span<const std::uint8_t> data) {
    // Guarded from before it exists: the working folder is the write's own, so nothing else goes by this name.
    working_.insert_or_assign(path, RemoveOnSignal(path, RemoveOnSignal::Kind::File));
    return writeThroughLayer(path, QByteArrayView(data.data(), static_cast<qsizetype>(data.size())));
}

bool PlatformCardFileSystem::replaceWithCopy(const std::string& from, const std::string& to) {
    const FileContent copy = readRegularFile(from, MaxCopySize);
    if (!copy.ok()) {
        return failed(copy.error);
    }
    if (backups_ && pathKind(to) == PathKind::RegularFile) {
        QString reason;
        if (!backups_->keep(to, &reason)) {
            return failed(reason);
        }
    }
    return writeThroughLayer(to, copy.data);
}

void PlatformCardFileSystem::remove(const std::string& path) {
    removeFile(path);
    working_.erase(path);
}

QString cardWriteMessage(const TextSource& texts, const card::WriteResult& result) {
    QString message = QString::fromStdString(texts.text(result.text));
    if (!result.ok && !result.reason.empty()) {
        message +=
            QLatin1Char('\n') + QString::fromStdString(formatText(texts.text(TextSystemReason), {result.reason}));
    }
    return message;
}

} // namespace tolvane
