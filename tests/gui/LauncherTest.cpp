#include "launcher/CSelCardDlg.h"
#include "launcher/CSelVerDlg.h"
#include "launcher/CTolvaneManagerDlg.h"

#include "RecordingProgramStarter.h"
#include "ScriptedChooser.h"
#include "ScriptedPrompt.h"
#include "ScriptedVolumeSource.h"
#include "gui/widgets/CRemoveDirCombo.h"
#include "platform/FirmwareDetection.h"
#include "platform/LaunchParameters.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace tolvane {
namespace {

using Answer = PromptService::Answer;
using Action = CTolvaneManagerDlg::Action;

constexpr qsizetype CardFileSize = 65559;
constexpr qsizetype CardTagOffset = 0x10000;

// A launcher folder with version folders, a settings file, scripted services and a runner for the inner dialogs
// that tests set per case (no test waits on a modal dialog).
class LauncherTest : public ::testing::Test {
protected:
    LauncherTest() : settings(temp.filePath(QStringLiteral("Tolvane.ini")), QSettings::IniFormat) {
        QDir(temp.path()).mkpath(QStringLiteral("launcher"));
        QDir(temp.path()).mkpath(QStringLiteral("data"));
    }

    QString launcherFolder() const { return temp.filePath(QStringLiteral("launcher")); }
    QString dataFolder() const { return temp.filePath(QStringLiteral("data")); }

    // A version folder with its editor program in it.
    void addVersion(const QString& version) {
        ASSERT_TRUE(QDir(launcherFolder()).mkpath(version));
        QFile program(firmware::editorProgramPath(launcherFolder(), version));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    }

    // A card file of full size, 0xFF throughout, with its five-byte format tag at 0x10000.
    static void writeCardFile(const QString& folder, const QString& name, const QByteArray& tag) {
        QByteArray bytes(CardFileSize, '\xFF');
        bytes.replace(CardTagOffset, tag.size(), tag);
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // A project file whose first four bytes are the format number and the "TPM" mark, then some body.
    QString writeProjectFile(const QString& name, char formatNumber) const {
        const QString path = QDir(dataFolder()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray bytes("\x00MPT", 4);
        bytes[0] = formatNumber;
        bytes.append(QByteArray(64, '\0'));
        file.write(bytes);
        return path;
    }

    CTolvaneManagerDlg& dialog() {
        if (!dialog_) {
            LauncherContext context{launcherFolder(), settings, prompts, choosers, starter, {}, {}};
            context.volumes = [this]() -> std::unique_ptr<VolumeSource> {
                auto owned = std::make_unique<ScriptedVolumeSource>();
                owned->volumes = cards;
                volumeSource = owned.get();
                return owned;
            };
            context.runDialog = [this](QDialog& inner) {
                EXPECT_TRUE(runner) << "an inner dialog nobody scripted";
                return runner ? runner(inner) : int(QDialog::Rejected);
            };
            dialog_.emplace(context);
            dialog_->show();
        }
        return *dialog_;
    }

    QString lastHard() {
        settings.sync();
        return settings.value(QStringLiteral("Settings/LastHard")).toString();
    }

    // The user presses OK in an inner dialog, shown as exec() shows it; the dialog's own result is the answer (a
    // dialog that does not accept on OK stays rejected).
    static int pressOk(QDialog& inner, QPushButton* ok) {
        inner.setResult(QDialog::Rejected);
        inner.show();
        QTest::mouseClick(ok, Qt::LeftButton);
        const int result = inner.result();
        inner.hide();
        return result;
    }

    // Runs the event loop until `done` holds, at most two seconds.
    template <typename Done> static bool waitFor(Done done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 2000) {
            QTest::qWait(10);
        }
        return done();
    }

    QTemporaryDir temp;
    QSettings settings;
    testing::ScriptedPrompt prompts;
    testing::ScriptedChooser choosers;
    testing::RecordingProgramStarter starter;
    std::vector<RemovableVolume> cards;
    ScriptedVolumeSource* volumeSource = nullptr;
    std::function<int(QDialog&)> runner;
    std::optional<CTolvaneManagerDlg> dialog_;
};

TEST_F(LauncherTest, CardTaggedV106StartsTheEditorOf141WithTheCardRootAndCloses) {
    addVersion(QStringLiteral("1.28"));
    addVersion(QStringLiteral("1.41"));
    const QString card = temp.filePath(QStringLiteral("card"));
    ASSERT_TRUE(QDir().mkpath(card));
    writeCardFile(card, QStringLiteral("programs.dat"), "V1_06");
    writeCardFile(card, QStringLiteral("config.dat"), "V1_03"); // programs.dat is asked first
    cards = {ScriptedVolumeSource::card(QStringLiteral("TOWER"), card)};
    settings.setValue(QStringLiteral("Settings/LastHard"), QStringLiteral("1.43"));

    bool okFollowedTheCard = false;
    runner = [&](QDialog& inner) {
        auto* cardDialog = qobject_cast<CSelCardDlg*>(&inner);
        EXPECT_NE(cardDialog, nullptr);
        if (cardDialog == nullptr) {
            return int(QDialog::Rejected);
        }
        EXPECT_EQ(cardDialog->windowTitle(), QStringLiteral("Karta pamięci"));
        EXPECT_FALSE(cardDialog->okButton()->isEnabled()) << "no card reported yet";
        EXPECT_TRUE(waitFor([&] { return cardDialog->okButton()->isEnabled(); }));
        volumeSource->volumes.clear();
        EXPECT_TRUE(waitFor([&] { return !cardDialog->okButton()->isEnabled(); })) << "card removed: OK goes";
        volumeSource->volumes = cards;
        okFollowedTheCard = waitFor([&] { return cardDialog->okButton()->isEnabled(); });
        return pressOk(inner, cardDialog->okButton());
    };
    dialog().button(Action::Card)->click();

    EXPECT_TRUE(okFollowedTheCard);
    EXPECT_TRUE(prompts.boxes().empty()) << prompts.texts().join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].program, firmware::editorProgramPath(launcherFolder(), QStringLiteral("1.41")));
    EXPECT_EQ(starter.calls[0].arguments, QStringList{launch::nativeFolder(card) + QStringLiteral(";card")});
    EXPECT_FALSE(dialog().isVisible()) << "the launcher closes after a start";
    EXPECT_EQ(dialog().result(), QDialog::Rejected);
    EXPECT_EQ(lastHard(), QStringLiteral("1.43")) << "closing writes the current label back";
}

