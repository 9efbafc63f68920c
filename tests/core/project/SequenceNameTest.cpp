#include "project/SequenceName.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace tolvane {
namespace {

class CatalogTexts final : public TextSource {
public:
    explicit CatalogTexts(std::map<int, std::string> texts) : texts_(std::move(texts)) {}
    std::string text(int id) const override {
        const auto it = texts_.find(id);
        return it == texts_.end() ? "---" : it->second;
    }

private:
    std::map<int, std::string> texts_;
};

TEST(SequenceName, IsText535WithTheSequenceNumber) {
    const CatalogTexts texts({{535, "Sequence %d"}});
    EXPECT_EQ(sequenceName(0, texts), "Sequence 1");
    EXPECT_EQ(sequenceName(41, texts), "Sequence 42");
}

TEST(SequenceName, ACatalogTextOfTheWrongShapeIsShownNotFilled) {
    EXPECT_EQ(sequenceName(2, CatalogTexts({{535, "Sequence %s"}})), "Sequence %s");
    EXPECT_EQ(sequenceName(2, NoTexts()), "---");
}

} // namespace
} // namespace tolvane
