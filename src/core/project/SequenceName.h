#pragma once

#include "section/TextSource.h"

#include <string>

namespace tolvane {

// The name a sequence is listed under: text 535 filled with its number (index + 1).
std::string sequenceName(int index, const TextSource& texts);

} // namespace tolvane
