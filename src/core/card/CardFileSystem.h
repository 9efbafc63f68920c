#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tolvane {

// The file operations the card reader and writer need. The programs use StdCardFileSystem; tests put a layer
// in between that fails where they tell it to.
class CardFileSystem {
public:
    virtual ~CardFileSystem() = default;

    virtual bool exists(const std::string& path) const = 0;
    // The whole file when it can be opened and read and holds at most `maxBytes` bytes; a longer file gives
    // `maxBytes` + 1 bytes so the caller can tell it is too long without reading it all.
    virtual std::optional<std::vector<std::uint8_t>> read(const std::string& path, std::size_t maxBytes) const = 0;
    // Creates or replaces a file with `data`; false on any failure.
    virtual bool write(const std::string& path, std::span<const std::uint8_t> data) = 0;
    // Puts a copy of `from` in place of `to`: the copy is written beside the target under a temporary name,
    // flushed and then renamed over it, so a failure leaves the old target as it was and no stray file behind.
    virtual bool replaceWithCopy(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) = 0;
};

// The standard library's file system.
class StdCardFileSystem final : public CardFileSystem {
public:
    bool exists(const std::string& path) const override;
    std::optional<std::vector<std::uint8_t>> read(const std::string& path, std::size_t maxBytes) const override;
    bool write(const std::string& path, std::span<const std::uint8_t> data) override;
    bool replaceWithCopy(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
};

} // namespace tolvane
