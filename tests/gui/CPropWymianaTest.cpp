#include "gui/card/CPropWymiana.h"

#include "DocumentEdit.h"
#include "FullProject.h"
#include "ScriptedVolumeSource.h"
#include "TestAppContext.h"
#include "TextNumbers.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/widgets/CRemoveDirCombo.h"
#include "platform/CardBackups.h"
#include "platform/PlatformCardFileSystem.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <sys/resource.h>

namespace tolvane {
namespace {

using card::FileKind;
using Answer = PromptService::Answer;

std::map<int, QString> numberedTexts() {
    std::map<int, QString> texts;
    for (int id = 100; id < 1000; ++id) {
        texts[id] = QStringLiteral("t%1").arg(id);
    }
    texts[text::SystemReason] = QStringLiteral("t2400 %s");
    texts[text::CardBusy] = QStringLiteral("t2653");
    return texts;
}

QString t(int id) {
    return QStringLiteral("t%1").arg(id);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, qsizetype size) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(size, '\xFF'));
}

template <typename Done> void runUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QTest::qWait(10);
    }
}

// The card page over a document, a card drive whose presence the test sets, and a folder that stands for the card.
class CPropWymianaTest : public ::testing::Test {
protected:
    CPropWymianaTest() : app(numberedTexts()), document(&app.languages) {
        auto owned = std::make_unique<ScriptedVolumeSource>();
        volumes = owned.get();
        page = std::make_unique<CPropWymiana>(app.context, nullptr, std::move(owned));
        page->setDocument(&document, nullptr);
        page->resize(500, 300);
        page->show();
        cardFolder = app.dir.filePath("card");
        QDir().mkpath(cardFolder);
    }

    void insertCard() {
        volumes->volumes = {{"CARD", cardFolder, "FAT32"}};
        runUntil([&] { return page->driveList()->count() == 1; });
        ASSERT_EQ(page->targetFolder(), cardFolder);
    }

    void removeCard() {
        volumes->volumes = {};
        runUntil([&] { return page->driveList()->count() == 0; });
    }

    QString onCard(FileKind kind) const {
        return cardFolder + "/" + QString::fromStdString(std::string(card::fileName(kind)));
    }

    void expectButtonsAndLamps(bool writes, std::initializer_list<FileKind> lit) {
        for (FileKind kind : card::AllKinds) {
            SCOPED_TRACE(static_cast<int>(kind));
            const bool on = std::find(lit.begin(), lit.end(), kind) != lit.end();
            EXPECT_EQ(page->lampLit(kind), on);
            EXPECT_EQ(page->readButton(kind)->isEnabled(), on);
            EXPECT_EQ(page->writeButton(kind)->isEnabled(), writes);
        }
    }

    testing::TestAppContext app;
    CTarvelinDoc document;
    ScriptedVolumeSource* volumes = nullptr;
    std::unique_ptr<CPropWymiana> page;
    QString cardFolder;
};

TEST_F(CPropWymianaTest, LampsFollowTheCardWithoutUserAction) {
    writeFile(onCard(FileKind::Programs), 65559);
    writeFile(onCard(FileKind::Sequences), 65558); // one byte short
    writeFile(onCard(FileKind::Chimes), 9600);
    page->reload();
    QTest::qWait(50);
    expectButtonsAndLamps(false, {});

    insertCard();
    expectButtonsAndLamps(true, {FileKind::Programs, FileKind::Chimes});
    EXPECT_EQ(page->readButton(FileKind::Sequences)->isEnabled(), false);

    removeCard();
    expectButtonsAndLamps(false, {});
    EXPECT_TRUE(app.prompts.boxes().empty()) << "nothing changed, nothing to warn about";
}

