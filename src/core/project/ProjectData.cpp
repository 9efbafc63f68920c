#include "project/ProjectData.h"

#include <algorithm>
#include <bitset>
#include <set>

namespace tolvane {

namespace {
// Validation area of the amplifier values.
constexpr std::int32_t AmplifierArea = 13;
constexpr std::uint16_t AmplifierOffBit = 0x0100;
constexpr std::size_t AmplifierFlagsOffset = 0;
constexpr std::size_t AmplifierLeadOffset = 2;
constexpr std::size_t AmplifierDelayOffset = 4;
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
        timeCorrection_.resetDefaults();
        amplifier_.resetDefaults();
        chimes_.reset();
        outputs_.reset();
        hammers_.reset();
        sequences_.reset();
        identity_.reset();
    }
    issues_.clear();
    clearModifiedAll();
}

void ProjectData::clearModifiedAll() {
    for (auto& program : programs_) {
        program->clearModified();
    }
    holidays_.clearModified();
    sequences_.clearModified();
    general_.clearModified();
    bells_.clearModified();
    striking_.clearModified();
    clocks_.clearModified();
    outputs_.clearModified();
    hammers_.clearModified();
    chimes_.clearModified();
    projectModified = 0;
}

bool ProjectData::isModifiedAll() const {
    if (projectModified != 0) {
        return true;
    }
    const bool programChanged =
        std::any_of(programs_.begin(), programs_.end(), [](const auto& p) { return p->isModified(); });
    return programChanged || holidays_.isModified() || sequences_.isModified() || general_.isModified() ||
           bells_.isModified() || striking_.isModified() || clocks_.isModified() || outputs_.isModified() ||
           hammers_.isModified() || chimes_.isModified();
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
    projectModified = 0;
}

void ProjectData::clearChimesMarks() {
    chimes_.clearModified();
}

bool ProjectData::validate() {
    issues_.clear();
    for (const auto& program : programs_) {
        program->validate(issues_);
    }
    checkIdentifiers();
    holidays_.validate(issues_);
    bells_.validate(issues_);
    clocks_.validate(issues_);
    striking_.validate(issues_);
    checkAmplifier();
    general_.validate(issues_);
    outputs_.validate(issues_);
    hammers_.validate(issues_);
    sequences_.validate(issues_);
    return hasCriticalIssues();
}

bool ProjectData::hasCriticalIssues() const {
    return std::any_of(issues_.begin(), issues_.end(),
                       [](const ValidationIssue& i) { return i.severity == severity::Critical; });
}

// Identifiers must be unique across the weekly, annual, holiday-day and one-time programs (walked in that
// order); every holder after the first is reported.
void ProjectData::checkIdentifiers() {
    std::set<std::uint16_t> seen;
    for (int kind : {Weekly, Annual, HolidayDay, OneTime}) {
        const ScheduleProgram& p = program(kind);
        for (int i = 0; i < p.usedCount(); ++i) {
            const std::uint16_t id = p.entry(i).identifier();
            if (!seen.insert(id).second) {
                issues_.push_back({49, i, kind, severity::Warning});
            }
        }
    }
}

void ProjectData::checkAmplifier() {
    auto outside = [](std::uint16_t v) { return v < 1 || v > 60; };
    if (outside(amplifier_.u16(AmplifierLeadOffset))) {
        issues_.push_back({37, 0, AmplifierArea, severity::Critical});
    }
    if (outside(amplifier_.u16(AmplifierDelayOffset))) {
        issues_.push_back({38, 0, AmplifierArea, severity::Critical});
    }
    const bool switchingOn = (amplifier_.u16(AmplifierFlagsOffset) & AmplifierOffBit) == 0;
    if (switchingOn && outputs_.amplifierRelay() == 0xFF) {
        issues_.push_back({39, 0, AmplifierArea, severity::Warning});
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
