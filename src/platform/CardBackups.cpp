#include "CardBackups.h"

#include "SafeFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <utility>

namespace tolvane {

namespace {

// "2024-05-17_14-03-09-512", and "_01" ... "_99" after it when two writes fall in one millisecond: names that sort
// in the order they were made.
const QString NameFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz");

bool isWriteFolderName(const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2}-\\d{3}(_\\d{2})?$"));
    return pattern.match(name).hasMatch();
}

} // namespace

CardBackups::CardBackups(QString root, QDateTime now) : root_(std::move(root)), now_(std::move(now)) {}

QString CardBackups::defaultRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Nesmar/Tolvane/card-backups");
}

QStringList CardBackups::writes(const QString& root) {
    QStringList names;
    for (const QString& name : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (isWriteFolderName(name)) {
            names.append(name);
        }
    }
    return names;
}

bool CardBackups::makeFolder(QString* error) {
    const QDir root(root_);
    if (!QDir().mkpath(root_)) {
        *error = QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(root_));
        return false;
    }
    const QString base = now_.toString(NameFormat);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = attempt == 0 ? base : base + QStringLiteral("_%1").arg(attempt, 2, 10, QLatin1Char('0'));
        if (root.mkdir(name)) {
            folder_ = root.filePath(name);
            removeOldWrites();
            return true;
        }
    }
    *error = QStringLiteral("cannot create a folder in %1").arg(QDir::toNativeSeparators(root_));
    return false;
}

void CardBackups::removeOldWrites() const {
    const QStringList names = writes(root_);
    for (qsizetype i = 0; i + KeptWrites < names.size(); ++i) {
        QDir(QDir(root_).filePath(names[i])).removeRecursively();
    }
}

bool CardBackups::keep(const NativePath& path, QString* error) {
    QString reason;
    const std::optional<QByteArray> old = readWholeFile(path, MaxFileSize, &reason);
    if (!old) {
        *error = QStringLiteral("cannot read %1 to keep a copy: %2").arg(fromNativePath(path), reason);
        return false;
    }
    if (folder_.isEmpty() && !makeFolder(error)) {
        return false;
    }
    const QString copy = QDir(folder_).filePath(fromNativePath(fileNameOf(path)));
    const FileResult written = writeFileAtomically(copy, *old);
    if (!written.ok) {
        *error = QStringLiteral("cannot keep a copy in %1: %2").arg(QDir::toNativeSeparators(folder_), written.error);
        return false;
    }
    return true;
}

} // namespace tolvane
