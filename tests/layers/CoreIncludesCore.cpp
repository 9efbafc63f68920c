// Control: a core file reaches the whole core.
#include "card/CardFiles.h"
#include "project/ProjectData.h"

int probe() {
    return tolvane::ProjectData::ProgramCount;
}