TEST_F(LauncherTest, CaptionsFollowLastLang) {
    struct Case {
        const char* lastLang;
        std::array<const char*, 5> captions; // New, Open, Card, DAT, Close
    };
    const Case cases[] = {
        {"Deutsch", {"Neu", "Öffnen", "Lesen aus der Karte", "Import DAT", "Schließen"}},
        {"Francais", {"Nouveau", "Ouvrir", "Enregistrer depuis la carte", "Import DAT", "Fermer"}},
        {"Polski", {"Nowy projekt", "Otwórz projekt", "Czytaj kartę", "Import DAT", "Zamknij"}},
        {"English", {"Nowy projekt", "Otwórz projekt", "Czytaj kartę", "Import DAT", "Zamknij"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastLang);
        settings.setValue(QStringLiteral("Settings/LastLang"), QString::fromUtf8(c.lastLang));
        dialog_.reset();
        CTolvaneManagerDlg& launcher = dialog();
        EXPECT_EQ(launcher.windowTitle(), QStringLiteral("Tolvane Manager"));
        for (int i = 0; i < CTolvaneManagerDlg::ActionCount; ++i) {
            const auto action = static_cast<Action>(i);
            EXPECT_EQ(launcher.caption(action)->text(), QString::fromUtf8(c.captions[static_cast<std::size_t>(i)]));
            EXPECT_FALSE(launcher.button(action)->icon().isNull());
            EXPECT_EQ(launcher.button(action)->iconSize(), QSize(48, 48));
        }
        dialog_->close();
        EXPECT_EQ(settings.value(QStringLiteral("Settings/LastLang")).toString(), QString::fromUtf8(c.lastLang))
            << "the launcher never writes the language";
    }
}

TEST_F(LauncherTest, NewListsTheLabelsOfTheVersionFoldersAndStartsTheOneChosen) {
    addVersion(QStringLiteral("2.01"));
    addVersion(QStringLiteral("1.41"));
    ASSERT_TRUE(QDir(launcherFolder()).mkpath(QStringLiteral("9.99"))); // a version name the table does not know
    ASSERT_TRUE(QDir(launcherFolder()).mkpath(QStringLiteral("Language")));
    settings.setValue(QStringLiteral("Settings/LastHard"), QStringLiteral("1.43"));
    settings.setValue(QStringLiteral("Settings/LastLang"), QStringLiteral("Deutsch"));

    QStringList expected;
    for (int i = 1; i <= 13; ++i) {
        expected << QStringLiteral("1.%1 VARDELO").arg(i, 2, 10, QLatin1Char('0'));
    }
    expected << "1.41"
             << "1.42"
             << "1.43"
             << "1.44"
             << "1.45";

    // First a Cancel: nothing starts and the label stays.
    runner = [&](QDialog& inner) {
        auto* versions = qobject_cast<CSelVerDlg*>(&inner);
        EXPECT_NE(versions, nullptr);
        if (versions == nullptr) {
            return int(QDialog::Rejected);
        }
        EXPECT_EQ(versions->windowTitle(), QStringLiteral("Auswahl der Firmwareversion"));
        QStringList listed;
        for (int i = 0; i < versions->list()->count(); ++i) {
            listed << versions->list()->itemText(i);
        }
        EXPECT_EQ(listed, expected);
        EXPECT_EQ(versions->list()->currentText(), QStringLiteral("1.43")) << "LastHard is preselected";
        EXPECT_TRUE(versions->okButton()->isEnabled());
        return int(QDialog::Rejected);
    };
    dialog().button(Action::New)->click();
    EXPECT_TRUE(starter.calls.empty());
    EXPECT_EQ(dialog().currentLabel(), QStringLiteral("1.43"));
    EXPECT_TRUE(dialog().isVisible());

    runner = [&](QDialog& inner) {
        auto& versions = static_cast<CSelVerDlg&>(inner);
        versions.list()->setCurrentIndex(versions.list()->findText(QStringLiteral("1.01 VARDELO")));
        versions.okButton()->click();
        return versions.result();
    };
    dialog().button(Action::New)->click();

    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].program, firmware::editorProgramPath(launcherFolder(), QStringLiteral("2.01")));
    EXPECT_EQ(starter.calls[0].arguments, QStringList{QStringLiteral("1.01 VARDELO;new")});
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(lastHard(), QStringLiteral("1.01 VARDELO")) << "the chosen label is written back on closing";
}

