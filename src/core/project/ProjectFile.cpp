#include "project/ProjectFile.h"

namespace tolvane::projectfile {

namespace {

// A plain block without a section object (time corrections, amplifier, card identity): its bytes as they are.
template <std::size_t N> void serializeBlock(SectionArchive& archive, ByteRecord<N>& block) {
    if (archive.isStoring()) {
        archive.writeBody(block.bytes());
        return;
    }
    const auto body = archive.readBody(N);
    std::copy(body.begin(), body.end(), block.bytes().begin());
}

// Reads or writes the body of the section that `tag` names; false for a tag that names no section.
bool serializeSection(ProjectData& p, std::uint32_t tag, SectionArchive& archive) {
    switch (tag) {
    case TagWeekly:
        p.program(Weekly).serialize(archive);
        return true;
    case TagHolidayDay:
        p.program(HolidayDay).serialize(archive);
        return true;
    case TagAnnual:
        p.program(Annual).serialize(archive);
        return true;
    case TagOneTime:
        p.program(OneTime).serialize(archive);
        return true;
    case TagFuneral:
        p.program(Funeral).serialize(archive);
        return true;
    case TagSpecialTolling:
        p.program(SpecialTolling).serialize(archive);
        return true;
    case TagGeneral:
        p.general().serialize(archive);
        return true;
    case TagBells:
        p.bells().serialize(archive);
        return true;
    case TagStriking:
        p.striking().serialize(archive);
        return true;
    case TagTimeCorrection:
        serializeBlock(archive, p.timeCorrection());
        return true;
    case TagAmplifier:
        serializeBlock(archive, p.amplifier());
        return true;
    case TagClocks:
        p.clocks().serialize(archive);
        return true;
    case TagOutputs:
        p.outputs().serialize(archive);
        return true;
    case TagHolidays:
        p.holidays().serialize(archive);
        return true;
    case TagHammers:
        p.hammers().serialize(archive);
        return true;
    case TagSequences:
        p.sequences().serialize(archive);
        return true;
    case TagChimes:
        p.chimes().serialize(archive);
        return true;
    case TagIdentity:
        serializeBlock(archive, p.identity());
        return true;
    default:
        return false;
    }
}

constexpr std::uint32_t WriteOrder[] = {TagWeekly,         TagHolidayDay, TagAnnual,  TagOneTime,  TagFuneral,
                                        TagSpecialTolling, TagGeneral,    TagBells,   TagStriking, TagTimeCorrection,
                                        TagAmplifier,      TagClocks,     TagOutputs, TagHolidays, TagHammers,
                                        TagSequences,      TagChimes,     TagIdentity};

} // namespace

std::vector<std::uint8_t> encode(ProjectData& project) {
    std::vector<std::uint8_t> out;
    out.reserve(121663);
    ByteWriter writer(out);
    writer.writeU32LE(Header);
    auto archive = SectionArchive::forStoring(out);
    for (std::uint32_t tag : WriteOrder) {
        writer.writeU32LE(tag);
        serializeSection(project, tag, archive);
        writer.writeU32LE(Terminator);
    }
    return out;
}

void markSaved(ProjectData& project) {
    project.resetAll(true);
    project.clearModifiedAll();
}

std::vector<std::uint8_t> store(ProjectData& project) {
    auto out = encode(project);
    markSaved(project);
    return out;
}

int load(ProjectData& project, std::span<const std::uint8_t> data) {
    ByteReader reader(data);
    std::uint32_t header = 0;
    if (!reader.readU32LE(header) || (header >> 8) != FormatId) {
        return TextNotAProject;
    }
    if ((header & 0xFF) != FormatNumber) {
        return TextWrongFormat;
    }
    project.resetAll(false);
    auto archive = SectionArchive::forLoading(reader);
    try {
        while (!reader.atEnd()) {
            std::uint32_t tag = 0;
            if (!reader.readU32LE(tag)) {
                return TextDamaged; // the file ends inside a tag
            }
            if (!serializeSection(project, tag, archive)) {
                return TextUnknownSection;
            }
            std::uint32_t terminator = 0;
            if (!reader.readU32LE(terminator) || terminator != Terminator) {
                return TextDamaged;
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
    const int error = load(*project, data);
    if (error != 0) {
        return {nullptr, error};
    }
    project->projectOpened = 1;
    project->programsFromCard = 0;
    project->sequencesFromCard = 0;
    project->configFromCard = 0;
    project->chimesFromCard = 0;
    project->clearModifiedAll();
    return {std::move(project), 0};
}

} // namespace tolvane::projectfile
