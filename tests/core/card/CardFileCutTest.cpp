#include "FullProject.h"
#include "card/CardFiles.h"
#include "card/CardImages.h"
#include "project/ProjectFile.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using card::FileKind;

// One card file held in memory; `cut` bytes of it are what the reader gets, in a buffer of exactly that size
// (so the sanitizer build catches any read past the end).
class CutCardFile final : public CardFileSystem {
public:
    explicit CutCardFile(const Bytes& file) : file_(file) {}
    std::size_t cut = 0;

    bool exists(const std::string&) const override { return true; }
    std::optional<Bytes> read(const std::string&, std::size_t maxBytes) const override {
        const std::size_t n = std::min(cut, maxBytes + 1);
        return Bytes(file_.begin(), file_.begin() + static_cast<std::ptrdiff_t>(n));
    }
    bool write(const std::string&, std::span<const std::uint8_t>) override { return false; }
    bool replaceWithCopy(const std::string&, const std::string&) override { return false; }
    void remove(const std::string&) override {}

private:
    const Bytes& file_;
};

Bytes written(ProjectData& project, FileKind kind) {
    Bytes image(card::fileSize(kind), 0xFF);
    const std::span<std::uint8_t> all(image);
    switch (kind) {
    case FileKind::Programs:
        card::packProgramsImage(project, all.first<card::ImageSize>());
        break;
    case FileKind::Config:
        card::packConfigImage(project, all.first<card::ImageSize>());
        break;
    case FileKind::Sequences:
        card::packSequencesImage(project, all.first<card::ImageSize>());
        break;
    case FileKind::Chimes:
        card::packChimesImage(project, all.first<card::ChimesImageSize>());
        break;
    }
    return image;
}

// Each card file of a full project cut at every length shorter than the file: every cut is refused with the
// cannot-open text and the project it was read into stays exactly as it was; the whole file is still read.
TEST(CardFileCuts, EveryShortenedFileIsRefusedAndChangesNothing) {
    ProjectData full;
    testing_support::fillProject(full);
    for (const FileKind kind : card::AllKinds) {
        SCOPED_TRACE(std::string(card::fileName(kind)));
        const Bytes file = written(full, kind);
        CutCardFile files(file);
        ProjectData project;
        const Bytes before = projectfile::store(project);
        for (files.cut = 0; files.cut < file.size(); ++files.cut) {
            const card::ReadResult r = card::readCardFile(project, kind, "card", files);
            if (r.ok || r.text != card::cannotOpenText(kind)) {
                ADD_FAILURE() << "cut at " << files.cut << " gave ok=" << r.ok << " text " << r.text;
                break;
            }
        }
        EXPECT_EQ(projectfile::store(project), before);

        files.cut = file.size();
        const card::ReadResult whole = card::readCardFile(project, kind, "card", files);
        EXPECT_TRUE(whole.ok);
        EXPECT_EQ(written(project, kind), file);
    }
}

} // namespace
} // namespace tolvane
