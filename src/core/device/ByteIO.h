#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace tolvane {

// Little- and big-endian access to byte buffers. Every access is bounds-checked: reading or writing past the
// buffer throws std::out_of_range instead of touching memory that is not ours.
namespace bytes {

inline void check(std::size_t size, std::size_t offset, std::size_t width) {
    if (offset > size || width > size - offset) {
        throw std::out_of_range("byte access outside the buffer");
    }
}

inline std::uint16_t getU16LE(std::span<const std::uint8_t> b, std::size_t off) {
    check(b.size(), off, 2);
    return static_cast<std::uint16_t>(b[off] | (b[off + 1] << 8));
}
inline std::uint32_t getU32LE(std::span<const std::uint8_t> b, std::size_t off) {
    check(b.size(), off, 4);
    return static_cast<std::uint32_t>(b[off]) | (static_cast<std::uint32_t>(b[off + 1]) << 8) |
           (static_cast<std::uint32_t>(b[off + 2]) << 16) | (static_cast<std::uint32_t>(b[off + 3]) << 24);
}
inline std::uint16_t getU16BE(std::span<const std::uint8_t> b, std::size_t off) {
    check(b.size(), off, 2);
    return static_cast<std::uint16_t>((b[off] << 8) | b[off + 1]);
}
inline std::uint32_t getU32BE(std::span<const std::uint8_t> b, std::size_t off) {
    check(b.size(), off, 4);
    return (static_cast<std::uint32_t>(b[off]) << 24) | (static_cast<std::uint32_t>(b[off + 1]) << 16) |
           (static_cast<std::uint32_t>(b[off + 2]) << 8) | static_cast<std::uint32_t>(b[off + 3]);
}
inline void putU16LE(std::span<std::uint8_t> b, std::size_t off, std::uint16_t v) {
    check(b.size(), off, 2);
    b[off] = static_cast<std::uint8_t>(v);
    b[off + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void putU32LE(std::span<std::uint8_t> b, std::size_t off, std::uint32_t v) {
    check(b.size(), off, 4);
    for (std::size_t i = 0; i < 4; ++i) {
        b[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}
inline void putU16BE(std::span<std::uint8_t> b, std::size_t off, std::uint16_t v) {
    check(b.size(), off, 2);
    b[off] = static_cast<std::uint8_t>(v >> 8);
    b[off + 1] = static_cast<std::uint8_t>(v);
}
inline void putU32BE(std::span<std::uint8_t> b, std::size_t off, std::uint32_t v) {
    check(b.size(), off, 4);
    for (std::size_t i = 0; i < 4; ++i) {
        b[off + i] = static_cast<std::uint8_t>(v >> (8 * (3 - i)));
    }
}
// Byte reversal in place of a 16- or 32-bit field: the step between the PC's order and the controller's.
inline void swap16(std::span<std::uint8_t> b, std::size_t off) {
    check(b.size(), off, 2);
    std::swap(b[off], b[off + 1]);
}
inline void swap32(std::span<std::uint8_t> b, std::size_t off) {
    check(b.size(), off, 4);
    std::swap(b[off], b[off + 3]);
    std::swap(b[off + 1], b[off + 2]);
}

} // namespace bytes

// A fixed-size record held as exactly its bytes, with named accessors built on top by each record type.
// Bytes that nobody edits are never modelled away, so they survive every reset, save, load and card round trip.
template <std::size_t N> class ByteRecord {
public:
    static constexpr std::size_t Size = N;

    ByteRecord() { bytes_.fill(0xFF); }

    std::span<std::uint8_t, N> bytes() { return bytes_; }
    std::span<const std::uint8_t, N> bytes() const { return bytes_; }
    void fill(std::uint8_t value) { bytes_.fill(value); }

    std::uint8_t u8(std::size_t off) const {
        bytes::check(N, off, 1);
        return bytes_[off];
    }
    void setU8(std::size_t off, std::uint8_t v) {
        bytes::check(N, off, 1);
        bytes_[off] = v;
    }
    std::uint16_t u16(std::size_t off) const { return bytes::getU16LE(bytes_, off); }
    void setU16(std::size_t off, std::uint16_t v) { bytes::putU16LE(bytes_, off, v); }
    std::uint32_t u32(std::size_t off) const { return bytes::getU32LE(bytes_, off); }
    void setU32(std::size_t off, std::uint32_t v) { bytes::putU32LE(bytes_, off, v); }

    friend bool operator==(const ByteRecord&, const ByteRecord&) = default;

protected:
    std::array<std::uint8_t, N> bytes_{};
};

// Sequential bounds-checked reading of outside data. It never reads past the span it was given: a read that
// does not fit returns false and leaves the position where it was.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ == data_.size(); }

    bool readU32LE(std::uint32_t& out) {
        if (remaining() < 4) {
            return false;
        }
        out = bytes::getU32LE(data_, pos_);
        pos_ += 4;
        return true;
    }
    // The next `count` bytes, or an empty optional-like result (false) when fewer remain.
    bool readSpan(std::size_t count, std::span<const std::uint8_t>& out) {
        if (remaining() < count) {
            return false;
        }
        out = data_.subspan(pos_, count);
        pos_ += count;
        return true;
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// Sequential writing into a growing buffer.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void writeU32LE(std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i) {
            out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    void writeBytes(std::span<const std::uint8_t> data) { out_.insert(out_.end(), data.begin(), data.end()); }
    std::size_t size() const { return out_.size(); }

private:
    std::vector<std::uint8_t>& out_;
};

} // namespace tolvane
