#include "platform/LanguageCatalog.h"
#include "CatalogFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tolvane {
namespace {

using testing::catalogJson;
using testing::writeFile;

TEST(LanguageCatalog, ReadsVersionAndTexts) {
    const auto catalog = LanguageCatalog::parse(
        catalogJson("0x02000001", R"("102": "Tak", "103": "Nie", "0": "zero", "65535": "last", "110": "Dzwon %d")"));
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->version(), 0x02000001u);
    EXPECT_EQ(catalog->find(102), "Tak");
    EXPECT_EQ(catalog->find(0), "zero");
    EXPECT_EQ(catalog->find(65535), "last");
    EXPECT_EQ(catalog->find(110), "Dzwon %d");
    EXPECT_EQ(catalog->find(104), std::nullopt);
    EXPECT_EQ(catalog->texts().size(), 5u);
    EXPECT_EQ(catalog->skippedEntries(), 0);
}

TEST(LanguageCatalog, ReadsVersionOnlyInItsAgreedForm) {
    struct Case {
        QByteArray json;
        std::optional<std::uint32_t> version;
    };
    const Case cases[] = {
        {R"({"version": "0x02000001", "texts": {}})", 0x02000001u},
        {R"({"version": "0X0200000a", "texts": {}})", 0x0200000Au},
        {R"({"version": "0xFFFFFFFF", "texts": {}})", 0xFFFFFFFFu},
        {R"({"version": "0x102000001", "texts": {}})", std::nullopt}, // more than 32 bits
        {R"({"version": "02000001", "texts": {}})", std::nullopt},
        {R"({"version": "0x", "texts": {}})", std::nullopt},
        {R"({"version": "0x0200 001", "texts": {}})", std::nullopt},
        {R"({"version": "0x-2000001", "texts": {}})", std::nullopt},
        {R"({"version": 33554433, "texts": {}})", std::nullopt},
        {R"({"version": null, "texts": {}})", std::nullopt},
        {R"({"texts": {}})", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json.toStdString());
        const auto catalog = LanguageCatalog::parse(c.json);
        ASSERT_TRUE(catalog);
        EXPECT_EQ(catalog->version(), c.version);
    }
}

TEST(LanguageCatalog, RefusesFilesThatAreNotCatalogs) {
    const QByteArray cases[] = {
        "",
        "not json",
        R"({"version": "0x02000001", "texts": {"102": "Tak")", // cut short
        R"([{"texts": {}}])",
        R"("texts")",
        R"({"version": "0x02000001"})",
        R"({"version": "0x02000001", "texts": ["Tak", "Nie"]})",
        R"({"version": "0x02000001", "texts": "Tak"})",
        R"({"version": "0x02000001", "texts": null})",
        QByteArray(100000, '[') + QByteArray(100000, ']'), // nesting far deeper than any parser stack should go
        QByteArray("{\"texts\": {\"1\": \"a\xff\xfe\"}}"), // not UTF-8
    };
    for (const auto& json : cases) {
        SCOPED_TRACE(json.left(80).toStdString());
        QString error;
        EXPECT_FALSE(LanguageCatalog::parse(json, &error));
        EXPECT_FALSE(error.isEmpty());
    }
}

// A bad entry costs its own text and nothing else.
TEST(LanguageCatalog, SkipsEntriesWithBadKeysOrValues) {
    const auto catalog = LanguageCatalog::parse(catalogJson("0x02000001", R"(
        "102": "Tak",
        "abc": "letters", "-1": "negative", "+5": "plus", "65536": "too big", "99999999999999999999": "huge",
        "0102": "leading zero", " 7": "space", "7 ": "space", "1.0": "fraction", "": "empty", "\u0661": "arabic one",
        "103": 5, "104": null, "105": {"x": "y"}, "106": ["a"], "107": true,
        "108": "OK")"));
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->texts().size(), 2u);
    EXPECT_EQ(catalog->find(102), "Tak");
    EXPECT_EQ(catalog->find(108), "OK");
    EXPECT_EQ(catalog->skippedEntries(), 16);
    for (int id : {1, 5, 7, 103, 104, 105, 106, 107}) {
        EXPECT_EQ(catalog->find(id), std::nullopt) << id;
    }
}

