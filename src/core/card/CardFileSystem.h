#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tolvane {

// The file operations the card reader and writer need. Paths are the operating system's own (the bytes of the
// name on POSIX systems). The programs use the platform's layer (PlatformCardFileSystem), which syncs, creates its
// temporary files exclusively and reads only regular files; tests put a layer in between that fails where they
// tell it to.
class CardFileSystem {
public:
    virtual ~CardFileSystem() = default;

    virtual bool exists(const std::string& path) const = 0;
    // The whole file when it is a regular file that can be read and holds at most `maxBytes` bytes; a longer file
    // gives `maxBytes` + 1 bytes so the caller can tell it is too long without reading it all.
    virtual std::optional<std::vector<std::uint8_t>> read(const std::string& path, std::size_t maxBytes) const = 0;
    // Writes a working file (in the temporary folder of a write) with `data`; false on any failure. It lives until
    // remove() is called for it.
    virtual bool write(const std::string& path, std::span<const std::uint8_t> data) = 0;
    // Puts a copy of `from` in place of `to`: the copy is written beside the target under a temporary name of its
    // own, put on the device and then renamed over it, so a failure leaves the old target as it was and no stray
    // file behind.
    virtual bool replaceWithCopy(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) = 0;
    // The operating system's reason for the last failure ("No space left on device"); empty when it gave none.
    virtual std::string lastError() const { return {}; }
};

} // namespace tolvane
