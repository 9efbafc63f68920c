#include "section/ValidationIssue.h"

#include <algorithm>

namespace tolvane {

bool hasCritical(const IssueList& issues) {
    return std::any_of(issues.begin(), issues.end(),
                       [](const ValidationIssue& i) { return i.severity == severity::Critical; });
}

} // namespace tolvane
