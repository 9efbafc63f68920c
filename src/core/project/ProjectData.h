#pragma once

#include "project/CardIdentity.h"
#include "ringing/BellTable.h"
#include "ringing/ChimeNameTable.h"
#include "ringing/HammerTable.h"
#include "ringing/OutputMap.h"
#include "ringing/SequenceTable.h"
#include "ringing/StrikingSettings.h"
#include "ringing/TimeCorrectionSettings.h"
#include "ringing/TowerClockTable.h"
#include "schedules/HolidayTable.h"
#include "schedules/ScheduleProgram.h"
#include "section/TextSource.h"
#include "section/ValidationIssue.h"
#include "settings/AmplifierSettings.h"
#include "settings/GeneralSettings.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tolvane {

// Every part of a project that carries state, in the order the project file writes them, then the five start
// flags. The first six are the schedule programs in kind order.
enum class SectionId : int {
    Weekly,
    HolidayDay,
    Annual,
    OneTime,
    Funeral,
    SpecialTolling,
    General,
    Bells,
    Striking,
    TimeCorrection,
    Amplifier,
    Clocks,
    Outputs,
    Holidays,
    Hammers,
    Sequences,
    Chimes,
    Identity,
    StartFlags,
};
constexpr int SectionIdCount = 19;

// The whole configuration of one controller installation: every section, the card identity and the change
// marks. The project file and the card files are two serialisations of this one object.
// Sections refer to each other through non-owning pointers set once here, so a project is neither copied nor moved.
class ProjectData {
public:
    static constexpr int ProgramCount = 6;
    // The check's code and area for a section missing from the opened file (see sectionsMissingFromFile).
    static constexpr std::int32_t IssueSectionMissing = 120;
    static constexpr std::int32_t FileSectionArea = 19;

    ProjectData();
    ProjectData(const ProjectData&) = delete;
    ProjectData& operator=(const ProjectData&) = delete;

    // State flags.
    std::uint8_t programsFromCard = 0;
    std::uint8_t sequencesFromCard = 0;
    std::uint8_t configFromCard = 0;
    std::uint8_t projectOpened = 0;
    std::uint8_t chimesFromCard = 0;
    // The sections (bits 1 << SectionId) a project file that was opened lacked, so that they hold defaults: a file
    // cut short, or one of an older version. The check reports each as a warning; saving the file completes it.
    std::uint32_t sectionsMissingFromFile = 0;

    CardIdentity& identity() { return identity_; }
    const CardIdentity& identity() const { return identity_; }

    ScheduleProgram& program(int kind) { return *programs_.at(static_cast<std::size_t>(kind)); }
    const ScheduleProgram& program(int kind) const { return *programs_.at(static_cast<std::size_t>(kind)); }
    HolidayTable& holidays() { return holidays_; }
    const HolidayTable& holidays() const { return holidays_; }
    SequenceTable& sequences() { return sequences_; }
    const SequenceTable& sequences() const { return sequences_; }
    GeneralSettings& general() { return general_; }
    const GeneralSettings& general() const { return general_; }
    BellTable& bells() { return bells_; }
    const BellTable& bells() const { return bells_; }
    StrikingSettings& striking() { return striking_; }
    const StrikingSettings& striking() const { return striking_; }
    TowerClockTable& clocks() { return clocks_; }
    const TowerClockTable& clocks() const { return clocks_; }
    OutputMap& outputs() { return outputs_; }
    const OutputMap& outputs() const { return outputs_; }
    HammerTable& hammers() { return hammers_; }
    const HammerTable& hammers() const { return hammers_; }
    ChimeNameTable& chimes() { return chimes_; }
    const ChimeNameTable& chimes() const { return chimes_; }
    TimeCorrectionSettings& timeCorrection() { return timeCorrection_; }
    const TimeCorrectionSettings& timeCorrection() const { return timeCorrection_; }
    AmplifierSettings& amplifier() { return amplifier_; }
    const AmplifierSettings& amplifier() const { return amplifier_; }