TEST_F(LauncherTest, VersionDialogWithoutVersionFoldersOffersNothing) {
    CSelVerDlg versions(launcherFolder(), QStringLiteral("1.28"), LauncherTexts::forLanguage(QString()));
    EXPECT_EQ(versions.list()->count(), 0);
    EXPECT_FALSE(versions.list()->isEnabled());
    EXPECT_FALSE(versions.okButton()->isEnabled());

    addVersion(QStringLiteral("3.04"));
    CSelVerDlg other(launcherFolder(), QStringLiteral("1.28"), LauncherTexts::forLanguage(QString()));
    EXPECT_EQ(other.list()->count(), 8);
    EXPECT_EQ(other.list()->currentText(), QStringLiteral("2.04 TOLVANE2")) << "no LastHard among them: the first";
    other.accept();
    EXPECT_EQ(other.chosenFolder(), QStringLiteral("3.04"));
}

// Every way a start can fail shows its message through the prompt service; the launcher stays open, starts
// nothing more and keeps its settings.
TEST_F(LauncherTest, FailedStartsShowTheirMessageAndTheLauncherStays) {
    addVersion(QStringLiteral("1.41"));
    ASSERT_TRUE(QDir(launcherFolder()).mkpath(QStringLiteral("3.12"))); // a version folder without its editor
    const QString datFolder = temp.filePath(QStringLiteral("dat"));
    ASSERT_TRUE(QDir().mkpath(datFolder));
    writeCardFile(datFolder, QStringLiteral("seq.dat"), "V3_02");
    const QString emptyCard = temp.filePath(QStringLiteral("empty card"));
    ASSERT_TRUE(QDir().mkpath(emptyCard));

    const QString format22 = writeProjectFile(QStringLiteral("old.tpm"), 22);
    const QString refused = writeProjectFile(QStringLiteral("a;b.tpm"), 23);
    const QString good = writeProjectFile(QStringLiteral("my tower.tpm"), 23);
    const QString program141 = firmware::editorProgramPath(launcherFolder(), QStringLiteral("1.41"));
    const QString program312 = firmware::editorProgramPath(launcherFolder(), QStringLiteral("3.12"));

    struct Case {
        const char* name;
        std::function<void()> act;
        QString message;
        int starts; // calls the starter gets (a refused start still asks it)
    };
    const std::vector<Case> cases = {
        {"project of format 22",
         [&] {
             choosers.openFileAnswer(format22);
             dialog().button(Action::Open)->click();
         },
         QStringLiteral("Nie rozpoznano wersji."), 0},
        {"DAT folder of a version whose editor is missing",
         [&] {
             choosers.folderAnswer(datFolder);
             dialog().button(Action::Dat)->click();
         },
         QStringLiteral("Brak pliku:") + program312, 0},
        {"empty card",
         [&] {
             cards = {ScriptedVolumeSource::card(QStringLiteral("EMPTY"), emptyCard)};
             runner = [&](QDialog& inner) {
                 auto& card = static_cast<CSelCardDlg&>(inner);
                 EXPECT_TRUE(waitFor([&] { return card.okButton()->isEnabled(); }));
                 return pressOk(inner, card.okButton());
             };
             dialog().button(Action::Card)->click();
         },
         QStringLiteral("Nie rozpoznano wersji."), 0},
        {"project path the editor would read back as another",
         [&] {
             choosers.openFileAnswer(refused);
             dialog().button(Action::Open)->click();
         },
         QStringLiteral("Brak pliku:") + QDir::toNativeSeparators(refused), 0},
        {"the system refuses to start the editor",
         [&] {
             starter.succeeds = false;
             choosers.openFileAnswer(good);
             dialog().button(Action::Open)->click();
             starter.succeeds = true;
         },
         QStringLiteral("Brak pliku:") + program141, 1},
        {"automatic start of a version without its editor",
         [&] { EXPECT_FALSE(dialog().startAutomatically(QStringLiteral("/opt/tolvane/3.12.exe"))); },
         QStringLiteral("Brak pliku:") + program312, 0},
    };
    settings.setValue(QStringLiteral("Settings/LastHard"), QStringLiteral("1.44"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.clear();
        starter.calls.clear();
        c.act();
        ASSERT_EQ(prompts.boxes().size(), 1u);
        EXPECT_EQ(prompts.boxes()[0].text, c.message);
        EXPECT_EQ(prompts.boxes()[0].buttons, PromptService::Buttons::Ok);
        EXPECT_EQ(prompts.boxes()[0].owner, &dialog());
        EXPECT_EQ(static_cast<int>(starter.calls.size()), c.starts);
        EXPECT_TRUE(dialog().isVisible()) << "the launcher stays open";
    }
    EXPECT_EQ(settings.value(QStringLiteral("Settings/LastHard")).toString(), QStringLiteral("1.44"));

    // Cancelled choosers do nothing at all.
    prompts.clear();
    choosers.openFileAnswer(QString()).folderAnswer(QString());
    dialog().button(Action::Open)->click();
    dialog().button(Action::Dat)->click();
    EXPECT_TRUE(prompts.boxes().empty());
    EXPECT_TRUE(dialog().isVisible());
}

TEST_F(LauncherTest, OpenAndDatPassTheirPathsAsTheEditorReadsThem) {
    addVersion(QStringLiteral("1.41"));
    addVersion(QStringLiteral("3.12"));
    const QString project = writeProjectFile(QStringLiteral("my tower.tpm"), 23);
    const QString datFolder = temp.filePath(QStringLiteral("dat files"));
    ASSERT_TRUE(QDir().mkpath(datFolder));
    writeCardFile(datFolder, QStringLiteral("seq.dat"), "V3_02");

    choosers.openFileAnswer(project);
    dialog().button(Action::Open)->click();
    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].program, firmware::editorProgramPath(launcherFolder(), QStringLiteral("1.41")));
    const QString parameters = starter.calls[0].arguments.value(0);
    EXPECT_FALSE(parameters.contains(QLatin1Char(' ')));
    EXPECT_EQ(launch::parseEditorParameters(parameters),
              (launch::EditorRequest{launch::EditorCommand::Open, QDir::toNativeSeparators(project)}));
    ASSERT_EQ(choosers.calls().size(), 1u);
    EXPECT_EQ(choosers.calls()[0].filter, QStringLiteral("Tolvane Files (*.tpm)"));

    dialog_.reset();
    starter.calls.clear();
    choosers.folderAnswer(datFolder);
    dialog().button(Action::Dat)->click();
    ASSERT_EQ(starter.calls.size(), 1u);
    EXPECT_EQ(starter.calls[0].program, firmware::editorProgramPath(launcherFolder(), QStringLiteral("3.12")));
    EXPECT_EQ(starter.calls[0].arguments, QStringList{launch::nativeFolder(datFolder) + QStringLiteral(";dat")})
        << "the DAT folder keeps its spaces";
}

