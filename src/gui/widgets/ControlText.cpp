#include "gui/widgets/ControlText.h"

#include "gui/widgets/CStaticHelp.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace tolvane {

void setControlText(QWidget* control, const QString& text) {
    if (!control) {
        return;
    }
    if (auto* help = qobject_cast<CStaticHelp*>(control)) {
        help->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    } else {
        control->setWindowTitle(text);
    }
}

} // namespace tolvane
