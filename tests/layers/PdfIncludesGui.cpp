// Control: a file of the PDF export reaches the platform, the core and Qt Gui.
#include "pdf/PdfWriter.h"
#include "project/ProjectData.h"

#include <QTextDocument>

int probe() {
    return QTextDocument().pageCount() + tolvane::ProjectData::ProgramCount;
}
