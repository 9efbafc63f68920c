#include "gui/common/Services.h"

#include <QDialog>

namespace tolvane {

int ExecDialogService::run(QDialog& dialog) {
    return dialog.exec();
}

} // namespace tolvane
