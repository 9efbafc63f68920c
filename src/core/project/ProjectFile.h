#pragma once

#include "project/ProjectData.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace tolvane {

// The project file (.tpm): a 4-byte header, then tagged sections, each a 32-bit length, the body and the
// terminator 254. All numbers are 32-bit little-endian.
namespace projectfile {

constexpr std::uint32_t Header = 0x54504D17;
constexpr std::uint32_t FormatId = 0x54504D; // upper 24 bits
constexpr std::uint32_t FormatNumber = 23;   // low byte
constexpr std::uint32_t Terminator = 254;
// The largest valid project file: the header and every section once, each at its full length, as encode() writes
// it. Readers refuse a larger file before reading it.
constexpr std::size_t MaxFileSize = 121663;

// Section tags in the order they are written.
enum Tag : std::uint32_t {
    TagWeekly = 22,
    TagHolidayDay = 23,
    TagAnnual = 24,
    TagOneTime = 25,
    TagFuneral = 26,
    TagSpecialTolling = 43,
    TagGeneral = 27,
    TagBells = 28,
    TagStriking = 29,
    TagTimeCorrection = 30,
    TagAmplifier = 31,
    TagClocks = 32,
    TagOutputs = 33,
    TagHolidays = 34,
    TagHammers = 35,
    TagSequences = 36,
    TagChimes = 42,
    TagIdentity = 37,
};

// The bytes of the whole project file; the project and its change marks are not touched.
std::vector<std::uint8_t> encode(ProjectData& project);
// What a completed save does to the project: every change mark cleared, and no section counts as missing from
// the file any more.
void markSaved(ProjectData& project);
// encode() and markSaved() in one step, for callers whose write cannot fail. Savers that write to a disk call
// encode(), write, and markSaved() only once the file is safely written, so a failed save keeps the marks.
std::vector<std::uint8_t> store(ProjectData& project);

// Reads a project file into `project` (reset to defaults first). Returns 0 on success, otherwise the number of
// the text that says why the file was refused; `project` is then left partly read and must be discarded.
// `sectionsRead`, when given, gets the bit sectionBit(id) of every section the file held.
int load(ProjectData& project, std::span<const std::uint8_t> data, std::uint32_t* sectionsRead = nullptr);

// The bit of a section in a set of sections; AllFileSections is every section a complete file holds.
constexpr std::uint32_t sectionBit(SectionId id) {
    return std::uint32_t{1} << static_cast<int>(id);
}
constexpr std::uint32_t AllFileSections = (std::uint32_t{1} << static_cast<int>(SectionId::StartFlags)) - 1;

// Opening a project as the editor does: a fresh project that is handed out only when the whole file was read,
// marked as opened from a file (not from a card) and with no change marks. A file that ends cleanly after some
// of its sections opens (older files may lack sections; the missing ones keep their defaults) with those
// sections in the project's sectionsMissingFromFile, which its check reports; a file of the header alone holds
// no project at all and is refused as not a project.
struct OpenResult {
    std::unique_ptr<ProjectData> project; // null on failure
    int errorText = 0;                    // text number when refused
};
OpenResult open(std::span<const std::uint8_t> data, const TextSource* texts = nullptr);

} // namespace projectfile
} // namespace tolvane
