// The language catalogs shipped in data/Language against the text inventory texts.tsv: every catalog must carry
// the library version the editor accepts, a text for every number the program shows, and in each text exactly the
// placeholders the program fills in. A catalog that breaks this shows "---" or fills a number into a %s.
// The tips catalogs (<Name>.tips.json) are checked the same way against their own inventory tips.tsv: a help tip
// for every number a page registers, in every language, shown as it stands.

#include "TextNumbers.h"
#include "platform/Languages.h"
#include "project/TextFormat.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace tolvane {
namespace {

const QString LanguageDir = QStringLiteral(TOLVANE_SOURCE_DIR "/data/Language");
constexpr const char* CatalogVersion = "0x02000001";
constexpr qsizetype MaxTextLength = 255;

// Inventory: text number -> placeholder kinds ("d", "dd", "s", ... or "" for none).
using Inventory = std::map<int, std::string>;

struct InventoryFile {
    Inventory texts;
    // The names the code calls texts by (text::Name): name -> text number.
    std::map<std::string, int> names;
    std::vector<std::string> problems;
};

bool isDecimal(const std::string& s) {
    return !s.empty() && s.size() <= 5 && s.find_first_not_of("0123456789") == std::string::npos;
}

// A name of texts.tsv: CamelCase, letters and digits, the first an upper-case letter.
bool isTextName(const std::string& s) {
    const auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
    const auto letterOrDigit = [&](char c) { return upper(c) || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); };
    return !s.empty() && upper(s[0]) && std::all_of(s.begin(), s.end(), letterOrDigit);
}

// Reads an inventory of `fieldCount` tab-separated fields a line, the first being the text number. `kindsOf`
// checks the others: it returns the placeholder kinds of the line, or an error in `problem`.
InventoryFile
parseTsvInventory(std::istream& in, std::size_t fieldCount, const std::string& shape,
                  const std::function<std::string(const std::vector<std::string>&, std::string&)>& kindsOf) {
    InventoryFile result;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        // Lines beginning with '#' document the file (the blocks of numbers of our own).
        if (line.starts_with('#')) {
            continue;
        }
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        if (fields.size() != fieldCount ||
            std::any_of(fields.begin() + 1, fields.end(), [](const std::string& f) { return f.empty(); })) {
            result.problems.push_back(where + "not " + shape);
            continue;
        }
        if (!isDecimal(fields[0]) || std::to_string(std::stoi(fields[0])) != fields[0]) {
            result.problems.push_back(where + "id is not a number: " + fields[0]);
            continue;
        }
        std::string problem;
        const std::string kinds = kindsOf(fields, problem);
        if (!problem.empty()) {
            result.problems.push_back(where + problem);
            continue;
        }
        if (!result.texts.emplace(std::stoi(fields[0]), kinds).second)
            result.problems.push_back(where + "id listed twice: " + fields[0]);
    }
    return result;
}

InventoryFile
readTsvInventory(const std::string& fileName, std::size_t fieldCount, const std::string& shape,
                 const std::function<std::string(const std::vector<std::string>&, std::string&)>& kindsOf) {
    std::ifstream in(LanguageDir.toStdString() + "/" + fileName);
    if (!in) {
        InventoryFile result;
        result.problems.push_back(fileName + " cannot be read");
        return result;
    }
    return parseTsvInventory(in, fieldCount, shape, kindsOf);
}

// The text inventory: id, name ("-" for none), placeholder kinds, meaning. A name stands for one number only, so
// two texts under one name (or one spelt so that it is no C++ name) are faults of the file.
InventoryFile parseTextInventory(std::istream& in) {
    std::map<std::string, int> names;
    std::vector<std::string> nameProblems;
    InventoryFile result =
        parseTsvInventory(in, 4, "id<TAB>name<TAB>placeholders<TAB>meaning",
                          [&](const std::vector<std::string>& fields, std::string& problem) {
                              const std::string kinds = fields[2] == "-" ? std::string() : fields[2];
                              if (kinds.find_first_not_of("ds") != std::string::npos) {
                                  problem = "placeholder kinds must be '-' or letters d and s: " + fields[2];
                              } else if (fields[1] != "-" && !isTextName(fields[1])) {
                                  problem = "name is not CamelCase: " + fields[1];
                              } else if (fields[1] != "-" && !names.emplace(fields[1], std::stoi(fields[0])).second) {
                                  problem = "name given twice: " + fields[1];
                              }
                              return kinds;
                          });
    result.names = std::move(names);
    return result;
}

