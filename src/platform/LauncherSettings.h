#pragma once

#include <QString>

class QSettings;

namespace tolvane {

// The launcher's two values in the group "Settings" of the programs' settings store (the editor's store, so the
// launcher speaks the language the editor was last used in).
struct LauncherSettings {
    QString lastLang = QStringLiteral("Polski"); // only read by the launcher
    QString lastHard = QStringLiteral("1.28");   // the firmware label last chosen in the version dialog

    friend bool operator==(const LauncherSettings&, const LauncherSettings&) = default;

    // A missing value, or one that is not a plain text, reads as its default.
    static LauncherSettings read(const QSettings& settings);
    // Writes "LastHard" only (the launcher never changes the language) and flushes; false when it failed.
    static bool writeLastHard(QSettings& settings, const QString& label);
};

} // namespace tolvane
