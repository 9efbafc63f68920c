#include "platform/Languages.h"
#include "CatalogFiles.h"
#include "section/TextSource.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using testing::catalogJson;
using testing::writeFile;

const QString WrongVersion = QString::fromUtf8("Niepoprawna wersja bilioteki j\xC4\x99zykowej");

// A Language folder of hand-made catalogs: Polski, Deutsch with tips, English of a wrong version.
class LanguagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath("Language/sub"));
        dir.setPath(root.filePath("Language"));
        put("Polski.json", catalogJson("0x02000001", R"("102": "Tak", "103": "Nie")"));
        put("Polski.tips.json", R"({"texts": {"1": "Pomoc"}})");
        put("Deutsch.json", catalogJson("0x02000001", R"("102": "Ja", "103": "Nein")"));
        put("Deutsch.tips.json", R"({"texts": {"1": "Hilfe"}})");
        put("English.json", catalogJson("0x02000002", R"("102": "Yes")"));
        put("English.tips.json", R"({"texts": {"1": "Help"}})");
    }
    void put(const QString& name, const QByteArray& content) { writeFile(dir.filePath(name), content); }
    void remove(const QString& name) { ASSERT_TRUE(QFile::remove(dir.filePath(name))); }

    QTemporaryDir root;
    QDir dir;
};

TEST_F(LanguagesTest, WithoutACatalogEveryTextIsDashes) {
    Languages languages(dir.path());
    EXPECT_FALSE(languages.hasCatalog());
    EXPECT_EQ(languages.text(102), "---");
    EXPECT_EQ(languages.tipText(1), "---");
}

TEST_F(LanguagesTest, LoadsTheRequestedLanguageWithItsTips) {
    Languages languages(dir.path());
    const LanguageChoice choice = languages.setLanguage("Deutsch");
    EXPECT_TRUE(choice.ok);
    EXPECT_TRUE(choice.message.isEmpty());
    EXPECT_FALSE(choice.usedFallback);
    EXPECT_EQ(languages.name(), "Deutsch");
    EXPECT_TRUE(languages.tipsAvailable());

    const TextSource& texts = languages;
    EXPECT_EQ(texts.text(102), "Ja");
    EXPECT_EQ(texts.text(104), "---");
    EXPECT_EQ(texts.text(-1), "---");
    EXPECT_EQ(texts.text(70000), "---");
    EXPECT_EQ(languages.tipText(1), "Hilfe");
    EXPECT_EQ(languages.tipText(2), "---");
}

TEST_F(LanguagesTest, TipsAreOptionalAndTheirVersionIsNotChecked) {
    Languages languages(dir.path());
    remove("Deutsch.tips.json");
    EXPECT_TRUE(languages.setLanguage("Deutsch").ok);
    EXPECT_FALSE(languages.tipsAvailable());
    EXPECT_EQ(languages.tipText(1), "---");

    put("Deutsch.tips.json", "{broken");
    EXPECT_TRUE(languages.setLanguage("Deutsch").ok);
    EXPECT_FALSE(languages.tipsAvailable());

    put("Deutsch.tips.json", R"({"version": "0x01000000", "texts": {"1": "Hilfe"}})");
    EXPECT_TRUE(languages.setLanguage("Deutsch").ok);
    EXPECT_EQ(languages.tipText(1), "Hilfe");
}

// The Polish catalog stands in for one that cannot be read; the requested name and its tips stay.
TEST_F(LanguagesTest, FallsBackToPolishKeepingTheRequestedName) {
    put("Broken.json", "{\"version\": \"0x02000001\", \"texts\": ");
    put("Broken.tips.json", R"({"texts": {"1": "Broken help"}})");
    // Valid catalogs outside the Language folder itself.
    writeFile(root.filePath("Outside.json"), catalogJson("0x02000001", R"("102": "Outside")"));
    put("sub/Inner.json", catalogJson("0x02000001", R"("102": "Inner")"));
    struct Case {
        QString name;
        std::string tip;
    };
    const Case cases[] = {
        {"Francais", "---"},       // no such catalog
        {"Broken", "Broken help"}, // a catalog that is not JSON
        {"", "---"},               // no name at all
        {"../Outside", "---"},     // names that reach outside the folder
        {"sub/Inner", "---"},
        {"sub\\Inner", "---"},
    };
    // The fallback's own version is not checked.
    put("Polski.json", catalogJson("0x7fffffff", R"("102": "Tak", "103": "Nie")"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        Languages languages(dir.path());
        const LanguageChoice choice = languages.setLanguage(c.name);
        EXPECT_TRUE(choice.ok);
        EXPECT_TRUE(choice.usedFallback);
        EXPECT_TRUE(choice.message.isEmpty());
        EXPECT_EQ(languages.name(), c.name);
        EXPECT_EQ(languages.text(102), "Tak");
        EXPECT_EQ(languages.tipText(1), c.tip);
    }
}

TEST_F(LanguagesTest, RefusesACatalogOfAnotherVersion) {
    put("Unversioned.json", R"({"texts": {"102": "?"}})");
    for (const char* name : {"English", "Unversioned"}) {
        SCOPED_TRACE(name);
        Languages languages(dir.path());
        ASSERT_TRUE(languages.setLanguage("Deutsch").ok);
        const LanguageChoice choice = languages.setLanguage(name);
        EXPECT_FALSE(choice.ok);
        EXPECT_EQ(choice.message, WrongVersion);
        EXPECT_FALSE(choice.usedFallback);
        // Neither the refused catalog nor the one before it gives texts any more.
        EXPECT_FALSE(languages.hasCatalog());
        EXPECT_EQ(languages.text(102), "---");
        EXPECT_EQ(languages.tipText(1), "---");
    }
}

TEST_F(LanguagesTest, FailsWhenNeitherCatalogCanBeRead) {
    remove("Polski.json");
    Languages languages(dir.path());
    ASSERT_TRUE(languages.setLanguage("Deutsch").ok);
    const LanguageChoice choice = languages.setLanguage("Francais");
    EXPECT_FALSE(choice.ok);
    EXPECT_EQ(choice.message, "Language file : Francais.json open error");
    EXPECT_FALSE(languages.hasCatalog());
    EXPECT_EQ(languages.text(102), "---");

    // Asking for Polish itself gives the same message for Polski.
    EXPECT_EQ(languages.setLanguage("Polski").message, "Language file : Polski.json open error");

    Languages nowhere(dir.filePath("NoSuchFolder"));
    EXPECT_FALSE(nowhere.setLanguage("Polski").ok);
}

TEST_F(LanguagesTest, FindsACatalogWhoseNameDiffersInCase) {
    Languages languages(dir.path());
    const LanguageChoice choice = languages.setLanguage("deutsch");
    EXPECT_TRUE(choice.ok);
    EXPECT_FALSE(choice.usedFallback);
    EXPECT_EQ(languages.text(102), "Ja");
    EXPECT_EQ(languages.tipText(1), "Hilfe");
    EXPECT_EQ(languages.name(), "deutsch");
}

TEST_F(LanguagesTest, ListsTheCatalogsOfAFolder) {
    put("aaa.json", catalogJson("0x02000001", ""));
    put("texts.tsv", "102\t-\tYes\n");
    put(".json", "{}");
    QDir(dir.path()).mkdir("Folder.json");
    EXPECT_EQ(Languages::availableLanguages(dir.path()), (QStringList{"aaa", "Deutsch", "English", "Polski"}));
    EXPECT_TRUE(Languages::availableLanguages(dir.filePath("NoSuchFolder")).isEmpty());
}

} // namespace
} // namespace tolvane
