#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <utility>

namespace tolvane {

AppPaths::AppPaths(QString programFolder) : base_(QDir::cleanPath(std::move(programFolder))) {}

AppPaths AppPaths::forApplication() {
    return AppPaths(QCoreApplication::applicationDirPath());
}

QString AppPaths::resolve(const QString& folder) const {
    const QDir base(base_);
    const QString beside = base.filePath(folder);
    if (QFileInfo(beside).isDir()) {
        return beside;
    }
    const QString inVersion = base.filePath(QLatin1String(VersionFolder) + QLatin1Char('/') + folder);
    if (QFileInfo(inVersion).isDir()) {
        return inVersion;
    }
    return beside;
}

QString AppPaths::languageFolder() const {
    return resolve(QStringLiteral("Language"));
}

QString AppPaths::dataFolder() const {
    return resolve(QStringLiteral("Data"));
}

QString AppPaths::printFolder() const {
    return resolve(QStringLiteral("print"));
}

QString AppPaths::helpFolder() const {
    return resolve(QStringLiteral("Help"));
}

QString AppPaths::dataFile(const QString& relativePath) const {
    return QDir(dataFolder()).filePath(relativePath);
}

} // namespace tolvane
