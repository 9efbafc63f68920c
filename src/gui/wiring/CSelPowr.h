#pragma once

#include "gui/wiring/CWiringChooser.h"

#include <cstdint>

namespace tolvane {

// The role chooser of a return input POWR1-POWR5: none, the bell's return signal, input functions 1-3 and one
// row per sequence in use, each with the return inputs that hold it now. value() is the chosen row.
class CSelPowr final : public CWiringChooser {
    Q_OBJECT
public:
    static constexpr int TitleText = 2170;
    static constexpr int FirstColumnWidth = 220;
    static constexpr int SecondColumnWidth = 50;

    CSelPowr(AppContext& context, const ProjectData* project, int entry, QWidget* parent = nullptr);

protected:
    ChoiceOutcome choose(int row) const override;
};

} // namespace tolvane
