#pragma once

#include "gui/wiring/CWiringChooser.h"

#include <cstdint>

namespace tolvane {

// The function chooser of a relay on the cross-connection page: none and the 23 functions, each with the relay
// that drives it now; the relay's current function is preselected. value() is the chosen row.
class CSelOut final : public CWiringChooser {
    Q_OBJECT
public:
    static constexpr int TitleText = 622;
    static constexpr int FirstColumnWidth = 220;
    static constexpr int SecondColumnWidth = 50;

    CSelOut(AppContext& context, const ProjectData* project, std::uint8_t relay, QWidget* parent = nullptr);

protected:
    ChoiceOutcome choose(int row) const override;
};

} // namespace tolvane
