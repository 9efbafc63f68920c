#pragma once

#include "section/SectionArchive.h"
#include "section/SectionState.h"
#include "section/ValidationIssue.h"

#include <cstdint>
#include <span>

namespace tolvane {

// The common base of every section of a project. The ten operations are declared in their fixed slot order.
class ProjectSection {
public:
    virtual ~ProjectSection() = default;

    // 0: put record `index` back to its defaults.
    virtual void resetItem(int index) = 0;
    // 1: put the whole section back to its defaults.
    virtual void reset() = 0;
    // 2: append a new record and return its index; only schedule programs add, the others return 0.
    virtual int addItem() { return 0; }
    // 3: reverse the multi-byte numbers of a packed card image of this section in place (PC <-> controller).
    virtual void swapByteOrder(std::span<std::uint8_t> image) const { (void)image; }
    // 4: replace the content from card-image bytes.
    virtual void unpackImage(std::span<const std::uint8_t> image) { (void)image; }
    // 5: write the card-image bytes into a buffer that the caller pre-filled with 0xFF.
    virtual void packImage(std::span<std::uint8_t> image) { (void)image; }
    // 6: append an issue for every rule the content breaks.
    virtual void validate(IssueList& issues) const { (void)issues; }
    // 7: write or read the project-file body.
    virtual void serialize(SectionArchive& archive) = 0;
    // 8: forget all change marks.
    virtual void clearModified() = 0;
    // 9: true when any record changed since the last clearModified().
    virtual bool isModified() const = 0;

    // Beyond the ten: what an editor needs to undo and redo any change.
    // The whole in-memory state, content and change marks.
    virtual SectionState state() const = 0;
    // Takes back a state handed out by state(). A state of another shape throws std::invalid_argument and leaves
    // the section as it was.
    virtual void setState(const SectionState& state) = 0;
    // Marks every record whose content differs between two states and that carries no mark, so that what an
    // undo or redo changes shows as changed even where the change itself set no mark.
    virtual void markChanges(const SectionState& from, const SectionState& to) = 0;
};

} // namespace tolvane
