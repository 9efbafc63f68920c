#pragma once

#include "gui/schedules/CProgramPage.h"

namespace tolvane {

// The weekly programs: on chosen weekdays within a yearly window, in the chosen seasons, weeks and months.
class CPropTyg : public CProgramPage {
    Q_OBJECT
public:
    explicit CPropTyg(AppContext& context, QWidget* parent = nullptr);
};

} // namespace tolvane
