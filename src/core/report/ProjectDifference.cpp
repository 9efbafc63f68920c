#include "report/ProjectDifference.h"

#include "TextNumbers.h"
#include "project/ProjectData.h"
#include "project/SequenceName.h"
#include "project/TextFormat.h"
#include "report/ConfigurationDocument.h"
#include "report/ConfigurationSink.h"
#include "report/PrintDocument.h"
#include "schedules/ProgramEntryText.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <initializer_list>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace tolvane {

namespace {

// One record as described: its key (what matches it with the other project's), its label, its fields in order.
struct Fact {
    std::string key;
    std::string label;
    std::string parent; // the key of the record this one belongs to (a step of a sequence), empty for none
    IssueRecord kind = IssueRecord::None;
    int record = -1;
    std::vector<std::pair<std::string, std::string>> fields;
};

// The described records of one area.
struct Area {
    IssuePage page = IssuePage::None;
    std::string heading;
    std::vector<Fact> facts;
    std::unordered_map<std::string, std::size_t> byKey;

    Fact& fact(const std::string& key, const std::string& label, const std::string& parent, IssueRecord kind,
               int record) {
        const auto [at, inserted] = byKey.try_emplace(key, facts.size());
        if (inserted) {
            facts.push_back({key, label, parent, kind, record, {}});
        }
        return facts[at->second];
    }
    // A new record under a key that may already be taken (a relay listed once per function): numbered apart.
    Fact& newFact(std::string key, const std::string& label, const std::string& parent, IssueRecord kind,
                  int record) {
        const std::string base = key;
        for (int n = 2; byKey.count(key) != 0; ++n) {
            key = base + "#" + std::to_string(n);
        }
        return fact(key, label, parent, kind, record);
    }
};

std::string joined(const std::string& a, const std::string& b) {
    return a.empty() ? b : b.empty() ? a : a + ", " + b;
}

// Collects what the describers say into areas of records and fields.
class FactSink final : public ConfigurationSink {
public:
    explicit FactSink(Area& area) : area_(area) {}

    void heading(const std::string& text, IssuePage page) override {
        area_.page = page;
        if (area_.heading.empty()) {
            area_.heading = text;
        }
        section_ = {};
        minor_ = {};
    }
    void subheading(const std::string& text, IssueRecord kind, int record) override {
        section_ = {text, kind, record};
        minor_ = {};
    }
    void minorHeading(const std::string& text, IssueRecord kind, int record) override { minor_ = {text, kind, record}; }
    void paragraph(const std::string&) override {}
    void beginValues() override {}
    void value(const std::string& label, const std::string& value) override {
        const Heading& h = current();
        const std::string key = section_.text + "\x1f" + minor_.text;
        area_.fact(key, joined(section_.text, minor_.text), {}, h.kind, h.record).fields.emplace_back(label, value);
    }
    void endValues() override {}
    void grid(const Row& head, const std::vector<Row>& rows, const GridRecords& records) override {
        const std::string parent = section_.text + "\x1f" + minor_.text;
        const std::string prefix = joined(section_.text, minor_.text);
        const auto recordAt = [&records](std::size_t i) {
            return i < records.records.size() ? records.records[i] : -1;
        };
        if (records.byColumn) {
            for (std::size_t c = 1; c < head.size(); ++c) {
                Fact& f = area_.fact(parent + "\x1f" + head[c], joined(prefix, head[c]), {}, records.kind,
                                     recordAt(c - 1));
                for (const Row& row : rows) {
                    if (c < row.size()) {
                        f.fields.emplace_back(row.empty() ? std::string() : row[0], row[c]);
                    }
                }
            }
            return;
        }
        const bool numbered = !head.empty() && head[0] == numberLabel_;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const Row& row = rows[r];
            const std::string name = row.empty() ? std::string() : row[0];
            const IssueRecord kind = records.kind != IssueRecord::None ? records.kind : current().kind;
            const int record = records.kind != IssueRecord::None ? recordAt(r) : current().record;
            Fact& f = area_.newFact(parent + "\x1f" + name, joined(prefix, numbered ? head[0] + " " + name : name),
                                    section_.text.empty() ? std::string() : parent, kind, record);
            for (std::size_t c = 1; c < row.size(); ++c) {
                f.fields.emplace_back(c < head.size() ? head[c] : std::string(), row[c]);
            }
        }
    }

