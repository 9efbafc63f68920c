#pragma once

#include "gui/schedules/CProgramPage.h"

namespace tolvane {

// The one-time programs: once, on a day of a year.
class CPropJed : public CProgramPage {
    Q_OBJECT
public:
    explicit CPropJed(AppContext& context, QWidget* parent = nullptr);
};

} // namespace tolvane
