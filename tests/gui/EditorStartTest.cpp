#include "DocumentEdit.h"
#include "FullProject.h"
#include "ShellTestSupport.h"

#include "gui/app/CTarvelinApp.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/card/CPropWymiana.h"
#include "project/ProjectFile.h"

#include <QComboBox>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using testing::writeBytes;

// A program folder with a Language folder and an INI settings file, and the editor started in it.
class EditorStart : public ::testing::Test {
protected:
    EditorStart()
        : settings(dir.filePath(QStringLiteral("Tolvane.ini")), QSettings::IniFormat),
          texts(dir.filePath(QStringLiteral("Language"))) {
        QDir(dir.path()).mkpath(QStringLiteral("Language"));
        QDir(dir.path()).mkpath(QStringLiteral("temp"));
        writeCatalog(QStringLiteral("Polski"), QStringLiteral("p"), QStringLiteral("0x02000001"));
    }

    void writeCatalog(const QString& name, const QString& prefix, const QString& version) {
        QJsonObject entries;
        for (const auto& [id, text] : testing::numberedTexts(prefix)) {
            entries.insert(QString::number(id), text);
        }
        ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("Language/%1.json").arg(name)),
                               QJsonDocument(QJsonObject{{"version", version}, {"texts", entries}}).toJson()));
    }

    bool start(const QString& parameters) {
        app = std::make_unique<CTarvelinApp>(settings, texts, prompts, choosers, starter, dir.path(),
                                             dir.filePath(QStringLiteral("temp")));
        return app->start(parameters, false);
    }

    CTarvelinDoc* document() const { return app->mainFrame() ? app->mainFrame()->document() : nullptr; }

    QString savedProject(const QString& folder, const QString& name) {
        QDir().mkpath(folder);
        ProjectData project;
        project.general().setLocationName("Dzwonnica");
        const std::vector<std::uint8_t> bytes = projectfile::store(project);
        const QString file = folder + "/" + name;
        EXPECT_TRUE(writeBytes(
            file, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()))));
        return file;
    }

    QTemporaryDir dir;
    QSettings settings;
    Languages texts;
    testing::ScriptedPrompt prompts;
    testing::ScriptedChooser choosers;
    testing::RecordingProgramStarter starter;
    std::unique_ptr<CTarvelinApp> app;
};

TEST_F(EditorStart, CommandTokens) {
    const QString project = savedProject(dir.filePath(QStringLiteral("My Projects")), QStringLiteral("a.tpm"));
    const QString encoded = QString(project).replace(QLatin1Char(' '), QStringLiteral("$$"));
    struct Case {
        QString parameters;
        bool document;
        QString path; // of the document
    };
    const Case cases[] = {
        {QString(), false, {}},
        {encoded + ";open", true, project},
        {project, true, project},       // a plain file name opens that file
        {encoded + ";OPEN", false, {}}, // tokens are compared exactly
        {encoded + ";Open", false, {}},
        {encoded + ";unknown", false, {}},
        {QStringLiteral("1.41;new"), true, {}},
        {QStringLiteral("1.41;New"), false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parameters.toStdString());
        prompts.clear();
        ASSERT_TRUE(start(c.parameters));
        EXPECT_TRUE(prompts.boxes().empty());
        ASSERT_EQ(document() != nullptr, c.document);
        if (document()) {
            EXPECT_EQ(document()->path(), c.path);
            EXPECT_FALSE(document()->isModified());
        }
        EXPECT_TRUE(app->mainFrame()->isMaximized());
        app.reset();
    }
}

