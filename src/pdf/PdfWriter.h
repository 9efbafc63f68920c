#pragma once

#include "platform/NativeFile.h"

#include <QDate>
#include <QString>

#include <string>

namespace tolvane {

// Writes the printed document (the HTML of PrintDocument) as a PDF file: A4 portrait pages laid out by Qt's text
// engine, the text as real text (searchable and copyable, fonts embedded, no ligatures), the icons and the style
// sheet of the print folder, and on every page a footer with the project's name and date on the left and the page
// number on the right. The document is laid out once in one long column and cut into pages where a reader wants
// them (see paginate). The file is written whole or not at all.
//
// Needs a QGuiApplication (fonts); the offscreen platform is enough, so this works on a machine without a display.
class PdfWriter {
public:
    struct Footer {
        QString text;       // the left part: the project's name and the date (see footerText)
        QString pageFormat; // a catalog text with two numbers: the page and the number of pages
    };

    struct Result {
        bool written = false;
        QString error; // why the file could not be made or written
        int pages = 0;
    };

    // `resourceFolder`: the folder that holds the print folder, against which the document's print/style.css and
    // print/<icon>.png are found (the program's own folder).
    explicit PdfWriter(QString resourceFolder);

    Result write(const std::string& html, const NativePath& target, const Footer& footer,
                 const QString& title = {}) const;
    Result write(const std::string& html, const QString& target, const Footer& footer, const QString& title = {}) const;

    // "<location> – <project file> – <date>", leaving out what is empty; the date as YYYY-MM-DD, which reads the
    // same in every language.
    static QString footerText(const QString& location, const QString& projectFile, const QDate& date);

    // Page size and margins, in millimetres.
    static constexpr double MarginMm = 15.0;
    static constexpr double FooterMm = 8.0;

private:
    QString resourceFolder_;
};

} // namespace tolvane
