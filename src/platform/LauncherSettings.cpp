#include "LauncherSettings.h"

#include <QSettings>
#include <QVariant>

namespace tolvane {

namespace {

const QString LastLangKey = QStringLiteral("Settings/LastLang");
const QString LastHardKey = QStringLiteral("Settings/LastHard");

QString readString(const QSettings& settings, const QString& key, const QString& fallback) {
    const QVariant value = settings.value(key);
    // A hand-edited INI value with a comma reads as a list: it is not a text we wrote.
    if (!value.isValid() || value.typeId() == QMetaType::QStringList || !value.canConvert<QString>()) {
        return fallback;
    }
    return value.toString();
}

} // namespace

LauncherSettings LauncherSettings::read(const QSettings& settings) {
    const LauncherSettings defaults;
    return {readString(settings, LastLangKey, defaults.lastLang), readString(settings, LastHardKey, defaults.lastHard)};
}

bool LauncherSettings::writeLastHard(QSettings& settings, const QString& label) {
    settings.setValue(LastHardKey, label);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace tolvane
