#include "report/PrintDocument.h"

#include "FullProject.h"
#include "project/ProjectData.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvane {
namespace {

class Texts final : public TextSource {
public:
    std::string text(int id) const override { return "T" + std::to_string(id); }
};

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) {
        ++n;
    }
    return n;
}

// The part of the document from the heading of one section to the next heading (or the end of the body).
std::string section(const std::string& html, int heading) {
    const std::string start = "<h1>T" + std::to_string(heading) + "</h1><br>";
    const std::size_t from = html.find(start);
    if (from == std::string::npos) {
        return {};
    }
    std::size_t to = html.find("<h1>", from + start.size());
    if (to == std::string::npos) {
        to = html.find("</body>");
    }
    return html.substr(from, to - from);
}

TEST(PrintDocument, DocumentFrameDeclaresUtf8AndSectionsComeInPrintOrder) {
    const ProjectData project;
    const Texts texts;
    for (PrintFormat format : {PrintFormat::List, PrintFormat::Details}) {
        const std::string html = PrintDocument::html(project, texts, format);
        EXPECT_EQ(html, "<html><head>"
                        "<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\" />"
                        "<title>Tolvane PC - Print</title>"
                        "<link href=\"print/style.css\" rel=\"stylesheet\" type=\"text/css\" />"
                        "</head><body>"
                        "<h1>T175</h1><br>T109<br><br>"
                        "<h1>T181</h1><br>T109<br><br>"
                        "<h1>T180</h1><br>T109<br><br>"
                        "<h1>T182</h1><br>T109<br><br>" +
                            section(html, 183) + "</body></html>");
        EXPECT_EQ(count(section(html, 183), "<td ></td></tr>"), format == PrintFormat::List ? 8u : 0u);
    }
}

TEST(PrintDocument, EmptyWeeklyProgramPrintsItsHeadingAndText109) {
    ProjectData project;
    project.program(Annual).addItem();
    const std::string html = PrintDocument::html(project, Texts(), PrintFormat::List);
    EXPECT_EQ(section(html, 175), "<h1>T175</h1><br>T109<br><br>");
    EXPECT_NE(section(html, 181).find("<table id=\"tabela\">"), std::string::npos);
}

TEST(PrintDocument, ListRowsAndHeaderOfAWeeklyEntry) {
    ProjectData project;
    project.program(Weekly).addItem();
    const std::string html = PrintDocument::html(project, Texts(), PrintFormat::List);
    EXPECT_EQ(section(html, 175),
              "<h1>T175</h1><br><table id=\"tabela\"><tr align=\"center\">"
              "<td width=\"200\"><b>T213</b></td><td width=\"60\"><b>T508</b></td><td width=\"80\"><b>T231</b></td>"
              "<td width=\"85\"><b>T233</b></td><td width=\"85\"><b>T234</b></td><td width=\"80\"><b>T236</b></td>"
              "<td width=\"70\"><b>T237</b></td><td width=\"90\"><b>T239</b></td><td width=\"80\"><b>T238</b></td>"
              "</tr>"
              "<tr><td><img src=\"print/1.png\" border=0> T242</td><td>1</td><td align=\"center\">12:00:00</td>"
              "<td align=\"center\">01.01</td><td align=\"center\">31.12</td><td align=\"center\">T258______</td>"
              "<td align=\"center\">5</td><td align=\"center\">T266</td><td>1____</td></tr>"
              "</table><br>");
}