    void setNumberLabel(std::string label) { numberLabel_ = std::move(label); }

private:
    struct Heading {
        std::string text;
        IssueRecord kind = IssueRecord::None;
        int record = -1;
    };
    const Heading& current() const { return minor_.kind != IssueRecord::None ? minor_ : section_; }

    Area& area_;
    Heading section_;
    Heading minor_;
    std::string numberLabel_;
};

// The program pages' areas, in tree order.
struct ProgramArea {
    int kind;
    IssuePage page;
    int heading;
};

// What an area is made of: the schedule kind it lists or the part of the record that describes it, the sections
// its texts are read from (when those are byte for byte the same in both projects, so is everything it shows).
struct AreaRow {
    IssuePage page;
    int programKind; // -1: a part of the record
    ConfigurationPart part;
    std::vector<SectionId> sections;
};

const std::vector<AreaRow>& areaRows() {
    using S = SectionId;
    using P = ConfigurationPart;
    static const std::vector<AreaRow> rows{
        {IssuePage::WeeklyPrograms, Weekly, P::SpecialTolling, {S::Weekly, S::Bells}},
        {IssuePage::AnnualPrograms, Annual, P::SpecialTolling, {S::Annual, S::Bells}},
        {IssuePage::HolidayPrograms, HolidayDay, P::SpecialTolling, {S::HolidayDay, S::Holidays, S::Bells}},
        {IssuePage::OneTimePrograms, OneTime, P::SpecialTolling, {S::OneTime, S::Bells}},
        {IssuePage::FuneralTolling, Funeral, P::SpecialTolling, {S::Funeral, S::Bells}},
        {IssuePage::SpecialTolling, -1, P::SpecialTolling, {S::SpecialTolling, S::General, S::Sequences}},
        {IssuePage::Holidays, -1, P::Holidays, {S::Holidays}},
        {IssuePage::Settings,
         -1,
         P::Settings,
         {S::General, S::Bells, S::Hammers, S::Clocks, S::Outputs, S::Amplifier}},
        {IssuePage::UserSettings, -1, P::UserSettings, {S::General}},
        {IssuePage::TimeCorrections, -1, P::TimeCorrections, {S::TimeCorrection, S::General, S::Outputs}},
        {IssuePage::Striking,
         -1,
         P::Striking,
         {S::Striking, S::General, S::Sequences, S::Hammers, S::Outputs, S::Bells}},
        {IssuePage::Sequences,
         -1,
         P::Sequences,
         {S::Sequences, S::Bells, S::Hammers, S::Chimes, S::Outputs, S::Striking}},
        {IssuePage::CrossConnection,
         -1,
         P::Wiring,
         {S::Outputs, S::General, S::Sequences, S::Bells, S::Hammers, S::Clocks}},
        {IssuePage::Chimes, -1, P::Chimes, {S::Chimes}},
    };
    return rows;
}

int programHeading(int kind) {
    switch (kind) {
    case Weekly:
        return 175;
    case Annual:
        return 181;
    case HolidayDay:
        return 180;
    case OneTime:
        return 182;
    default:
        return 183;
    }
}

// The fields of the programs of one kind, as the printout's detail blocks name them.
class ProgramDescriber {
public:
    ProgramDescriber(const ProjectData& project, const TextSource& texts) : project_(project), texts_(texts) {}