TEST_F(LauncherTest, StartsAutomaticallyOnlyWhenNamedLikeAVersion) {
    addVersion(QStringLiteral("1.41"));
    struct Case {
        const char* programFile;
        bool starts;
    };
    const Case cases[] = {
        {"/opt/tolvane/1.41.exe", true},
        {"1.41.run", true},
        {"/opt/tolvane/TolvaneManager", false},
        {"TolvaneManager.exe", false},
        {"1.41", false},
        {"12.4.exe", false},
        {"1.410.exe", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.programFile);
        dialog_.reset();
        starter.calls.clear();
        EXPECT_EQ(dialog().startAutomatically(QString::fromUtf8(c.programFile)), c.starts);
        if (c.starts) {
            ASSERT_EQ(starter.calls.size(), 1u);
            EXPECT_EQ(starter.calls[0].program, firmware::editorProgramPath(launcherFolder(), QStringLiteral("1.41")));
            EXPECT_TRUE(starter.calls[0].arguments.isEmpty()) << "no parameters at all";
            EXPECT_FALSE(dialog().isVisible());
        } else {
            EXPECT_TRUE(starter.calls.empty());
            EXPECT_TRUE(dialog().isVisible());
        }
    }
    EXPECT_TRUE(prompts.boxes().empty());
}

