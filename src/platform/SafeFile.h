#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

#include <optional>

namespace tolvane {

// Reading and writing whole files. A write goes through QSaveFile: the old file stays as it was until the new
// content is completely on disk, so a crash or a full disk never leaves a half-written file.
struct FileResult {
    bool ok = false;
    QString error; // the operating system's wording when !ok
};

// The steps of one atomic write, so that tests can put a layer in between that fails at any of them.
class AtomicWriteFile {
public:
    virtual ~AtomicWriteFile() = default;
    // Starts a new content for `path` in a temporary file beside it.
    virtual bool open(const QString& path) = 0;
    virtual bool write(QByteArrayView chunk) = 0;
    virtual bool flush() = 0;
    // Puts the new content in place of the target (the final rename).
    virtual bool commit() = 0;
    // Drops the temporary file after a failure; the target stays as it was.
    virtual void cancel() = 0;
    virtual QString errorString() const = 0;
};

// The programs' layer: QSaveFile.
class QSaveFileWrite final : public AtomicWriteFile {
public:
    bool open(const QString& path) override;
    bool write(QByteArrayView chunk) override;
    bool flush() override;
    bool commit() override;
    void cancel() override;
    QString errorString() const override { return file_.errorString(); }

private:
    QSaveFile file_;
};

std::optional<QByteArray> readWholeFile(const QString& path, QString* error = nullptr);
FileResult writeFileAtomically(const QString& path, const QByteArray& data);
// The same through a given layer, which is used for this one write. The data goes out in chunks of ChunkSize.
FileResult writeFileAtomically(const QString& path, const QByteArray& data, AtomicWriteFile& file);

constexpr qsizetype ChunkSize = 16 * 1024;

} // namespace tolvane
