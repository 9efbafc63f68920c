#pragma once

#include "section/SectionArchive.h"
#include "section/SectionState.h"

namespace tolvane {

// What the project does with every section alike, walking them in project-file order: the project file, the
// change marks, and the states an editor keeps to undo and redo. Only operations the project calls through this
// base belong here. Everything else a section does (resetting, the card image and its byte order, the check,
// adding records) the project and the card code call on the concrete section, so each section declares it with
// the shape it needs.
class ProjectSection {
public:
    virtual ~ProjectSection() = default;

    // Writes or reads the project-file body.
    virtual void serialize(SectionArchive& archive) = 0;
    // Forgets all change marks.
    virtual void clearModified() = 0;
    // True when any record changed since the last clearModified().
    virtual bool isModified() const = 0;

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
