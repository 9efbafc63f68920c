#include "project/ProjectFile.h"
#include "FullProject.h"
#include "TextNumbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tolvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putU32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

Bytes header(std::uint32_t value = projectfile::Header) {
    Bytes out;
    putU32(out, value);
    return out;
}

// One section: tag, length, body, terminator.
void appendSection(Bytes& out, std::uint32_t tag, const Bytes& body, std::uint32_t terminator = 254) {
    putU32(out, tag);
    putU32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    putU32(out, terminator);
}

Bytes storeNew() {
    ProjectData project;
    return projectfile::store(project);
}

TEST(ProjectFile, NewProjectHasTheExactSizeAndHeader) {
    const Bytes file = storeNew();
    EXPECT_EQ(file.size(), 121663u);
    EXPECT_EQ((Bytes{file.begin(), file.begin() + 4}), (Bytes{0x17, 0x4D, 0x50, 0x54}));
}

TEST(ProjectFile, WritesTheSectionsInTheirOrderWithTheirLengths) {
    const Bytes file = storeNew();
    const std::pair<std::uint32_t, std::uint32_t> expected[] = {
        {22, 8192}, {23, 8192}, {24, 8192}, {25, 8192}, {26, 512},   {43, 192}, {27, 264},   {28, 320},  {29, 196},
        {30, 72},   {31, 70},   {32, 124},  {33, 238},  {34, 11264}, {35, 280}, {36, 65520}, {42, 9600}, {37, 23}};
    ByteReader reader(file);
    std::uint32_t value = 0;
    ASSERT_TRUE(reader.readU32LE(value));
    for (const auto& [tag, length] : expected) {
        SCOPED_TRACE(tag);
        std::uint32_t readTag = 0, readLength = 0, terminator = 0;
        ASSERT_TRUE(reader.readU32LE(readTag));
        ASSERT_TRUE(reader.readU32LE(readLength));
        EXPECT_EQ(readTag, tag);
        EXPECT_EQ(readLength, length);
        std::span<const std::uint8_t> body;
        ASSERT_TRUE(reader.readSpan(readLength, body));
        ASSERT_TRUE(reader.readU32LE(terminator));
        EXPECT_EQ(terminator, 254u);
    }
    EXPECT_TRUE(reader.atEnd());
}

TEST(ProjectFile, SaveLoadSaveIsByteIdentical) {
    const Bytes first = storeNew();
    auto opened = projectfile::open(first);
    ASSERT_TRUE(opened.project);
    EXPECT_EQ(projectfile::store(*opened.project), first);
}

TEST(ProjectFile, OpenedProjectIsUnmodifiedAndMarkedAsOpenedFromAFile) {
    auto opened = projectfile::open(storeNew());
    ASSERT_TRUE(opened.project);
    const ProjectData& p = *opened.project;
    EXPECT_EQ(p.projectOpened, 1);
    EXPECT_EQ(p.programsFromCard + p.sequencesFromCard + p.configFromCard + p.chimesFromCard, 0);
    EXPECT_FALSE(p.isModifiedAll());
}

TEST(ProjectFile, HeaderAloneLoadsDefaultsButIsRefusedAsNotAProject) {
    // The reader itself takes the header alone as a project of defaults with a zero firmware...
    ProjectData loaded;
    std::uint32_t sections = 0;
    ASSERT_EQ(projectfile::load(loaded, header(), &sections), 0);
    EXPECT_EQ(sections, 0u);
    EXPECT_EQ(loaded.identity().firmware(), "00000");
    EXPECT_EQ(loaded.program(Funeral).usedCount(), 8);
    EXPECT_EQ(loaded.program(SpecialTolling).usedCount(), 3);
    ProjectData fresh;
    fresh.identity().setFirmware("00000");
    EXPECT_EQ(projectfile::store(loaded), projectfile::store(fresh));
    // ...but a file that holds no section holds no project: opening refuses it.
    const auto opened = projectfile::open(header());
    EXPECT_EQ(opened.project, nullptr);
    EXPECT_EQ(opened.errorText, text::NotAProject);
}

