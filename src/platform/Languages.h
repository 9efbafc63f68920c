#pragma once

#include "LanguageCatalog.h"
#include "section/TextSource.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>

namespace tolvane {

// What choosing a language came to. A message is for the user; the caller shows it (no window is opened here).
struct LanguageChoice {
    bool ok = false;
    QString message;           // empty when there is nothing to show
    bool usedFallback = false; // the Polish catalog stands in for the requested one: write the settings
};

// The program's texts: the catalog of the chosen language and its tips catalog, both from one Language folder.
// Files: <folder>/<Name>.json (must carry version 0x02000001) and <folder>/<Name>.tips.json (optional, any
// version). Without a catalog every text is "---", and so is every number a catalog lacks.
class Languages final : public TextSource {
public:
    static constexpr std::uint32_t CatalogVersion = 0x02000001;
    static constexpr const char* FallbackLanguage = "Polski";

    explicit Languages(QString languageFolder);

    // Drops the current catalogs and loads those of `name`. When that catalog cannot be read, the Polish catalog
    // stands in (its version is not checked); the name stays the requested one and the tips come from the
    // requested name. A catalog of the wrong version is refused, and so is the choice when neither catalog can be
    // read; either way no catalog stays loaded.
    LanguageChoice setLanguage(const QString& name);

    std::string text(int id) const override;
    std::string tipText(int id) const;

    QString name() const { return name_; }
    bool hasCatalog() const { return catalog_.has_value(); }
    bool tipsAvailable() const { return tips_.has_value(); }
    QString languageFolder() const { return folder_; }

    // The names of the language catalogs in a folder (file names without ".json", tips catalogs left out),
    // sorted ignoring case, for the program settings dialog.
    static QStringList availableLanguages(const QString& languageFolder);

private:
    QString catalogPath(const QString& name, const QString& suffix) const;

    QString folder_;
    QString name_;
    std::optional<LanguageCatalog> catalog_;
    std::optional<LanguageCatalog> tips_;
};

} // namespace tolvane
