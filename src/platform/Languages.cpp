#include "Languages.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace tolvane {
namespace {

const QLatin1String CatalogSuffix(".json");
const QLatin1String TipsSuffix(".tips.json");
const char* const Missing = "---";

// A language name comes from the settings, which anyone can edit: it names a file inside the Language folder and
// nothing else.
bool isPlainName(const QString& name) {
    if (name.isEmpty() || name.size() > 255) {
        return false;
    }
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20) {
            return false;
        }
    }
    return true;
}

std::string textOrMissing(const std::optional<LanguageCatalog>& catalog, int id) {
    if (!catalog) {
        return Missing;
    }
    auto text = catalog->find(id);
    return text ? std::move(*text) : std::string(Missing);
}

} // namespace

Languages::Languages(QString languageFolder) : folder_(std::move(languageFolder)) {}

// The file of a language: the exact name first, then one that differs only in case, so that a name written as
// the user chose it on a system whose file names ignore case still finds its catalog.
QString Languages::catalogPath(const QString& name, const QString& suffix) const {
    if (!isPlainName(name)) {
        return {};
    }
    const QDir folder(folder_);
    const QString fileName = name + suffix;
    if (QFileInfo(folder.filePath(fileName)).isFile()) {
        return folder.filePath(fileName);
    }
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0) {
            return folder.filePath(entry);
        }
    }
    return {};
}

LanguageChoice Languages::setLanguage(const QString& name) {
    catalog_.reset();
    tips_.reset();
    name_ = name;

    auto loadFile = [this](const QString& language, const QString& suffix) -> std::optional<LanguageCatalog> {
        const QString path = catalogPath(language, suffix);
        return path.isEmpty() ? std::nullopt : LanguageCatalog::load(path);
    };

    if (auto catalog = loadFile(name, CatalogSuffix)) {
        if (catalog->version() != CatalogVersion) {
            return {false, QStringLiteral("Niepoprawna wersja bilioteki j\u0119zykowej"), false};
        }
        catalog_ = std::move(catalog);
        tips_ = loadFile(name, TipsSuffix);
        return {true, {}, false};
    }
    if (auto fallback = loadFile(QLatin1String(FallbackLanguage), CatalogSuffix)) {
        catalog_ = std::move(fallback);
        tips_ = loadFile(name, TipsSuffix);
        return {true, {}, true};
    }
    return {false, QStringLiteral("Language file : ") + name + CatalogSuffix + QStringLiteral(" open error"), false};
}

std::string Languages::text(int id) const {
    return textOrMissing(catalog_, id);
}

std::string Languages::tipText(int id) const {
    return textOrMissing(tips_, id);
}

QStringList Languages::availableLanguages(const QString& languageFolder) {
    QStringList names;
    const QStringList entries =
        QDir(languageFolder)
            .entryList(QStringList{QStringLiteral("*.json")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& entry : entries) {
        if (entry.endsWith(TipsSuffix, Qt::CaseInsensitive) || entry.size() == CatalogSuffix.size()) {
            continue;
        }
        names.append(entry.left(entry.size() - CatalogSuffix.size()));
    }
    return names;
}

} // namespace tolvane