// A file that ends cleanly after some of its sections opens, and its check names every section it lacked with a
// warning of code 120 (item: the section's number in file order); a complete file, and the same project once
// saved, gives none.
TEST(ProjectFile, MissingSectionsAreReportedAsWarningsUntilSaved) {
    ProjectData full;
    testing_support::fillProject(full);
    const Bytes file = projectfile::store(full);
    struct Row {
        std::vector<std::uint32_t> tags; // the sections the cut file holds
        std::vector<SectionId> missing;
    };
    const Row rows[] = {
        {{projectfile::TagWeekly, projectfile::TagHolidayDay, projectfile::TagAnnual, projectfile::TagOneTime,
          projectfile::TagFuneral, projectfile::TagSpecialTolling, projectfile::TagGeneral, projectfile::TagBells,
          projectfile::TagStriking, projectfile::TagTimeCorrection, projectfile::TagAmplifier, projectfile::TagClocks,
          projectfile::TagOutputs, projectfile::TagHolidays, projectfile::TagHammers, projectfile::TagSequences},
         {SectionId::Chimes, SectionId::Identity}},
        {{projectfile::TagIdentity}, {}},
        {{}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tags.size());
        // Cut or complete: the sections named keep their place in the saved file.
        Bytes part = header();
        std::vector<SectionId> missing;
        ByteReader reader(file);
        std::uint32_t value = 0;
        ASSERT_TRUE(reader.readU32LE(value));
        int index = 0;
        while (!reader.atEnd()) {
            const std::size_t start = reader.position();
            std::uint32_t tag = 0, length = 0;
            ASSERT_TRUE(reader.readU32LE(tag));
            ASSERT_TRUE(reader.readU32LE(length));
            std::span<const std::uint8_t> body;
            ASSERT_TRUE(reader.readSpan(length + 4, body));
            const bool kept = row.tags.empty() || std::find(row.tags.begin(), row.tags.end(), tag) != row.tags.end();
            if (kept) {
                part.insert(part.end(), file.begin() + static_cast<std::ptrdiff_t>(start),
                            file.begin() + static_cast<std::ptrdiff_t>(reader.position()));
            } else {
                missing.push_back(static_cast<SectionId>(index));
            }
            ++index;
        }
        if (row.tags.size() == 1) {
            EXPECT_EQ(missing.size(), 17u);
        } else {
            EXPECT_EQ(missing, row.missing);
        }
        auto opened = projectfile::open(part);
        ASSERT_NE(opened.project, nullptr);
        ProjectData& project = *opened.project;
        std::vector<SectionId> reported;
        for (const ValidationIssue& issue : project.validate()) {
            if (issue.code == ProjectData::IssueSectionMissing) {
                EXPECT_EQ(issue.severity, severity::Warning);
                EXPECT_EQ(issue.area, ProjectData::FileSectionArea);
                reported.push_back(static_cast<SectionId>(issue.item));
            }
        }
        EXPECT_EQ(reported, missing);
        projectfile::markSaved(project);
        const IssueList after = project.validate();
        EXPECT_EQ(std::count_if(after.begin(), after.end(),
                                [](const ValidationIssue& i) { return i.code == ProjectData::IssueSectionMissing; }),
                  0);
    }
}

TEST(ProjectFile, SectionsInAnyOrderLoadToTheSameProject) {
    ProjectData original;
    original.identity().setSerial("123456");
    const Bytes file = projectfile::store(original);

    // Cut the file into its sections and write them back in reverse order.
    std::vector<Bytes> sections;
    ByteReader reader(file);
    std::uint32_t value = 0;
    ASSERT_TRUE(reader.readU32LE(value));
    while (!reader.atEnd()) {
        const std::size_t start = reader.position();
        std::uint32_t tag = 0, length = 0;
        ASSERT_TRUE(reader.readU32LE(tag));
        ASSERT_TRUE(reader.readU32LE(length));
        std::span<const std::uint8_t> body;
        ASSERT_TRUE(reader.readSpan(length + 4, body));
        sections.emplace_back(file.begin() + static_cast<std::ptrdiff_t>(start),
                              file.begin() + static_cast<std::ptrdiff_t>(reader.position()));
    }
    Bytes reversed = header();
    for (auto it = sections.rbegin(); it != sections.rend(); ++it) {
        reversed.insert(reversed.end(), it->begin(), it->end());
    }
    auto opened = projectfile::open(reversed);
    ASSERT_TRUE(opened.project);
    EXPECT_EQ(opened.project->identity().serial(), "123456");
    EXPECT_EQ(projectfile::store(*opened.project), file);
}

