#pragma once

#include "gui/schedules/CProgramPage.h"

namespace tolvane {

// The holiday programs: each rings on the holiday it names from the holiday table, on the chosen weekdays.
class CPropSwi : public CProgramPage {
    Q_OBJECT
public:
    explicit CPropSwi(AppContext& context, QWidget* parent = nullptr);
};

} // namespace tolvane
