#include "report/ConfigurationDocument.h"

#include "device/DeviceValues.h"
#include "project/ProjectData.h"
#include "project/SequenceName.h"
#include "project/TextFormat.h"
#include "report/ConfigurationSink.h"
#include "report/PrintDocument.h"
#include "report/WiringText.h"
#include "ringing/EquipmentEditing.h"
#include "ringing/StrikingEditing.h"
#include "ringing/Wiring.h"
#include "settings/AstroPlaces.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace tolvane {

namespace {

// Catalog numbers of the labels and values: the texts the pages show for the same settings.
constexpr int NoneText = 109;
constexpr int OnText = 389;
constexpr int OffText = 518;
constexpr int NotChosenText = 567;
constexpr int SecondsUnit = 210;
constexpr int MinutesSecondsUnit = 208;
constexpr int HoursMinutesUnit = 207;
constexpr int HoursUnit = 367;
constexpr int MinutesUnit = 831;
constexpr int NumberLabel = 827;
constexpr int NameLabel = 826;

// The sections' headings.
constexpr int SpecialTollingHeading = 878;
constexpr int HolidaysHeading = 177;
constexpr int SequencesHeading = 599;
constexpr int StrikingHeading = 178;
constexpr int SettingsHeading = 176;
constexpr int ChimesHeading = 825;
constexpr int CorrectionsHeading = 179;
constexpr int UserHeading = 577;

std::string tenthsText(long long tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(std::abs(tenths % 10));
}

// A signed number as the sign buttons of the pages show it: "+3", "-3", "0".
std::string signedText(long long value) {
    return value > 0 ? "+" + std::to_string(value) : std::to_string(value);
}

std::string clockText(int hour, int minute) {
    return formatText("%.2d:%.2d", {TextArg{static_cast<long long>(hour)}, TextArg{static_cast<long long>(minute)}});
}

std::string clockText(int hour, int minute, int second) {
    return formatText("%.2d:%.2d:%.2d", {TextArg{static_cast<long long>(hour)}, TextArg{static_cast<long long>(minute)},
                                         TextArg{static_cast<long long>(second)}});
}

// Degrees and minutes with the hemisphere letter, as on a map: "50°04' N".
std::string coordinateText(int degrees, int minutes, bool negative, const char* positive, const char* other) {
    return std::to_string(degrees) + "\u00b0" + formatText("%.2d", {TextArg{static_cast<long long>(minutes)}}) + "' " +
           (negative ? other : positive);
}

using Row = ConfigurationSink::Row;
using GridRecords = ConfigurationSink::GridRecords;

// The printed record's markup. Every text is escaped on its way into it.
class HtmlSink final : public ConfigurationSink {
public:
    void heading(const std::string& text, IssuePage) override { out_ += "<h1>" + esc(text) + "</h1><br>"; }
    void subheading(const std::string& text, IssueRecord, int) override { out_ += "<h2>" + esc(text) + "</h2>"; }
    void minorHeading(const std::string& text, IssueRecord, int) override { out_ += "<h3>" + esc(text) + "</h3>"; }
    // A text on its own, as the programs print text 109 for an empty program.
    void paragraph(const std::string& text) override { out_ += esc(text) + "<br><br>"; }

    // A table of labelled values: the label in the first column, the value in bold beside it.
    void beginValues() override { out_ += "<table class=\"values\" border=0>"; }
    void value(const std::string& labelText, const std::string& valueText) override {
        out_ += "<tr><td width=\"260\">" + esc(labelText) + ":</td><td><b>" + esc(valueText) + "</b></td></tr>";
    }
    void endValues() override { out_ += "</table>"; }

    // A table with a row of column heads, which a long table repeats on every printed page.
    void grid(const Row& head, const std::vector<Row>& rows, const GridRecords&) override {
        out_ += "<table class=\"grid\"><thead><tr>";
        for (const std::string& h : head) {
            out_ += "<th>" + esc(h) + "</th>";
        }
        out_ += "</tr></thead>";
        for (const Row& row : rows) {
            out_ += "<tr>";
            for (const std::string& cell : row) {
                out_ += "<td>" + esc(cell) + "</td>";
            }
            out_ += "</tr>";
        }
        out_ += "</table><br>";
    }

