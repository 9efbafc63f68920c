#include "PrintWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>

namespace tolvane {

PrintWriter::PrintWriter(QString targetFolder, QString printFolder, QString fileName)
    : targetFolder_(std::move(targetFolder)), printFolder_(std::move(printFolder)), fileName_(std::move(fileName)) {}

QString PrintWriter::defaultTargetFolder() {
    return QDir::tempPath();
}

PrintWriter::Result PrintWriter::write(const std::string& html) const {
    Result result;
    const QString path = QDir(targetFolder_).filePath(fileName_);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return result;
    }
    const auto size = static_cast<qint64>(html.size());
    if (file.write(html.data(), size) != size || !file.commit()) {
        return result; // QSaveFile leaves no partial document behind
    }
    result.written = true;
    result.path = path;

    const QDir target(targetFolder_);
    const QString folder = QString::fromLatin1(FolderName);
    if (!target.exists(folder) && !target.mkdir(folder)) {
        result.notCopied = QDir(printFolder_).entryList(QDir::Files, QDir::Name);
        return result;
    }
    const QDir copies(target.filePath(folder));
    const QDir source(printFolder_);
    for (const QString& name : source.entryList(QDir::Files, QDir::Name)) {
        const QString destination = copies.filePath(name);
        if (QFileInfo::exists(destination)) {
            QFile::remove(destination);
        }
        if (!QFile::copy(source.filePath(name), destination)) {
            result.notCopied.append(name);
        }
    }
    return result;
}

PrintWriter::Result PrintWriter::writeAndOpen(const std::string& html,
                                              const std::function<bool(const QString&)>& open) const {
    Result result = write(html);
    if (result.written && open) {
        result.opened = open(result.path);
    }
    return result;
}

} // namespace tolvane
