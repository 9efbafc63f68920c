#pragma once

#include "gui/wiring/CWiringChooser.h"

#include <cstdint>

namespace tolvane {

// The bell chooser of the hammer editor: none and bells 1-5, each with the hammer that strikes it now; the
// hammer's current bell is preselected. A bell that another hammer strikes is refused (text 115), so a bell
// belongs to one hammer at most. `project` is the editor's working copy. value() is the bell index, 0xFF for none.
class CSelectDzwonDlg final : public CWiringChooser {
    Q_OBJECT
public:
    static constexpr int TitleText = 620;
    static constexpr int FirstColumnWidth = 70;
    static constexpr int SecondColumnWidth = 100;

    CSelectDzwonDlg(AppContext& context, const ProjectData* project, int hammer, std::uint8_t current,
                    QWidget* parent = nullptr);

protected:
    ChoiceOutcome choose(int row) const override;

private:
    int hammer_;
    std::uint8_t current_;
};

} // namespace tolvane
