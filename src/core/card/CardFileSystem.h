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

    // One file of a write of several: a copy of the working file `from` to be put in place of `to`.
    struct Copy {
        std::string from;
        std::string to;
        bool inPlace = false;   // the copy has replaced the target
        bool confirmed = false; // and the device confirmed that it is stored for good
        std::string reason;     // the system's reason when either is false
    };
    // Puts several copies in place as replaceWithCopy puts one, each on its own (a copy that fails leaves its
    // target as it was), but with as few syncs as that needs. By default one replaceWithCopy after the other.
    virtual void replaceWithCopies(std::vector<Copy>& copies) {
        for (Copy& copy : copies) {
            copy.inPlace = copy.confirmed = replaceWithCopy(copy.from, copy.to);
            if (!copy.inPlace) {
                copy.reason = lastError();
            }
        }
    }

    // A write holds the card folder for its whole length, so that two writers never mix their files on one card.
    enum class Claim { Taken, Busy, Failed };
    virtual Claim claimFolder(const std::string& folder) {
        (void)folder;
        return Claim::Taken;
    }
    virtual void releaseFolder() {}
};

} // namespace tolvane
