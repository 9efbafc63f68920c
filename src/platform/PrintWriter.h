#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

namespace tolvane {

// Puts the printed summary where a browser can show it: Print.html in a folder (the system's temporary folder
// in the editor), with the style sheet and icons of the print folder beside the program copied next to it, then
// opens it with the desktop's program for HTML. The document is written whole or not at all.
class PrintWriter {
public:
    static constexpr const char* FileName = "Print.html";
    // The document refers to print/style.css and print/<icon>.png, so the copies go to a folder of that name.
    static constexpr const char* FolderName = "print";

    struct Result {
        bool written = false;
        QString path;          // the document, when written
        QStringList notCopied; // files of the print folder that could not be copied (the document still shows)
        bool opened = false;
    };

    // `targetFolder`: where the document goes; `printFolder`: the print folder beside the program; `fileName`:
    // the document's name (Print.html for the editor, the user's choice for the command-line tool).
    PrintWriter(QString targetFolder, QString printFolder, QString fileName = QString::fromLatin1(FileName));

    // Writes the document and copies the print folder. When the document cannot be created nothing is written
    // and nothing is copied.
    Result write(const std::string& html) const;
    // write(), then `open` on the document's path only when it was written. `open` returns whether the document
    // could be handed to a program (QDesktopServices::openUrl in the editor, a recorder in tests).
    Result writeAndOpen(const std::string& html, const std::function<bool(const QString&)>& open) const;

    // The system's temporary folder.
    static QString defaultTargetFolder();

private:
    QString targetFolder_;
    QString printFolder_;
    QString fileName_;
};

} // namespace tolvane
