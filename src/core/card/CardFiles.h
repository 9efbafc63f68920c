#pragma once

#include "card/CardFileSystem.h"
#include "project/ProjectData.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::card {

// The four files the controller reads from the root of its card.
enum class FileKind { Programs, Config, Sequences, Chimes };

constexpr FileKind AllKinds[] = {FileKind::Programs, FileKind::Config, FileKind::Sequences, FileKind::Chimes};

std::string_view fileName(FileKind kind);
// The full size of a file of this kind.
std::size_t fileSize(FileKind kind);

// Text numbers the reader and the writer report.
int missingText(FileKind kind); // 0 for kur.bin: a missing chime file counts as success
int cannotOpenText(FileKind kind);
int foreignVersionText(FileKind kind); // 0 for kur.bin, which has no trailer
// When the temporary file cannot be written: 192 for programs.dat, 658 for the others.
int temporaryFailedText(FileKind kind);

// What reading a card file did: `ok` when the project now holds the file's content (or kur.bin is simply
// absent); `text` is the number of the message to show, 0 for none.
struct ReadResult {
    bool ok = false;
    int text = 0;
};

// Reads one card file into the project. A refused file changes nothing, except that a file with the right
// format tag hands its identity trailer to the project before its checksum is tested. A file that is not
// exactly its kind's full size is refused (cannot-open text) without anything being unpacked.
ReadResult readCardFile(ProjectData& project, FileKind kind, const std::string& path, const CardFileSystem& files);

// What writing a card file did; `text` is 190 on success, the kind's temporary-file text when the image could
// not be written to the temporary folder, 192 when copying or the check failed, 459 when the project has
// critical errors (programs, configuration and sequences only; nothing is written), 2653 when another writer
// holds the card (nothing is written) and 2654 when the file is in place and read back right but the card did not
// confirm that it is stored for good. `reason` is the operating system's word for a failed write or read-back
// ("No space left on device"), or what a check that found other bytes found; empty when there is none.
struct WriteResult {
    bool ok = false;
    int text = 0;
    std::string reason;
    bool inTemporaryFolder = false; // the failure was in the temporary folder: the card was not touched
};

// Writes one card file into `folder`: packs the full image, writes it to `tempFolder`, puts a copy in place of
// the target, reads the target back and compares it with the image. Only a verified file clears the change
// marks of its group, so a failed write never makes the project look written; nothing else in the project changes.
WriteResult writeCardFile(ProjectData& project, FileKind kind, const std::string& folder, const std::string& tempFolder,
                          CardFileSystem& files);
// Writes several card files into `folder` as one write: the card folder is claimed for the whole write, every
// image is packed and written to `tempFolder`, the copies are put in place together (replaceWithCopies) and each
// is read back. One result per kind, in the order given; each file succeeds or fails on its own.
std::vector<WriteResult> writeCardFiles(ProjectData& project, std::span<const FileKind> kinds,
                                        const std::string& folder, const std::string& tempFolder,
                                        CardFileSystem& files);

// The files the exit check writes back to the card (or the DAT folder) the project came from, in the order they
// are written: programs.dat, config.dat and seq.dat for a project opened from a project file or begun new;
// otherwise each of the three that was read from the card. kur.bin is never written back. Empty: nothing to write.
std::vector<FileKind> writeBackKinds(const ProjectData& project);

// A folder path joined with a file name (a '/' between them unless the folder ends with a separator). Paths are
// the system's own bytes, UTF-8 on Windows, and stay exactly those bytes.
std::string joinPath(const std::string& folder, std::string_view name);

} // namespace tolvane::card