TEST_F(CPropWymianaTest, CriticalErrorsBlinkAndBlockWritingWithTheReportPage) {
    int entry = -1;
    testing::userEdit(document, [&entry](ProjectData& project) {
        entry = project.program(Annual).addItem();
        project.program(Annual).setStartDate(entry, 31, 13);
    });
    insertCard();
    page->reload();
    EXPECT_TRUE(page->warningShown());
    EXPECT_TRUE(page->warningBlinking());
    EXPECT_TRUE(page->writeButton(FileKind::Programs)->isEnabled()) << "the page shown with a card enables Write";

    QSignalSpy report(page.get(), &CPropWymiana::reportRequested);
    page->writeButton(FileKind::Programs)->click();
    EXPECT_EQ(app.prompts.texts(), QStringList{t(459)});
    EXPECT_EQ(report.count(), 1);
    EXPECT_FALSE(QFile::exists(onCard(FileKind::Programs)));

    // Mended, the page follows at once; an undo brings the error, and the refusal, back.
    document.endEditBurst();
    testing::userEdit(document, [entry](ProjectData& project) { project.program(Annual).setStartDate(entry, 31, 12); });
    EXPECT_FALSE(page->warningShown());
    EXPECT_FALSE(page->warningBlinking());
    EXPECT_TRUE(page->writeButton(FileKind::Config)->isEnabled());
    document.undo();
    EXPECT_TRUE(page->warningShown());
    EXPECT_FALSE(page->writeButton(FileKind::Config)->isEnabled());
    EXPECT_TRUE(page->writeButton(FileKind::Chimes)->isEnabled()) << "chime names are written whatever the check says";
}

// Each row's Write and Read button, clicked: Write puts that row's file, and only it, on the card; after a change,
// Read takes the change back from that file.
struct ButtonCase {
    const char* name;
    FileKind kind;
    int writeQuestion;
    int readQuestion;
    std::function<void(ProjectData&, const std::string&)> set;
    std::function<std::string(const ProjectData&)> get;
};

class CardButtonsTest : public CPropWymianaTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(CardButtonsTest, WriteThenReadBringsTheWrittenValueBack) {
    const ButtonCase& c = GetParam();
    insertCard();
    page->reload();
    testing::userEdit(document, [&c](ProjectData& project) { c.set(project, "2"); });
    app.prompts.answer(Answer::Yes);
    QTest::mouseClick(page->writeButton(c.kind), Qt::LeftButton);
    EXPECT_EQ(app.prompts.texts(), (QStringList{t(c.writeQuestion), t(text::CardFileWritten)}));
    for (FileKind kind : card::AllKinds) {
        SCOPED_TRACE(std::string(card::fileName(kind)));
        EXPECT_EQ(QFile::exists(onCard(kind)), kind == c.kind);
        EXPECT_EQ(page->lampLit(kind), kind == c.kind);
    }

    testing::userEdit(document, [&c](ProjectData& project) { c.set(project, "3"); });
    ASSERT_EQ(c.get(document.project()), "3");
    app.prompts.clear();
    app.prompts.answer(Answer::Yes);
    QTest::mouseClick(page->readButton(c.kind), Qt::LeftButton);
    EXPECT_EQ(app.prompts.texts(), QStringList{t(c.readQuestion)}) << "asked, and read without a complaint";
    EXPECT_EQ(c.get(document.project()), "2");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CardButtonsTest,
    ::testing::Values(
        // Programs: the hour of the first weekly program.
        ButtonCase{"Programs", FileKind::Programs, 655, 648,
                   [](ProjectData& p, const std::string& v) {
                       if (p.program(Weekly).usedCount() == 0) {
                           p.program(Weekly).addEntry();
                       }
                       p.program(Weekly).setTime(0, static_cast<std::uint8_t>(std::stoi(v)), 0, 0);
                   },
                   [](const ProjectData& p) { return std::to_string(p.program(Weekly).entry(0).hour()); }},
        // Configuration: the tower's name.
        ButtonCase{
            "Config", FileKind::Config, 653, 646,
            [](ProjectData& p, const std::string& v) { p.general().setLocationName("Wieża " + v); },
            [](const ProjectData& p) { return p.general().locationName().substr(std::string("Wieża ").size()); }},
        // Sequences: how many there are.
        ButtonCase{"Sequences", FileKind::Sequences, 654, 647,
                   [](ProjectData& p, const std::string& v) {
                       while (p.sequences().usedCount() < std::stoi(v)) {
                           p.sequences().createSequence();
                       }
                   },
                   [](const ProjectData& p) { return std::to_string(p.sequences().usedCount()); }},
        // Chimes: the name of melody 5.
        ButtonCase{"Chimes", FileKind::Chimes, 857, 856,
                   [](ProjectData& p, const std::string& v) { p.chimes().setName(4, "Angelus " + v); },
                   [](const ProjectData& p) { return p.chimes().name(4).substr(std::string("Angelus ").size()); }}),
    [](const ::testing::TestParamInfo<ButtonCase>& param) { return std::string(param.param.name); });