// `make screenshots`: the launcher's dialogs in each language as PNG files.
TEST(Screenshots, Launcher) {
    const QString target = qEnvironmentVariable("TOLVANE_SCREENSHOT_DIR");
    if (target.isEmpty()) {
        GTEST_SKIP() << "TOLVANE_SCREENSHOT_DIR is not set";
    }
    ASSERT_TRUE(QDir().mkpath(target));
    QTemporaryDir temp;
    ASSERT_TRUE(QDir(temp.path()).mkpath(QStringLiteral("1.41")));
    QSettings settings(temp.filePath(QStringLiteral("Tolvane.ini")), QSettings::IniFormat);
    testing::ScriptedPrompt prompts;
    testing::ScriptedChooser choosers;
    testing::RecordingProgramStarter starter;
    const auto shoot = [&](QWidget& widget, const QString& name) {
        widget.show();
        QTest::qWait(50);
        EXPECT_TRUE(widget.grab().save(QDir(target).filePath(name + QStringLiteral(".png"))));
    };
    for (const QString& language : {QStringLiteral("Polski"), QStringLiteral("Deutsch"), QStringLiteral("Francais")}) {
        settings.setValue(QStringLiteral("Settings/LastLang"), language);
        CTolvaneManagerDlg launcher({temp.path(), settings, prompts, choosers, starter, {}, {}});
        shoot(launcher, QStringLiteral("launcher-") + language);
    }
    const LauncherTexts texts = LauncherTexts::forLanguage(QStringLiteral("Deutsch"));
    CSelVerDlg versions(temp.path(), QStringLiteral("1.43"), texts);
    shoot(versions, QStringLiteral("launcher-versions"));
    auto source = std::make_unique<ScriptedVolumeSource>();
    source->volumes = {ScriptedVolumeSource::card(QStringLiteral("TOWER"), QStringLiteral("/media/card"))};
    CSelCardDlg card(texts, std::move(source));
    shoot(card, QStringLiteral("launcher-card"));
}

} // namespace
} // namespace tolvane
