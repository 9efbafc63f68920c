#pragma once

#include <QString>

namespace tolvane {

// The launcher's own fourteen texts. It carries them itself (it has no language catalog) in Polish, German and
// French, and picks one table from the "LastLang" value the editor leaves in the settings.
class LauncherTexts {
public:
    enum Id {
        Title = 0,          // main window title
        CaptionNew = 1,     // caption under New
        CaptionOpen = 2,    // caption under Open
        CaptionCard = 3,    // caption under Card
        CaptionDat = 4,     // caption under DAT
        CaptionClose = 5,   // caption under Close
        MissingProgram = 6, // prefix of the missing-program message; the path follows directly
        NotRecognised = 7,  // version not recognised
        VersionTitle = 8,   // title of the version dialog
        CardTitle = 9,      // title of the card dialog
        Ok = 10,            // OK button
        Yes = 11,           // Yes
        No = 12,            // No
        Cancel = 13,        // Cancel button
    };
    static constexpr int Count = 14;

    // "Deutsch" and "Francais" choose their tables; any other value, empty included, gives Polish.
    static LauncherTexts forLanguage(const QString& lastLang);

    // The text of `id`; an empty text for a number outside the table.
    QString text(int id) const;
    // Text 6 followed by the path, as the missing-program message shows it.
    QString missingProgram(const QString& path) const;

private:
    explicit LauncherTexts(const char* const* table) : table_(table) {}

    const char* const* table_;
};

} // namespace tolvane
