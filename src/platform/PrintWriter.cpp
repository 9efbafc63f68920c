#include "PrintWriter.h"

#include "SafeFile.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace tolvane {

PrintWriter::PrintWriter(const QString& targetFolder, QString printFolder, const QString& fileName)
    : PrintWriter(toNativePath(targetFolder), std::move(printFolder), toNativePath(fileName)) {}

PrintWriter::PrintWriter(NativePath targetFolder, QString printFolder, NativePath fileName)
    : targetFolder_(std::move(targetFolder)), printFolder_(std::move(printFolder)), fileName_(std::move(fileName)) {}

PrintWriter::Result PrintWriter::write(const std::string& html) const {
    Result result;
    const NativePath document = joinNative(targetFolder_, fileName_);
    const FileResult written =
        writeFileAtomically(document, QByteArrayView(html.data(), static_cast<qsizetype>(html.size())));
    if (!written.ok) {
        result.error = written.error; // nothing was written: no partial document, no copies
        return result;
    }
    result.written = true;
    result.path = fromNativePath(document);
    result.notCopied = copyPrintFolder(&result.copyError);
    return result;
}

QStringList PrintWriter::copyPrintFolder(QString* error) const {
    const QStringList names = QDir(printFolder_).entryList(QDir::Files, QDir::Name);
    const NativePath source = toNativePath(printFolder_);
    const NativePath copies = joinNative(targetFolder_, FolderName);
    if (names.isEmpty() || isSameFile(copies, source)) {
        return {};
    }
    QStringList notCopied;
    const auto failed = [&](const QString& name, const QString& reason) {
        if (notCopied.isEmpty()) {
            *error = reason;
        }
        notCopied.append(name);
    };
    // A link named "print" would lead the copies anywhere; a file of that name is not ours to replace.
    const QFileInfo folder(fromNativePath(copies));
    if (folder.isSymLink() || (pathExists(copies) && pathKind(copies) != PathKind::Folder)) {
        for (const QString& name : names) {
            failed(name, QStringLiteral("%1 is not a folder of its own (a link or a file); nothing is copied into it")
                             .arg(fromNativePath(copies)));
        }
        return notCopied;
    }
    QString reason;
    if (!makeFolder(copies, &reason)) {
        for (const QString& name : names) {
            failed(name, reason);
        }
        return notCopied;
    }
    for (const QString& name : names) {
        const NativePath from = joinNative(source, toNativePath(name));
        const NativePath to = joinNative(copies, toNativePath(name));
        const FileContent content = readRegularFile(from, MaxCopySize);
        if (!content.ok()) {
            failed(name, content.error);
            continue;
        }
        const FileContent present = readRegularFile(to, MaxCopySize);
        if (present.ok() && present.data == content.data) {
            continue;
        }
        if (const FileResult written = writeFileAtomically(to, content.data); !written.ok) {
            failed(name, written.error);
        }
    }
    return notCopied;
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
