#include "platform/SafeFile.h"

#include <QFile>
#include <QSaveFile>

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

FileResult writeFileAtomically(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {false, file.errorString()};
    }
    if (file.write(data) != data.size()) {
        QString message = file.errorString();
        file.cancelWriting();
        return {false, message};
    }
    if (!file.commit()) {
        return {false, file.errorString()};
    }
    return {true, {}};
}

} // namespace tolvane
