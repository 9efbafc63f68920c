#pragma once

#include <string>

namespace tolvane {

// Where user-interface texts come from, by number. The core only asks; the platform layer answers from the
// language catalogs. Without a catalog every text is "---".
class TextSource {
public:
    virtual ~TextSource() = default;
    virtual std::string text(int id) const = 0;
};

class NoTexts final : public TextSource {
public:
    std::string text(int) const override { return "---"; }
};

} // namespace tolvane