    void describe(int kind, IssuePage page, Area& area) const {
        area.page = page;
        area.heading = t(programHeading(kind));
        const ScheduleProgram& program = project_.program(kind);
        for (int i = 0; i < program.usedCount(); ++i) {
            const ProgramEntry& e = program.entry(i);
            const long long number = kind == Funeral ? i + 1 : e.identifier();
            const std::string label = t(ProjectDifference::ProgramText, {TextArg{number}});
            fields(e, kind, area.newFact(std::to_string(number), label, {}, IssueRecord::ProgramEntry, i).fields);
        }
    }

private:
    using Fields = std::vector<std::pair<std::string, std::string>>;

    std::string t(int id) const { return texts_.text(id); }
    std::string t(int id, std::initializer_list<TextArg> args) const { return formatText(texts_.text(id), args); }
    static std::string plusMinus(bool on) { return on ? "+" : "-"; }
    static std::string minutesSeconds(int seconds) {
        return formatText("%.2d:%.2d", {TextArg{static_cast<long long>(seconds / 60)},
                                        TextArg{static_cast<long long>(seconds % 60)}});
    }

    void fields(const ProgramEntry& e, int kind, Fields& out) const {
        const auto add = [&out](std::string label, std::string value) {
            out.emplace_back(std::move(label), std::move(value));
        };
        add(t(text::PrintAction), ProgramEntryText::actionName(e.action(), texts_));
        if (kind == Funeral) {
            add(t(text::FuneralTimes), ProgramEntryText::funeralStartTimes(e, texts_));
            add(t(text::FuneralDays), std::to_string(e.days()));
        } else {
            add(t(text::TimeColumn), ProgramEntryText::time(e));
        }
        switch (kind) {
        case Weekly:
            add(t(text::StartDateColumn), ProgramEntryText::startDate(e));
            add(t(text::EndDateColumn), ProgramEntryText::endDate(e));
            break;
        case HolidayDay:
            add(t(text::HolidayColumn), ProgramEntryText::holiday(e, &project_.holidays(), texts_));
            break;
        case Annual:
            add(t(text::DateColumn), ProgramEntryText::startDate(e));
            break;
        case OneTime:
            add(t(text::DateColumn), ProgramEntryText::oneTimeDate(e));
            break;
        default:
            break;
        }
        if (kind == Weekly || kind == HolidayDay) {
            add(t(text::WeekdaysColumn), ProgramEntryText::weekdays(e, texts_));
        }
        if (kind == Weekly) {
            add(t(text::EvenWeeks), plusMinus(e.evenWeeks()));
            add(t(text::OddWeeks), plusMinus(e.oddWeeks()));
            add(t(text::EvenMonths), plusMinus(e.evenMonths()));
            add(t(text::OddMonths), plusMinus(e.oddMonths()));
        }
        if (kind != Funeral) {
            add(t(text::PriorityColumn), ProgramEntryText::priority(e));
            add(t(text::SeasonColumn), ProgramEntryText::season(e, texts_));
        }
        add(t(text::Angelus), plusMinus(e.angelus()));
        actionFields(e, add);
    }

    template <typename Add> void actionFields(const ProgramEntry& e, Add add) const {
        switch (e.action()) {
        case ProgramEntry::ActionBells:
            add(t(text::RingingTime), minutesSeconds(e.ringingTime()) + " " + t(text::MinutesSecondsUnit));
            for (int bell = 0; bell < ProgramEntry::BellCount; ++bell) {
                add(t(text::BellWord) + " " + std::to_string(bell + 1),
                    e.bellRung(bell) ? minutesSeconds(e.bellDelay(bell)) + " - " + minutesSeconds(e.secondTime(bell)) +
                                           " " + t(text::MinutesSecondsUnit)
                                     : std::string("-"));
            }
            break;
        case ProgramEntry::ActionMelody:
            add(t(text::Melody), std::to_string(e.melodyNumber()));
            add(t(text::MelodyRepetitions), std::to_string(e.repetitions()));
            break;
        case ProgramEntry::ActionSequence:
            add(t(text::Sequence), sequenceName(e.sequenceIndex(), texts_));
            break;
        case ProgramEntry::ActionSilence:
            add(t(text::SilenceDuration), ProgramEntryText::actionDescription(e) + " " + t(text::SilenceUnit));
            add(t(text::SilenceForBells), plusMinus(e.silenceForBells()));
            add(t(text::SilenceForGongs), plusMinus(e.silenceForGongs()));
            break;
        default:
            add(t(text::DescriptionColumn), ProgramEntryText::actionDescription(e));
            break;
        }
    }