// What a desktop or a shell hands over: the path of a project file as it stands, a ';' or a "$$" in it included,
// or relative to the working folder. The document and the recent-file list name the file by its absolute path.
TEST_F(EditorStart, ProjectPathFromTheDesktopOrAShell) {
    const QString odd = savedProject(dir.filePath(QStringLiteral("Wie\u017Ca; kopia")), QStringLiteral("a;open"));
    const QString dollars = savedProject(dir.filePath(QStringLiteral("a$$b")), QStringLiteral("x;y.tpm"));
    const QString relative = savedProject(dir.filePath(QStringLiteral("towers")), QStringLiteral("parish.tpm"));
    // The working folder of the test, given back however the test ends.
    const struct WorkingFolder {
        QString previous = QDir::currentPath();
        ~WorkingFolder() { QDir::setCurrent(previous); }
    } working;
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const std::pair<QString, QString> cases[] = {
        {odd, odd},
        {dollars, dollars},
        {QStringLiteral("towers/parish.tpm"), relative},
        {QStringLiteral("./towers/../towers/parish.tpm"), relative},
    };
    for (const auto& [argument, path] : cases) {
        SCOPED_TRACE(argument.toStdString());
        prompts.clear();
        ASSERT_TRUE(start(argument));
        EXPECT_TRUE(prompts.boxes().empty());
        ASSERT_NE(document(), nullptr);
        EXPECT_EQ(document()->path(), path);
        EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File1")).toString(), path);
        app.reset();
    }
}

TEST_F(EditorStart, RefusedProjectEndsTheStartWithItsText) {
    const QString file = dir.filePath(QStringLiteral("bad.tpm"));
    ASSERT_TRUE(writeBytes(file, QByteArray::fromHex("164d5054")));
    EXPECT_FALSE(start(file + ";open"));
    EXPECT_EQ(prompts.texts(), QStringList{"p319"});
    EXPECT_EQ(document(), nullptr);
}

TEST_F(EditorStart, MissingLanguageFallsBackToPolishAndKeepsTheName) {
    QSettings(settings.fileName(), QSettings::IniFormat).setValue("Settings/LastLang", "Klingon");
    settings.sync();
    ASSERT_TRUE(start(QString()));
    EXPECT_EQ(app->mainFrame()->action(CMainFrame::CmdNew)->text(), "p120");
    settings.sync();
    EXPECT_EQ(SettingsStore(settings).read().lastLang, "Klingon");
}

TEST_F(EditorStart, LanguageThatCannotBeUsedEndsTheStart) {
    struct Case {
        const char* name;
        bool polishPresent;
    };
    for (const Case c : {Case{"WrongVersion", true}, Case{"Nothing", false}}) {
        SCOPED_TRACE(c.name);
        prompts.clear();
        writeCatalog(QStringLiteral("WrongVersion"), QStringLiteral("w"), QStringLiteral("0x02000002"));
        if (!c.polishPresent) {
            QFile::remove(dir.filePath(QStringLiteral("Language/Polski.json")));
        }
        QSettings(settings.fileName(), QSettings::IniFormat).setValue("Settings/LastLang", c.name);
        settings.sync();
        EXPECT_FALSE(start(QString()));
        EXPECT_EQ(prompts.texts().size(), 1);
        EXPECT_EQ(app->mainFrame(), nullptr);
    }
}

TEST_F(EditorStart, NewProjectTakesTheLanguagesHolidaysAndControllerLanguage) {
    writeCatalog(QStringLiteral("Deutsch"), QStringLiteral("d"), QStringLiteral("0x02000001"));
    QDir(dir.path()).mkpath(QStringLiteral("Data"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOLVANE_VERSION_DIR "/Data/swietaDE.dat"),
                            dir.filePath(QStringLiteral("Data/swietaDE.dat"))));
    QSettings(settings.fileName(), QSettings::IniFormat).setValue("Settings/LastLang", "Deutsch");
    settings.sync();
    ASSERT_TRUE(start(QStringLiteral("1.41;new")));
    ASSERT_NE(document(), nullptr);
    EXPECT_EQ(document()->project().general().controllerLanguage(), 1);
    EXPECT_GT(document()->project().holidays().usedCount(), 0);
    EXPECT_FALSE(document()->isModified());
}

