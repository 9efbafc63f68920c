#pragma once

#include "report/IssueTarget.h"

#include <string>
#include <vector>

namespace tolvane {

// Where the parts of a project's configuration go as they are described: the printed record (HTML) or the
// comparison of two projects (ProjectDifference). One describer fills both, so the difference of two projects
// names the values exactly as the printout and the pages show them.
//
// Headings carry the page that edits what follows and subheadings the record they stand for, so a consumer can
// lead from a value to its page; the HTML record ignores them.
class ConfigurationSink {
public:
    using Row = std::vector<std::string>;

    // What the rows or the columns of a grid are: records of one kind (the record number of each row, or of
    // each column after the first), or nothing in particular.
    struct GridRecords {
        IssueRecord kind = IssueRecord::None;
        bool byColumn = false;          // the columns after the first are the records (bells side by side)
        std::vector<int> records = {}; // per row (or column), its record number; empty: none
    };

    virtual ~ConfigurationSink() = default;

    virtual void heading(const std::string& text, IssuePage page) = 0;
    virtual void subheading(const std::string& text, IssueRecord kind, int record) = 0;
    virtual void minorHeading(const std::string& text, IssueRecord kind, int record) = 0;
    // A text on its own (a section without entries).
    virtual void paragraph(const std::string& text) = 0;
    virtual void beginValues() = 0;
    virtual void value(const std::string& label, const std::string& value) = 0;
    virtual void endValues() = 0;
    // A table: its column heads and its rows; the first cell of a row names the row.
    virtual void grid(const Row& head, const std::vector<Row>& rows, const GridRecords& records) = 0;
};

} // namespace tolvane
