#include "platform/LauncherTexts.h"
#include "platform/LauncherSettings.h"

#include "CatalogFiles.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

QStringList captions(const LauncherTexts& texts) {
    QStringList list;
    for (int id = LauncherTexts::CaptionNew; id <= LauncherTexts::CaptionClose; ++id) {
        list.append(texts.text(id));
    }
    return list;
}

TEST(LauncherTexts, TheLanguageSettingChoosesTheTable) {
    EXPECT_EQ(captions(LauncherTexts::forLanguage("Deutsch")),
              (QStringList{"Neu", "\u00D6ffnen", "Lesen aus der Karte", "Import DAT", "Schlie\u00DFen"}));
    EXPECT_EQ(captions(LauncherTexts::forLanguage("Francais")),
              (QStringList{"Nouveau", "Ouvrir", "Enregistrer depuis la carte", "Import DAT", "Fermer"}));
    const QStringList polish{"Nowy projekt", "Otw\u00F3rz projekt", "Czytaj kart\u0119", "Import DAT", "Zamknij"};
    for (const char* other : {"Polski", "English", "deutsch", ""}) {
        SCOPED_TRACE(other);
        EXPECT_EQ(captions(LauncherTexts::forLanguage(other)), polish);
    }
}

TEST(LauncherTexts, MessagesAndDialogTexts) {
    const LauncherTexts polish = LauncherTexts::forLanguage("Polski");
    const LauncherTexts german = LauncherTexts::forLanguage("Deutsch");
    const LauncherTexts french = LauncherTexts::forLanguage("Francais");
    // The path follows the prefix directly; only the prefix carries a space.
    EXPECT_EQ(polish.missingProgram("E:\\1.41\\Tolvane.exe"), "Brak pliku:E:\\1.41\\Tolvane.exe");
    EXPECT_EQ(german.missingProgram("/opt/1.41/Tolvane"), "Datei nicht gefunden: /opt/1.41/Tolvane");
    EXPECT_EQ(french.missingProgram("/opt/1.41/Tolvane"), "Fichier introuvable : /opt/1.41/Tolvane");
    EXPECT_EQ(german.text(LauncherTexts::NotRecognised), "Version wurde nicht erkannt.");
    EXPECT_EQ(french.text(LauncherTexts::NotRecognised), "Version non reconnue.");
    EXPECT_EQ(polish.text(LauncherTexts::VersionTitle), "Wybierz wersj\u0119 Firmware");
    EXPECT_EQ(french.text(LauncherTexts::VersionTitle), "Choix de la version du firmware");
    EXPECT_EQ(polish.text(LauncherTexts::CardTitle), "Karta pami\u0119ci");
    EXPECT_EQ(french.text(LauncherTexts::Cancel), "Quitter");
    EXPECT_EQ(german.text(LauncherTexts::Title), "Tolvane Manager");
    for (const LauncherTexts* texts : {&polish, &german, &french}) {
        for (int id = 0; id < LauncherTexts::Count; ++id) {
            EXPECT_FALSE(texts->text(id).isEmpty()) << id;
        }
        EXPECT_TRUE(texts->text(LauncherTexts::Count).isEmpty());
        EXPECT_TRUE(texts->text(-1).isEmpty());
    }
}

TEST(LauncherSettings, ReadsDefaultsAndWritesOnlyTheChosenLabel) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("Tolvane.ini");
    {
        QSettings empty(ini, QSettings::IniFormat);
        EXPECT_EQ(LauncherSettings::read(empty), (LauncherSettings{"Polski", "1.28"}));
    }
    testing::writeFile(ini, "[Settings]\nLastLang=Deutsch\nLastDir=/home/jan\n");
    {
        QSettings settings(ini, QSettings::IniFormat);
        EXPECT_EQ(LauncherSettings::read(settings), (LauncherSettings{"Deutsch", "1.28"}));
        EXPECT_TRUE(LauncherSettings::writeLastHard(settings, "1.01 VARDELO"));
    }
    QSettings again(ini, QSettings::IniFormat);
    EXPECT_EQ(LauncherSettings::read(again), (LauncherSettings{"Deutsch", "1.01 VARDELO"}));
    EXPECT_EQ(again.value("Settings/LastHard").toString(), "1.01 VARDELO");
    EXPECT_EQ(again.value("Settings/LastDir").toString(), "/home/jan"); // the editor's values stay
    testing::writeFile(ini, "[Settings]\nLastLang=a, b\nLastHard=1.43\n");
    QSettings listValue(ini, QSettings::IniFormat);
    EXPECT_EQ(LauncherSettings::read(listValue), (LauncherSettings{"Polski", "1.43"}));
}

} // namespace
} // namespace tolvane