    const ProjectData& project_;
    const TextSource& texts_;
};

void describeArea(const ProjectData& project, const TextSource& texts, const AreaRow& row, Area& area) {
    if (row.programKind >= 0) {
        ProgramDescriber(project, texts).describe(row.programKind, row.page, area);
        return;
    }
    FactSink sink(area);
    sink.setNumberLabel(texts.text(text::ChimeNumber));
    ConfigurationDocument::describe(project, texts, row.part, sink);
    area.page = row.page;
}

std::string summary(const Fact& f) {
    std::string out;
    for (const auto& [label, value] : f.fields) {
        if (!value.empty()) {
            out += (out.empty() ? "" : "; ") + (label.empty() ? value : label + ": " + value);
        }
    }
    return out;
}

// The records of `after` that `before` lacks, placed behind the record they follow in `after` (or first), so the
// merged list keeps the page's order of both.
std::vector<std::pair<const Fact*, const Fact*>> merged(const Area& before, const Area& after) {
    std::vector<std::pair<const Fact*, const Fact*>> out;
    std::unordered_map<std::string, std::vector<const Fact*>> addedBehind;
    std::string previous;
    for (const Fact& f : after.facts) {
        if (before.byKey.count(f.key) == 0) {
            addedBehind[previous].push_back(&f);
        } else {
            previous = f.key;
        }
    }
    const auto flush = [&](const std::string& key) {
        const auto it = addedBehind.find(key);
        if (it != addedBehind.end()) {
            for (const Fact* f : it->second) {
                out.emplace_back(nullptr, f);
            }
        }
    };
    flush({});
    for (const Fact& f : before.facts) {
        const auto match = after.byKey.find(f.key);
        out.emplace_back(&f, match == after.byKey.end() ? nullptr : &after.facts[match->second]);
        if (match != after.byKey.end()) {
            flush(f.key);
        }
    }
    return out;
}

void compareArea(const Area& before, const Area& after, std::vector<Difference>& out) {
    const std::string& heading = before.heading.empty() ? after.heading : before.heading;
    std::unordered_set<std::string> wholeRecords; // keys of records added or removed as a whole
    for (const auto& [a, b] : merged(before, after)) {
        const Fact& any = a ? *a : *b;
        Difference d;
        d.page = before.page != IssuePage::None ? before.page : after.page;
        d.recordKind = any.kind;
        d.recordBefore = a ? a->record : -1;
        d.recordAfter = b ? b->record : -1;
        d.area = heading;
        d.record = any.label;
        if (!a || !b) {
            wholeRecords.insert(any.key);
            if (!any.parent.empty() && wholeRecords.count(any.parent) != 0) {
                continue; // a step of a sequence added or removed as a whole
            }
            d.kind = a ? Difference::Kind::Removed : Difference::Kind::Added;
            (a ? d.before : d.after) = summary(any);
            out.push_back(std::move(d));
            continue;
        }
        // Fields in the order of the first project, then those only the second one shows. A label may stand
        // twice in one record (a catalog without texts): its n-th field matches the other's n-th.
        const auto keyed = [](const Fact& f) {
            std::vector<std::string> keys;
            std::unordered_map<std::string, int> seen;
            for (const auto& field : f.fields) {
                keys.push_back(field.first + "\x1f" + std::to_string(seen[field.first]++));
            }
            return keys;
        };
        const std::vector<std::string> keysA = keyed(*a);
        const std::vector<std::string> keysB = keyed(*b);
        std::unordered_map<std::string, std::size_t> afterAt;
        for (std::size_t i = 0; i < keysB.size(); ++i) {
            afterAt.emplace(keysB[i], i);
        }
        std::unordered_set<std::string> matched;
        const auto change = [&](const std::string& label, const std::string& from, const std::string& to) {
            if (from == to) {
                return;
            }
            Difference c = d;
            c.field = label;
            c.before = from;
            c.after = to;
            out.push_back(std::move(c));
        };
        for (std::size_t i = 0; i < keysA.size(); ++i) {
            matched.insert(keysA[i]);
            const auto other = afterAt.find(keysA[i]);
            change(a->fields[i].first, a->fields[i].second,
                   other == afterAt.end() ? std::string() : b->fields[other->second].second);
        }
        for (std::size_t i = 0; i < keysB.size(); ++i) {
            if (matched.count(keysB[i]) == 0) {
                change(b->fields[i].first, std::string(), b->fields[i].second);
            }
        }
    }
}