TEST_F(CPropWymianaTest, RemovingTheCardWarnsOnlyAboutUnwrittenChanges) {
    insertCard();
    testing::userEdit(document, [](ProjectData& project) { project.chimes().setName(4, "Angelus"); });
    removeCard();
    EXPECT_EQ(app.prompts.texts(), QStringList{t(702)});

    app.prompts.clear();
    insertCard();
    for (FileKind kind : card::AllKinds) {
        app.prompts.answer(Answer::Yes);
        page->write(kind);
    }
    EXPECT_EQ(app.prompts.texts(), (QStringList{t(655), t(190), t(653), t(190), t(654), t(190), t(857), t(190)}));
    expectButtonsAndLamps(true, {FileKind::Programs, FileKind::Config, FileKind::Sequences, FileKind::Chimes});
    // The card holds everything now (no mark is left), though the project file was never saved.
    EXPECT_FALSE(document.project().isModifiedAll());

    app.prompts.clear();
    removeCard();
    EXPECT_TRUE(app.prompts.boxes().empty());
}

TEST_F(CPropWymianaTest, AnsweringNoWritesNothing) {
    insertCard();
    app.prompts.answer(Answer::No);
    page->write(FileKind::Config);
    EXPECT_FALSE(QFile::exists(onCard(FileKind::Config)));
    app.prompts.answer(Answer::No);
    writeFile(onCard(FileKind::Chimes), 9600);
    page->refresh();
    page->read(FileKind::Chimes);
    EXPECT_EQ(app.prompts.texts(), (QStringList{t(653), t(856)}));
}

TEST_F(CPropWymianaTest, AllFourFilesGoToADatFolderAndComeBackIntoAFreshProject) {
    // Programs as the pages keep them, in time order (a read puts them in that order).
    testing::userEdit(document, [](ProjectData& project) {
        testing_support::fillProject(project);
        project.sortSchedulesByTime();
    });
    const QString folder = app.dir.filePath("dat");
    QDir().mkpath(folder);
    page->setDatMode(true, folder);
    page->reload();
    EXPECT_TRUE(page->driveList()->isHidden());
    for (FileKind kind : card::AllKinds) {
        app.prompts.answer(Answer::Yes);
        page->write(kind);
    }
    EXPECT_EQ(app.prompts.texts(), (QStringList{t(716), t(190), t(714), t(190), t(715), t(190), t(855), t(190)}));

    // A fresh project reads the four files back and writes the same bytes again.
    CTarvelinDoc fresh(&app.languages);
    CPropWymiana second(app.context, nullptr, std::make_unique<ScriptedVolumeSource>());
    second.setDocument(&fresh, nullptr);
    second.setDatMode(true, folder);
    second.reload();
    app.prompts.clear();
    for (FileKind kind : card::AllKinds) {
        app.prompts.answer(Answer::Yes);
        second.read(kind);
    }
    EXPECT_EQ(app.prompts.texts(), (QStringList{t(713), t(711), t(712), t(854)}));
    for (int i = 0; i < ChimeNameTable::Count; ++i) {
        ASSERT_TRUE(fresh.project().chimes().isChanged(i)) << "chime name " << i;
    }
    for (int i = 0; i < 42; ++i) {
        ASSERT_TRUE(fresh.project().sequences().isChanged(i)) << "sequence " << i;
    }

    const QString again = app.dir.filePath("again");
    QDir().mkpath(again);
    second.setDatMode(true, again);
    for (FileKind kind : card::AllKinds) {
        app.prompts.answer(Answer::Yes);
        second.write(kind);
        const QString name = QString::fromStdString(std::string(card::fileName(kind)));
        EXPECT_EQ(readAll(again + "/" + name), readAll(folder + "/" + name)) << name.toStdString();
    }
}

