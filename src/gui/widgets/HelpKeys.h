#pragma once

#include <QString>

class QKeyEvent;
class QWidget;

namespace tolvane::helpkeys {

// F1 and Shift+F1 in a page or a dialog. F1 opens the help window at `topic`. Shift+F1 on a field that has no
// "What's This" text of its own (a field with one answers the key itself) shows its tool tip as one, or, when it
// has none either, starts the pointer's What's This mode: the next click on a field shows its text. Returns
// whether the key was one of the two.
bool handle(QWidget* owner, QKeyEvent* event, const QString& topic);

// The help text of a help label becomes the "What's This" text of the label and of the field beside it in the
// label's layout (the field the label names), unless that field has its own.
void setWhatsThis(QWidget* label, const QString& text);

} // namespace tolvane::helpkeys
