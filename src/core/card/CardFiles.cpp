#include "card/CardFiles.h"

#include "card/CardImages.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace tolvane::card {

std::string_view fileName(FileKind kind) {
    switch (kind) {
    case FileKind::Programs:
        return "programs.dat";
    case FileKind::Config:
        return "config.dat";
    case FileKind::Sequences:
        return "seq.dat";
    case FileKind::Chimes:
        return "kur.bin";
    }
    return {};
}

std::size_t fileSize(FileKind kind) {
    return kind == FileKind::Chimes ? ChimesImageSize : ImageSize;
}

int missingText(FileKind kind) {
    switch (kind) {
    case FileKind::Programs:
        return 193;
    case FileKind::Config:
        return 194;
    case FileKind::Sequences:
        return 585;
    case FileKind::Chimes:
        return 0;
    }
    return 0;
}

int cannotOpenText(FileKind kind) {
    return kind == FileKind::Config ? 191 : 195;
}

int foreignVersionText(FileKind kind) {
    switch (kind) {
    case FileKind::Programs:
        return 673;
    case FileKind::Config:
        return 675;
    case FileKind::Sequences:
        return 674;
    case FileKind::Chimes:
        return 0;
    }
    return 0;
}

int temporaryFailedText(FileKind kind) {
    return kind == FileKind::Programs ? TextWriteFailed : 658;
}

// Joined as text, never through std::filesystem::path: on Windows that would pass a UTF-8 path through the ANSI
// code page and lose every character outside it.
std::string joinPath(const std::string& folder, std::string_view name) {
    if (folder.empty()) {
        return std::string(name);
    }
#ifdef _WIN32
    const bool separated = folder.back() == '/' || folder.back() == '\\';
#else
    const bool separated = folder.back() == '/';
#endif
    return folder + (separated ? "" : "/") + std::string(name);
}

namespace {

void unpack(ProjectData& project, FileKind kind, std::span<const std::uint8_t> data) {
    switch (kind) {
    case FileKind::Programs:
        unpackProgramsImage(project, data.first<ImageSize>());
        break;
    case FileKind::Config:
        unpackConfigImage(project, data.first<ImageSize>());
        break;
    case FileKind::Sequences:
        unpackSequencesImage(project, data.first<ImageSize>());
        // Every sequence read from a card shows as changed on the sequences page.
        project.sequences().markAllChanged();
        break;
    case FileKind::Chimes:
        unpackChimesImage(project, data.first<ChimesImageSize>());
        break;
    }
}

std::vector<std::uint8_t> pack(ProjectData& project, FileKind kind) {
    std::vector<std::uint8_t> image(fileSize(kind), 0xFF);
    const std::span<std::uint8_t> all(image);
    switch (kind) {
    case FileKind::Programs:
        packProgramsImage(project, all.first<ImageSize>());
        break;
    case FileKind::Config:
        packConfigImage(project, all.first<ImageSize>());
        break;
    case FileKind::Sequences:
        packSequencesImage(project, all.first<ImageSize>());
        break;
    case FileKind::Chimes:
        packChimesImage(project, all.first<ChimesImageSize>());
        break;
    }
    return image;
}

void clearMarks(ProjectData& project, FileKind kind) {
    switch (kind) {
    case FileKind::Programs:
        project.clearProgramsMarks();
        break;
    case FileKind::Config:
        project.clearConfigMarks();
        break;
    case FileKind::Sequences:
        project.clearSequencesMarks();
        break;
    case FileKind::Chimes:
        project.clearChimesMarks();
        break;
    }
}

} // namespace

ReadResult readCardFile(ProjectData& project, FileKind kind, const std::string& path, const CardFileSystem& files) {
    if (path.empty()) {
        return {false, 0};
    }
    if (!files.exists(path)) {
        if (kind == FileKind::Chimes) {
            return {true, 0};
        }
        return {false, missingText(kind)};
    }
    const std::size_t size = fileSize(kind);
    const auto data = files.read(path, size);
    // Only a file of exactly its full size is unpacked: a partial buffer would mix the card with defaults.
    if (!data || data->size() != size) {
        return {false, cannotOpenText(kind)};
    }
    const std::span<const std::uint8_t> bytes(*data);
    if (kind != FileKind::Chimes) {
        if (!project.unpackIdentity(bytes.subspan<TrailerOffset, TrailerSize>())) {
            return {false, foreignVersionText(kind)};
        }
        if (!checksumMatches(bytes.first<ImageSize>())) {
            return {false, TextChecksum};
        }
    }
    unpack(project, kind, bytes);
    return {true, 0};
}

WriteResult writeCardFile(ProjectData& project, FileKind kind, const std::string& folder, const std::string& tempFolder,
                          CardFileSystem& files) {
    if (kind != FileKind::Chimes && project.validate()) {
        return {false, TextCriticalErrors, {}};
    }
    std::vector<std::uint8_t> image;
    try {
        image = pack(project, kind);
    } catch (const std::exception&) {
        return {false, TextWriteFailed, {}}; // an image that cannot be built is never copied
    }
    const std::string temporary = joinPath(tempFolder, fileName(kind));
    const std::string target = joinPath(folder, fileName(kind));
    if (!files.write(temporary, image)) {
        const std::string reason = files.lastError();
        files.remove(temporary);
        return {false, temporaryFailedText(kind), reason};
    }
    bool verified = files.replaceWithCopy(temporary, target);
    std::string reason = verified ? std::string() : files.lastError();
    files.remove(temporary);
    if (verified) {
        const auto back = files.read(target, image.size());
        verified = back && *back == image;
        if (!back) {
            reason = files.lastError();
        }
    }
    if (!verified) {
        return {false, TextWriteFailed, reason};
    }
    clearMarks(project, kind);
    return {true, TextWritten, {}};
}

} // namespace tolvane::card
