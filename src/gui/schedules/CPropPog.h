#pragma once

#include "gui/schedules/CProgramPage.h"

namespace tolvane {

// The eight funeral tolling programs: what is rung, at up to three times of the day or before or after the
// Angelus, on how many days, with or without the funeral relay.
class CPropPog : public CProgramPage {
    Q_OBJECT
public:
    explicit CPropPog(AppContext& context, QWidget* parent = nullptr);
};

} // namespace tolvane
