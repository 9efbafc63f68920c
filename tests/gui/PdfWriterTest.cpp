// The PDF writer on its own: A4 pages of real text with the footer on each, written whole or not at all. Runs
// under the GUI tests' application (offscreen), which the writer needs for its fonts.

#include "pdf/PdfWriter.h"
#include "PdfText.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

const PdfWriter::Footer Footer{QStringLiteral("St. Mary's \u2013 tower.tpm \u2013 2025-06-01"),
                               QStringLiteral("Page %d of %d")};

std::string html(int paragraphs) {
    std::string body = "<html><body><h1>Zaż&oacute;łć gęślą jaźń &lt;b&gt;</h1><p>The first official fifth</p>";
    for (int i = 1; i <= paragraphs; ++i) {
        body += "<p>Line " + std::to_string(i) + "</p>";
    }
    return body + "</body></html>";
}

std::string fileText(const fs::path& file) {
    const auto bytes = testing_support::readFile(file);
    return {bytes.begin(), bytes.end()};
}

TEST(PdfWriter, WritesA4PagesOfTextWithTheFooterOnEach) {
    QTemporaryDir dir;
    const fs::path target = fs::path(dir.path().toStdString()) / "record.pdf";
    struct Case {
        int paragraphs;
        bool severalPages;
    };
    for (const Case c : {Case{1, false}, Case{300, true}}) {
        SCOPED_TRACE(c.paragraphs);
        const PdfWriter::Result result =
            PdfWriter(dir.path()).write(html(c.paragraphs), QString::fromStdString(target.string()), Footer, "Tower");
        ASSERT_TRUE(result.written) << result.error.toStdString();
        EXPECT_EQ(result.pages > 1, c.severalPages);
        EXPECT_EQ(fileText(target).substr(0, 5), "%PDF-");
        if (!testing_support::hasPdfTools()) {
            GTEST_SKIP() << testing_support::NoPdfTools;
        }
        const std::string info = testing_support::pdfInfo(target);
        EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
        EXPECT_NE(info.find("Pages:           " + std::to_string(result.pages) + "\n"), std::string::npos) << info;
        EXPECT_NE(info.find("Title:           Tower\n"), std::string::npos) << info;
        const std::string text = testing_support::pdfText(target);
        EXPECT_NE(text.find("Zażółć gęślą jaźń <b>"), std::string::npos) << "real text, not a picture of it";
        EXPECT_NE(text.find("The first official fifth"), std::string::npos) << "letters, no ligatures";
        EXPECT_NE(text.find("Line " + std::to_string(c.paragraphs)), std::string::npos) << "nothing is lost";
        EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), '\f')), result.pages);
        for (int page = 1; page <= result.pages; ++page) {
            EXPECT_NE(text.find("Page " + std::to_string(page) + " of " + std::to_string(result.pages)),
                      std::string::npos)
                << page;
        }
        std::size_t footers = 0;
        for (std::size_t at = text.find("St. Mary's"); at != std::string::npos; at = text.find("St. Mary's", at + 1)) {
            ++footers;
        }
        EXPECT_EQ(footers, static_cast<std::size_t>(result.pages));
    }
}

// A table whose columns cannot shrink below their longest words to the page's width (the weekly list has nine
// columns) is drawn smaller, never cut off at the page's edge: every word of it lies inside the right margin.
TEST(PdfWriter, ATableWiderThanThePageIsDrawnSmallerNotCutOff) {
    if (!testing_support::hasPdfTools()) {
        GTEST_SKIP() << testing_support::NoPdfTools;
    }
    QTemporaryDir dir;
    const fs::path target = fs::path(dir.path().toStdString()) / "wide.pdf";
    std::string table = "<html><body><h1>Weekly</h1><table border=1><tr>";
    for (int c = 1; c <= 12; ++c) {
        table += "<td>Column" + std::to_string(c) + "Unbreakable</td>";
    }
    table += "<td>LastColumn</td></tr></table></body></html>";
    const PdfWriter::Result result =
        PdfWriter(dir.path()).write(table, QString::fromStdString(target.string()), Footer);
    ASSERT_TRUE(result.written) << result.error.toStdString();

    // pdftotext -bbox lists each word with its box in points; an A4 page is 595.28 points wide.
    const std::string boxes = testing_support::runOnPdf("pdftotext -bbox", target, "-");
    const double rightMargin = 595.28 - PdfWriter::MarginMm / 25.4 * 72.0;
    int words = 0;
    bool lastSeen = false;
    for (std::size_t at = boxes.find("<word "); at != std::string::npos; at = boxes.find("<word ", at + 1)) {
        const std::size_t xMax = boxes.find("xMax=\"", at);
        ASSERT_NE(xMax, std::string::npos);
        const double right = std::stod(boxes.substr(xMax + 6));
        const std::size_t open = boxes.find('>', at);
        const std::string word = boxes.substr(open + 1, boxes.find('<', open) - open - 1);
        lastSeen = lastSeen || word == "LastColumn";
        EXPECT_LE(right, rightMargin + 0.5) << word;
        ++words;
    }
    EXPECT_TRUE(lastSeen) << "the last column is on the page";
    EXPECT_GE(words, 14);
}

TEST(PdfWriter, AFileThatCannotBeWrittenIsReportedAndWhatWasThereStays) {
    QTemporaryDir dir;
    const fs::path folder = fs::path(dir.path().toStdString()) / "taken.pdf";
    fs::create_directories(folder / "inside");
    const PdfWriter::Result intoFolder =
        PdfWriter(dir.path()).write(html(1), QString::fromStdString(folder.string()), Footer);
    EXPECT_FALSE(intoFolder.written);
    EXPECT_FALSE(intoFolder.error.isEmpty());
    EXPECT_TRUE(fs::is_directory(folder / "inside"));

    const fs::path missing = fs::path(dir.path().toStdString()) / "missing" / "record.pdf";
    EXPECT_FALSE(PdfWriter(dir.path()).write(html(1), QString::fromStdString(missing.string()), Footer).written);
    EXPECT_FALSE(fs::exists(missing.parent_path()));
}

TEST(PdfWriter, TheFooterLeavesOutWhatIsNotKnown) {
    const QDate date(2025, 6, 1);
    struct Case {
        const char* location;
        const char* file;
        const char* footer;
    };
    const Case cases[] = {{"St. Mary's", "tower.tpm", "St. Mary's \u2013 tower.tpm \u2013 2025-06-01"},
                          {"", "tower.tpm", "tower.tpm \u2013 2025-06-01"},
                          {"St. Mary's", "", "St. Mary's \u2013 2025-06-01"},
                          {"", "", "2025-06-01"}};
    for (const Case& c : cases) {
        EXPECT_EQ(PdfWriter::footerText(QString::fromUtf8(c.location), QString::fromUtf8(c.file), date),
                  QString::fromUtf8(c.footer));
    }
}

} // namespace
} // namespace tolvane
