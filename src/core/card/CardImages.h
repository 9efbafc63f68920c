#pragma once

#include "project/ProjectData.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

namespace tolvane::card {

// The frame shared by programs.dat, config.dat and seq.dat: a payload, its checksum (high byte first) and the
// 23-byte identity trailer.
constexpr std::size_t ImageSize = 0x10017;  // 65,559 bytes
constexpr std::size_t PayloadSize = 0xFFFE; // bytes covered by the checksum
constexpr std::size_t ChecksumOffset = 0xFFFE;
constexpr std::size_t TrailerOffset = 0x10000;
constexpr std::size_t TrailerSize = 23;
constexpr std::size_t ChimesImageSize = 9600; // kur.bin: no checksum, no trailer

// Where the sections sit in programs.dat.
constexpr std::size_t ProgramSlotOffsets[ProjectData::ProgramCount] = {0x0000, 0x2F00, 0x5E00, 0x8D00, 0xBC00, 0xBE80};
constexpr std::size_t HolidaysOffset = 0xC000;

// Where the sections sit in config.dat.
constexpr std::size_t GeneralOffset = 0;
constexpr std::size_t BellsOffset = 264;
constexpr std::size_t StrikingOffset = 584;
constexpr std::size_t TimeCorrectionOffset = 780;
constexpr std::size_t AmplifierOffset = 852;
constexpr std::size_t ClocksOffset = 922;
constexpr std::size_t OutputsOffset = 1046;
constexpr std::size_t HammersOffset = 1284;

// The checksum of a full image's payload, as the controller checks it.
std::uint16_t imageChecksum(std::span<const std::uint8_t> image);
// True when the checksum stored in a full image matches its payload.
bool checksumMatches(std::span<const std::uint8_t, ImageSize> image);

// Packers: the buffer is pre-filled with 0xFF by the caller and has the file's full size. Each writes the
// sections at their offsets, then (for the three framed images) the checksum and the identity trailer. Packing
// never changes the project: the constant signature of config.dat is set in the image only.
void packProgramsImage(const ProjectData& project, std::span<std::uint8_t, ImageSize> image);
void packConfigImage(const ProjectData& project, std::span<std::uint8_t, ImageSize> image);
void packSequencesImage(const ProjectData& project, std::span<std::uint8_t, ImageSize> image);
void packChimesImage(const ProjectData& project, std::span<std::uint8_t, ChimesImageSize> image);
// The same packers under the type that takes a project the caller may change (tests and benchmarks keep tables
// of packers of that type); they change nothing either.
inline void packProgramsImage(ProjectData& project, std::span<std::uint8_t, ImageSize> image) {
    packProgramsImage(std::as_const(project), image);
}
inline void packConfigImage(ProjectData& project, std::span<std::uint8_t, ImageSize> image) {
    packConfigImage(std::as_const(project), image);
}
inline void packSequencesImage(ProjectData& project, std::span<std::uint8_t, ImageSize> image) {
    packSequencesImage(std::as_const(project), image);
}

// Unpackers: replace the sections of their group from a full image and set the matching from-card flag. They do
// not look at the trailer or the checksum (the card reader does that first) and never fail on content.
void unpackProgramsImage(ProjectData& project, std::span<const std::uint8_t, ImageSize> image);
// Reading a configuration also empties the chime names: they come back when kur.bin is read afterwards.
void unpackConfigImage(ProjectData& project, std::span<const std::uint8_t, ImageSize> image);
void unpackSequencesImage(ProjectData& project, std::span<const std::uint8_t, ImageSize> image);
void unpackChimesImage(ProjectData& project, std::span<const std::uint8_t, ChimesImageSize> image);

} // namespace tolvane::card
