#include "project/ProjectFile.h"

#include "TextNumbers.h"

namespace tolvane::projectfile {

namespace {

// The section each tag names, in the order the file writes them.
struct TagSection {
    std::uint32_t tag;
    SectionId id;
};

constexpr TagSection WriteOrder[] = {
    {TagWeekly, SectionId::Weekly},       {TagHolidayDay, SectionId::HolidayDay},
    {TagAnnual, SectionId::Annual},       {TagOneTime, SectionId::OneTime},
    {TagFuneral, SectionId::Funeral},     {TagSpecialTolling, SectionId::SpecialTolling},
    {TagGeneral, SectionId::General},     {TagBells, SectionId::Bells},
    {TagStriking, SectionId::Striking},   {TagTimeCorrection, SectionId::TimeCorrection},
    {TagAmplifier, SectionId::Amplifier}, {TagClocks, SectionId::Clocks},
    {TagOutputs, SectionId::Outputs},     {TagHolidays, SectionId::Holidays},
    {TagHammers, SectionId::Hammers},     {TagSequences, SectionId::Sequences},
    {TagChimes, SectionId::Chimes},       {TagIdentity, SectionId::Identity},
};

// Reads or writes the body of the section that `tag` names; false for a tag that names no section.
bool serializeSection(ProjectData& p, std::uint32_t tag, SectionArchive& archive) {
    for (const TagSection& entry : WriteOrder) {
        if (entry.tag == tag) {
            p.serialize(entry.id, archive);
            return true;
        }
    }
    return false;
}

std::uint32_t tagBit(std::uint32_t tag) {
    for (const TagSection& entry : WriteOrder) {
        if (entry.tag == tag) {
            return sectionBit(entry.id);
        }
    }
    return 0;
}

} // namespace

std::vector<std::uint8_t> encode(ProjectData& project) {
    std::vector<std::uint8_t> out;
    out.reserve(121663);
    ByteWriter writer(out);
    writer.writeU32LE(Header);
    auto archive = SectionArchive::forStoring(out);
    for (const TagSection& entry : WriteOrder) {
        writer.writeU32LE(entry.tag);
        project.serialize(entry.id, archive);
        writer.writeU32LE(Terminator);
    }
    return out;
}

void markSaved(ProjectData& project) {
    project.resetAll(true);
    project.clearModifiedAll();
    project.sectionsMissingFromFile = 0; // the file now holds every section
}

std::vector<std::uint8_t> store(ProjectData& project) {
    auto out = encode(project);
    markSaved(project);
    return out;
}

int load(ProjectData& project, std::span<const std::uint8_t> data, std::uint32_t* sectionsRead) {
    ByteReader reader(data);
    std::uint32_t header = 0;
    if (!reader.readU32LE(header) || (header >> 8) != FormatId) {
        return text::NotAProject;
    }
    if ((header & 0xFF) != FormatNumber) {
        return text::ProjectWrongFormat;
    }
    project.resetAll(false);
    auto archive = SectionArchive::forLoading(reader);
    try {
        while (!reader.atEnd()) {
            std::uint32_t tag = 0;
            if (!reader.readU32LE(tag)) {
                return text::ProjectDamaged; // the file ends inside a tag
            }
            if (!serializeSection(project, tag, archive)) {
                return text::UnknownSection;
            }
            if (sectionsRead) {
                *sectionsRead |= tagBit(tag);
            }
            std::uint32_t terminator = 0;
            if (!reader.readU32LE(terminator) || terminator != Terminator) {
                return text::ProjectDamaged;
            }
        }
    } catch (const ProjectFileError& error) {
        return error.textId;
    }
    return 0;
}

OpenResult open(std::span<const std::uint8_t> data, const TextSource* texts) {
    auto project = std::make_unique<ProjectData>();
    project->setTextSource(texts);
    std::uint32_t sectionsRead = 0;
    const int error = load(*project, data, &sectionsRead);
    if (error != 0) {
        return {nullptr, error};
    }
    if (sectionsRead == 0) {
        return {nullptr, text::NotAProject};
    }
    project->sectionsMissingFromFile = AllFileSections & ~sectionsRead;
    project->projectOpened = 1;
    project->programsFromCard = 0;
    project->sequencesFromCard = 0;
    project->configFromCard = 0;
    project->chimesFromCard = 0;
    project->clearModifiedAll();
    return {std::move(project), 0};
}

} // namespace tolvane::projectfile