InventoryFile readInventory() {
    std::ifstream in(LanguageDir.toStdString() + "/texts.tsv");
    if (!in) {
        InventoryFile result;
        result.problems.push_back("cannot be read");
        return result;
    }
    return parseTextInventory(in);
}

const Inventory& inventory() {
    static const InventoryFile file = readInventory();
    return file.texts;
}

std::string kindsOf(const std::string& text) {
    const std::vector<char> kinds = placeholderKinds(text);
    return std::string(kinds.begin(), kinds.end());
}

// Everything wrong with one catalog file's bytes, measured against the inventory; empty when it is complete.
std::vector<std::string> catalogProblems(const QByteArray& json, const Inventory& expected) {
    std::vector<std::string> problems;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return {"not a JSON object: " + parseError.errorString().toStdString()};
    const QJsonObject root = document.object();
    if (root.value("version").toString() != QLatin1String(CatalogVersion))
        problems.push_back("version is not " + std::string(CatalogVersion));
    if (!root.value("texts").isObject()) {
        problems.push_back("no \"texts\" object");
        return problems;
    }
    const QJsonObject texts = root.value("texts").toObject();

    for (const auto& [id, kinds] : expected) {
        const std::string key = std::to_string(id);
        const QJsonValue value = texts.value(QString::fromStdString(key));
        if (value.isUndefined()) {
            problems.push_back("text " + key + " is missing");
            continue;
        }
        if (!value.isString()) {
            problems.push_back("text " + key + " is not a string");
            continue;
        }
        const QString text = value.toString();
        if (text.isEmpty())
            problems.push_back("text " + key + " is empty");
        if (text.toUcs4().size() > MaxTextLength)
            problems.push_back("text " + key + " is longer than 255 characters");
        const std::string found = kindsOf(text.toStdString());
        if (found != kinds)
            problems.push_back("text " + key + " has placeholders \"" + found + "\" instead of \"" + kinds + "\"");
    }
    // A key the inventory does not know is a typo or a number the inventory misses.
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        const std::string key = it.key().toStdString();
        if (!isDecimal(key) || !expected.contains(std::stoi(key)) || std::to_string(std::stoi(key)) != key)
            problems.push_back("key " + key + " is not a text number of the inventory");
    }
    return problems;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The language catalogs in data/Language; tips catalogs (<Name>.tips.json) hold help texts by their own numbers.
QStringList catalogFiles() {
    QStringList files;
    for (const QString& name : QDir(LanguageDir).entryList({"*.json"}, QDir::Files, QDir::Name))
        if (!name.endsWith(".tips.json"))
            files << name;
    return files;
}

