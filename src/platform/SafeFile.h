#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tolvane {

// Reading and writing whole files. A write goes through QSaveFile: the old file stays as it was until the new
// content is completely on disk, so a crash or a full disk never leaves a half-written file.
struct FileResult {
    bool ok = false;
    QString error; // the operating system's wording when !ok
};

std::optional<QByteArray> readWholeFile(const QString& path, QString* error = nullptr);
FileResult writeFileAtomically(const QString& path, const QByteArray& data);

} // namespace tolvane
