#include "ProgramStarter.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace tolvane {

bool ProcessStarter::start(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

bool ProcessStarter::openDocument(const QString& path) {
    // Only a whole path names the document; a relative one would depend on the folder we happen to run in.
    if (path.isEmpty() || !QFileInfo(path).isAbsolute()) {
        return false;
    }
#if defined(Q_OS_WIN)
    return QProcess::startDetached(QStringLiteral("explorer.exe"), {QDir::toNativeSeparators(path)});
#elif defined(Q_OS_MACOS)
    return QProcess::startDetached(QStringLiteral("open"), {QUrl::fromLocalFile(path).toString()});
#else
    return QProcess::startDetached(QStringLiteral("xdg-open"), {QUrl::fromLocalFile(path).toString()});
#endif
}

} // namespace tolvane