TEST(LanguageCatalogs, InventoryIsWellFormedAndCoversTheCodesTexts) {
    const InventoryFile file = readInventory();
    for (const std::string& problem : file.problems)
        ADD_FAILURE() << "texts.tsv " << problem;
    ASSERT_FALSE(file.texts.empty());

    // Numbers whose arguments the program passes, and the kinds it passes.
    const std::map<int, std::string> formatted{
        {110, "d"},    {111, "d"},  {212, "d"},  {240, "d"},  {254, "dd"},  {255, "dd"},   {256, "dd"},  {257, "dd"},
        {269, "d"},    {284, "d"},  {300, "d"},  {303, "d"},  {400, "d"},   {401, "d"},    {402, "d"},   {403, "d"},
        {405, "s"},    {534, "d"},  {535, "d"},  {539, "d"},  {540, "d"},   {543, "d"},    {544, "d"},   {545, "d"},
        {548, "d"},    {624, "d"},  {2003, "s"}, {2004, "s"}, {2005, "d"},  {2006, "s"},   {2150, "s"},  {2157, "ss"},
        {2158, "s"},   {2169, "d"}, {2075, "d"}, {2077, "d"}, {2094, "s"},  {2457, "ssd"}, {2460, "d"},  {2468, "dss"},
        {2102, "s"},   {2103, "d"}, {2109, "d"}, {2110, "d"}, {2111, "d"},  {2400, "s"},   {2203, "sd"}, {2256, "d"},
        {2257, "d"},   {2258, "d"}, {2260, "s"}, {2320, "d"}, {2321, "d"},  {2322, "d"},   {2323, "d"},  {2300, "s"},
        {2341, "s"},   {2342, "s"}, {2354, "s"}, {2355, "s"}, {2359, "dd"}, {2360, "d"},   {2361, "d"},  {2363, "ddd"},
        {2364, "dds"}, {2555, "s"}, {2556, "sd"}, {2607, "s"}, {2502, "d"}, {2505, "d"}, {2518, "s"}, {2651, "d"}, {2652, "d"}};
    for (const auto& [id, kinds] : formatted) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(file.texts.contains(id));
        EXPECT_EQ(file.texts.at(id), kinds);
    }
    // Every other text is shown as it stands.
    for (const auto& [id, kinds] : file.texts) {
        if (!formatted.contains(id)) {
            EXPECT_EQ(kinds, "") << "text " << id;
        }
    }
}

// The code calls texts by the names of texts.tsv, through the header the build makes of it: each name there is
// the number the inventory gives it, and that number has its text in every shipped catalog.
TEST(LanguageCatalogs, NamedTextsAreTheInventorysNumbersAndInEveryCatalog) {
    const InventoryFile file = readInventory();
    ASSERT_TRUE(file.problems.empty());
    ASSERT_FALSE(file.names.empty());
    const std::vector<std::pair<std::string, int>> generated{
        {"Ok", text::Ok},
        {"Cancel", text::Cancel},
        {"MessageCaption", text::MessageCaption},
        {"ChangedDescription", text::ChangedDescription},
        {"NotAProject", text::NotAProject},
        {"SecondsUnit", text::SecondsUnit},
        {"SecondsWord", text::SecondsWord},
        {"SystemReason", text::SystemReason},
        {"CardNotConfirmed", text::CardNotConfirmed},
    };
    for (const auto& [name, number] : generated) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(file.names.contains(name));
        EXPECT_EQ(file.names.at(name), number);
    }
    for (const QString& catalog : catalogFiles()) {
        SCOPED_TRACE(catalog.toStdString());
        const QJsonObject texts =
            QJsonDocument::fromJson(readAll(LanguageDir + "/" + catalog)).object().value("texts").toObject();
        for (const auto& [name, number] : file.names) {
            EXPECT_FALSE(texts.value(QString::number(number)).toString().isEmpty())
                << name << " (text " << number << ") has no text";
        }
    }
}

