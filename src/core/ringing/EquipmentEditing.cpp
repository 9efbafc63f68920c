#include "ringing/EquipmentEditing.h"

#include "TextNumbers.h"
#include "ringing/TowerClockTable.h"

#include <cstdlib>

namespace tolvane::equipment {

std::vector<ChooserRow> bellRows(const HammerTable& hammers) {
    std::vector<ChooserRow> rows;
    rows.push_back({LabelText{text::NoneChoice}, std::nullopt, {}});
    for (int bell = 0; bell < 5; ++bell) {
        const int hammer = hammers.hammerLinkedTo(static_cast<std::uint8_t>(bell));
        std::optional<LabelText> user;
        if (hammer >= 0) {
            user = LabelText{text::Hammer, hammer + 1};
        }
        rows.push_back({LabelText{text::Bell, bell + 1}, user, {}});
    }
    return rows;
}

int bellRowOf(std::uint8_t current) {
    if (current == HammerRecord::NoBell) {
        return 0;
    }
    return current < 5 ? current + 1 : -1;
}

ChoiceOutcome bellChoice(const HammerTable& hammers, int hammer, std::uint8_t current, int row) {
    if (row < 0 || row > 5) {
        return {text::NothingChosen, -1};
    }
    const auto bell = row == 0 ? HammerRecord::NoBell : static_cast<std::uint8_t>(row - 1);
    if (bell == current || bell == HammerRecord::NoBell) {
        return {0, bell};
    }
    if (hammers.hammerLinkedTo(bell, hammer) >= 0) {
        return {text::BellTaken, -1};
    }
    return {0, bell};
}

int clockTypePosition(std::uint8_t storedType) {
    return storedType >= 2 && storedType <= 5 ? storedType - 1 : 0;
}

int clockTypeOfPosition(int position) {
    return position >= 0 && position < ClockTypeCount ? position + 1 : 1;
}

ClockControls clockControls(int type) {
    ClockControls c;
    switch (type) {
    case TowerClockTable::SingleRelayType:
        c.singleRelay = true;
        break;
    case 5:
        c.relaysAB = true;
        c.pulse = true;
        c.pulseMax = TowerClockTable::pulseMaximum(5);
        c.modeRadios = true;
        c.type5Modes = true;
        c.contactText = 814;
        c.radioTexts = {820, 818, 819};
        break;
    default:
        c.relaysAB = true;
        c.pulse = true;
        c.pulseMax = TowerClockTable::pulseMaximum(type);
        c.gap = type == 3;
        c.modeRadios = true;
        break;
    }
    return c;
}

ShownOffset shownOffset(std::int16_t offsetMinutes) {
    const int magnitude = std::abs(static_cast<int>(offsetMinutes));
    return {offsetMinutes < 0, magnitude / 60, magnitude % 60};
}

bool firstModeChosen(std::uint8_t clockFlags, bool type5) {
    return (clockFlags & (type5 ? ClockRecord::Type5FirstModeBit : ClockRecord::TwelveHourBit)) != 0;
}

} // namespace tolvane::equipment
