#include "section/ValidationIssue.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// Only a critical error keeps a project off the card; warnings, notes and severities the check never gives do not.
TEST(ValidationIssue, HasCriticalLooksForACriticalErrorAnywhereInTheList) {
    const struct {
        const char* what;
        IssueList issues;
        bool critical;
    } cases[] = {
        {"no issue", {}, false},
        {"notes only", {{100, 0, 18, severity::Note}, {100, 1, 18, severity::Note}}, false},
        {"a warning", {{39, 0, 13, severity::Warning}}, false},
        {"a critical error alone", {{11, 3, 0, severity::Critical}}, true},
        {"a critical error last", {{2, 3, 0, severity::Warning}, {13, 3, 0, severity::Note}, {16, 0, 6, 0}}, true},
        {"severities the check never gives", {{11, 0, 0, 7}, {11, 0, 0, -1}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(hasCritical(c.issues), c.critical);
    }
}

} // namespace
} // namespace tolvane
