#include "gui/widgets/HelpReceiver.h"

#include <QWidget>

namespace tolvane {

HelpReceiver* HelpReceiver::of(const QWidget* widget) {
    for (QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto* receiver = dynamic_cast<HelpReceiver*>(w)) {
            return receiver;
        }
    }
    return nullptr;
}

} // namespace tolvane
