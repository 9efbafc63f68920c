#include "SafeFile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace tolvane {

std::optional<QByteArray> readWholeFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = file.errorString();
        }
        return std::nullopt;
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) {
            *error = file.errorString();
        }
        return std::nullopt;
    }
    return data;
}

bool QSaveFileWrite::open(const QString& path) {
    file_.setFileName(path);
    return file_.open(QIODevice::WriteOnly);
}

bool QSaveFileWrite::write(QByteArrayView chunk) {
    return file_.write(chunk.data(), chunk.size()) == chunk.size();
}

bool QSaveFileWrite::flush() {
    return file_.flush();
}

bool QSaveFileWrite::commit() {
    return file_.commit();
}

void QSaveFileWrite::cancel() {
    if (file_.isOpen()) {
        // A cancelled QSaveFile removes its temporary file when it is committed.
        file_.cancelWriting();
        file_.commit();
    }
}

FileResult writeFileAtomically(const QString& path, const QByteArray& data) {
    QSaveFileWrite file;
    return writeFileAtomically(path, data, file);
}

FileResult writeFileAtomically(const QString& path, const QByteArray& data, AtomicWriteFile& file) {
    if (!file.open(path)) {
        return {false, file.errorString()};
    }
    const auto fail = [&file] {
        const QString message = file.errorString();
        file.cancel();
        return FileResult{false, message};
    };
    const QByteArrayView all(data);
    for (qsizetype at = 0; at < all.size(); at += ChunkSize) {
        if (!file.write(all.sliced(at, std::min(ChunkSize, all.size() - at)))) {
            return fail();
        }
    }
    if (!file.flush()) {
        return fail();
    }
    if (!file.commit()) {
        return fail();
    }
    return {true, {}};
}

} // namespace tolvane
