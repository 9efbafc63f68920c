#pragma once

#include <QString>

#include <span>

struct QMetaObject;

namespace tolvane {

// The section of the user guide that F1 opens in each edit dialog and chooser, by the dialog's class.
struct DialogHelpRow {
    const char* className; // as the meta-object names it ("tolvane::CDzwonEdyDlg")
    const char* topic;     // a file of Help/<Language>/ without ".html", optionally with an anchor in it
};

std::span<const DialogHelpRow> dialogHelpTable();
// The topic of a dialog of class `type` (or of the nearest base class listed); the guide's contents when none is.
QString dialogHelpTopic(const QMetaObject* type);

} // namespace tolvane