// The access codes are shown as set or factory default; two different codes that are both set are still a
// change the installer must hear of, without the digits.
void compareCodes(const ProjectData& before, const ProjectData& after, const TextSource& texts,
                  std::vector<Difference>& out) {
    const std::array<std::pair<bool, int>, 2> codes{{
        {before.general().userCodeWord() != after.general().userCodeWord(), text::UserCode},
        {before.general().serviceCodeWord() != after.general().serviceCodeWord(), text::ServiceCode},
    }};
    const std::string record = texts.text(text::CodesGroup);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const auto [differs, label] = codes[i];
        const std::string field = texts.text(label);
        if (!differs) {
            continue;
        }
        const auto shown = std::find_if(out.begin(), out.end(), [&](const Difference& d) {
            return d.page == IssuePage::Settings && d.record == record && d.field == field;
        });
        if (shown != out.end()) {
            continue; // set against factory default: already named
        }
        Difference d;
        d.page = IssuePage::Settings;
        d.recordKind = IssueRecord::AccessCode;
        d.recordBefore = d.recordAfter = static_cast<int>(i);
        d.area = texts.text(176);
        d.record = record;
        d.field = field;
        d.before = texts.text(ConfigurationDocument::CodeSetText);
        d.after = texts.text(ProjectDifference::CodeChangedText);
        out.push_back(std::move(d)); // the settings area ends here: it was compared last
    }
}

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

} // namespace

std::vector<Difference> ProjectDifference::between(const ProjectData& before, const ProjectData& after,
                                                   const TextSource& texts) {
    std::array<bool, SectionIdCount> differs{};
    for (int i = 0; i < SectionIdCount; ++i) {
        const auto id = static_cast<SectionId>(i);
        if (before.section(id) != nullptr) {
            differs[static_cast<std::size_t>(i)] = before.state(id).content != after.state(id).content;
        }
    }
    std::vector<Difference> out;
    for (const AreaRow& row : areaRows()) {
        const bool touched = std::any_of(row.sections.begin(), row.sections.end(),
                                         [&differs](SectionId id) { return differs[static_cast<std::size_t>(id)]; });
        if (!touched) {
            continue;
        }
        Area a;
        Area b;
        describeArea(before, texts, row, a);
        describeArea(after, texts, row, b);
        compareArea(a, b, out);
        if (row.page == IssuePage::Settings) {
            compareCodes(before, after, texts, out);
        }
    }
    return out;
}

std::string ProjectDifference::kindText(Difference::Kind kind, const TextSource& texts) {
    switch (kind) {
    case Difference::Kind::Added:
        return texts.text(AddedText);
    case Difference::Kind::Removed:
        return texts.text(RemovedText);
    case Difference::Kind::Changed:
        break;
    }
    return {};
}

