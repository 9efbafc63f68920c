#include "project/ProjectData.h"

#include <algorithm>
#include <bitset>
#include <set>
#include <stdexcept>
#include <utility>

namespace tolvane {

namespace {
// Validation area of the amplifier values.
constexpr std::int32_t AmplifierArea = 13;
constexpr int MaxEntryId = 512;
} // namespace

ProjectData::ProjectData() {
    for (int kind = 0; kind < ProgramCount; ++kind) {
        programs_[static_cast<std::size_t>(kind)] = std::make_unique<ScheduleProgram>(kind);
    }
    setReferences();
    resetAll(false);
    identity_.setFirmware(CardIdentity::DefaultFirmware);
}

void ProjectData::setReferences() {
    for (auto& program : programs_) {
        program->setReferences(&bells_, &holidays_, [this] { return nextFreeEntryId(); });
    }
    striking_.setReferences(&sequences_, &outputs_);
    clocks_.setReferences(&outputs_);
    outputs_.setReferences(&sequences_, &clocks_);
}

void ProjectData::resetAll(bool keepContent) {
    if (!keepContent) {
        for (auto& program : programs_) {
            program->reset();
        }
        holidays_.reset();
        general_.reset();
        bells_.reset();
        striking_.reset();
        clocks_.reset();
        timeCorrection_.reset();
        amplifier_.reset();
        chimes_.reset();
        outputs_.reset();
        hammers_.reset();
        sequences_.reset();
        identity_.reset();
    }
    clearModifiedAll();
}

ProjectSection* ProjectData::section(SectionId id) {
    return const_cast<ProjectSection*>(std::as_const(*this).section(id));
}

const ProjectSection* ProjectData::section(SectionId id) const {
    switch (id) {
    case SectionId::Weekly:
    case SectionId::HolidayDay:
    case SectionId::Annual:
    case SectionId::OneTime:
    case SectionId::Funeral:
    case SectionId::SpecialTolling:
        return programs_[static_cast<std::size_t>(id)].get();
    case SectionId::General:
        return &general_;
    case SectionId::Bells:
        return &bells_;
    case SectionId::Striking:
        return &striking_;
    case SectionId::Clocks:
        return &clocks_;
    case SectionId::Outputs:
        return &outputs_;
    case SectionId::Holidays:
        return &holidays_;
    case SectionId::Hammers:
        return &hammers_;
    case SectionId::Sequences:
        return &sequences_;
    case SectionId::Chimes:
        return &chimes_;
    case SectionId::TimeCorrection:
        return &timeCorrection_;
    case SectionId::Amplifier:
        return &amplifier_;
    case SectionId::Identity:
    case SectionId::StartFlags:
        return nullptr;
    }
    return nullptr;
}

namespace {

template <std::size_t N> SectionState blockState(const ByteRecord<N>& block) {
    return {std::vector<std::uint8_t>(block.bytes().begin(), block.bytes().end()), {}};
}

template <std::size_t N> void setBlockState(ByteRecord<N>& block, const SectionState& state) {
    if (state.content.size() != N || !state.marks.empty()) {
        throw std::invalid_argument("state of another section");
    }
    std::copy(state.content.begin(), state.content.end(), block.bytes().begin());
}

} // namespace

SectionState ProjectData::state(SectionId id) const {
    if (const ProjectSection* s = section(id)) {
        return s->state();
    }
    switch (id) {
    case SectionId::Identity:
        return blockState(identity_);
    case SectionId::StartFlags:
        return {{programsFromCard, sequencesFromCard, configFromCard, projectOpened, chimesFromCard}, {}};
    default:
        return {};
    }
}

void ProjectData::setState(SectionId id, const SectionState& state) {
    if (ProjectSection* s = section(id)) {
        s->setState(state);
        return;
    }
    switch (id) {
    case SectionId::Identity:
        setBlockState(identity_, state);
        return;
    case SectionId::StartFlags:
        if (state.content.size() != 5 || !state.marks.empty()) {
            throw std::invalid_argument("state of another section");
        }
        programsFromCard = state.content[0];
        sequencesFromCard = state.content[1];
        configFromCard = state.content[2];
        projectOpened = state.content[3];
        chimesFromCard = state.content[4];
        return;
    default:
        return;
    }
}

void ProjectData::markChanges(SectionId id, const SectionState& from, const SectionState& to) {
    // The identity and the flags are never shown as changed.
    if (ProjectSection* s = section(id)) {
        s->markChanges(from, to);
    }
}

void ProjectData::serialize(SectionId id, SectionArchive& archive) {
    if (ProjectSection* s = section(id)) {
        s->serialize(archive);
    } else if (id == SectionId::Identity) {
        archive.transferBytes(identity_.bytes());
    }
}

void ProjectData::sortSchedulesByTime() {
    sortSchedules({SortKey::Time, SortKey::Time, SortKey::Time, SortKey::Time});
}

void ProjectData::sortSchedules(const std::array<SortKey, 4>& keys) {
    for (int kind : {Weekly, HolidayDay, Annual, OneTime}) {
        program(kind).sortEntries(keys[static_cast<std::size_t>(kind)], 0);
    }
}

void ProjectData::clearModifiedAll() {
    forEachSection([](SectionId, ProjectSection& s) { s.clearModified(); });
}

bool ProjectData::isModifiedAll() const {
    bool modified = false;
    forEachSection([&modified](SectionId, const ProjectSection& s) { modified = modified || s.isModified(); });
    return modified;
}

void ProjectData::clearProgramsMarks() {
    for (auto& program : programs_) {
        program->clearModified();
    }
    holidays_.clearModified();
}

void ProjectData::clearSequencesMarks() {
    sequences_.clearModified();
}

void ProjectData::clearConfigMarks() {
    general_.clearModified();
    bells_.clearModified();
    striking_.clearModified();
    clocks_.clearModified();
    outputs_.clearModified();
    hammers_.clearModified();
    timeCorrection_.clearModified();
    amplifier_.clearModified();
}

void ProjectData::clearChimesMarks() {
    chimes_.clearModified();
}

// The output map and the chime names have no rule of their own to check.
IssueList ProjectData::validate() const {
    IssueList issues;
    for (const auto& program : programs_) {
        program->validate(issues);
    }
    checkIdentifiers(issues);
    holidays_.validate(issues);
    bells_.validate(issues);
    clocks_.validate(issues);
    striking_.validate(issues);
    checkAmplifier(issues);
    general_.validate(issues);
    hammers_.validate(issues);
    sequences_.validate(issues);
    checkFileSections(issues);
    return issues;
}

// Our own code 120: a section the opened project file did not hold (area 19, item the section's number in file
// order). A warning, as the defaults it keeps may be what an older file meant, but writing them to a card would
// wipe what the tower holds.
void ProjectData::checkFileSections(IssueList& issues) const {
    for (int i = 0; i < static_cast<int>(SectionId::StartFlags); ++i) {
        if ((sectionsMissingFromFile & (std::uint32_t{1} << i)) != 0) {
            issues.push_back({IssueSectionMissing, i, FileSectionArea, severity::Warning});
        }
    }
}

// Identifiers must be unique across the weekly, annual, holiday-day and one-time programs (walked in that
// order); every holder after the first is reported.
void ProjectData::checkIdentifiers(IssueList& issues) const {
    std::set<std::uint16_t> seen;
    for (int kind : {Weekly, Annual, HolidayDay, OneTime}) {
        const ScheduleProgram& p = program(kind);
        for (int i = 0; i < p.usedCount(); ++i) {
            const std::uint16_t id = p.entry(i).identifier();
            if (!seen.insert(id).second) {
                issues.push_back({49, i, kind, severity::Warning});
            }
        }
    }
}

void ProjectData::checkAmplifier(IssueList& issues) const {
    auto outside = [](std::uint16_t v) {
        return v < AmplifierSettings::MinSeconds || v > AmplifierSettings::MaxSeconds;
    };
    if (outside(amplifier_.leadTimeSeconds())) {
        issues.push_back({37, 0, AmplifierArea, severity::Critical});
    }
    if (outside(amplifier_.switchOffDelaySeconds())) {
        issues.push_back({38, 0, AmplifierArea, severity::Critical});
    }
    if (amplifier_.switchingOn() && outputs_.amplifierRelay() == OutputMapRecord::NoRelay) {
        issues.push_back({39, 0, AmplifierArea, severity::Warning});
    }
}

std::uint16_t ProjectData::nextFreeEntryId() const {
    std::bitset<MaxEntryId + 1> used;
    for (int kind : {Weekly, HolidayDay, Annual, OneTime}) {
        const ScheduleProgram& p = program(kind);
        for (int i = 0; i < p.capacity(); ++i) {
            const std::uint16_t id = p.entry(i).identifier();
            if (id >= 1 && id <= MaxEntryId) {
                used.set(id);
            }
        }
    }
    for (std::uint16_t id = 1; id <= MaxEntryId; ++id) {
        if (!used.test(id)) {
            return id;
        }
    }
    return 1;
}

std::string ProjectData::text(int id) const {
    return texts_ ? texts_->text(id) : std::string("---");
}

std::array<std::string, 3> ProjectData::identityTexts() const {
    return {"Firm: " + identity_.firmware(), "Boot: " + identity_.boot(), "Serial: " + identity_.serial()};
}

} // namespace tolvane
