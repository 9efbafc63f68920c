#pragma once

#include "RecordingProgramStarter.h"
#include "ScriptedChooser.h"
#include "ScriptedDialogs.h"
#include "ScriptedPrompt.h"
#include "gui/app/AppContext.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>

#include <map>

namespace tolvane::testing {

// Everything a window of the editor needs, for a test: a temporary folder with a settings file and a language
// folder, a language "Test" made of the given texts and tips (no catalog at all when both are empty, so every
// text is "---"), scripted prompts, choosers and dialogs and a recording program starter.
class TestAppContext {
public:
    static constexpr const char* LanguageName = "Test";

    explicit TestAppContext(const std::map<int, QString>& texts = {}, const std::map<int, QString>& tips = {})
        : settingsFile(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat), store(settingsFile),
          languages(dir.filePath(QStringLiteral("Language"))), context{languages, prompts, choosers, dialogs, store,
                                                                       current, AppPaths(dir.path()), starter,
                                                                       dir.path() + "/",
                                                                       // card backups: the test's folder
                                                                       dir.filePath(QStringLiteral("card-backups"))} {
        QDir(dir.path()).mkpath(QStringLiteral("Language"));
        if (!texts.empty() || !tips.empty()) {
            writeCatalog(QStringLiteral("%1.json").arg(LanguageName), texts);
            writeCatalog(QStringLiteral("%1.tips.json").arg(LanguageName), tips);
            languages.setLanguage(LanguageName);
        }
    }

    QTemporaryDir dir;
    QSettings settingsFile;
    SettingsStore store;
    AppSettings current;
    Languages languages;
    ScriptedPrompt prompts;
    ScriptedChooser choosers;
    ScriptedDialogs dialogs;
    RecordingProgramStarter starter;
    AppContext context;

private:
    void writeCatalog(const QString& fileName, const std::map<int, QString>& entries) {
        QJsonObject textsObject;
        for (const auto& [id, text] : entries) {
            textsObject.insert(QString::number(id), text);
        }
        const QJsonObject catalog{{"version", "0x02000001"}, {"texts", textsObject}};
        QFile file(dir.filePath(QStringLiteral("Language/") + fileName));
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(catalog).toJson()) < 0) {
            ADD_FAILURE() << "cannot write the test catalog " << fileName.toStdString();
        }
    }
};

} // namespace tolvane::testing
