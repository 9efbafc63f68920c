#pragma once

#include "NativeFile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

namespace tolvane {

// Puts the printed summary where a browser can show it: Print.html in a folder (in the editor its own folder of
// this run, never a fixed name in the shared temporary folder where another user could plant a file or a link),
// with the style sheet and icons of the print folder beside the program copied next to it, then opens it with the
// desktop's program for HTML. The document is written whole or not at all.
//
// The copies go into a folder "print" beside the document. Only the files of the program's print folder are
// replaced there (a user's other files stay), each one whole, and a copy that already holds the same bytes is left
// alone. The folder is only written when it is a real folder or absent: a link of that name, or a file, is left as
// it is and nothing is copied. When that folder is the program's print folder itself (a document printed into the program's folder),
// nothing is copied: its files are already there, and copying a file onto itself would destroy it.
class PrintWriter {
public:
    static constexpr const char* FileName = "Print.html";
    // The document refers to print/style.css and print/<icon>.png, so the copies go to a folder of that name.
    static constexpr const char* FolderName = "print";
    // The largest file of the print folder that is copied; its style sheet and icons are far smaller.
    static constexpr qint64 MaxCopySize = 16 * 1024 * 1024;

    struct Result {
        bool written = false;
        QString path;          // the document, when written
        QString error;         // why the document could not be written
        QStringList notCopied; // files of the print folder that could not be copied (the document still shows)
        QString copyError;     // why the first of them could not be copied
        bool opened = false;
    };

    // `targetFolder`: where the document goes; `printFolder`: the print folder beside the program; `fileName`:
    // the document's name (Print.html for the editor, the user's choice for the command-line tool).
    PrintWriter(const QString& targetFolder, QString printFolder,
                const QString& fileName = QString::fromLatin1(FileName));
    // The same with the document's folder and name as the operating system names them.
    PrintWriter(NativePath targetFolder, QString printFolder, NativePath fileName);

    // Writes the document and copies the print folder. When the document cannot be created nothing is written
    // and nothing is copied.
    Result write(const std::string& html) const;
    // write(), then `open` on the document's path only when it was written. `open` returns whether the document
    // could be handed to a program (QDesktopServices::openUrl in the editor, a recorder in tests).
    Result writeAndOpen(const std::string& html, const std::function<bool(const QString&)>& open) const;

private:
    // Copies the print folder's files beside the document; the names of those that could not be copied, and in
    // `error` why the first could not.
    QStringList copyPrintFolder(QString* error) const;

    NativePath targetFolder_;
    QString printFolder_;
    NativePath fileName_;
};

} // namespace tolvane
