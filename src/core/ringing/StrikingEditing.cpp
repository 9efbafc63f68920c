#include "ringing/StrikingEditing.h"

#include "TextNumbers.h"
#include "ringing/SequenceTable.h"

#include <cstdio>

namespace tolvane::strikingediting {

HourModeView hourModeView(int mode) {
    return {mode == 1 || mode == 2, mode != 2, mode == 2};
}

std::uint16_t strokeInterval(const StrikingRecord& record, int mode) {
    return mode == 2 ? record.strokeIntervalRepeat() : record.strokeIntervalSingle();
}

std::string tenthsText(unsigned tenths) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%u.%u", tenths / 10, tenths % 10);
    return buffer;
}

DelayFields delayFields(std::uint16_t tenths) {
    return {tenths / 600, tenths / 10 % 60};
}

bool seriesEnabled(const StrikingRecord& record, int quarter, int series) {
    return series >= 0 && series < record.activeSeries(quarter);
}

int seriesRefusal(const SequenceTable& sequences, int index) {
    return sequences.hasBellSteps(index) ? text::SequenceHasBells : 0;
}

} // namespace tolvane::strikingediting
