#include "card/CardImages.h"

#include "card/Crc16.h"

#include <algorithm>

namespace tolvane::card {

namespace {

template <typename Span> auto at(Span image, std::size_t offset, std::size_t length) {
    return image.subspan(offset, length);
}

// Stores the payload checksum high byte first and appends the identity trailer.
void frame(const ProjectData& project, std::span<std::uint8_t, ImageSize> image) {
    const std::uint16_t crc = imageChecksum(image);
    image[ChecksumOffset] = static_cast<std::uint8_t>(crc >> 8);
    image[ChecksumOffset + 1] = static_cast<std::uint8_t>(crc & 0xFF);
    project.packIdentity(image.subspan<TrailerOffset, TrailerSize>());
}

std::size_t programImageSize(const ScheduleProgram& program) {
    return static_cast<std::size_t>(program.capacity()) * ScheduleProgram::EntrySize;
}

} // namespace

std::uint16_t imageChecksum(std::span<const std::uint8_t> image) {
    return Crc16::compute(image.first(std::min(image.size(), PayloadSize)));
}

bool checksumMatches(std::span<const std::uint8_t, ImageSize> image) {
    const std::uint16_t crc = imageChecksum(image);
    return image[ChecksumOffset] == (crc >> 8) && image[ChecksumOffset + 1] == (crc & 0xFF);
}

void packProgramsImage(const ProjectData& project, std::span<std::uint8_t, ImageSize> image) {
    for (int kind = 0; kind < ProjectData::ProgramCount; ++kind) {
        const ScheduleProgram& program = project.program(kind);
        program.packImage(at(image, ProgramSlotOffsets[kind], programImageSize(program)));
    }
    project.holidays().packImage(at(image, HolidaysOffset, HolidayTable::ImageSize));
    frame(project, image);
}

void unpackProgramsImage(ProjectData& project, std::span<const std::uint8_t, ImageSize> image) {
    for (int kind = 0; kind < ProjectData::ProgramCount; ++kind) {
        ScheduleProgram& program = project.program(kind);
        program.unpackImage(at(image, ProgramSlotOffsets[kind], programImageSize(program)));
    }
    project.holidays().unpackImage(at(image, HolidaysOffset, HolidayTable::ImageSize));
    // Resetting the programs marks every entry; what was just read from a card is unchanged content.
    project.clearProgramsMarks();
    project.programsFromCard = 1;
}

void packConfigImage(const ProjectData& project, std::span<std::uint8_t, ImageSize> image) {
    project.general().writeImage(at(image, GeneralOffset, GeneralSettings::ImageSize));
    // The astronomical clock works out dusk and dawn from these four bytes: a built-in place goes out with its own
    // coordinates whatever the project's bytes hold. The project itself is left as it is.
    const AstroPlaces::Place place = project.general().controllerCoordinates();
    image[GeneralOffset + GeneralSettings::LongitudeDegreesOffset] = place.longitudeDegrees;
    image[GeneralOffset + GeneralSettings::LongitudeMinutesOffset] = place.longitudeMinutes;
    image[GeneralOffset + GeneralSettings::LatitudeDegreesOffset] = place.latitudeDegrees;
    image[GeneralOffset + GeneralSettings::LatitudeMinutesOffset] = place.latitudeMinutes;
    project.bells().packImage(at(image, BellsOffset, BellTable::ImageSize));
    project.striking().packImage(at(image, StrikingOffset, StrikingSettings::ImageSize));
    project.timeCorrection().packImage(at(image, TimeCorrectionOffset, TimeCorrectionSettings::Size));
    // The amplifier block goes out in the controller's order; the project's own block is left as it is.
    project.amplifier().packImage(at(image, AmplifierOffset, AmplifierSettings::Size));
    project.clocks().packImage(at(image, ClocksOffset, TowerClockTable::ImageSize));
    project.outputs().packImage(at(image, OutputsOffset, OutputMap::ImageSize));
    project.hammers().packImage(at(image, HammersOffset, HammerTable::ImageSize));
    frame(project, image);
}

void unpackConfigImage(ProjectData& project, std::span<const std::uint8_t, ImageSize> image) {
    project.timeCorrection().clearModified();
    project.striking().clearModified();
    project.holidays().clearModified();

    // The configuration group is reset as a full reset does it, chime names included.
    project.general().reset();
    project.bells().reset();
    project.striking().reset();
    project.clocks().reset();
    project.timeCorrection().reset();
    project.amplifier().reset();
    project.chimes().reset();
    project.outputs().reset();

    project.general().unpackImage(at(image, GeneralOffset, GeneralSettings::ImageSize));
    project.bells().unpackImage(at(image, BellsOffset, BellTable::ImageSize));
    project.striking().unpackImage(at(image, StrikingOffset, StrikingSettings::ImageSize));
    project.timeCorrection().unpackImage(at(image, TimeCorrectionOffset, TimeCorrectionSettings::Size));
    project.amplifier().unpackImage(at(image, AmplifierOffset, AmplifierSettings::Size));
    project.clocks().unpackImage(at(image, ClocksOffset, TowerClockTable::ImageSize));
    project.outputs().unpackImage(at(image, OutputsOffset, OutputMap::ImageSize));
    project.hammers().unpackImage(at(image, HammersOffset, HammerTable::ImageSize));
    project.clearConfigMarks();
    project.configFromCard = 1;
}

void packSequencesImage(const ProjectData& project, std::span<std::uint8_t, ImageSize> image) {
    project.sequences().packImage(at(image, 0, SequenceTable::ImageSize));
    frame(project, image);
}

void unpackSequencesImage(ProjectData& project, std::span<const std::uint8_t, ImageSize> image) {
    project.sequences().clearModified();
    project.sequences().unpackImage(at(image, 0, SequenceTable::ImageSize));
    project.sequencesFromCard = 1;
}

void packChimesImage(const ProjectData& project, std::span<std::uint8_t, ChimesImageSize> image) {
    project.chimes().packImage(image);
}

void unpackChimesImage(ProjectData& project, std::span<const std::uint8_t, ChimesImageSize> image) {
    project.chimes().clearModified();
    project.chimes().reset();
    project.chimes().unpackImage(image);
    project.chimesFromCard = 1;
}

} // namespace tolvane::card
