#pragma once

#include "gui/schedules/CProgramPage.h"

namespace tolvane {

// The annual programs: every year on one day.
class CPropRok : public CProgramPage {
    Q_OBJECT
public:
    explicit CPropRok(AppContext& context, QWidget* parent = nullptr);
};

} // namespace tolvane