// The reader must see each fault of a name, or two meanings under one name would pass it.
TEST(LanguageCatalogs, InventoryCheckFindsEachFaultOfAName) {
    std::istringstream good("# comment\n102\tYes\t-\tbutton Yes\n103\t-\t-\tbutton No\n110\tBell2\td\tBell %d\n");
    const InventoryFile parsed = parseTextInventory(good);
    EXPECT_TRUE(parsed.problems.empty());
    EXPECT_EQ(parsed.names, (std::map<std::string, int>{{"Yes", 102}, {"Bell2", 110}}));
    EXPECT_EQ(parsed.texts.size(), 3u);

    struct Case {
        const char* what;
        std::string file;
        std::string problem;
    };
    const std::vector<Case> cases{
        {"one name for two numbers", "102\tYes\t-\tYes\n103\tYes\t-\tNo\n", "line 2: name given twice: Yes"},
        {"lower-case start", "102\tyes\t-\tYes\n", "line 1: name is not CamelCase: yes"},
        {"not an identifier", "102\tYes_No\t-\tYes\n", "line 1: name is not CamelCase: Yes_No"},
        {"name column missing", "102\t-\tYes\n", "line 1: not id<TAB>name<TAB>placeholders<TAB>meaning"},
        {"empty name", "102\t\t-\tYes\n", "line 1: not id<TAB>name<TAB>placeholders<TAB>meaning"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::istringstream in(c.file);
        const InventoryFile file = parseTextInventory(in);
        ASSERT_EQ(file.problems.size(), 1u);
        EXPECT_EQ(file.problems[0], c.problem);
    }
}

TEST(LanguageCatalogs, DefaultAndEnglishCatalogsAreShipped) {
    const QStringList files = catalogFiles();
    EXPECT_TRUE(files.contains("Polski.json"));
    EXPECT_TRUE(files.contains("English.json"));
}

TEST(LanguageCatalogs, EveryShippedCatalogHasTheVersionEveryTextAndMatchingPlaceholders) {
    ASSERT_FALSE(inventory().empty());
    for (const QString& name : catalogFiles()) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray json = readAll(LanguageDir + "/" + name);
        ASSERT_FALSE(json.isEmpty());
        for (const std::string& problem : catalogProblems(json, inventory()))
            ADD_FAILURE() << problem;
    }
}

// The check itself must see each kind of fault, or a broken catalog would pass it.
TEST(LanguageCatalogs, CheckFindsEachFault) {
    const Inventory expected{{102, ""}, {254, "dd"}, {405, "s"}};
    const QByteArray good = R"({"version": "0x02000001", "texts": {"102": "Tak", "254": "%d z %d", "405": "%s"}})";
    ASSERT_TRUE(catalogProblems(good, expected).empty());

    struct Case {
        const char* what;
        QByteArray json;
        std::string problem;
    };
    const std::vector<Case> cases{
        {"not JSON", R"({"version": )", "not a JSON object"},
        {"old library version", R"({"version": "0x02000000", "texts": {"102": "Tak", "254": "%d z %d", "405": "%s"}})",
         "version is not 0x02000001"},
        {"text missing", R"({"version": "0x02000001", "texts": {"254": "%d z %d", "405": "%s"}})",
         "text 102 is missing"},
        {"argument dropped", R"({"version": "0x02000001", "texts": {"102": "Tak", "254": "%d", "405": "%s"}})",
         "text 254 has placeholders \"d\" instead of \"dd\""},
        {"number filled into a string",
         R"({"version": "0x02000001", "texts": {"102": "Tak", "254": "%d z %d", "405": "%d"}})",
         "text 405 has placeholders \"d\" instead of \"s\""},
        {"stray percent sign", R"({"version": "0x02000001", "texts": {"102": "100%", "254": "%d z %d", "405": "%s"}})",
         "text 102 has placeholders"},
        {"number not a string", R"({"version": "0x02000001", "texts": {"102": 1, "254": "%d z %d", "405": "%s"}})",
         "text 102 is not a string"},
        {"unknown key",
         R"({"version": "0x02000001", "texts": {"102": "Tak", "0254": "x", "254": "%d z %d", "405": "%s"}})",
         "key 0254 is not a text number"},
        {"too long",
         R"({"version": "0x02000001", "texts": {"102": ")" + QByteArray(256, 'x') +
             R"(", "254": "%d z %d", "405": "%s"}})",
         "text 102 is longer than 255 characters"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> problems = catalogProblems(c.json, expected);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].rfind(c.problem, 0), 0u) << problems[0];
    }
    // 255 characters of two bytes each still fit.
    QByteArray longest = R"({"version": "0x02000001", "texts": {"102": ")";
    for (int i = 0; i < 255; ++i)
        longest += "ł";
    longest += R"(", "254": "%d z %d", "405": "%s"}})";
    EXPECT_TRUE(catalogProblems(longest, expected).empty());
}

