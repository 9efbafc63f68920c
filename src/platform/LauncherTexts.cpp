#include "LauncherTexts.h"

namespace tolvane {

namespace {

constexpr const char* Polish[LauncherTexts::Count] = {
    "Tolvane Manager",
    "Nowy projekt",
    "Otwórz projekt",
    "Czytaj kartę",
    "Import DAT",
    "Zamknij",
    "Brak pliku:",
    "Nie rozpoznano wersji.",
    "Wybierz wersję Firmware",
    "Karta pamięci",
    "OK",
    "Tak",
    "Nie",
    "Anuluj",
};

constexpr const char* German[LauncherTexts::Count] = {
    "Tolvane Manager",
    "Neu",
    "Öffnen",
    "Lesen aus der Karte",
    "Import DAT",
    "Schließen",
    "Datei nicht gefunden: ",
    "Version wurde nicht erkannt.",
    "Auswahl der Firmwareversion",
    "Speicherkarte",
    "OK",
    "Ja",
    "Nein",
    "Abbrechen",
};

constexpr const char* French[LauncherTexts::Count] = {
    "Tolvane Manager",
    "Nouveau",
    "Ouvrir",
    "Enregistrer depuis la carte",
    "Import DAT",
    "Fermer",
    "Fichier introuvable : ",
    "Version non reconnue.",
    "Choix de la version du firmware",
    "Carte de mémoire",
    "OK",
    "Oui",
    "Non",
    "Quitter",
};

} // namespace

LauncherTexts LauncherTexts::forLanguage(const QString& lastLang) {
    if (lastLang == QLatin1String("Deutsch")) {
        return LauncherTexts(German);
    }
    if (lastLang == QLatin1String("Francais")) {
        return LauncherTexts(French);
    }
    return LauncherTexts(Polish);
}

QString LauncherTexts::text(int id) const {
    if (id < 0 || id >= Count) {
        return QString();
    }
    return QString::fromUtf8(table_[id]);
}

QString LauncherTexts::missingProgram(const QString& path) const {
    return text(MissingProgram) + path;
}

} // namespace tolvane