std::string ProjectDifference::text(const std::vector<Difference>& differences, const TextSource& texts) {
    if (differences.empty()) {
        return texts.text(NoDifferenceText) + "\n";
    }
    std::string out;
    const std::string* area = nullptr;
    for (const Difference& d : differences) {
        if (!area || *area != d.area) {
            out += (area ? "\n" : "") + d.area + "\n";
            area = &d.area;
        }
        out += "  " + d.record;
        if (d.kind != Difference::Kind::Changed) {
            out += ": " + kindText(d.kind, texts);
            const std::string& values = d.kind == Difference::Kind::Added ? d.after : d.before;
            out += values.empty() ? "" : " (" + values + ")";
        } else {
            out += (d.record.empty() ? "" : ", ") + d.field + ": " + (d.before.empty() ? "-" : d.before) + " -> " +
                   (d.after.empty() ? "-" : d.after);
        }
        out += "\n";
    }
    out += "\n" + formatText(texts.text(CountText), {TextArg{static_cast<long long>(differences.size())}}) + "\n";
    return out;
}

std::string ProjectDifference::tsv(const std::vector<Difference>& differences, const TextSource& texts) {
    std::string out;
    for (int head : {AreaHeadText, RecordHeadText, FieldHeadText, ChangeHeadText, BeforeHeadText}) {
        out += oneLine(texts.text(head)) + "\t";
    }
    out += oneLine(texts.text(AfterHeadText)) + "\n";
    for (const Difference& d : differences) {
        out += oneLine(d.area) + "\t" + oneLine(d.record) + "\t" + oneLine(d.field) + "\t" +
               oneLine(kindText(d.kind, texts)) + "\t" + oneLine(d.before) + "\t" + oneLine(d.after) + "\n";
    }
    return out;
}

std::string ProjectDifference::html(const std::vector<Difference>& differences, const TextSource& texts,
                                    const std::string& beforeName, const std::string& afterName,
                                    const std::string& styleSheet) {
    const auto esc = [](const std::string& s) { return PrintDocument::escape(s); };
    std::string out = "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\" />";
    out += "<title>" + esc(texts.text(TitleText)) + "</title>";
    if (styleSheet.empty()) {
        out += "<link href=\"print/style.css\" rel=\"stylesheet\" type=\"text/css\" />";
    } else {
        // A style sheet cannot end the element it stands in.
        std::string style = styleSheet;
        for (std::size_t at = style.find("</"); at != std::string::npos; at = style.find("</", at)) {
            style.replace(at, 2, "<\\/");
        }
        out += "<style type=\"text/css\">\n" + style + "\n</style>";
    }
    out += "</head><body>";
    out += "<h1>" + esc(texts.text(TitleText)) + "</h1><br>";
    out += "<table class=\"values\" border=0><tr><td width=\"260\">" + esc(texts.text(BeforeHeadText)) +
           ":</td><td><b>" + esc(beforeName) + "</b></td></tr><tr><td>" + esc(texts.text(AfterHeadText)) +
           ":</td><td><b>" + esc(afterName) + "</b></td></tr></table><br>";
    if (differences.empty()) {
        out += esc(texts.text(NoDifferenceText)) + "<br><br>";
    }
    const std::string* area = nullptr;
    for (std::size_t i = 0; i < differences.size(); ++i) {
        const Difference& d = differences[i];
        if (!area || *area != d.area) {
            if (area) {
                out += "</table><br>";
            }
            area = &d.area;
            out += "<h2>" + esc(d.area) + "</h2><table class=\"grid\"><thead><tr>";
            for (int head : {RecordHeadText, FieldHeadText, ChangeHeadText, BeforeHeadText, AfterHeadText}) {
                out += "<th>" + esc(texts.text(head)) + "</th>";
            }
            out += "</tr></thead>";
        }
        out += "<tr><td>" + esc(d.record) + "</td><td>" + esc(d.field) + "</td><td>" +
               esc(kindText(d.kind, texts)) + "</td><td>" + esc(d.before) + "</td><td>" + esc(d.after) +
               "</td></tr>";
    }
    if (area) {
        out += "</table><br>";
    }
    out += "</body></html>";
    return out;
}

} // namespace tolvane
