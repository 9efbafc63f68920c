#pragma once

#include "gui/app/CTarvelinDoc.h"

#include <functional>

namespace tolvane::testing {

// Changes the project of a test's document as a page does: one edit through the document (an undo step named by
// text 0, which tests do not read).
inline bool userEdit(CTarvelinDoc& document, const std::function<void(ProjectData&)>& change) {
    return document.edit({0, {}}, {SectionId::General, -1, 0}, change);
}

} // namespace tolvane::testing