    std::string take() { return std::move(out_); }

private:
    static std::string esc(const std::string& s) { return PrintDocument::escape(s); }
    std::string out_;
};

std::vector<int> countingFrom0(int count) {
    std::vector<int> records(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        records[static_cast<std::size_t>(i)] = i;
    }
    return records;
}

// Describes the parts of the configuration into a sink.
class Writer {
public:
    Writer(const ProjectData& project, const TextSource& texts, ConfigurationSink& sink)
        : project_(project), texts_(texts), sink_(sink) {}

    void part(ConfigurationPart part) {
        switch (part) {
        case ConfigurationPart::SpecialTolling:
            return specialTolling();
        case ConfigurationPart::Holidays:
            return holidays();
        case ConfigurationPart::Sequences:
            return sequences();
        case ConfigurationPart::Striking:
            return striking();
        case ConfigurationPart::Settings:
            return controllerSettings();
        case ConfigurationPart::Wiring:
            return wiringTable();
        case ConfigurationPart::Chimes:
            return chimes();
        case ConfigurationPart::TimeCorrections:
            return timeCorrections();
        case ConfigurationPart::UserSettings:
            return userSettings();
        }
    }

private:
    std::string t(int id) const { return texts_.text(id); }
    std::string t(int id, std::initializer_list<TextArg> args) const { return formatText(texts_.text(id), args); }
    std::string label(const LabelText& l) const { return labelText(l, texts_); }
    std::string onOff(bool on) const { return t(on ? OnText : OffText); }
    std::string withUnit(const std::string& value, int unit) const { return value + " " + t(unit); }
    std::string relay(std::uint8_t r) const { return label(OutputMap::relayText(r)); }

    void heading(const std::string& text, IssuePage page) { sink_.heading(text, page); }
    void subheading(const std::string& text, IssueRecord kind = IssueRecord::None, int record = -1) {
        sink_.subheading(text, kind, record);
    }
    void minorHeading(const std::string& text, IssueRecord kind, int record) { sink_.minorHeading(text, kind, record); }
    void paragraph(const std::string& text) { sink_.paragraph(text); }
    void beginValues() { sink_.beginValues(); }
    void value(const std::string& labelText, const std::string& valueText) { sink_.value(labelText, valueText); }
    void endValues() { sink_.endValues(); }
    void grid(const Row& head, const std::vector<Row>& rows, const GridRecords& records = {}) {
        sink_.grid(head, rows, records);
    }

    std::string sequenceText(int index) const {
        return project_.sequences().isUsed(index) ? sequenceName(index, texts_) : t(NotChosenText);
    }

    void specialTolling();
    void holidays();
    void sequences();
    std::string stepText(int sequence, int step) const;
    void striking();
    void controllerSettings();
    void bells();
    void hammers();
    void clocks();
    void wiringTable();
    void chimes();
    void timeCorrections();
    void userSettings();

