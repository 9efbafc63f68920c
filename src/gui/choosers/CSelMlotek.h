#pragma once

#include "gui/choosers/ChooserDialog.h"

#include <cstdint>

namespace tolvane {

// The hammer chooser: hammers 1-5, and a row for none when the caller allows none. It works with hammer
// indices (0-4, 0xFF for none); a program entry that stores the hammer as a bit converts (HammerChoice.h).
class CSelMlotek : public ChooserDialog {
    Q_OBJECT
public:
    static constexpr int TitleText = 634;
    static constexpr int NoneText = 109;
    static constexpr int HammerText = 534;
    static constexpr std::uint8_t None = 0xFF;

    CSelMlotek(bool allowNone, std::uint8_t current, const TextSource& texts, PromptService& prompts,
               QWidget* parent = nullptr);

    // None for the none row, else the hammer index 0-4; None too when nothing is selected.
    std::uint8_t chosen() const;
};

} // namespace tolvane