TEST(PrintDocument, ListCellsOfEachKind) {
    ProjectData project;
    const Texts texts;
    const int h = project.holidays().addHoliday(texts);
    project.holidays().setName(h, "Wigilia");
    ScheduleProgram& holidayDay = project.program(HolidayDay);
    holidayDay.setHolidayIndex(holidayDay.addItem(), static_cast<std::uint8_t>(h));
    ScheduleProgram& oneTime = project.program(OneTime);
    const int o = oneTime.addItem();
    oneTime.setYear(o, 27);
    oneTime.setStartDate(o, 9, 4);
    oneTime.setAction(o, ProgramEntry::ActionMelody);
    oneTime.setMelodyNumber(o, 12);

    const std::string html = PrintDocument::html(project, texts, PrintFormat::List);
    const std::string holidays = section(html, 180);
    EXPECT_NE(holidays.find("<td width=\"85\"><b>T232</b></td><td width=\"80\"><b>T236</b></td>"), std::string::npos);
    EXPECT_NE(holidays.find("<td align=\"center\">12:00:00</td><td >Wigilia</td><td align=\"center\">T258______</td>"
                            "<td align=\"center\">6</td>"),
              std::string::npos);
    const std::string once = section(html, 182);
    EXPECT_NE(once.find("<td width=\"85\"><b>T235</b></td><td width=\"70\"><b>T237</b></td>"), std::string::npos);
    EXPECT_NE(once.find("<tr><td><img src=\"print/3.png\" border=0> T243</td><td>2</td>"
                        "<td align=\"center\">12:00:00</td><td align=\"center\">09.04.2027</td>"
                        "<td align=\"center\">5</td><td align=\"center\">T266</td><td>12</td></tr>"),
              std::string::npos);
}

TEST(PrintDocument, FuneralSectionNumbersItsRowsOneToEight) {
    ProjectData project;
    ScheduleProgram& funeral = project.program(Funeral);
    funeral.setTimeOn(2, 2, true); // times 1 and 2 on
    funeral.setStartMode(5, FuneralStartMode::BeforeAngelus);
    const std::string html = PrintDocument::html(project, Texts(), PrintFormat::List);
    const std::string rows = section(html, 183);
    EXPECT_NE(rows.find("<tr align=\"center\"><td width=\"200\"><b>T213</b></td><td width=\"60\"><b>T508</b></td>"
                        "<td width=\"80\"><b>T231</b></td><td width=\"80\"><b>T238</b></td></tr>"),
              std::string::npos);
    EXPECT_EQ(count(rows, "<tr><td><img src=\"print/13.png\" border=0> T241</td>"), 8u);
    std::size_t at = 0;
    for (int row = 1; row <= 8; ++row) {
        SCOPED_TRACE(row);
        std::string time = "12:00:00";
        if (row == 3) {
            time = "Godzina (2)";
        } else if (row == 6) {
            time = "T551";
        }
        const std::string expected =
            "<td>" + std::to_string(row) + "</td><td align=\"center\">" + time + "</td><td ></td></tr>";
        at = rows.find(expected, at);
        ASSERT_NE(at, std::string::npos);
    }
}

TEST(PrintDocument, DetailBlockOfAWeeklyBellEntry) {
    ProjectData project;
    project.program(Weekly).addItem();
    const std::string html = PrintDocument::html(project, Texts(), PrintFormat::Details);
    EXPECT_EQ(section(html, 175), "<h1>T175</h1><br>"
                                  "<table border=0><tr><td width=\"600\"><table border=0><tr>"
                                  "<td width=\"200\">T508:</td><td><b>1</b></td></tr>"
                                  "<tr><td>T213:</td><td><b><img src=\"print/1.png\" border=0> T242</b></td></tr>"
                                  "<tr><td>T231:</td><td><b>12:00:00</b></td></tr>"
                                  "<tr><td>T233</td><td><b>01.01</b></td></tr>"
                                  "<tr><td>T234</td><td><b>31.12</b></td></tr>"
                                  "<tr><td>T237</td><td><b>5</b></td></tr>"
                                  "<tr><td>T236</td><td><b>T258______</b></td></tr>"
                                  "<tr><td>T239</td><td><b></b></td></tr>"
                                  "<tr><td></td><td><b>T267</b></td></tr>"
                                  "<tr><td></td><td><b>T268</b></td></tr>"
                                  "<tr><td></td><td><b>T561</b></td></tr>"
                                  "<tr><td></td><td><b>T562</b></td></tr>"
                                  "<tr><td></td><td><b>T678</b></td></tr>"
                                  "<tr><td></td><td><b>T679</b></td></tr>"
                                  "<tr><td>T560</td><td><b>-</b></td></tr>"
                                  "</table></td><td><table border=0>"
                                  "<tr><td width=\"200\">T281:</td><td><b>03:00 T208</b><br><br></td></tr>"
                                  "<tr><td>T226 1:</td><td><b>00:00 - 00:00 T208</b></td></tr>"
                                  "</table></td></tr></table><hr><br>");
}

