#include "ShellTestSupport.h"

#include "TextNumbers.h"
#include "gui/app/CAboutDlg.h"
#include "gui/app/CProgramSet.h"
#include "gui/app/CSplash.h"
#include "gui/app/CTarvelinApp.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/report/CPropRaport.h"
#include "gui/ringing/CKurantyPage.h"
#include "gui/sequences/CPropSekwencje.h"
#include "gui/sequences/CSeqElemDlg.h"
#include "gui/settings/CDzwonEdyDlg.h"
#include "gui/settings/CMlotekEdy.h"
#include "gui/settings/CSelectDzwonDlg.h"
#include "gui/settings/CZegarEdyDlg.h"
#include "gui/wiring/CPropKrosownica.h"
#include "platform/HolidayFile.h"
#include "project/CorrectionsEditing.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// `make screenshots`: with TOLVANE_SCREENSHOT_DIR set, the editor is started from the stage folder (real catalogs
// and images, settings in a temporary file) and the main window is written to PNG files: empty, then on every
// tree item's page, then the About box, the program settings dialog and the splash screen. TOLVANE_SCREENSHOT_LANG
// picks the language (English when unset).
TEST(Screenshots, MainWindowOnEveryPage) {
    const QString target = qEnvironmentVariable("TOLVANE_SCREENSHOT_DIR");
    if (target.isEmpty()) {
        GTEST_SKIP() << "TOLVANE_SCREENSHOT_DIR is not set";
    }
    ASSERT_TRUE(QDir().mkpath(target));
    QTemporaryDir temp;
    QSettings settings(temp.filePath(QStringLiteral("Tolvane.ini")), QSettings::IniFormat);
    const QString language = qEnvironmentVariable("TOLVANE_SCREENSHOT_LANG", QStringLiteral("English"));
    settings.setValue(QStringLiteral("Settings/LastLang"), language);
    const QString programFolder = QStringLiteral(TOLVANE_VERSION_DIR);
    Languages texts(AppPaths(programFolder).languageFolder());
    testing::ScriptedPrompt prompts;
    testing::ScriptedChooser choosers;
    testing::RecordingProgramStarter starter;
    CTarvelinApp app(settings, texts, prompts, choosers, starter, programFolder, temp.path());
    ASSERT_TRUE(app.start(QString(), false));
    CMainFrame& frame = *app.mainFrame();
    frame.showNormal();
    frame.resize(1280, 800);
    const auto shoot = [&](QWidget& widget, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(widget.grab().save(QDir(target).filePath(name + QStringLiteral(".png"))));
    };
    shoot(frame, QStringLiteral("00-empty"));

    ASSERT_TRUE(frame.newDocument());
    CTarvelinView& view = *frame.view();
    // Real content: named chimes, the last one typed just now (changed, so it shows on light green).
    const char* names[] = {"Angelus", "Regina caeli", "Te Deum", "Salve Regina", "Gloria", "Ave Maria"};
    for (int i = 0; i < 6; ++i) {
        frame.document()->edit({text::ChimeNameStep, {static_cast<long long>(i + 1)}}, {SectionId::Chimes, i, 0},
                               [&](ProjectData& p) { p.chimes().setName(i, names[i]); });
    }
    frame.document()->changeMarks([](ProjectData& p) { p.chimes().clearModified(); });
    frame.document()->edit({text::ChimeNameStep, {7LL}}, {SectionId::Chimes, 6, 0},
                           [](ProjectData& p) { p.chimes().setName(6, "Magnificat"); });
    // A parish's week: the Angelus three times a day, Sunday mass, Christmas Eve and a wedding.
    frame.document()->edit({0, {}}, {SectionId::Weekly, -1, 0}, [](ProjectData& p) {
        ScheduleProgram& weekly = p.program(Weekly);
        for (int hour : {6, 12, 18}) {
            const int i = weekly.addEntry();
            weekly.setTime(i, static_cast<std::uint8_t>(hour), 0, 0);
            weekly.setDays(i, 0x7F);
            weekly.setBellDelay(i, 1, 10);
            weekly.setAngelus(i, true);
        }
        const int mass = weekly.addEntry();
        weekly.setTime(mass, 9, 30, 0);
        weekly.setDays(mass, 0x40);
        weekly.setPriority(mass, 7);
        for (int bell = 0; bell < 5; ++bell) {
            weekly.setBellDelay(mass, bell, static_cast<std::uint16_t>(bell * 15));
            weekly.setBellSecondTime(mass, bell, static_cast<std::uint16_t>(20 + bell * 10));
        }
        weekly.setRingingTime(mass, 300);
        const int quiet = weekly.addEntry();
        weekly.setTime(quiet, 22, 0, 0);
        weekly.setDays(quiet, 0x7F);
        weekly.setAction(quiet, ProgramEntry::ActionSilence);
        weekly.setSilenceDuration(quiet, 9 * 3600);
        weekly.setSilenceTargets(quiet, false, true);
        weekly.setSummer(quiet, false);
        weekly.setWinter(quiet, false);
        ScheduleProgram& annual = p.program(Annual);
        const int eve = annual.addEntry();
        annual.setTime(eve, 23, 45, 0);
        annual.setStartDate(eve, 24, 12);
        for (int bell = 0; bell < 5; ++bell) {
            annual.setBellDelay(eve, bell, static_cast<std::uint16_t>(bell * 5));
        }
        ScheduleProgram& once = p.program(OneTime);
        const int wedding = once.addEntry();
        once.setTime(wedding, 14, 0, 0);
        once.setStartDate(wedding, 12, 6);
        once.setYear(wedding, 27);
        once.setAction(wedding, ProgramEntry::ActionSequence);
        once.setSequenceIndex(wedding, 0);
        p.sortSchedulesByTime();
    });
    frame.document()->changeMarks([](ProjectData& p) { p.program(Weekly).clearModified(); });
    frame.document()->edit({0, {}}, {SectionId::Weekly, 3, 0},
                           [](ProjectData& p) { p.program(Weekly).setPriority(3, 8); });
    // A wired tower: five bells, two hammers, the amplifier, clock 1 on two relays; WE1 starts the factory
    // sequence, WE2 takes clock 1's minute pulses, POWR1 and POWR2 carry the return signals of bells 1 and 2. The
    // last choice is fresh, so it shows as changed.
    const int relayRows[] = {1, 2, 3, 4, 5, 6, 7, 11, 14, 15};
    frame.document()->edit({text::ConnectionStep, {std::string("PK")}}, {SectionId::Outputs, -1, 0},
                           [&](ProjectData& p) {
                               for (int relay = 0; relay < 10; ++relay) {
                                   p.outputs().assignRelay(relayRows[relay], static_cast<std::uint8_t>(relay));
                               }
                               p.outputs().assignInputRow(0, 8);
                               p.outputs().setReturnRow(0, 1);
                               p.outputs().setReturnRow(1, 1);
                           });
    frame.document()->changeMarks([](ProjectData& p) { p.outputs().clearModified(); });
    frame.document()->edit({text::ConnectionStep, {std::string("WE2")}}, {SectionId::Outputs, 11, 0},
                           [](ProjectData& p) { p.outputs().assignInputRow(1, 2); });
    // Quarter striking on hammers 1-4: sequence 2 plays four strokes and repeats them once, sequence 3 rings bells
    // and repeats them for a minute. Hour striking with repetition, the quarters on, silent from 22:00 to 7:00.
    frame.document()->edit({0, {}}, {SectionId::Sequences, -1, 0}, [](ProjectData& p) {
        const auto timed = [](StepKind kind, std::uint16_t tenths, std::uint16_t units) {
            SequenceStep s;
            s.makeFresh();
            s.setKind(kind);
            s.setTenths(tenths);
            s.setHundredths(0);
            s.setUnitMask(units);
            return s;
        };
        const auto repeat = [](StepKind kind, std::uint8_t first, std::uint8_t last, std::uint16_t count) {
            SequenceStep s;
            s.makeFresh();
            s.setKind(kind);
            s.setFirstStep(first);
            s.setLastStep(last);
            s.setCount(count);
            s.setHundredths(0);
            return s;
        };
        SequenceTable& sequences = p.sequences();
        const int quarter = sequences.createSequence();
        for (const SequenceStep& s :
             {timed(StepKind::Hammers, 8, 0b1000), timed(StepKind::Hammers, 8, 0b0100),
              timed(StepKind::Hammers, 8, 0b0010), timed(StepKind::Hammers, 16, 0b0001), timed(StepKind::Pause, 20, 0),
              repeat(StepKind::RepeatCount, 0, 3, 1), timed(StepKind::Hammers, 30, 0b0011)}) {
            sequences.insertStep(quarter, s, 0);
        }
        const int bells = sequences.createSequence();
        for (const SequenceStep& s : {timed(StepKind::BellsA, 20, 0b00011), timed(StepKind::BellsB, 15, 0b00100),
                                      timed(StepKind::Pause, 5, 0), repeat(StepKind::RepeatTime, 0, 2, 60)}) {
            sequences.insertStep(bells, s, 0);
        }
        StrikingSettings& striking = p.striking();
        striking.setHourMode(2);
        striking.setQuarterStriking(true);
        striking.setHourHerald(true);
        for (int q = 0; q < 4; ++q) {
            striking.setSeriesCount(q, q + 1);
            for (int s = 0; s <= q; ++s) {
                striking.setSeriesSequence(q, s, quarter);
            }
        }
        for (NightBlock b : {NightBlock::Hour, NightBlock::Quarter}) {
            striking.setBlockStartHour(b, 22);
            striking.setBlockStartMinute(b, 0);
            striking.setBlockEndHour(b, 7);
            striking.setBlockEndMinute(b, 0);
        }
        p.general().setFullHourStrikingAdvanced(false);
    });
    frame.document()->changeMarks([](ProjectData& p) {
        p.sequences().clearModified();
        p.striking().clearModified();
        p.general().clearModified();
    });
    frame.document()->edit({0, {}}, {SectionId::Striking, -1, 0},
                           [](ProjectData& p) { p.striking().setStrokeIntervalTenths(15, 2); });
    // The holidays of the Polish seed file, two holiday programs, the funeral tolling and the special tolling.
    const auto seed = [&](const char* file) {
        frame.document()->edit({0, {}}, {SectionId::Holidays, -1, 0}, [&](ProjectData& p) {
            readHolidayFile(p.holidays(), AppPaths(programFolder).dataFile(QString::fromLatin1(file)));
        });
    };
    seed("swietaPL.dat");
    frame.document()->edit({0, {}}, {SectionId::HolidayDay, -1, 0}, [](ProjectData& p) {
        ScheduleProgram& s = p.program(HolidayDay);
        const HolidayTable& holidays = p.holidays();
        const int easter = s.addEntry();
        s.setHolidayIndex(easter, static_cast<std::uint8_t>(std::max(holidays.slotOfPosition(2), 0)));
        s.setTime(easter, 10, 0, 0);
        s.setDays(easter, 0x7F);
        for (int bell = 0; bell < 5; ++bell) {
            s.setBellDelay(easter, bell, static_cast<std::uint16_t>(bell * 10));
        }
        const int patron = s.addEntry();
        s.setHolidayIndex(patron, static_cast<std::uint8_t>(std::max(holidays.slotOfPosition(0), 0)));
        s.setTime(patron, 8, 30, 0);
        s.setDays(patron, 0x7F);
        s.setAction(patron, ProgramEntry::ActionSequence);
        s.setSequenceIndex(patron, 0);
        p.sortSchedulesByTime();
        ScheduleProgram& funeral = p.program(Funeral);
        funeral.setAction(0, ProgramEntry::ActionBells);
        funeral.setTimeOn(0, 2, true);
        funeral.setTimeOn(0, 3, true);
        funeral.setTime2(0, 15, 0, 0);
        funeral.setTime3(0, 18, 0, 0);
        funeral.setFuneralRelayUsed(0, true);
        funeral.setRelayDelay(0, 5);
        funeral.setAction(1, ProgramEntry::ActionBells);
        funeral.setStartMode(1, FuneralStartMode::BeforeAngelus);
        funeral.setAction(2, ProgramEntry::ActionSequence);
        funeral.setTime(2, 11, 0, 0);
        p.general().setSpecialTollingOn(true);
        ScheduleProgram& special = p.program(SpecialTolling);
        special.setTime(0, 14, 0, 0);
        special.setTime2(0, 14, 30, 0);
        special.setSteps(0, 5);
        p.sequences().createSequence();
        special.setSequenceIndex(1, 1);
        special.setSteps(1, 8);
    });
    frame.document()->changeMarks([](ProjectData& p) {
        p.program(HolidayDay).clearModified();
        p.program(Funeral).clearModified();
        p.program(SpecialTolling).clearModified();
        p.holidays().clearModified();
    });
    frame.document()->edit({0, {}}, {SectionId::Holidays, 1, 0}, [](ProjectData& p) { p.holidays().setDays(1, 2); });
    frame.document()->edit({0, {}}, {SectionId::SpecialTolling, 0, 0},
                           [](ProjectData& p) { p.program(SpecialTolling).setPriority(0, 9); });
    int n = 1;
    for (QTreeWidgetItemIterator it(view.tree()); *it; ++it, ++n) {
        view.tree()->setCurrentItem(*it);
        shoot(frame, QStringLiteral("%1-text%2")
                         .arg(n, 2, 10, QLatin1Char('0'))
                         .arg((*it)->data(0, CTarvelinView::TextRole).toInt()));
    }
    view.showPage(PageId::Kuranty);
    view.page(PageId::Kuranty)->reload(6);
    shoot(frame, QStringLiteral("80-chimes-selected"));
    view.showPage(PageId::Tyg);
    view.page(PageId::Tyg)->reload(1);
    shoot(frame, QStringLiteral("81-weekly-mass"));
    view.showPage(PageId::Krosownica);
    view.page(PageId::Krosownica)->reload();
    shoot(frame, QStringLiteral("87-cross-connection"));
    view.showPage(PageId::Sekwencje);
    auto& sequencesPage = *qobject_cast<CPropSekwencje*>(view.page(PageId::Sekwencje));
    sequencesPage.reload(1);
    sequencesPage.stepList()->selectRow(5);
    shoot(frame, QStringLiteral("85-sequences-quarter"));
    sequencesPage.reload(2);
    shoot(frame, QStringLiteral("85-sequences-bells"));
    CSeqElemDlg stepEditor(app.context(), &frame.document()->project(), 1, 5, 0, 5, &frame);
    stepEditor.show();
    shoot(stepEditor, QStringLiteral("85-sequences-step-editor-repeat"));
    CSeqElemDlg hammerEditor(app.context(), &frame.document()->project(), 1, 0, 0, 0, &frame);
    hammerEditor.show();
    shoot(hammerEditor, QStringLiteral("85-sequences-step-editor-hammers"));
    view.showPage(PageId::Gongi);
    view.page(PageId::Gongi)->reload();
    shoot(frame, QStringLiteral("86-striking"));
    view.showPage(PageId::Swi);
    view.page(PageId::Swi)->reload(1);
    shoot(frame, QStringLiteral("82-holiday-program"));
    view.showPage(PageId::Pog);
    view.page(PageId::Pog)->reload(0);
    shoot(frame, QStringLiteral("83-funeral-by-the-clock"));
    // The holiday table of each seed file.
    for (const char* country : {"PL", "DE", "FR"}) {
        seed(QStringLiteral("swieta%1.dat").arg(QLatin1String(country)).toLatin1().constData());
        view.showPage(PageId::Swieta);
        view.page(PageId::Swieta)->reload(2);
        shoot(frame, QStringLiteral("84-holidays-%1").arg(QLatin1String(country)));
    }
    // The tower described on the settings page: hammers 1 and 2 strike bells 1 and 2, bell 5 is switched off,
    // clock 1 runs on minute pulses A/B, the amplifier switches 5 s ahead; the location and the codes are the
    // tower's own. The lead time is fresh, so it shows as changed.
    frame.document()->edit({0, {}}, {SectionId::General, -1, 0}, [](ProjectData& p) {
        p.general().setLocationName("Parafia św. Jana");
        p.general().setUserCode(2468);
        p.general().setServiceCode(1357);
        p.hammers().setLinkedBell(0, 0);
        p.hammers().setLinkedBell(1, 1);
        p.bells().setBellEnabled(4, false);
        p.bells().setRingingSeconds(0, 240);
        p.bells().setRunUpSeconds(0, 8);
        p.bells().setSettleSeconds(0, 4);
        p.bells().setDampSeconds(0, 12);
        p.bells().setSwingTime(0, 0, 40);
        p.bells().setFeedbackOn(0, true);
        p.clocks().setClockEnabled(0, true);
        p.amplifier().setSwitchingOn(true);
        p.clearModifiedAll();
        p.amplifier().setLeadTimeSeconds(5);
    });
    view.tree()->setCurrentItem(testing::treeItem(view, 165));
    shoot(frame, QStringLiteral("88-settings-page"));
    frame.resize(1280, 520);
    view.tree()->setCurrentItem(testing::treeItem(view, 602));
    shoot(frame, QStringLiteral("88-settings-codes-and-keys"));
    frame.resize(1280, 800);
    // A tower away from the built-in places: coordinates typed by hand, floodlights switched on at dusk through PK8
    // (which the amplifier gave up) a quarter of an hour before the computed sunset, a clock that gains 2 s a week.
    // The relay and the sunset shift are fresh, so they show as changed.
    frame.document()->edit({0, {}}, {SectionId::TimeCorrection, -1, 0}, [](ProjectData& p) {
        p.general().choosePlace(GeneralSettings::PlaceListByHand);
        p.general().setLatitude(false, 47, 16);
        p.general().setLongitude(false, 11, 24);
        p.timeCorrection().setWeeklyDrift(2, true);
        p.outputs().assignRelay(0, 7);
        p.clearModifiedAll();
        correctionsedit::chooseAstroRelay(p, 7);
        p.general().setSunsetShiftMinutes(-15);
    });
    view.showPage(PageId::Korekty);
    view.page(PageId::Korekty)->reload();
    shoot(frame, QStringLiteral("70-time-corrections-by-hand"));
    // The controller's display a little brighter, lit for 10 minutes and speaking the fifth language; the start
    // interval of manual ringing set to 3 s. Changed, so they show in dark green and on light green.
    frame.document()->edit({0, {}}, {SectionId::General, -1, 0}, [](ProjectData& p) {
        p.general().setDisplayBrightness(85);
        p.general().setDisplayTimeMs(600000);
        p.general().setControllerLanguage(GeneralSettings::controllerLanguageForPosition(4));
        p.general().setManualStartIntervalSeconds(3);
    });
    view.showPage(PageId::User);
    view.page(PageId::User)->reload();
    shoot(frame, QStringLiteral("71-user-settings-changed"));
    const ProjectData* shown = &frame.document()->project();
    CDzwonEdyDlg bell(app.context(), shown, 0, &frame);
    bell.show();
    shoot(bell, QStringLiteral("89-bell-editor"));
    CMlotekEdy hammer(app.context(), shown, 1, &frame);
    hammer.show();
    shoot(hammer, QStringLiteral("89-hammer-editor"));
    CSelectDzwonDlg bells(app.context(), shown, 2, 0xFF, &frame);
    bells.show();
    shoot(bells, QStringLiteral("89-bell-chooser"));
    CZegarEdyDlg clock(app.context(), shown, 0, &frame);
    clock.show();
    shoot(clock, QStringLiteral("89-clock-editor"));
    frame.document()->edit({0, {}}, {SectionId::Clocks, 1, 0}, [](ProjectData& p) { p.clocks().setClockType(1, 4); });
    CZegarEdyDlg singleRelay(app.context(), shown, 1, &frame);
    singleRelay.show();
    shoot(singleRelay, QStringLiteral("89-clock-editor-single-relay"));
    // The report of a tower with work left: bell 2 without a ringing time (a critical error), a weekly program
    // whose weekdays were all cleared (a warning), and the notes of a clock without its relays; then only the
    // critical errors.
    frame.document()->edit({0, {}}, {SectionId::General, -1, 0}, [](ProjectData& p) {
        p.bells().setRingingSeconds(1, 0);
        ScheduleProgram& weekly = p.program(Weekly);
        weekly.setDays(weekly.usedCount() - 1, 0);
    });
    view.tree()->setCurrentItem(view.reportItem());
    auto& report = *qobject_cast<CPropRaport*>(view.page(PageId::Raport));
    shoot(frame, QStringLiteral("72-report"));
    report.setShownSeverity(severity::Critical);
    shoot(frame, QStringLiteral("73-report-critical-errors"));
    report.setShownSeverity(CPropRaport::ShowAll);
    CAboutDlg about(app.context(), &frame);
    about.show();
    shoot(about, QStringLiteral("90-about"));
    CProgramSet programSettings(app.context(), {}, &frame);
    programSettings.show();
    shoot(programSettings, QStringLiteral("91-program-settings"));
    CSplash splash(AppPaths(programFolder).dataFile(QStringLiteral("Gfx/splash.png")), CTarvelinApp::Version);
    splash.show();
    shoot(splash, QStringLiteral("92-splash"));
    frame.document()->changeMarks([](ProjectData& project) { project.clearModifiedAll(); });
}

} // namespace
} // namespace tolvane
