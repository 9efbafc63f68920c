#pragma once

#include "device/ByteIO.h"
#include "section/ProjectSection.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tolvane::testing_support {

// A section's project-file body as the project file writes it: the 32-bit length and the bytes.
inline std::vector<std::uint8_t> storeBody(ProjectSection& section) {
    std::vector<std::uint8_t> out;
    auto archive = SectionArchive::forStoring(out);
    section.serialize(archive);
    return out;
}

// Reads a section back from a body as the project file holds it (length first). Throws ProjectFileError.
inline void loadBody(ProjectSection& section, const std::vector<std::uint8_t>& file) {
    ByteReader reader(file);
    auto archive = SectionArchive::forLoading(reader);
    section.serialize(archive);
}

// A hand-made body: the length of `body`, then `body`.
inline std::vector<std::uint8_t> bodyFile(const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> file;
    ByteWriter w(file);
    w.writeU32LE(static_cast<std::uint32_t>(body.size()));
    w.writeBytes(body);
    return file;
}

// `length` bytes of `b` from `offset`, to compare a part of an image or a body.
inline std::vector<std::uint8_t> slice(std::span<const std::uint8_t> b, std::size_t offset, std::size_t length) {
    return std::vector<std::uint8_t>(b.begin() + static_cast<std::ptrdiff_t>(offset),
                                     b.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

} // namespace tolvane::testing_support
