#include "project/SequenceName.h"

#include "project/TextFormat.h"
#include "ringing/SequenceTable.h"

namespace tolvane {

std::string sequenceName(int index, const TextSource& texts) {
    return formatText(texts.text(SequenceTable::NameText), {static_cast<long long>(index) + 1});
}

} // namespace tolvane