// Tips inventory: tip number -> where the tip is shown and what it explains (id<TAB>where<TAB>meaning).
// Tips are shown as they stand: none takes an argument.
InventoryFile readTipInventory() {
    return readTsvInventory("tips.tsv", 3, "id<TAB>where<TAB>meaning",
                            [](const std::vector<std::string>&, std::string&) { return std::string(); });
}

const Inventory& tipInventory() {
    static const InventoryFile file = readTipInventory();
    return file.texts;
}

// What catalogProblems finds, plus tips that were left as a stand-in instead of being written.
std::vector<std::string> tipsCatalogProblems(const QByteArray& json, const Inventory& expected) {
    std::vector<std::string> problems = catalogProblems(json, expected);
    const QJsonObject texts = QJsonDocument::fromJson(json).object().value("texts").toObject();
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        const QString text = it.value().toString().trimmed();
        const bool standIn = text == QLatin1String("---") || text.contains(QLatin1String("TODO")) ||
                             text.contains(QLatin1String("FIXME")) || text.contains(QLatin1String("TBD")) ||
                             text.contains(QLatin1String("lorem"), Qt::CaseInsensitive);
        if (standIn)
            problems.push_back("tip " + it.key().toStdString() + " is a placeholder: " + text.toStdString());
    }
    return problems;
}

QStringList tipsFiles() {
    return QDir(LanguageDir).entryList({"*.tips.json"}, QDir::Files, QDir::Name);
}

QString tipsFileOf(const QString& catalogFile) {
    return catalogFile.chopped(QStringLiteral(".json").size()) + QStringLiteral(".tips.json");
}

TEST(TipsCatalogs, InventoryIsWellFormedAndListsEveryRegisteredTip) {
    const InventoryFile file = readTipInventory();
    for (const std::string& problem : file.problems)
        ADD_FAILURE() << "tips.tsv " << problem;
    // The tip numbers the settings and user settings pages register for their help labels.
    for (const int id : {103, 104, 105, 106, 107, 108, 109, 146, 147, 174, 175})
        EXPECT_TRUE(file.texts.contains(id)) << "tip " << id << " is not in tips.tsv";
}

TEST(TipsCatalogs, EveryLanguageCatalogHasItsTipsCatalogAndNoTipsCatalogIsOrphaned) {
    const QStringList tips = tipsFiles();
    const QStringList catalogs = catalogFiles();
    for (const QString& catalog : catalogs)
        EXPECT_TRUE(tips.contains(tipsFileOf(catalog))) << catalog.toStdString() << " has no tips catalog";
    // A tips catalog is loaded by its language's name, so one without a language catalog is never shown.
    for (const QString& tip : tips)
        EXPECT_TRUE(std::any_of(catalogs.begin(), catalogs.end(),
                                [&](const QString& catalog) { return tipsFileOf(catalog) == tip; }))
            << tip.toStdString() << " has no language catalog";
}

TEST(TipsCatalogs, EveryShippedTipsCatalogHasEveryTipWrittenOut) {
    ASSERT_FALSE(tipInventory().empty());
    const QStringList files = tipsFiles();
    ASSERT_FALSE(files.isEmpty());
    // Who wrote the same text for a tip: a tip copied from another language was never translated.
    std::map<std::pair<int, QString>, QString> firstWithText;
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray json = readAll(LanguageDir + "/" + name);
        ASSERT_FALSE(json.isEmpty());
        for (const std::string& problem : tipsCatalogProblems(json, tipInventory()))
            ADD_FAILURE() << problem;
        const QJsonObject texts = QJsonDocument::fromJson(json).object().value("texts").toObject();
        for (const auto& [id, kinds] : tipInventory()) {
            const QString text = texts.value(QString::number(id)).toString();
            const auto [it, first] = firstWithText.emplace(std::make_pair(id, text), name);
            EXPECT_TRUE(first || text.isEmpty()) << "tip " << id << " is the same as in " << it->second.toStdString();
        }
    }
}