TEST(PrintDocument, DetailValuesOfEachAction) {
    ProjectData project;
    ScheduleProgram& annual = project.program(Annual);
    const int bells = annual.addItem();
    annual.setRingingTime(bells, 125);
    annual.setBellDelay(bells, 0, ProgramEntry::BellNotRung);
    annual.setBellDelay(bells, 3, 61);
    annual.setBellSecondTime(bells, 3, 3599);
    annual.setSummer(bells, false);
    annual.setAngelus(bells, true);
    const int melody = annual.addItem();
    annual.setAction(melody, ProgramEntry::ActionMelody);
    annual.setMelodyNumber(melody, 1000);
    annual.setRepetitions(melody, 9);
    const int sequence = annual.addItem();
    annual.setAction(sequence, ProgramEntry::ActionSequence);
    annual.setSequenceIndex(sequence, 41);
    const int silence = annual.addItem();
    annual.setAction(silence, ProgramEntry::ActionSilence);
    annual.setSilenceDuration(silence, 2 * 86400 + 3 * 3600 + 4 * 60);
    annual.setSilenceTargets(silence, false, true);
    const int output = annual.addItem();
    annual.setAction(output, ProgramEntry::ActionOutputUp);

    const std::string html = section(PrintDocument::html(project, Texts(), PrintFormat::Details), 181);
    const std::string blocks[] = {
        "<tr><td>T235</td><td><b>01.01</b></td></tr><tr><td>T237</td><td><b>5</b></td></tr>"
        "<tr><td>T239</td><td><b></b></td></tr><tr><td></td><td><b>T268</b></td></tr>"
        "<tr><td>T560</td><td><b>+</b></td></tr></table></td><td><table border=0>"
        "<tr><td width=\"200\">T281:</td><td><b>02:05 T208</b><br><br></td></tr>"
        "<tr><td>T226 4:</td><td><b>01:01 - 59:59 T208</b></td></tr></table>",
        "<tr><td width=\"200\">T223:</td><td><b>1000</b></td></tr><tr><td>T224:</td><td><b>9</b></td></tr></table>",
        "<tr><td width=\"200\">T554:</td><td><b>T554 42</b></td></tr></table>",
        "<tr><td width=\"200\">T222:</td><td><b>02 - 03:04 T209</b></td></tr>"
        "<tr><td></td><td><b>T504</b></td></tr></table>",
        "<img src=\"print/5.png\" border=0> T555</b></td></tr>",
        "</table></td><td><table border=0></table></td></tr></table><hr><br>",
    };
    std::size_t at = 0;
    for (const std::string& block : blocks) {
        SCOPED_TRACE(block);
        at = html.find(block, at);
        ASSERT_NE(at, std::string::npos);
    }
    EXPECT_EQ(html.find("T503"), std::string::npos); // the silence is for gongs only
    EXPECT_EQ(count(html, "<hr><br>"), 5u);
}

