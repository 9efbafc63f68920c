#include "AppSettings.h"

#include "NativeFile.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariant>

namespace tolvane {
namespace {

const QString Group = QStringLiteral("Settings");

QString readString(const QSettings& settings, const QString& key, const QString& fallback) {
    const QVariant value = settings.value(key);
    // A hand-edited INI value with a comma reads as a list: it is not a string we wrote, so it reads as the default.
    if (!value.isValid() || value.typeId() == QMetaType::QStringList || !value.canConvert<QString>()) {
        return fallback;
    }
    return value.toString();
}

int readInt(const QSettings& settings, const QString& key, int fallback) {
    bool ok = false;
    const int number = settings.value(key).toInt(&ok);
    return ok ? number : fallback;
}

} // namespace

AppSettings SettingsStore::read() const {
    const AppSettings defaults;
    AppSettings values;
    // QSettings::beginGroup is not const; a copy of the prefix keeps read() free of side effects.
    const QString prefix = Group + QLatin1Char('/');
    values.lastLang = readString(settings_, prefix + QStringLiteral("LastLang"), defaults.lastLang);
    values.lastDir = readString(settings_, prefix + QStringLiteral("LastDir"), defaults.lastDir);
    values.lastDatDir = readString(settings_, prefix + QStringLiteral("LastDatDir"), defaults.lastDatDir);
    values.toolBar = readInt(settings_, prefix + QStringLiteral("ToolBar"), defaults.toolBar);
    values.statusBar = readInt(settings_, prefix + QStringLiteral("StatusBar"), defaults.statusBar);
    return values;
}

bool SettingsStore::write(const AppSettings& values) {
    settings_.beginGroup(Group);
    settings_.setValue(QStringLiteral("LastLang"), values.lastLang);
    settings_.setValue(QStringLiteral("LastDir"), values.lastDir);
    settings_.setValue(QStringLiteral("LastDatDir"), values.lastDatDir);
    settings_.setValue(QStringLiteral("ToolBar"), values.toolBar);
    settings_.setValue(QStringLiteral("StatusBar"), values.statusBar);
    settings_.endGroup();
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

std::unique_ptr<QSettings> programSettings(QString* warning) {
#ifndef Q_OS_WIN
    const QString file = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/Nesmar/Tolvane.conf");
    const NativePath native = toNativePath(file);
    if (pathExists(native)) {
        const FileContent content = readRegularFile(native, MaxSettingsFileSize);
        if (!content.ok()) {
            if (warning) {
                *warning = QStringLiteral("the settings file %1 cannot be used (%2); the defaults are used")
                               .arg(file, content.error);
            }
            // Settings of this run alone, in a folder removed when the program ends.
            static QTemporaryDir alone;
            return std::make_unique<QSettings>(alone.filePath(QStringLiteral("Tolvane.conf")), QSettings::IniFormat);
        }
    }
#else
    Q_UNUSED(warning);
#endif
    return std::make_unique<QSettings>(QStringLiteral("Nesmar"), QStringLiteral("Tolvane"));
}

} // namespace tolvane
