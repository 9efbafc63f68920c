#pragma once

#include <QString>

class QWidget;

namespace tolvane {

// Sets the caption of a control of any kind (label, button, group box, line edit, help or link label, or a
// window's title for anything else); does nothing for a missing control.
void setControlText(QWidget* control, const QString& text);

} // namespace tolvane