TEST(PrintDocument, FuneralDetailShowsRowNumberTimesAndDays) {
    ProjectData project;
    ScheduleProgram& funeral = project.program(Funeral);
    funeral.setTimeOn(0, 3, true);
    funeral.setTime3(0, 18, 30, 0);
    funeral.setDays(0, 7);
    funeral.setStartMode(1, FuneralStartMode::AfterAngelus);
    const std::string html = section(PrintDocument::html(project, Texts(), PrintFormat::Details), 183);
    EXPECT_EQ(count(html, "<hr><br>"), 8u);
    EXPECT_NE(html.find("<td width=\"200\">T508:</td><td><b>1</b></td></tr>"
                        "<tr><td>T213:</td><td><b><img src=\"print/13.png\" border=0> T241</b></td></tr>"
                        "<tr><td>T231:</td><td><b>Godzina (2)</b></td></tr>"
                        "<tr><td>T566</td><td><b>12:00:00, 18:30:00</b></td></tr>"
                        "<tr><td>T227</td><td><b>7</b></td></tr>"
                        "<tr><td>T560</td><td><b>-</b></td></tr></table>"),
              std::string::npos);
    EXPECT_NE(html.find("<td width=\"200\">T508:</td><td><b>2</b></td></tr>"), std::string::npos);
    EXPECT_NE(html.find("<tr><td>T231:</td><td><b>T552</b></td></tr><tr><td>T566</td><td><b>T552</b></td></tr>"),
              std::string::npos);
    EXPECT_NE(html.find("<td width=\"200\">T508:</td><td><b>8</b></td></tr>"), std::string::npos);
    EXPECT_EQ(html.find("T237"), std::string::npos); // no priority row
    EXPECT_EQ(html.find("T239"), std::string::npos); // no season rows
}

TEST(PrintDocument, TextsFromTheProjectAndTheCatalogAreEscaped) {
    class Hostile final : public TextSource {
    public:
        std::string text(int id) const override { return id == 180 ? "<script>'x'</script>" : "T"; }
    };
    ProjectData project;
    const Texts texts;
    const int h = project.holidays().addHoliday(texts);
    project.holidays().setName(h, "<b>&");
    ScheduleProgram& holidayDay = project.program(HolidayDay);
    holidayDay.setHolidayIndex(holidayDay.addItem(), static_cast<std::uint8_t>(h));

    for (PrintFormat format : {PrintFormat::List, PrintFormat::Details}) {
        const std::string html = PrintDocument::html(project, Hostile(), format);
        EXPECT_NE(html.find("&lt;b&gt;&amp;"), std::string::npos);
        EXPECT_EQ(html.find("<b>&<"), std::string::npos); // the name itself, followed by the closing tag
        EXPECT_NE(html.find("<h1>&lt;script&gt;&#39;x&#39;&lt;/script&gt;</h1>"), std::string::npos);
        EXPECT_EQ(html.find("<script>"), std::string::npos);
    }
    EXPECT_EQ(PrintDocument::escape("a&b<c>d\"e'f Zażółć"), "a&amp;b&lt;c&gt;d&quot;e&#39;f Zażółć");
}

TEST(PrintDocument, AFullProjectPrintsEveryEntryInBothFormats) {
    ProjectData project;
    testing_support::fillProject(project);
    const Texts texts;
    const std::string list = PrintDocument::html(project, texts, PrintFormat::List);
    const std::string details = PrintDocument::html(project, texts, PrintFormat::Details);

    // One row per entry plus a header row per section; one block per entry.
    EXPECT_EQ(count(list, "<tr><td><img src=\"print/"), 4u * 128u + 8u);
    EXPECT_EQ(count(list, "<tr align=\"center\">"), 5u);
    EXPECT_EQ(count(details, "<hr><br>"), 4u * 128u + 8u);
    EXPECT_EQ(count(list, "T109"), 0u);
    for (const std::string* html : {&list, &details}) {
        EXPECT_EQ(count(*html, "<table"), count(*html, "</table>"));
        EXPECT_EQ(count(*html, "<tr"), count(*html, "</tr>"));
        EXPECT_EQ(count(*html, "<td"), count(*html, "</td>"));
        EXPECT_EQ(html->substr(html->size() - 14), "</body></html>");
    }
    // Holiday-day entries name their holidays.
    EXPECT_NE(section(list, 180).find("<td >" + project.holidays().name(127) + "</td>"), std::string::npos);
}

} // namespace
} // namespace tolvane
