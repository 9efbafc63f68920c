#include "ProgramStarter.h"

#include <QProcess>

namespace tolvane {

bool ProcessStarter::start(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

} // namespace tolvane
