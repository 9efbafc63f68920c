// tolvane-cli print with the whole configuration: as HTML with --all and as a PDF, on a small project with one of
// everything, read back with the catalog texts of the language printed in. The PDF's text is extracted with
// pdftotext (poppler-utils, installed by scripts/install-deps).

#include "CliRunner.h"
#include "OneOfEverything.h"
#include "PdfText.h"
#include "TestFiles.h"
#include "platform/Languages.h"
#include "project/ProjectFile.h"
#include "project/TextFormat.h"
#include "report/PrintDocument.h"
#include "report/WiringText.h"
#include "ringing/Wiring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

using testing_support::CliRun;
using testing_support::OneOfEverything;
using testing_support::readFile;
using testing_support::runCli;
using testing_support::writeFile;

std::string text(const fs::path& file) {
    const auto bytes = readFile(file);
    return {bytes.begin(), bytes.end()};
}

// The first line of `all` that holds `what` (at its start, after the indentation, when `atStart`); empty when
// none does.
std::string lineWith(const std::string& all, const std::string& what, bool atStart = false) {
    std::istringstream lines(all);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find(what);
        if (at != std::string::npos && (!atStart || line.find_first_not_of(' ') == at)) {
            return line;
        }
    }
    return {};
}

class PrintCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tolvane-print-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        ProjectData project;
        OneOfEverything::fill(project);
        writeFile(dir / "tower.tpm", projectfile::store(project));
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string quoted(const std::string& name) const { return "'" + (dir / name).string() + "'"; }
    CliRun print(const std::string& output, const std::string& options, const std::string& before = {}) const {
        return runCli("print " + quoted("tower.tpm") + " " + quoted(output) + " " + options, true, before);
    }

    // The catalog of a language as the tool reads it.
    static Languages catalog(const char* language) {
        Languages texts(QString::fromStdString((testing_support::stageFolder() / "1.41" / "Language").string()));
        EXPECT_TRUE(texts.setLanguage(QString::fromLatin1(language)).ok);
        return texts;
    }

    // What every printout of the whole configuration holds, as the reader sees it (not yet escaped): each section's
    // heading and a value set in it.
    static std::vector<std::string> expectedTexts(const Languages& t) {
        std::vector<std::string> texts;
        for (int heading : {878, 177, 599, 178, 176, 825, 179, 577}) {
            texts.push_back(t.text(heading));
        }
        texts.push_back(formatText(t.text(wiring::LocationTitleText), {std::string(OneOfEverything::Location)}));
        texts.push_back(OneOfEverything::HolidayName);
        texts.push_back(t.text(883) + " 1_3__"); // the bell step of the sequence: bells A, bells 1 and 3
        texts.push_back(OneOfEverything::ChimeName);
        return texts;
    }

    fs::path dir;
};

TEST_F(PrintCli, AllAddsEverySectionToTheProgramsAndNeverTheCodes) {
    const Languages english = catalog("English");
    ASSERT_EQ(print("programs.html", "--lang English").exitCode, 0);
    const CliRun r = print("all.html", "--all --lang English");
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, (dir / "all.html").string() + "\n");
    const std::string programs = text(dir / "programs.html");
    const std::string all = text(dir / "all.html");
    const std::string tail = "</body></html>";
    EXPECT_EQ(all.substr(0, programs.size() - tail.size()), programs.substr(0, programs.size() - tail.size()))
        << "the programs print as without --all";
    for (const std::string& expected : expectedTexts(english)) {
        SCOPED_TRACE(expected);
        EXPECT_NE(all.find(PrintDocument::escape(expected)), std::string::npos);
        if (expected == OneOfEverything::HolidayName) {
            EXPECT_EQ(all.find(expected), std::string::npos) << "escaped, never as markup";
        }
    }
    const std::string pk3 = "<td>PK3</td><td>" + PrintDocument::escape(english.text(wiring::HammerText)) + "</td><td>" +
                            PrintDocument::escape(labelText({534, 1}, english)) + "</td>";
    EXPECT_NE(all.find(pk3), std::string::npos);
    for (int code : {OneOfEverything::UserCode, OneOfEverything::ServiceCode}) {
        EXPECT_EQ(all.find(GeneralSettings::codeText(code)), std::string::npos) << code;
    }
    EXPECT_TRUE(fs::exists(dir / "print" / "style.css"));
}

// The PDF needs no display: the tool lays it out on the offscreen platform even when the environment names a
// display that is not there.
TEST_F(PrintCli, APdfHoldsTheWholeConfigurationAsTextInTheChosenLanguage) {
    for (const char* language : {"English", "Polski"}) {
        SCOPED_TRACE(language);
        const std::string name = std::string("tower-") + language + ".pdf";
        const CliRun r = print(name, std::string("--lang ") + language, "DISPLAY=:99 QT_QPA_PLATFORM=xcb");
        ASSERT_EQ(r.exitCode, 0) << r.out;
        EXPECT_EQ(r.out, (dir / name).string() + "\n") << "nothing else on the output, no warnings";
        EXPECT_EQ(text(dir / name).substr(0, 5), "%PDF-");
        EXPECT_FALSE(fs::exists(dir / "print")) << "a PDF carries its icons: nothing is copied beside it";
        if (!testing_support::hasPdfTools()) {
            GTEST_SKIP() << testing_support::NoPdfTools;
        }
        const Languages t = catalog(language);
        const std::string content = testing_support::pdfText(dir / name);
        for (const std::string& expected : expectedTexts(t)) {
            SCOPED_TRACE(expected);
            EXPECT_NE(content.find(expected), std::string::npos);
        }
        const std::string pk3 = lineWith(content, "PK3 ", true); // the wiring table's row
        EXPECT_NE(pk3.find(t.text(wiring::HammerText)), std::string::npos) << pk3;
        EXPECT_NE(pk3.find(labelText({534, 1}, t)), std::string::npos) << pk3;
        for (int code : {OneOfEverything::UserCode, OneOfEverything::ServiceCode}) {
            EXPECT_EQ(content.find(GeneralSettings::codeText(code)), std::string::npos) << code;
        }
        // The footer of the first page: the tower, the project file and the page number of all pages.
        const auto pages = static_cast<long long>(std::count(content.begin(), content.end(), '\f'));
        EXPECT_GT(pages, 1);
        const std::string footer = lineWith(content, "tower.tpm");
        EXPECT_NE(footer.find(OneOfEverything::Location), std::string::npos) << footer;
        EXPECT_NE(footer.find(formatText(t.text(2359), {1LL, pages})), std::string::npos) << footer;
    }
}

TEST_F(PrintCli, APdfIsWrittenWholeOrNotAtAll) {
    writeFile(dir / "old.pdf", std::string_view("old"));
    EXPECT_EQ(print("old.pdf", "").exitCode, 2) << "an existing file takes --force";
    EXPECT_EQ(text(dir / "old.pdf"), "old");
    EXPECT_EQ(print("missing/new.pdf", "").exitCode, 2);
    EXPECT_FALSE(fs::exists(dir / "missing"));
    const CliRun forced = print("old.pdf", "--force --details");
    EXPECT_EQ(forced.exitCode, 0) << forced.out;
    EXPECT_EQ(text(dir / "old.pdf").substr(0, 5), "%PDF-");
}

} // namespace
} // namespace tolvane