    // The section object of `id`; null for the card identity and the start flags.
    ProjectSection* section(SectionId id);
    const ProjectSection* section(SectionId id) const;
    // Calls f(id, section) for every section object, in project-file order.
    template <typename F> void forEachSection(F f) {
        for (int i = 0; i < SectionIdCount; ++i) {
            if (ProjectSection* s = section(static_cast<SectionId>(i))) {
                f(static_cast<SectionId>(i), *s);
            }
        }
    }
    template <typename F> void forEachSection(F f) const {
        for (int i = 0; i < SectionIdCount; ++i) {
            if (const ProjectSection* s = section(static_cast<SectionId>(i))) {
                f(static_cast<SectionId>(i), *s);
            }
        }
    }

    // The state of every part, sections and blocks alike (see SectionState): handed out and taken back byte for
    // byte. setState throws std::invalid_argument for a state of another shape and leaves the part as it was.
    SectionState state(SectionId id) const;
    void setState(SectionId id, const SectionState& state);
    // Marks what differs between two states of `id` where nothing is marked yet (see ProjectSection).
    void markChanges(SectionId id, const SectionState& from, const SectionState& to);

    // Reads or writes the project-file body of `id` (not StartFlags).
    void serialize(SectionId id, SectionArchive& archive);

    // keepContent false: every section back to its defaults and the card identity reset. In both cases every
    // change mark is cleared.
    void resetAll(bool keepContent);
    void clearModifiedAll();
    bool isModifiedAll() const;
    // Puts the dated schedules (weekly, holiday-day, annual, one-time) in time order, as their pages list them.
    // Part of loading a project or card files, so that merely showing a page never reorders the project.
    void sortSchedulesByTime();
    // The same in the order each list is kept in: `keys[kind]` for the weekly, holiday-day, annual and one-time
    // schedules.
    void sortSchedules(const std::array<SortKey, 4>& keys);
    // The groups the card page writes: clearing their marks once a file has been written.
    void clearProgramsMarks();
    void clearSequencesMarks();
    void clearConfigMarks();
    void clearChimesMarks();

    // Checks the whole project and returns every issue found, in check order; hasCritical() of the list tells
    // whether the project may go to a card. The project keeps nothing of the check: each call checks afresh.
    [[nodiscard]] IssueList validate() const;

    // The smallest program identifier 1-512 not used by any slot of the weekly, holiday-day, annual and
    // one-time programs; 1 when all are taken.
    std::uint16_t nextFreeEntryId() const;

    // User-interface texts by number, "---" without a text source.
    void setTextSource(const TextSource* texts) { texts_ = texts; }
    const TextSource* textSource() const { return texts_; }
    std::string text(int id) const;

    // The three status-bar texts: "Firm: …", "Boot: …", "Serial: …".
    std::array<std::string, 3> identityTexts() const;

    // The 23-byte identity trailer of every card image.
    void packIdentity(std::span<std::uint8_t, 23> out) const { identity_.pack(out); }
    bool unpackIdentity(std::span<const std::uint8_t, 23> in) { return identity_.unpack(in); }

private:
    void setReferences();
    void checkAmplifier(IssueList& issues) const;
    void checkIdentifiers(IssueList& issues) const;
    void checkFileSections(IssueList& issues) const;

    CardIdentity identity_;
    std::array<std::unique_ptr<ScheduleProgram>, ProgramCount> programs_;
    HolidayTable holidays_;
    SequenceTable sequences_;
    GeneralSettings general_;
    BellTable bells_;
    StrikingSettings striking_;
    TowerClockTable clocks_;
    OutputMap outputs_;
    HammerTable hammers_;
    ChimeNameTable chimes_;
    TimeCorrectionSettings timeCorrection_;
    AmplifierSettings amplifier_;
    const TextSource* texts_ = nullptr;
};

} // namespace tolvane
