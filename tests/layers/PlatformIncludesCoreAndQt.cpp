// Control: a platform file reaches the core and Qt Core.
#include "project/ProjectData.h"

#include <QObject>

int probe() {
    return QObject().objectName().size() + tolvane::ProjectData::ProgramCount;
}
