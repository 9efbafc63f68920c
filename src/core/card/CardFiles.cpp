#include "card/CardFiles.h"

#include "TextNumbers.h"
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
    return kind == FileKind::Programs ? text::CardWriteFailed : 658;
}

std::vector<FileKind> writeBackKinds(const ProjectData& project) {
    const bool opened = project.projectOpened != 0;
    std::vector<FileKind> kinds;
    if (opened || project.programsFromCard) {
        kinds.push_back(FileKind::Programs);
    }
    if (opened || project.configFromCard) {
        kinds.push_back(FileKind::Config);
    }
    if (opened || project.sequencesFromCard) {
        kinds.push_back(FileKind::Sequences);
    }
    return kinds;
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

std::vector<std::uint8_t> pack(const ProjectData& project, FileKind kind) {
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
            return {false, text::CardChecksum};
        }
    }
    unpack(project, kind, bytes);
    return {true, 0};
}

WriteResult writeCardFile(ProjectData& project, FileKind kind, const std::string& folder, const std::string& tempFolder,
                          CardFileSystem& files) {
    const FileKind kinds[] = {kind};
    return writeCardFiles(project, kinds, folder, tempFolder, files).front();
}

namespace {

// What a read-back that differs from the image found, for the message.
std::string difference(const std::vector<std::uint8_t>& image, const std::vector<std::uint8_t>& back) {
    if (back.size() != image.size()) {
        return "the card gives back " + std::to_string(back.size()) + " bytes in place of " +
               std::to_string(image.size());
    }
    const auto at = std::mismatch(image.begin(), image.end(), back.begin()).first - image.begin();
    return "the card gives back other bytes from byte " + std::to_string(at) + " on";
}

// Releases the card folder on every way out of a write.
class FolderClaim {
public:
    explicit FolderClaim(CardFileSystem& files) : files_(files) {}
    ~FolderClaim() { files_.releaseFolder(); }
    FolderClaim(const FolderClaim&) = delete;
    FolderClaim& operator=(const FolderClaim&) = delete;

private:
    CardFileSystem& files_;
};

} // namespace

std::vector<WriteResult> writeCardFiles(ProjectData& project, std::span<const FileKind> kinds,
                                        const std::string& folder, const std::string& tempFolder,
                                        CardFileSystem& files) {
    std::vector<WriteResult> results(kinds.size());
    const FolderClaim claim(files);
    switch (files.claimFolder(folder)) {
    case CardFileSystem::Claim::Taken:
        break;
    case CardFileSystem::Claim::Busy:
        std::fill(results.begin(), results.end(), WriteResult{false, text::CardBusy, files.lastError(), false});
        return results;
    case CardFileSystem::Claim::Failed:
        std::fill(results.begin(), results.end(), WriteResult{false, text::CardWriteFailed, files.lastError(), false});
        return results;
    }
    const bool critical = std::any_of(kinds.begin(), kinds.end(), [](FileKind k) { return k != FileKind::Chimes; }) &&
                          hasCritical(project.validate());
    std::vector<std::vector<std::uint8_t>> images(kinds.size());
    std::vector<CardFileSystem::Copy> copies;
    std::vector<std::size_t> copied; // the kind of each copy
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const FileKind kind = kinds[i];
        if (kind != FileKind::Chimes && critical) {
            results[i] = {false, text::CriticalErrors, {}, false};
            continue;
        }
        try {
            images[i] = pack(project, kind);
        } catch (const std::exception&) {
            results[i] = {false, text::CardWriteFailed, {}, false}; // an image that cannot be built is never copied
            continue;
        }
        const std::string temporary = joinPath(tempFolder, fileName(kind));
        if (!files.write(temporary, images[i])) {
            results[i] = {false, temporaryFailedText(kind), files.lastError(), true};
            files.remove(temporary);
            continue;
        }
        copies.push_back({temporary, joinPath(folder, fileName(kind)), false, false, {}});
        copied.push_back(i);
    }
    if (!copies.empty()) {
        files.replaceWithCopies(copies);
    }
    for (std::size_t c = 0; c < copies.size(); ++c) {
        const CardFileSystem::Copy& copy = copies[c];
        const std::size_t i = copied[c];
        files.remove(copy.from);
        if (!copy.inPlace) {
            results[i] = {false, text::CardWriteFailed, copy.reason, false};
            continue;
        }
        const auto back = files.read(copy.to, images[i].size());
        if (!back) {
            results[i] = {false, text::CardWriteFailed, files.lastError(), false};
        } else if (*back != images[i]) {
            results[i] = {false, text::CardWriteFailed, difference(images[i], *back), false};
        } else if (!copy.confirmed) {
            // The marks stay: the file may not survive.
            results[i] = {false, text::CardNotConfirmed, copy.reason, false};
        } else {
            clearMarks(project, kinds[i]);
            results[i] = {true, text::CardFileWritten, {}, false};
        }
    }
    return results;
}

} // namespace tolvane::card
