#pragma once

#include "report/IssueTarget.h"

namespace tolvane {

// A page whose records are not the rows of one list (the settings page's bells, hammers, clocks and access codes,
// the special tolling page's boxes): a report row asks it to bring the control of one record into view and give it
// the focus. Pages with a record list select the record with reload(record) instead.
class RecordFocus {
public:
    virtual ~RecordFocus() = default;
    // Does nothing for a kind or record the page does not hold.
    virtual void focusRecord(IssueRecord kind, int record) = 0;
};

} // namespace tolvane
