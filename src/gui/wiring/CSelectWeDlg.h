#pragma once

#include "gui/wiring/CWiringChooser.h"

#include <cstdint>

namespace tolvane {

// The input chooser of the clock editor (its 6:00 contact and minute input): none, WE1 and WE2 with their roles;
// the input that holds the role now is preselected. An input with a role of its own is refused (text 302).
// value() is the input entry, 0xFF for none.
class CSelectWeDlg final : public CWiringChooser {
    Q_OBJECT
public:
    static constexpr int TitleText = 301;
    static constexpr int FirstColumnWidth = 70;
    static constexpr int SecondColumnWidth = 130;

    CSelectWeDlg(AppContext& context, const ProjectData* project, std::uint8_t current, QWidget* parent = nullptr);

protected:
    ChoiceOutcome choose(int row) const override;

private:
    std::uint8_t current_;
};

} // namespace tolvane