TEST(ProjectFile, FileEndingCleanlyAfterASectionKeepsDefaultsForTheRest) {
    Bytes file = header();
    Bytes identity(23, '7');
    appendSection(file, 37, identity);
    auto opened = projectfile::open(file);
    ASSERT_TRUE(opened.project);
    EXPECT_EQ(opened.project->identity().serial(), "777777");
    EXPECT_EQ(opened.project->program(Weekly).usedCount(), 0);
}

TEST(ProjectFile, ShorterBlockBodyOverwritesOnlyItsLeadingBytes) {
    Bytes file = header();
    appendSection(file, 37, Bytes{'V', '1', '_', '0', '6', 'V', '9'});
    auto opened = projectfile::open(file);
    ASSERT_TRUE(opened.project);
    EXPECT_EQ(opened.project->identity().formatTag(), "V1_06");
    EXPECT_EQ(opened.project->identity().firmware(), "V9000");
}

struct BadFile {
    const char* name;
    Bytes bytes;
    int text;
};

class ProjectFileRefusal : public ::testing::TestWithParam<BadFile> {};

TEST_P(ProjectFileRefusal, IsRefusedWithItsText) {
    const BadFile& bad = GetParam();
    auto opened = projectfile::open(bad.bytes);
    EXPECT_FALSE(opened.project);
    EXPECT_EQ(opened.errorText, bad.text);
}

Bytes with(Bytes base, const std::function<void(Bytes&)>& change) {
    change(base);
    return base;
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, ProjectFileRefusal,
    ::testing::Values(
        BadFile{"Empty", {}, 320}, BadFile{"ShorterThanHeader", {0x17, 0x4D, 0x50}, 320},
        BadFile{"Format22", {0x16, 0x4D, 0x50, 0x54}, 319}, BadFile{"ForeignMagic", {0x17, 0x4D, 0x50, 0x55}, 320},
        BadFile{"UnknownTag", with(header(), [](Bytes& b) { appendSection(b, 38, Bytes(4, 0)); }), 321},
        BadFile{"UnknownTagZero", with(header(), [](Bytes& b) { putU32(b, 0); }), 321},
        BadFile{"BadTerminator", with(header(), [](Bytes& b) { appendSection(b, 30, Bytes(72, 0xFF), 253); }), 113},
        BadFile{"TerminatorMissing",
                with(header(),
                     [](Bytes& b) {
                         appendSection(b, 30, Bytes(72, 0xFF));
                         b.resize(b.size() - 4);
                     }),
                113},
        BadFile{"TerminatorCut",
                with(header(),
                     [](Bytes& b) {
                         appendSection(b, 30, Bytes(72, 0xFF));
                         b.resize(b.size() - 2);
                     }),
                113},
        BadFile{"BlockLongerThanItsStorage", with(header(), [](Bytes& b) { appendSection(b, 30, Bytes(73, 0)); }), 113},
        BadFile{"IdentityLongerThan23", with(header(), [](Bytes& b) { appendSection(b, 37, Bytes(24, '0')); }), 113},
        BadFile{"HugeLength",
                with(header(),
                     [](Bytes& b) {
                         putU32(b, 22);
                         putU32(b, 0xFFFFFFFF);
                     }),
                113},
        BadFile{"CutInsideABody",
                with(header(),
                     [](Bytes& b) {
                         putU32(b, 36);
                         putU32(b, 65520);
                         b.resize(b.size() + 1000, 0);
                     }),
                113},
        BadFile{"CutInsideALength",
                with(header(),
                     [](Bytes& b) {
                         b.insert(b.end(), {36, 0, 0, 0, 0xF0});
                     }),
                113},
        BadFile{"CutInsideATag",
                with(header(),
                     [](Bytes& b) {
                         b.insert(b.end(), {22, 0});
                     }),
                113},
        BadFile{"SecondSectionDamaged", with(storeNew(), [](Bytes& b) { appendSection(b, 33, Bytes(239, 0xFF)); }),
                113}),
    [](const ::testing::TestParamInfo<BadFile>& p) { return std::string(p.param.name); });

