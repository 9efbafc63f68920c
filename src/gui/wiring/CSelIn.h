#pragma once

#include "gui/wiring/CWiringChooser.h"

#include <cstdint>

namespace tolvane {

// The role chooser of WE1 or WE2: none, the clock roles, input functions 1-3 and one row per sequence in use,
// each with the inputs that hold it now; the input's current role is preselected. value() is the chosen row.
class CSelIn final : public CWiringChooser {
    Q_OBJECT
public:
    static constexpr int TitleText = 2170;
    static constexpr int FirstColumnWidth = 220;
    static constexpr int SecondColumnWidth = 50;

    CSelIn(AppContext& context, const ProjectData* project, int entry, QWidget* parent = nullptr);

protected:
    ChoiceOutcome choose(int row) const override;
};

} // namespace tolvane
