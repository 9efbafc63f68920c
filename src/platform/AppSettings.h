#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace tolvane {

// The editor's own settings, kept in the group "Settings" of the program's settings store.
struct AppSettings {
    QString lastLang = QStringLiteral("Polski"); // language catalog to load (its name without ".json")
    QString lastDir;                             // folder of the last project opened
    QString lastDatDir;                          // last folder of card data files
    int toolBar = 1;                             // read at start and written back unchanged
    int statusBar = 1;                           // status bar shown

    friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

// Reads and writes AppSettings, always all values at once, through a QSettings it is given: the programs pass
// programSettings(), tests an INI file in a temporary folder, so no test touches the user's settings.
class SettingsStore {
public:
    explicit SettingsStore(QSettings& settings) : settings_(settings) {}

    // A value that is missing or of the wrong type reads as its default.
    AppSettings read() const;
    // Writes every value and flushes the store; false when it could not be written.
    bool write(const AppSettings& values);

private:
    QSettings& settings_;
};

// The programs' settings: company "Nesmar", application "Tolvane" (on Windows the registry key
// HKCU\Software\Nesmar\Tolvane, on Linux ~/.config/Nesmar/Tolvane.conf). The file is looked at as every file from
// outside is before it is handed to QSettings: when it is there but no regular file of at most MaxSettingsFileSize
// bytes that can be read (a FIFO would hang every program, a huge file take all memory), the programs go on with
// the defaults, in settings of this run alone that are never written over it, and `warning` says why.
std::unique_ptr<QSettings> programSettings(QString* warning = nullptr);
constexpr qint64 MaxSettingsFileSize = 1024 * 1024;

} // namespace tolvane