TEST(LanguageCatalog, CutsTextsTo255CodePointsAndAtNul) {
    struct Case {
        const char* name;
        QByteArray jsonText;
        std::string expected;
    };
    std::string polish;
    std::string emoji;
    for (int i = 0; i < 255; ++i) {
        polish += "\xC5\xBC";        // ż, two bytes in UTF-8
        emoji += "\xF0\x9F\x94\x94"; // U+1F514 bell, four bytes in UTF-8 and two UTF-16 units
    }
    const Case cases[] = {
        {"255 ASCII stay", QByteArray(255, 'a'), std::string(255, 'a')},
        {"300 ASCII cut", QByteArray(300, 'a'), std::string(255, 'a')},
        {"two-byte letters", QByteArray("\xC5\xBC").repeated(300), polish},
        {"letters outside the BMP", QByteArray("\\ud83d\\udd14").repeated(400), emoji},
        {"NUL ends the text", "ab\\u0000cd", "ab"},
        {"a lone surrogate", "a\\ud800b",
         "a\xEF\xBF\xBD"
         "b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto catalog = LanguageCatalog::parse(catalogJson("0x02000001", "\"1\": \"" + c.jsonText + "\""));
        ASSERT_TRUE(catalog);
        EXPECT_EQ(catalog->find(1), c.expected);
    }
}

class LanguageCatalogFile : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(LanguageCatalogFile, LoadsAFileAndReportsWhyItCannot) {
    writeFile(path("Polski.json"), catalogJson("0x02000001", R"("102": "Tak")"));
    const auto catalog = LanguageCatalog::load(path("Polski.json"));
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->find(102), "Tak");

    QDir(dir.path()).mkdir("Folder.json");
    writeFile(path("Broken.json"), "{");
    for (const char* name : {"Missing.json", "Folder.json", "Broken.json"}) {
        SCOPED_TRACE(name);
        QString error;
        EXPECT_FALSE(LanguageCatalog::load(path(name), &error));
        EXPECT_TRUE(error.contains(name)) << error.toStdString();
    }
}

TEST_F(LanguageCatalogFile, RefusesAHugeFileAndCutsALongString) {
    // A 10 MB string makes the file too large to be a catalog.
    writeFile(path("Huge.json"), catalogJson("0x02000001", "\"1\": \"" + QByteArray(10 * 1024 * 1024, 'x') + "\""));
    EXPECT_FALSE(LanguageCatalog::load(path("Huge.json")));

    // A file of any content past the limit is refused before it is parsed.
    writeFile(path("Padded.json"),
              catalogJson("0x02000001", "\"1\": \"a\"") + QByteArray(LanguageCatalog::MaxFileSize, ' '));
    EXPECT_FALSE(LanguageCatalog::load(path("Padded.json")));

    // One long string within the limit garbles only its own text.
    writeFile(path("Long.json"),
              catalogJson("0x02000001", "\"1\": \"" + QByteArray(1024 * 1024, 'y') + "\", \"2\": \"Nie\""));
    const auto catalog = LanguageCatalog::load(path("Long.json"));
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->find(1), std::string(255, 'y'));
    EXPECT_EQ(catalog->find(2), "Nie");
}

TEST_F(LanguageCatalogFile, ReadsACatalogWithEveryTextNumber) {
    QByteArray members;
    for (int id = 0; id <= LanguageCatalog::MaxTextId; ++id) {
        members += (id ? ",\"" : "\"") + QByteArray::number(id) + "\":\"t" + QByteArray::number(id) + "\"";
    }
    writeFile(path("Full.json"), catalogJson("0x02000001", members));
    const auto catalog = LanguageCatalog::load(path("Full.json"));
    ASSERT_TRUE(catalog);
    EXPECT_EQ(catalog->texts().size(), 65536u);
    EXPECT_EQ(catalog->find(65535), "t65535");
}

} // namespace
} // namespace tolvane