    const ProjectData& project_;
    const TextSource& texts_;
    ConfigurationSink& sink_;
};

void Writer::specialTolling() {
    heading(t(SpecialTollingHeading), IssuePage::SpecialTolling);
    const ScheduleProgram& program = project_.program(SpecialTolling);
    std::vector<Row> rows;
    for (int i = 0; i < program.usedCount(); ++i) {
        const ProgramEntry& e = program.entry(i);
        rows.push_back({std::to_string(i + 1), clockText(e.hour(), e.minute(), e.second()),
                        clockText(e.time2Hour(), e.time2Minute(), e.time2Second()),
                        std::to_string(e.steps() / 2) + (e.steps() % 2 != 0 ? ".5" : ".0"),
                        sequenceText(e.sequenceIndex()), std::to_string(e.priority() + 1), std::to_string(e.days())});
    }
    // Set up but switched off in the settings: the controller does not use it.
    if (!project_.general().specialTollingOn()) {
        beginValues();
        value(t(879), t(OffText));
        endValues();
    }
    if (rows.empty()) {
        paragraph(t(NoneText));
        return;
    }
    grid({t(NumberLabel), t(880), t(881), t(882), t(554), t(217), t(248)}, rows,
         {IssueRecord::ProgramEntry, false, countingFrom0(static_cast<int>(rows.size()))});
}

void Writer::holidays() {
    heading(t(HolidaysHeading), IssuePage::Holidays);
    const HolidayTable& table = project_.holidays();
    std::vector<int> used;
    for (int i = 0; i < HolidayTable::Count; ++i) {
        if (!table.isFree(i)) {
            used.push_back(i);
        }
    }
    if (used.empty()) {
        paragraph(t(NoneText));
        return;
    }
    // In the order of the year: fixed dates by month and day, then the movable feasts by their distance to Easter.
    std::stable_sort(used.begin(), used.end(), [&table](int a, int b) { return table.sortKey(a) < table.sortKey(b); });
    std::vector<Row> rows;
    for (int i : used) {
        const Holiday& h = table.record(i);
        std::string date;
        if (!h.isMovable()) {
            date = table.dateText(i);
        } else if (h.offset() > 0) {
            date = t(ConfigurationDocument::DaysAfterEasterText, {TextArg{static_cast<long long>(h.offset())}});
        } else if (h.offset() < 0) {
            date = t(ConfigurationDocument::DaysBeforeEasterText, {TextArg{-static_cast<long long>(h.offset())}});
        } else {
            date = t(ConfigurationDocument::EasterSundayText);
        }
        rows.push_back({h.name(), date, std::to_string(h.days())});
    }
    grid({t(247), t(249), t(248)}, rows, {IssueRecord::Holiday, false, used});
}

std::string Writer::stepText(int sequence, int index) const {
    const SequenceStep step = project_.sequences().record(sequence).step(index);
    std::string text = SequenceTable::stepText(step, texts_);
    const TextArg first{static_cast<long long>(step.firstStep()) + 1};
    const TextArg last{static_cast<long long>(step.lastStep()) + 1};
    if (step.kind() == StepKind::RepeatCount) {
        text +=
            " (" +
            t(ConfigurationDocument::RepeatTimesText, {first, last, TextArg{static_cast<long long>(step.count())}}) +
            ")";
    } else if (step.kind() == StepKind::RepeatTime) {
        const std::string time = withUnit(secondsToMinutesText(step.count()), MinutesSecondsUnit);
        text += " (" + t(ConfigurationDocument::RepeatForText, {first, last, TextArg{time}}) + ")";
    }
    return text;
}

void Writer::sequences() {
    heading(t(SequencesHeading), IssuePage::Sequences);
    const SequenceTable& table = project_.sequences();
    if (table.usedCount() == 0) {
        paragraph(t(NoneText));
        return;
    }
    for (int i = 0; i < SequenceTable::Count; ++i) {
        if (!table.isUsed(i)) {
            continue;
        }
        subheading(sequenceName(i, texts_), IssueRecord::Sequence, i);
        beginValues();
        value(t(605), table.totalText(i));
        value(t(570), table.stepCountText(i));
        endValues();
        std::vector<Row> rows;
        for (int j = 0; j < table.stepCount(i); ++j) {
            rows.push_back({std::to_string(j + 1), stepText(i, j), table.stepDurationText(i, j)});
        }
        if (!rows.empty()) {
            grid({t(NumberLabel), t(595), t(605)}, rows);
        }
    }
}

void Writer::striking() {
    heading(t(StrikingHeading), IssuePage::Striking);
    const StrikingSettings& striking = project_.striking();
    const StrikingRecord& r = striking.record();

    subheading(t(382));
    beginValues();
    const int mode = std::clamp(r.hourMode(), 0, 2);
    value(t(517), t(OffText + mode));
    if (mode != 0) {
        value(t(569), label(striking.hourHammerLabel(mode == 1)));
        value(t(383), withUnit(strikingediting::tenthsText(strikingediting::strokeInterval(r, mode)), SecondsUnit));
    }
    if (mode == 2) {
        const strikingediting::DelayFields delay = strikingediting::delayFields(r.repeatDelayTenths());
        value(t(521), withUnit(clockText(delay.minutes, delay.seconds), MinutesSecondsUnit));
    }
    value(t(690), t(project_.general().fullHourStrikingAdvanced() ? 691 : 692));
    endValues();

    subheading(t(391));
    beginValues();
    value(t(387), onOff(r.quarterStrikingOn()));
    value(t(495), withUnit(tenthsText(r.quarter4AdvanceTenths()), SecondsUnit));
    endValues();
    Row head{"", t(392)};
    for (int s = 0; s < StrikingRecord::SeriesPerQuarter; ++s) {
        head.push_back(t(624, {TextArg{static_cast<long long>(s + 1)}}));
    }
    std::vector<Row> quarters;
    for (int q = 0; q < StrikingRecord::Quarters; ++q) {
        Row row{t(393 + q), std::to_string(r.seriesCount(q))};
        for (int s = 0; s < StrikingRecord::SeriesPerQuarter; ++s) {
            const std::uint8_t index = r.seriesSequence(q, s);
            row.push_back(s >= r.activeSeries(q)                ? ""
                          : index == StrikingRecord::NoSequence ? t(NoneText)
                                                                : sequenceText(index));
        }
        quarters.push_back(row);
    }
    grid(head, quarters, {IssueRecord::Quarter, false, countingFrom0(StrikingRecord::Quarters)});

    // The two heralds side by side.
    grid({"", t(388), t(397)},
         {
             {t(OnText), onOff(r.hourHeraldOn()), onOff(r.quarterHeraldOn())},
             {withUnit(t(390), SecondsUnit), std::to_string(r.hourHeraldAdvance()),
              std::to_string(r.quarterHeraldAdvance())},
             {withUnit(t(384), SecondsUnit), std::to_string(r.hourHeraldHold()), std::to_string(r.quarterHeraldHold())},
             {t(385), relay(striking.hourHeraldRelay()), relay(striking.quarterHeraldRelay())},
         });

    // The night silences.
    std::vector<Row> blocks;
    const std::array<std::pair<NightBlock, int>, 3> nights{
        {{NightBlock::Hour, 379}, {NightBlock::Quarter, 623}, {NightBlock::Repeat, 693}}};
    for (const auto& [block, title] : nights) {
        blocks.push_back({t(title), clockText(r.blockStartHour(block), r.blockStartMinute(block)),
                          clockText(r.blockEndHour(block), r.blockEndMinute(block))});
    }
    grid({"", withUnit(t(380), HoursMinutesUnit), withUnit(t(381), HoursMinutesUnit)}, blocks);
}

void Writer::bells() {
    subheading(t(351));
    const BellTable& table = project_.bells();
    Row head{""};
    for (int b = 0; b < BellTable::Count; ++b) {
        head.push_back(t(352 + b));
    }
    std::vector<Row> rows;
    const auto add = [&](std::string name, auto show) {
        Row row{std::move(name)};
        for (int b = 0; b < BellTable::Count; ++b) {
            row.push_back(show(table.record(b), b));
        }
        rows.push_back(std::move(row));
    };
    add(t(276), [this](const BellRecord& r, int) { return onOff(!r.bellOff()); });
    add(t(277), [this](const BellRecord&, int b) { return relay(project_.outputs().bellRelay(b)); });
    add(t(278), [this](const BellRecord& r, int) { return onOff(!r.feedbackOff()); });
    add(t(870), [this](const BellRecord& r, int) { return onOff(!r.secondFeedbackOff()); });
    add(withUnit(t(279), SecondsUnit), [](const BellRecord& r, int) { return std::to_string(r.runUpSeconds()); });
    add(withUnit(t(280), SecondsUnit), [](const BellRecord& r, int) { return std::to_string(r.settleSeconds()); });
    add(withUnit(t(281), MinutesSecondsUnit),
        [](const BellRecord& r, int) { return secondsToMinutesText(r.ringingSeconds()); });
    add(withUnit(t(282), SecondsUnit), [](const BellRecord& r, int) { return std::to_string(r.dampSeconds()); });
    add(withUnit(t(283), MinutesSecondsUnit),
        [](const BellRecord& r, int) { return secondsToMinutesText(r.swingSeconds()); });
    grid(head, rows, {IssueRecord::Bell, true, countingFrom0(BellTable::Count)});
}

void Writer::hammers() {
    subheading(t(573));
    const HammerTable& table = project_.hammers();
    Row head{""};
    Row bell{t(386)};
    Row pulse{withUnit(t(297), SecondsUnit)};
    Row relays{t(619)};
    for (int h = 0; h < HammerTable::Count; ++h) {
        const HammerRecord& r = table.record(h);
        head.push_back(t(534, {TextArg{static_cast<long long>(h + 1)}}));
        bell.push_back(r.linkedBell() == HammerRecord::NoBell
                           ? t(NoneText)
                           : t(110, {TextArg{static_cast<long long>(r.linkedBell()) + 1}}));
        pulse.push_back(tenthsText(r.pulseTenths()));
        relays.push_back(relay(project_.outputs().hammerRelay(h)));
    }
    grid(head, {bell, pulse, relays}, {IssueRecord::Hammer, true, countingFrom0(HammerTable::Count)});
}

void Writer::clocks() {
    subheading(t(357));
    const TowerClockTable& table = project_.clocks();
    const OutputMap& outputs = project_.outputs();
    for (int c = 0; c < TowerClockTable::Count; ++c) {
        const ClockRecord& r = table.record(c);
        const int type = table.shownType(c);
        const equipment::ClockControls controls = equipment::clockControls(type);
        minorHeading(t(359 + c), IssueRecord::Clock, c);
        beginValues();
        value(t(288), onOff(!r.clockOff()));
        value(t(289), t(equipment::ClockTypeTexts[static_cast<std::size_t>(type - 1)]));
        const equipment::ShownOffset shift = equipment::shownOffset(r.offsetMinutes());
        value(t(290), withUnit((shift.negative ? "-" : "+") + clockText(shift.hours, shift.minutes), HoursMinutesUnit));
        value(t(358), onOff(r.clockLock()));
        value(t(controls.contactText),
              r.correctionContactUnused()
                  ? t(OffText)
                  : label(OutputMap::inputText(outputs.clockInput(c, OutputMapRecord::RoleClockContact))));
        if (controls.relaysAB) {
            value(t(293), relay(outputs.clockRelayA(c)));
            value(t(294), relay(outputs.clockRelayB(c)));
        }
        if (controls.singleRelay) {
            value(t(295), relay(outputs.clockSingleRelay(c)));
            value(t(296), label(OutputMap::inputText(outputs.clockInput(c, OutputMapRecord::RoleClockMinute))));
            value(t(2204), withUnit(tenthsText(r.longPulseTenths()), SecondsUnit));
        }
        if (controls.pulse) {
            value(t(297), withUnit(std::to_string(r.pulseSeconds()), SecondsUnit));
        }
        if (controls.gap) {
            value(t(455), withUnit(tenthsText(r.gapTenths()), SecondsUnit));
        }
        if (controls.modeRadios) {
            const bool first = equipment::firstModeChosen(r.clockFlags(), controls.type5Modes);
            value(t(controls.radioTexts[0]), t(controls.radioTexts[first ? 1 : 2]));
        }
        endValues();
    }
}

void Writer::controllerSettings() {
    heading(t(SettingsHeading), IssuePage::Settings);
    const GeneralSettings& general = project_.general();
    bells();
    hammers();
    clocks();

    const AmplifierSettings& amplifier = project_.amplifier();
    subheading(t(341));
    beginValues();
    value(t(340), onOff(amplifier.switchingOn()));
    value(t(342), withUnit(std::to_string(amplifier.leadTimeSeconds()), SecondsUnit));
    value(t(343), withUnit(std::to_string(amplifier.switchOffDelaySeconds()), SecondsUnit));
    value(t(344), relay(project_.outputs().amplifierRelay()));
    endValues();

    subheading(t(361));
    beginValues();
    value(t(362), t(general.startMode() == 0 ? 328 : 326));
    value(t(363), t(general.stopMode() == 0 ? 327 : 325));
    endValues();

    // Never the codes themselves: the printout stays in the tower and goes to the parish.
    subheading(t(513));
    beginValues();
    const auto codeState = [this](bool factoryDefault) {
        return t(factoryDefault ? ConfigurationDocument::CodeFactoryDefaultText : ConfigurationDocument::CodeSetText);
    };
    value(t(514), codeState(general.userCodeIsDefault()));
    value(t(515), codeState(general.serviceCodeIsDefault()));
    using Protection = GeneralSettings::Protection;
    const std::array<std::pair<Protection, int>, 4> protections{
        {{Protection::Bells, 635}, {Protection::Menu, 636}, {Protection::Programs, 637}, {Protection::Failures, 638}}};
    std::string protectedItems;
    for (const auto& [what, text] : protections) {
        if (general.codeProtects(what)) {
            protectedItems += (protectedItems.empty() ? "" : ", ") + t(text);
        }
    }
    value(t(ConfigurationDocument::ProtectedText), protectedItems.empty() ? t(NoneText) : protectedItems);
    endValues();

    subheading(t(616));
    beginValues();
    constexpr std::array<int, 5> keyFunctions{574, 575, 576, 554, 241};
    value(t(617),
          t(keyFunctions[static_cast<std::size_t>(GeneralSettings::positionOfKeyFunction(general.keyF2Function()))]));
    value(t(618),
          t(keyFunctions[static_cast<std::size_t>(GeneralSettings::positionOfKeyFunction(general.keyF3Function()))]));
    endValues();

    subheading(t(183));
    beginValues();
    value(t(705), onOff(general.funeralOption1On()));
    value(t(879), onOff(general.specialTollingOn()));
    endValues();

    subheading(t(496));
    beginValues();
    const std::string location = general.locationName();
    value(t(499), location.empty() ? t(NoneText) : location);
    endValues();
}

void Writer::wiringTable() {
    const OutputMap& map = project_.outputs();
    const std::string location = project_.general().locationName();
    heading(location.empty() ? t(wiring::TableTitleText) : t(wiring::LocationTitleText, {TextArg{location}}),
            IssuePage::CrossConnection);
    std::vector<Row> rows;
    for (const WiringLine& line : wiring::wiringLines(map)) {
        rows.push_back({line.terminal.name() + (line.shared ? " (!)" : ""), label(line.does),
                        line.which ? label(*line.which) : std::string()});
    }
    grid({t(wiring::TerminalHeadText), t(wiring::DoesHeadText), t(wiring::WhichHeadText)}, rows);
    // A relay with two functions (a file written elsewhere) is named, so the electrician does not wire it twice.
    for (int r = 0; r < OutputMapRecord::RelayCount; ++r) {
        const auto functions = wiring::relayFunctions(map, static_cast<std::uint8_t>(r));
        if (functions.size() < 2) {
            continue;
        }
        std::string names;
        for (const LabelText& function : functions) {
            names += (names.empty() ? "" : ", ") + label(function);
        }
        const Terminal terminal{Terminal::Kind::Relay, r};
        paragraph("(!) " + t(wiring::SharedRelayText, {TextArg{terminal.name()}, TextArg{names}}));
    }
}

void Writer::chimes() {
    heading(t(ChimesHeading), IssuePage::Chimes);
    const ChimeNameTable& table = project_.chimes();
    std::vector<Row> rows;
    std::vector<int> records;
    for (int i = 0; i < ChimeNameTable::Count; ++i) {
        if (!table.name(i).empty()) {
            rows.push_back({std::to_string(i + 1), table.name(i)});
            records.push_back(i);
        }
    }
    if (rows.empty()) {
        paragraph(t(NoneText));
        return;
    }
    grid({t(NumberLabel), t(NameLabel)}, rows, {IssueRecord::Chime, false, records});
}

void Writer::timeCorrections() {
    heading(t(CorrectionsHeading), IssuePage::TimeCorrections);
    const TimeCorrectionSettings& c = project_.timeCorrection();
    const auto halfHours = [this](int value) {
        const int magnitude = std::abs(value);
        return withUnit((value < 0 ? "-" : "+") + std::to_string(magnitude / 2) + (magnitude % 2 != 0 ? ".5" : ".0"),
                        HoursUnit);
    };
    beginValues();
    value(t(364), t(c.syncSource() == 0 ? 335 : 336));
    value(t(368), halfHours(c.summerOffsetHalfHours()));
    value(t(369), halfHours(c.winterOffsetHalfHours()));
    constexpr std::array<int, 3> activities{338, 337, 339};
    const int activity = c.correctionActivity();
    value(t(370), activity >= 1 && activity <= 3 ? t(activities[static_cast<std::size_t>(activity - 1)])
                                                 : std::to_string(activity));
    value(t(377), onOff(c.autoTimeChange()));
    value(t(633), withUnit(signedText(c.weeklyDriftSeconds()), SecondsUnit));
    value(t(373), withUnit(clockText(c.syncStartHour(), c.syncStartMinute()) + " - " +
                               clockText(c.syncStopHour(), c.syncStopMinute()),
                           HoursMinutesUnit));
    value(t(376), std::to_string(c.syncFrameCount()));
    value(t(378), onOff(c.syncAfterPowerOn()));
    endValues();

    const GeneralSettings& g = project_.general();
    subheading(t(828));
    beginValues();
    value(t(829), withUnit(signedText(g.sunriseShiftMinutes()), MinutesUnit));
    value(t(830), withUnit(signedText(g.sunsetShiftMinutes()), MinutesUnit));
    // A built-in place has its own coordinates (the page copies them whenever it shows the place).
    const int place = g.placeListPosition();
    value(t(833), t(place < AstroPlaces::Count ? 787 + place : 843));
    int latitude = g.latitudeDegrees();
    int latitudeMinutes = g.latitudeMinutes();
    bool south = g.latitudeSouth();
    int longitude = g.longitudeDegrees();
    int longitudeMinutes = g.longitudeMinutes();
    bool west = g.longitudeWest();
    if (place < AstroPlaces::Count) {
        const AstroPlaces::Place& p = AstroPlaces::table()[static_cast<std::size_t>(place)];
        latitude = p.latitudeDegrees & ~AstroPlaces::HemisphereBit;
        latitudeMinutes = p.latitudeMinutes;
        south = (p.latitudeDegrees & AstroPlaces::HemisphereBit) != 0;
        longitude = p.longitudeDegrees & ~AstroPlaces::HemisphereBit;
        longitudeMinutes = p.longitudeMinutes;
        west = (p.longitudeDegrees & AstroPlaces::HemisphereBit) != 0;
    }
    value(t(834), coordinateText(latitude, latitudeMinutes, south, "N", "S"));
    value(t(835), coordinateText(longitude, longitudeMinutes, west, "E", "W"));
    value(t(836), relay(project_.outputs().record().relay(OutputMapRecord::AstroRelay)));
    value(t(837), t(g.astroRelayOnWhenDark() ? 838 : 839));
    value(t(841), onOff(g.astroUseGps()));
    endValues();
}

void Writer::userSettings() {
    heading(t(UserHeading), IssuePage::UserSettings);
    const GeneralSettings& g = project_.general();
    beginValues();
    value(t(346), std::to_string(g.displayContrast()) + " %");
    value(t(347), std::to_string(g.displayBrightness()) + " %");
    const long long minutes = g.displayTimeMs() / 60000;
    value(t(348), minutes == 31 ? t(324) : t(212, {TextArg{minutes}}));
    constexpr std::array<int, 6> languages{329, 330, 333, 331, 334, 332};
    value(
        t(349),
        t(languages[static_cast<std::size_t>(GeneralSettings::positionOfControllerLanguage(g.controllerLanguage()))]));
    constexpr std::array<int, 3> orders{510, 511, 512};
    const int order = g.programOrder();
    value(t(509), order < 3 ? t(orders[static_cast<std::size_t>(order)]) : std::to_string(order));
    value(t(628), t(g.manualRingUsesDefaultTime() ? 626 : 629));
    value(t(632), withUnit(secondsToMinutesText(g.defaultRingTimeSeconds()), MinutesSecondsUnit));
    value(t(627), withUnit(std::to_string(g.manualStartIntervalSeconds()), SecondsUnit));
    endValues();
}

} // namespace

std::string ConfigurationDocument::sections(const ProjectData& project, const TextSource& texts) {
    HtmlSink html;
    Writer w(project, texts, html);
    for (ConfigurationPart part : AllParts) {
        w.part(part);
    }
    return html.take();
}

void ConfigurationDocument::describe(const ProjectData& project, const TextSource& texts, ConfigurationPart part,
                                     ConfigurationSink& sink) {
    Writer(project, texts, sink).part(part);
}

} // namespace tolvane