// Through the reader the editor uses: choosing each shipped language brings its tips with it.
TEST(TipsCatalogs, EachShippedLanguageLoadsWithItsTips) {
    for (const QString& catalog : catalogFiles()) {
        const QString name = catalog.chopped(QStringLiteral(".json").size());
        SCOPED_TRACE(name.toStdString());
        Languages languages(LanguageDir);
        ASSERT_TRUE(languages.setLanguage(name).ok);
        ASSERT_TRUE(languages.tipsAvailable());
        for (const auto& [id, kinds] : tipInventory())
            EXPECT_NE(languages.tipText(id), "---") << "tip " << id;
    }
}

TEST(TipsCatalogs, CheckFindsEachFault) {
    const Inventory expected{{103, ""}, {146, ""}};
    const QByteArray good =
        R"({"version": "0x02000001", "texts": {"103": "Display contrast.", "146": "All bells at once."}})";
    ASSERT_TRUE(tipsCatalogProblems(good, expected).empty());

    struct Case {
        const char* what;
        QByteArray json;
        std::string problem;
    };
    const std::vector<Case> cases{
        {"tip missing", R"({"version": "0x02000001", "texts": {"103": "Display contrast."}})", "text 146 is missing"},
        {"missing marker left in", R"({"version": "0x02000001", "texts": {"103": "---", "146": "All bells."}})",
         "tip 103 is a placeholder"},
        {"note to the writer", R"({"version": "0x02000001", "texts": {"103": "TODO contrast", "146": "All bells."}})",
         "tip 103 is a placeholder"},
        {"percent sign read as a placeholder",
         R"({"version": "0x02000001", "texts": {"103": "50 % suits most", "146": "All bells."}})",
         "text 103 has placeholders"},
        {"number the pages do not register",
         R"({"version": "0x02000001", "texts": {"103": "Contrast.", "146": "All bells.", "999": "Extra."}})",
         "key 999 is not a text number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> problems = tipsCatalogProblems(c.json, expected);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].rfind(c.problem, 0), 0u) << problems[0];
    }
}

TEST(LanguageCatalogs, PolishKeepsTheCaptionsOfTheDialogs) {
    const QJsonObject texts =
        QJsonDocument::fromJson(readAll(LanguageDir + "/Polski.json")).object().value("texts").toObject();
    const std::map<int, const char*> captions{
        {153, "Ustawienia programu"},
        {184, "Zapisz"},
        {185, "Czytaj"},
        {186, "Karta pamięci"},
        {187, "Dostępne dane"},
        {188, "Programy"},
        {189, "Konfiguracja"},
        {250, "Data"},
        {251, "Odstep"},
        {340, "Załączenie wzmacniacza"},
        {341, "Ustawienia wzmacniacza"},
        {344, "Wybór przekaźnika"},
        {345, "Ustawienia wyświetlacza"},
        {346, "Kontrast"},
        {347, "Jasność"},
        {348, "Czas"},
        {349, "Ustawienia języka"},
        {350, "Aktualnie wybrany"},
        {358, "Blokada zegarów"},
        {509, "Sortowanie programów"},
        {510, "Według godziny"},
        {511, "Według numeru"},
        {512, "Wybór ręczny"},
        {513, "Kody dostępu"},
        {599, "Sekwencje"},
        {625, "Opcje sterowania ręcznego"},
        {626, "Użyj czasu domyślnego"},
        {627, "Odstęp włączenia"},
        {628, "Tryb czasu dzwonienia"},
        {629, "Pamiętaj ostatni czas"},
        {631, "Projekt zawiera błędy krytyczne"},
        {632, "Czas domyślny"},
        {699, "Lista"},
        {700, "Szczegóły"},
        {701, "Drukuj"},
        {825, "Kuranty"},
    };
    for (const auto& [id, caption] : captions) {
        SCOPED_TRACE(id);
        EXPECT_EQ(texts.value(QString::number(id)).toString().toStdString(), caption);
    }
}

} // namespace
} // namespace tolvane