// Writing over a card keeps the file it replaces in the backup folder; a write the system refuses says why, and the
// card keeps its file.
TEST_F(CPropWymianaTest, AWriteKeepsTheReplacedFileAndAFailureNamesTheSystemsReason) {
    insertCard();
    writeFile(onCard(FileKind::Chimes), 9600);
    const QByteArray old = readAll(onCard(FileKind::Chimes));
    document.edit({0, {}}, {SectionId::Chimes, 0, 0},
                  [](ProjectData& project) { project.chimes().setName(0, "Bogurodzica"); });
    app.prompts.answer(Answer::Yes);
    QTest::mouseClick(page->writeButton(FileKind::Chimes), Qt::LeftButton);
    ASSERT_FALSE(app.prompts.texts().isEmpty());
    EXPECT_EQ(app.prompts.texts().back(), t(190));
    const QStringList writes = CardBackups::writes(app.context.cardBackupFolder);
    ASSERT_EQ(writes.size(), 1);
    EXPECT_EQ(readAll(app.context.cardBackupFolder + "/" + writes.front() + "/kur.bin"), old);
    const QByteArray written = readAll(onCard(FileKind::Chimes));
    ASSERT_NE(written, old);

    // A file-size limit makes the system refuse the next write, as a full disk does.
    document.edit({0, {}}, {SectionId::Chimes, 1, 0},
                  [](ProjectData& project) { project.chimes().setName(1, "Gaude Mater"); });
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    app.prompts.clear();
    app.prompts.answer(Answer::Yes);
    QTest::mouseClick(page->writeButton(FileKind::Chimes), Qt::LeftButton);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_FALSE(app.prompts.texts().isEmpty());
    EXPECT_EQ(app.prompts.texts().back(), t(card::temporaryFailedText(FileKind::Chimes)) + "\nt2400 File too large");
    EXPECT_EQ(readAll(onCard(FileKind::Chimes)), written);
}

// While another program writes to the card (it holds the card folder's lock), Write says the card is busy, writes
// nothing and keeps the project as it was, its change marks included, so the write can be done again later.
TEST_F(CPropWymianaTest, ABusyCardIsShownAsAMessageAndLosesNothing) {
    insertCard();
    writeFile(onCard(FileKind::Chimes), 9600);
    const QByteArray old = readAll(onCard(FileKind::Chimes));
    document.edit({0, {}}, {SectionId::Chimes, 0, 0},
                  [](ProjectData& project) { project.chimes().setName(0, "Bogurodzica"); });
    const int other = ::open(cardFolder.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    app.prompts.answer(Answer::Yes);
    QTest::mouseClick(page->writeButton(FileKind::Chimes), Qt::LeftButton);
    ::close(other);
    ASSERT_FALSE(app.prompts.texts().isEmpty());
    EXPECT_TRUE(app.prompts.texts().back().startsWith(t(text::CardBusy) + "\nt2400 another program is writing"))
        << app.prompts.texts().back().toStdString();
    EXPECT_EQ(readAll(onCard(FileKind::Chimes)), old);
    EXPECT_TRUE(CardBackups::writes(app.context.cardBackupFolder).isEmpty());
    EXPECT_EQ(document.project().chimes().name(0), "Bogurodzica");
    EXPECT_TRUE(document.project().chimes().isModified());

    // Once the other writer is done, the same Write goes through.
    app.prompts.clear();
    app.prompts.answer(Answer::Yes);
    QTest::mouseClick(page->writeButton(FileKind::Chimes), Qt::LeftButton);
    ASSERT_FALSE(app.prompts.texts().isEmpty());
    EXPECT_EQ(app.prompts.texts().back(), t(190));
    EXPECT_NE(readAll(onCard(FileKind::Chimes)), old);
}

} // namespace
} // namespace tolvane
