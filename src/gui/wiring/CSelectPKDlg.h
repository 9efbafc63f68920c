#pragma once

#include "gui/wiring/CWiringChooser.h"

#include <cstdint>

namespace tolvane {

// The relay chooser of the editors (a bell's, a hammer's, a clock's or a herald's relay): none and PK1-PK10 with
// what each drives; the current relay is preselected. A relay that another function uses is refused (text 298),
// so a relay chosen here is never shared. value() is the relay index, 0xFF for none.
class CSelectPKDlg final : public CWiringChooser {
    Q_OBJECT
public:
    static constexpr int TitleText = 299;
    static constexpr int FirstColumnWidth = 70;
    static constexpr int SecondColumnWidth = 130;

    CSelectPKDlg(AppContext& context, const ProjectData* project, std::uint8_t current, QWidget* parent = nullptr);

protected:
    ChoiceOutcome choose(int row) const override;

private:
    std::uint8_t current_;
};

} // namespace tolvane
