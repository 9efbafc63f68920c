#pragma once

#include "device/ByteIO.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tolvane {

// Raised while reading a project file that is damaged or foreign; carries the number of the text to show.
struct ProjectFileError {
    int textId;
};

// The body of one section in the project file: a 32-bit little-endian byte count followed by that many bytes.
// Storing appends to the file buffer; loading hands out the body after checking it fits both the file and the
// section's storage, so a section never reads past the data or past its own records.
class SectionArchive {
public:
    // Text shown for a damaged file (a body that does not fit, a file cut inside a section, a bad terminator).
    static constexpr int DamagedText = 113;

    static SectionArchive forStoring(std::vector<std::uint8_t>& out) { return SectionArchive(&out, nullptr); }
    static SectionArchive forLoading(ByteReader& in) { return SectionArchive(nullptr, &in); }

    bool isStoring() const { return out_ != nullptr; }

    // Storing: writes the count and the bytes.
    void writeBody(std::span<const std::uint8_t> body) {
        ByteWriter w(*out_);
        w.writeU32LE(static_cast<std::uint32_t>(body.size()));
        w.writeBytes(body);
    }

    // Storing: writes the count of a body of `size` bytes and returns where the body goes in the file buffer, so a
    // section writes its bytes straight into the file. The caller fills every byte before the next write; the
    // span is valid until then.
    std::span<std::uint8_t> appendBody(std::size_t size) {
        ByteWriter w(*out_);
        w.writeU32LE(static_cast<std::uint32_t>(size));
        const std::size_t at = out_->size();
        out_->resize(at + size);
        return std::span<std::uint8_t>(*out_).subspan(at, size);
    }

    // Loading: reads the count and returns the body. A count above `capacity` or beyond the end of the file
    // throws ProjectFileError(113).
    std::span<const std::uint8_t> readBody(std::size_t capacity) {
        std::uint32_t length = 0;
        if (!in_->readU32LE(length) || length > capacity) {
            throw ProjectFileError{DamagedText};
        }
        std::span<const std::uint8_t> body;
        if (!in_->readSpan(length, body)) {
            throw ProjectFileError{DamagedText};
        }
        return body;
    }

    // A section that is its bytes: storing writes them whole; loading reads a body of at most their size into
    // their start, so a shorter body overwrites only the bytes it holds.
    void transferBytes(std::span<std::uint8_t> bytes) {
        if (isStoring()) {
            writeBody(bytes);
            return;
        }
        const auto body = readBody(bytes.size());
        std::copy(body.begin(), body.end(), bytes.begin());
    }

private:
    SectionArchive(std::vector<std::uint8_t>* out, ByteReader* in) : out_(out), in_(in) {}

    std::vector<std::uint8_t>* out_;
    ByteReader* in_;
};

} // namespace tolvane
