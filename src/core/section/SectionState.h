#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// Everything a section holds in memory, as bytes: its content (records, used counts, texts) and, apart, its
// change marks. A section hands its state out and takes it back unchanged, so an editor can keep the last
// committed state of a project and restore any earlier one byte for byte (undo and redo). The layout is private
// to the section: only the section itself reads it.
struct SectionState {
    std::vector<std::uint8_t> content;
    std::vector<std::uint8_t> marks;

    friend bool operator==(const SectionState&, const SectionState&) = default;
};

// Appends values to one part of a state.
class StateWriter {
public:
    explicit StateWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void bytes(std::span<const std::uint8_t> data) { out_.insert(out_.end(), data.begin(), data.end()); }
    void u32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) {
            out_.push_back(static_cast<std::uint8_t>(v >> shift));
        }
    }
    void u64(std::uint64_t v) {
        u32(static_cast<std::uint32_t>(v));
        u32(static_cast<std::uint32_t>(v >> 32));
    }
    // A text in a slot of fixed size (a length word, the bytes, zero fill), so that the records after it keep
    // their place whatever the text's length. A text longer than the slot cannot be held and is refused.
    void text(std::string_view s, std::size_t slot) {
        if (s.size() + 4 > slot) {
            throw std::length_error("text longer than its state slot");
        }
        u32(static_cast<std::uint32_t>(s.size()));
        out_.insert(out_.end(), s.begin(), s.end());
        out_.insert(out_.end(), slot - 4 - s.size(), std::uint8_t{0});
    }

    // A text of any length: its length word and its bytes.
    void varText(std::string_view s) {
        u32(static_cast<std::uint32_t>(s.size()));
        out_.insert(out_.end(), s.begin(), s.end());
    }

private:
    std::vector<std::uint8_t>& out_;
};

// Reads a part of a state back in the order it was written. A state of another shape is refused with
// std::invalid_argument before the section is touched where the section checks its size first; a read past the
// end throws the same.
class StateReader {
public:
    explicit StateReader(std::span<const std::uint8_t> in) : in_(in) {}

    void bytes(std::span<std::uint8_t> out) {
        need(out.size());
        std::copy_n(in_.begin() + static_cast<std::ptrdiff_t>(at_), out.size(), out.begin());
        at_ += out.size();
    }
    std::uint32_t u32() {
        need(4);
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v |= static_cast<std::uint32_t>(in_[at_ + static_cast<std::size_t>(i)]) << (8 * i);
        }
        at_ += 4;
        return v;
    }
    std::uint64_t u64() {
        const std::uint64_t low = u32();
        return low | (static_cast<std::uint64_t>(u32()) << 32);
    }
    std::string text(std::size_t slot) {
        need(slot);
        const std::uint32_t length = u32();
        if (length + std::size_t{4} > slot) {
            throw std::invalid_argument("text slot of a state");
        }
        std::string s(reinterpret_cast<const char*>(in_.data() + at_), length);
        at_ += slot - 4;
        return s;
    }
    std::string varText() {
        const std::uint32_t length = u32();
        need(length);
        std::string s(reinterpret_cast<const char*>(in_.data() + at_), length);
        at_ += length;
        return s;
    }
    bool atEnd() const { return at_ == in_.size(); }

private:
    void need(std::size_t n) const {
        if (in_.size() - at_ < n) {
            throw std::invalid_argument("state shorter than its section");
        }
    }

    std::span<const std::uint8_t> in_;
    std::size_t at_ = 0;
};

namespace sectionstate {

// Calls `changed(i)` for every record i of `count` records of `stride` bytes at the start of two contents that
// differ in that record's bytes.
template <typename F>
void forEachChangedRecord(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, std::size_t stride,
                          int count, F changed) {
    for (int i = 0; i < count; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * stride;
        if (at + stride > a.size() || at + stride > b.size()) {
            return;
        }
        if (!std::equal(a.begin() + static_cast<std::ptrdiff_t>(at),
                        a.begin() + static_cast<std::ptrdiff_t>(at + stride),
                        b.begin() + static_cast<std::ptrdiff_t>(at))) {
            changed(i);
        }
    }
}

} // namespace sectionstate

namespace sectionstate {

inline void writeMark(StateWriter& w, std::uint32_t m) {
    w.u32(m);
}
inline void writeMark(StateWriter& w, std::int32_t m) {
    w.u32(static_cast<std::uint32_t>(m));
}
inline void writeMark(StateWriter& w, std::uint64_t m) {
    w.u64(m);
}
template <std::size_t N> void writeMark(StateWriter& w, const std::array<std::uint32_t, N>& m) {
    for (std::uint32_t word : m) {
        w.u32(word);
    }
}
inline void readMark(StateReader& r, std::uint32_t& m) {
    m = r.u32();
}
inline void readMark(StateReader& r, std::int32_t& m) {
    m = static_cast<std::int32_t>(r.u32());
}
inline void readMark(StateReader& r, std::uint64_t& m) {
    m = r.u64();
}
template <std::size_t N> void readMark(StateReader& r, std::array<std::uint32_t, N>& m) {
    for (std::uint32_t& word : m) {
        word = r.u32();
    }
}
inline bool isMarked(std::uint32_t m) {
    return m != 0;
}
inline bool isMarked(std::int32_t m) {
    return m != 0;
}
inline bool isMarked(std::uint64_t m) {
    return m != 0;
}
template <std::size_t N> bool isMarked(const std::array<std::uint32_t, N>& m) {
    return std::any_of(m.begin(), m.end(), [](std::uint32_t word) { return word != 0; });
}

// The state of a table of fixed-size byte records with one mark per record: the records' bytes in order, then
// one 32-bit value the section keeps beside them (its used count, or 0); the marks in record order.
template <typename Record, typename Mark>
SectionState tableState(std::span<const Record> records, std::span<const Mark> marks, std::uint32_t tail = 0) {
    SectionState s;
    s.content.reserve(records.size() * Record::Size + 4);
    StateWriter content(s.content);
    for (const Record& r : records) {
        content.bytes(r.bytes());
    }
    content.u32(tail);
    StateWriter markWriter(s.marks);
    for (const Mark& m : marks) {
        writeMark(markWriter, m);
    }
    return s;
}

// Takes back a state made by tableState and returns the value kept beside the records. A state of another size
// throws std::invalid_argument before anything is changed.
template <typename Record, typename Mark>
std::uint32_t setTableState(const SectionState& s, std::span<Record> records, std::span<Mark> marks) {
    if (s.content.size() != records.size() * Record::Size + 4 || s.marks.size() != marks.size() * sizeof(Mark)) {
        throw std::invalid_argument("state of another section");
    }
    StateReader content(s.content);
    for (Record& r : records) {
        content.bytes(r.bytes());
    }
    const std::uint32_t tail = content.u32();
    StateReader markReader(s.marks);
    for (Mark& m : marks) {
        readMark(markReader, m);
    }
    return tail;
}

// Gives `all` to the mark of every record whose bytes differ between two table states and that has no mark.
template <typename Record, typename Mark>
void markTableChanges(const SectionState& from, const SectionState& to, std::span<Mark> marks, const Mark& all) {
    forEachChangedRecord(from.content, to.content, Record::Size, static_cast<int>(marks.size()), [&](int i) {
        Mark& m = marks[static_cast<std::size_t>(i)];
        if (!isMarked(m)) {
            m = all;
        }
    });
}

} // namespace sectionstate

} // namespace tolvane
