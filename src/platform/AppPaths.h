#pragma once

#include <QString>

namespace tolvane {

// Where the program's data folders are. The editor keeps Language/, Data/, print/ and Help/ beside its executable; a
// program installed one level up (the command-line tool beside the version folders) finds them in the version
// folder instead. Each folder is looked up on its own: <base>/<Folder> when it exists, else
// <base>/<VersionFolder>/<Folder>; when neither exists, <base>/<Folder> is named so that messages point at the
// place the folder belongs.
class AppPaths {
public:
    static constexpr const char* VersionFolder = "1.41";

    explicit AppPaths(QString programFolder);
    // Paths of the running program (needs a QCoreApplication).
    static AppPaths forApplication();

    QString programFolder() const { return base_; }
    QString languageFolder() const;
    QString dataFolder() const;
    QString printFolder() const;
    // The user guide: Help/<Language>/<section>.html, its pictures in Help/images.
    QString helpFolder() const;

    // A file below the data folder, e.g. dataFile("Gfx/icons.png").
    QString dataFile(const QString& relativePath) const;

private:
    QString resolve(const QString& folder) const;

    QString base_;
};

} // namespace tolvane