// Every section is refused when its length exceeds its storage, through whichever path reads it.
TEST(ProjectFile, EverySectionRefusesABodyLongerThanItsStorage) {
    const std::pair<std::uint32_t, std::size_t> sizes[] = {
        {22, 8192}, {23, 8192}, {24, 8192}, {25, 8192}, {26, 512},   {43, 192}, {27, 264},   {28, 320},  {29, 196},
        {30, 72},   {31, 70},   {32, 124},  {33, 238},  {34, 11264}, {35, 280}, {36, 65520}, {42, 9600}, {37, 23}};
    for (const auto& [tag, size] : sizes) {
        SCOPED_TRACE(tag);
        Bytes file = header();
        appendSection(file, tag, Bytes(size + 1, 0));
        EXPECT_EQ(projectfile::open(file).errorText, 113);
        Bytes exact = header();
        appendSection(exact, tag, Bytes(size, 0xFF));
        EXPECT_EQ(projectfile::open(exact).errorText, 0);
    }
}

TEST(ProjectFile, StoringClearsTheChangeMarksAndKeepsTheContent) {
    ProjectData project;
    project.amplifier().setU16(2, 0); // lead time 0: a critical issue
    ASSERT_TRUE(hasCritical(project.validate()));
    project.timeCorrection().setSyncStopHour(5);
    projectfile::store(project);
    EXPECT_FALSE(project.isModifiedAll());
    EXPECT_EQ(project.amplifier().u16(2), 0);
    EXPECT_TRUE(hasCritical(project.validate())) << "the stored content is checked as it stands";
}

} // namespace
} // namespace tolvane

namespace tolvane {
namespace {

TEST(ProjectFile, FullProjectSurvivesSaveLoadSave) {
    ProjectData project;
    testing_support::fillProject(project);
    ASSERT_EQ(project.program(Weekly).usedCount(), 128);
    ASSERT_EQ(project.holidays().usedCount(), 128);
    ASSERT_EQ(project.sequences().usedCount(), 42);
    ASSERT_EQ(project.sequences().stepCount(41), 155);

    const auto first = projectfile::store(project);
    EXPECT_EQ(first.size(), 121663u);
    EXPECT_EQ(first.size(), projectfile::MaxFileSize); // the readers' limit is the largest file there is
    auto opened = projectfile::open(first);
    ASSERT_TRUE(opened.project);
    const ProjectData& back = *opened.project;
    for (int kind = 0; kind < ProjectData::ProgramCount; ++kind) {
        EXPECT_EQ(back.program(kind).usedCount(), project.program(kind).usedCount());
    }
    EXPECT_EQ(back.holidays().usedCount(), 128);
    EXPECT_EQ(back.holidays().name(127), project.holidays().name(127));
    EXPECT_EQ(back.sequences().usedCount(), 42);
    EXPECT_EQ(back.sequences().stepCount(41), 155);
    EXPECT_EQ(back.chimes().name(299), project.chimes().name(299));
    EXPECT_EQ(back.general().locationName(), "Parafia św. Jana");
    EXPECT_EQ(projectfile::store(*opened.project), first);
}

} // namespace
} // namespace tolvane

namespace tolvane {
namespace {

TEST(ProjectFile, EncodingLeavesTheMarksForTheSaverToClear) {
    ProjectData project;
    project.program(Weekly).addItem();
    project.amplifier().setU16(2, 0);
    const auto bytes = projectfile::encode(project);
    EXPECT_TRUE(project.isModifiedAll());
    ProjectData same;
    same.program(Weekly).addItem();
    same.amplifier().setU16(2, 0);
    EXPECT_EQ(projectfile::store(same), bytes);
    projectfile::markSaved(project);
    EXPECT_FALSE(project.isModifiedAll());
}

} // namespace
} // namespace tolvane