// A start from a folder of card files reads what is there and sums it up.
TEST_F(EditorStart, DatFolderStart) {
    ProjectData source;
    testing_support::fillProject(source);
    const QString full = dir.filePath(QStringLiteral("full"));
    QDir().mkpath(full);
    ASSERT_TRUE(testing::writeCardFolder(source, full, dir.filePath(QStringLiteral("temp"))));
    const QString partial = dir.filePath(QStringLiteral("partial"));
    QDir().mkpath(partial);
    for (const char* name : {"config.dat", "kur.bin"}) {
        ASSERT_TRUE(QFile::copy(full + "/" + name, partial + "/" + name));
    }
    const QString empty = dir.filePath(QStringLiteral("empty"));
    QDir().mkpath(empty);

    struct Case {
        QString folder;
        QString summary;
    };
    for (const Case& c : {Case{full, "p505"}, Case{partial, "p505"}, Case{empty, "p680"}}) {
        SCOPED_TRACE(c.folder.toStdString());
        prompts.clear();
        ASSERT_TRUE(start(c.folder + ";dat"));
        ASSERT_NE(document(), nullptr);
        EXPECT_EQ(prompts.texts().last(), c.summary);
        EXPECT_EQ(document()->project().projectOpened, 0);
        settings.sync();
        EXPECT_EQ(SettingsStore(settings).read().lastDatDir, c.folder + "/");
        EXPECT_EQ(app->mainFrame()->view()->currentPage(), app->mainFrame()->view()->page(PageId::Programy));
        // The card exchange page works on that folder.
        auto* cardPage = qobject_cast<CPropWymiana*>(app->mainFrame()->view()->page(PageId::Wymiana));
        ASSERT_NE(cardPage, nullptr);
        EXPECT_TRUE(cardPage->datMode());
        EXPECT_EQ(QDir::cleanPath(cardPage->targetFolder()), QDir::cleanPath(c.folder));
        app.reset();
    }
}

TEST_F(EditorStart, DatProjectIsWrittenBackToItsFolderAtExit) {
    ProjectData source;
    testing_support::fillProject(source);
    const QString folder = dir.filePath(QStringLiteral("cards"));
    QDir().mkpath(folder);
    ASSERT_TRUE(testing::writeCardFolder(source, folder, dir.filePath(QStringLiteral("temp"))));
    ASSERT_TRUE(start(folder + ";dat"));
    ASSERT_EQ(document()->project().general().locationName(), source.general().locationName());
    testing::userEdit(*document(), [](ProjectData& project) { project.general().setLocationName("Nowa wieża"); });
    ASSERT_TRUE(document()->isModified());

    prompts.clear();
    prompts.answer(PromptService::Answer::No).answer(PromptService::Answer::Yes);
    EXPECT_TRUE(app->mainFrame()->canExit());
    EXPECT_EQ(prompts.texts().at(1), "p710");
    EXPECT_EQ(prompts.texts().last(), "p190");

    ProjectData reread;
    PlatformCardFileSystem files;
    ASSERT_TRUE(card::readCardFile(reread, card::FileKind::Config, (folder + "/config.dat").toStdString(), files).ok);
    EXPECT_EQ(reread.general().locationName(), "Nowa wieża");
}

TEST_F(EditorStart, CardStartReadsTheChosenDrive) {
    ProjectData source;
    testing_support::fillProject(source);
    const QString root = dir.filePath(QStringLiteral("card"));
    QDir().mkpath(root);
    ASSERT_TRUE(testing::writeCardFolder(source, root, dir.filePath(QStringLiteral("temp"))));
    ASSERT_TRUE(start(root + "/;card"));
    ASSERT_NE(document(), nullptr);
    EXPECT_EQ(prompts.texts().last(), "p505");
    EXPECT_EQ(document()->project().general().locationName(), source.general().locationName());
}

} // namespace
} // namespace tolvane
