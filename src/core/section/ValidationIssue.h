#pragma once

#include <cstdint>
#include <vector>

namespace tolvane {

// One finding of the project check: what is wrong (code), which record (item, 0 for single-record sections),
// which part of the configuration (area) and how bad it is.
struct ValidationIssue {
    std::int32_t code = 0;
    std::int32_t item = 0;
    std::int32_t area = 0;
    std::int32_t severity = 0;

    friend bool operator==(const ValidationIssue&, const ValidationIssue&) = default;
};

namespace severity {
constexpr std::int32_t Critical = 0;
constexpr std::int32_t Warning = 1;
constexpr std::int32_t Note = 2;
} // namespace severity

// The findings of a check, in the order the check made them.
using IssueList = std::vector<ValidationIssue>;

// True when any issue is a critical error: a project with one is not written to a card.
bool hasCritical(const IssueList& issues);

} // namespace tolvane
