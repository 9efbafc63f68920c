// The time-corrections page as a user works it: the values of a new project, the signed fields with their sign
// buttons, the place list and coordinates typed by hand, the relay of the astronomical clock chosen through the
// relay chooser, the options, undo of every step and the keyboard.

#include "ShellTestSupport.h"
#include "UserActions.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/ringing/CPropKorekty.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CLinkStatic.h"
#include "gui/widgets/ChangeHighlight.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Signed = CPropKorekty::Signed;
using Step = testing::ScriptedDialogs::Step;
using TC = TimeCorrectionSettings;

std::map<int, QString> correctionTexts() {
    std::map<int, QString> texts = testing::numberedTexts(QStringLiteral("t"));
    texts[300] = QStringLiteral("t300 %d");
    return texts;
}

template <typename T> T* child(QWidget& parent, const char* name) {
    auto* found = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// In the relay chooser: a click on row `row` and OK.
Step chooseRelayRow(int row) {
    return [row](QDialog& dialog) {
        auto* list = dialog.findChild<QTableWidget*>(QStringLiteral("chooserList"));
        ASSERT_NE(list, nullptr);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row, 0)).center());
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
    };
}

class CorrectionsPageTest : public ::testing::Test {
protected:
    CorrectionsPageTest() : app(correctionTexts()) {
        app.current.lastLang = QString::fromLatin1(testing::TestAppContext::LanguageName);
        frame = std::make_unique<CMainFrame>(app.context, app.settingsFile, EditorImages{none, none, none});
    }

    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->resize(1280, 800);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        choose(166);
        ASSERT_EQ(frame->view()->currentPage(), &page());
    }

    // The user clicks the tree item with text `textId`.
    void choose(int textId) {
        QTreeWidgetItem* item = testing::treeItem(*frame->view(), textId);
        ASSERT_NE(item, nullptr) << textId;
        QTreeWidget* tree = frame->view()->tree();
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }

    CPropKorekty& page() const { return *qobject_cast<CPropKorekty*>(frame->view()->page(PageId::Korekty)); }
    CTarvelinDoc& doc() const { return *frame->document(); }
    const ProjectData& project() const { return doc().project(); }
    const TC& tc() const { return project().timeCorrection(); }
    int steps() const { return doc().undoStack()->count(); }

    // The user types into a field (entering it selects its text) and leaves it with Tab unless typing the last
    // digit already moved on.
    static void typeAndLeave(CFireEdit* field, const QString& typed) {
        ASSERT_NE(field, nullptr);
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClicks(field, typed);
        if (field->hasFocus()) {
            QTest::keyClick(field, Qt::Key_Tab);
        }
    }

    // A click on a radio button's or check box's indicator.
    static void press(QAbstractButton* button) {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    CFireEdit* field(const char* name) { return child<CFireEdit>(page(), name); }

    testing::TestAppContext app;
    IconStrip none;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(CorrectionsPageTest, ANewProjectAsThePageShowsIt) {
    CPropKorekty& p = page();
    EXPECT_EQ(p.signedField(Signed::Summer)->text(), "2.0");
    EXPECT_EQ(p.signedField(Signed::Winter)->text(), "1.0");
    for (Signed s : {Signed::Summer, Signed::Winter, Signed::Drift, Signed::Sunrise, Signed::Sunset}) {
        EXPECT_EQ(p.signButton(s)->text(), "+");
    }
    EXPECT_EQ(field("windowStartHour")->text(), "01");
    EXPECT_EQ(field("windowStartMinute")->text(), "00");
    EXPECT_EQ(field("windowStopHour")->text(), "04");
    EXPECT_EQ(field("windowStopMinute")->text(), "00");
    EXPECT_EQ(field("frameCount")->text(), "4");
    EXPECT_TRUE(child<QCheckBox>(p, "powerOnSync")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(p, "activity1")->isChecked()) << "activity 2 is the second radio";
    EXPECT_TRUE(child<QRadioButton>(p, "source0")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(p, "autoTimeChange")->isChecked());
    EXPECT_EQ(p.signedField(Signed::Drift)->text(), "00");
    EXPECT_EQ(p.signedField(Signed::Sunrise)->text(), "00");
    // Place 0 with its coordinates, which cannot be edited while a place is chosen.
    EXPECT_EQ(p.placeList()->count(), 27);
    EXPECT_EQ(p.placeList()->currentIndex(), 0);
    EXPECT_EQ(p.placeList()->currentText(), "t787");
    EXPECT_EQ(p.placeList()->itemText(26), "t843");
    EXPECT_EQ(child<QComboBox>(p, "longitudeHemisphere")->currentText(), "E");
    EXPECT_EQ(field("longitudeDegrees")->text(), "019");
    EXPECT_EQ(field("longitudeMinutes")->text(), "56");
    EXPECT_EQ(child<QComboBox>(p, "latitudeHemisphere")->currentText(), "N");
    EXPECT_EQ(field("latitudeDegrees")->text(), "50");
    EXPECT_EQ(field("latitudeMinutes")->text(), "04");
    EXPECT_FALSE(field("latitudeDegrees")->isEnabled());
    EXPECT_FALSE(child<QComboBox>(p, "longitudeHemisphere")->isEnabled());
    EXPECT_EQ(p.relayLink()->text(), "t109");
    EXPECT_TRUE(child<QRadioButton>(p, "darkState0")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(p, "gps")->isChecked());
    // Accessible names say what each control is.
    EXPECT_EQ(p.signButton(Signed::Winter)->accessibleName(), "t2300 t369: +");
    EXPECT_EQ(field("latitudeDegrees")->accessibleName(), "t834, t2302");
    EXPECT_EQ(child<QComboBox>(p, "longitudeHemisphere")->accessibleName(), "t835, t2303");
    EXPECT_EQ(field("windowStopMinute")->accessibleName(), "t373, t375, t2054");
    EXPECT_EQ(p.relayLink()->accessibleName(), "t836: t109");
    EXPECT_EQ(field("longitudeDegrees")->toolTip(), "<p>t2301</p>") << "a paragraph, so that it wraps";
    EXPECT_EQ(field("longitudeDegrees")->accessibleDescription(), "t2301");
    EXPECT_EQ(steps(), 0) << "looking never changes the project";
}

// Each signed field: the sign button set to "-" first, then the magnitude typed. Stored as the signed byte, shown
// as its magnitude with the sign on the button.
TEST_F(CorrectionsPageTest, ASignedValueIsTypedAsItsMagnitudeWithTheSignOnTheButton) {
    struct Case {
        Signed which;
        const char* typed;
        std::uint8_t stored;
        const char* shown;
    };
    const Case cases[] = {
        {Signed::Winter, "1.5", 0xFD, "1.5"}, // -3 half hours
        {Signed::Summer, "1.7", 0xFD, "1.5"}, // cut to whole half hours
        {Signed::Drift, "7", 0xF9, "07"},     // -7 seconds
        {Signed::Sunrise, "45", 0xD3, "45"},  // -45 minutes
        {Signed::Sunset, "90", 0xA6, "90"},   // -90 minutes
    };
    const auto byte = [this](Signed which) -> std::uint8_t {
        const GeneralSettings& g = project().general();
        switch (which) {
        case Signed::Summer:
            return tc().u8(TC::SummerOffset);
        case Signed::Winter:
            return tc().u8(TC::WinterOffset);
        case Signed::Drift:
            return tc().u8(TC::WeeklyDrift);
        case Signed::Sunrise:
            return g.record().u8(GeneralSettings::SunriseShiftOffset);
        case Signed::Sunset:
            return g.record().u8(GeneralSettings::SunsetShiftOffset);
        }
        return 0;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        QPushButton* sign = page().signButton(c.which);
        CFireEdit* f = page().signedField(c.which);
        const std::uint8_t before = byte(c.which);
        QTest::mouseClick(sign, Qt::LeftButton);
        EXPECT_EQ(sign->text(), "-");
        typeAndLeave(f, QString::fromLatin1(c.typed));
        EXPECT_EQ(byte(c.which), c.stored);
        EXPECT_EQ(f->text(), c.shown);
        EXPECT_EQ(sign->text(), "-");
        EXPECT_TRUE(changehighlight::isMarked(f));
        // The flip of a non-zero value was stored at once (a step of its own), the typed value is another.
        EXPECT_EQ(steps(), before == 0 ? 1 : 2);
        while (frame->undo()) {
        }
        EXPECT_EQ(byte(c.which), before);
        EXPECT_EQ(f->text(), before == 0 ? "00" : c.which == Signed::Summer ? "2.0" : "1.0");
        EXPECT_EQ(sign->text(), "+");
    }
}

TEST_F(CorrectionsPageTest, WindowFramesAndOptionsAreEachAnUndoStepThatUndoBringsBack) {
    press(child<QRadioButton>(page(), "source1"));
    press(child<QRadioButton>(page(), "activity2"));
    press(child<QCheckBox>(page(), "autoTimeChange"));
    typeAndLeave(field("windowStartHour"), QStringLiteral("2"));
    typeAndLeave(field("windowStopMinute"), QStringLiteral("30"));
    typeAndLeave(field("frameCount"), QStringLiteral("7"));
    press(child<QCheckBox>(page(), "powerOnSync"));
    press(child<QRadioButton>(page(), "darkState1"));
    press(child<QCheckBox>(page(), "gps"));

    EXPECT_EQ(tc().syncSource(), 1);
    EXPECT_EQ(tc().correctionActivity(), 3);
    EXPECT_FALSE(tc().autoTimeChange());
    EXPECT_EQ(tc().syncStartHour(), 2);
    EXPECT_EQ(tc().syncStopMinute(), 30);
    EXPECT_EQ(tc().syncFrameCount(), 7);
    EXPECT_FALSE(tc().syncAfterPowerOn());
    EXPECT_EQ(tc().syncFlags(), 0xDD) << "the bits without meaning are kept";
    EXPECT_FALSE(project().general().astroRelayOnWhenDark());
    EXPECT_FALSE(project().general().astroUseGps());
    EXPECT_EQ(field("windowStartHour")->text(), "02");
    EXPECT_TRUE(changehighlight::isMarked(field("windowStopMinute")));
    EXPECT_TRUE(changehighlight::isMarked(child<QRadioButton>(page(), "activity0")));
    EXPECT_FALSE(changehighlight::isMarked(field("windowStopHour")));
    EXPECT_EQ(field("frameCount")->accessibleDescription(), "t2007");
    EXPECT_EQ(steps(), 9);

    // Undone from another page: the time corrections come back to the front, step by step.
    choose(165);
    for (int undo = 0; undo < 9; ++undo) {
        ASSERT_TRUE(frame->undo());
        EXPECT_EQ(frame->view()->currentPage(), &page());
    }
    EXPECT_EQ(tc().state().content, TimeCorrectionSettings().state().content);
    EXPECT_TRUE(project().general().astroUseGps());
    EXPECT_TRUE(child<QRadioButton>(page(), "source0")->isChecked());
    EXPECT_EQ(field("frameCount")->text(), "4");
}

TEST_F(CorrectionsPageTest, TheLastPlaceKeepsTheCoordinatesAndOpensThemForTyping) {
    QComboBox* places = page().placeList();
    places->setFocus(Qt::TabFocusReason);
    QTest::keyClick(places, Qt::Key_End);
    const GeneralSettings& g = project().general();
    EXPECT_EQ(g.cityIndex(), GeneralSettings::CityByHand);
    EXPECT_EQ(steps(), 1);
    EXPECT_TRUE(field("latitudeDegrees")->isEnabled());
    EXPECT_TRUE(field("longitudeMinutes")->isEnabled());
    EXPECT_EQ(field("latitudeDegrees")->text(), "50");
    EXPECT_EQ(field("longitudeDegrees")->text(), "019");
    EXPECT_EQ(g.latitudeDegrees(), 50);
    EXPECT_EQ(g.latitudeMinutes(), 4);
    EXPECT_EQ(g.longitudeDegrees(), 19);
    EXPECT_EQ(g.longitudeMinutes(), 56);
    EXPECT_TRUE(changehighlight::isMarked(places));

    // 90 degrees of latitude force its minutes to 0, also when 10 minutes are typed after them.
    typeAndLeave(field("latitudeDegrees"), QStringLiteral("90"));
    EXPECT_EQ(g.latitudeDegrees(), 90);
    EXPECT_EQ(field("latitudeMinutes")->text(), "00");
    typeAndLeave(field("latitudeMinutes"), QStringLiteral("10"));
    EXPECT_EQ(g.latitudeMinutes(), 0);
    EXPECT_EQ(field("latitudeMinutes")->text(), "00");

    // The other hemisphere: the top bit of the degrees' byte.
    QComboBox* eastWest = child<QComboBox>(page(), "longitudeHemisphere");
    eastWest->setFocus(Qt::TabFocusReason);
    QTest::keyClick(eastWest, Qt::Key_Down);
    EXPECT_EQ(g.record().u8(GeneralSettings::LongitudeDegreesOffset), 0x80 | 19);
    EXPECT_EQ(g.longitudeMinutes(), 56);

    // Back to a place: its coordinates again, and the fields closed.
    places->setFocus(Qt::TabFocusReason);
    QTest::keyClick(places, Qt::Key_Home);
    EXPECT_EQ(g.cityIndex(), 0);
    EXPECT_EQ(g.latitudeDegrees(), 50);
    EXPECT_FALSE(g.longitudeWest());
    EXPECT_FALSE(field("latitudeDegrees")->isEnabled());
    while (frame->undo()) {
    }
    EXPECT_EQ(g.cityIndex(), 0);
    EXPECT_EQ(g.latitudeDegrees(), 0) << "a new project's coordinate bytes";
}

// The degrees of longitude share their byte with the hemisphere bit: 150 degrees would be stored as 22 degrees of
// the other hemisphere, so they are not stored and the user is told why.
TEST_F(CorrectionsPageTest, LongitudeBeyondOneHundredTwentySevenDegreesIsNotStored) {
    page().placeList()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page().placeList(), Qt::Key_End);
    const SectionState before = project().general().state();
    CFireEdit* degrees = field("longitudeDegrees");
    degrees->setFocus(Qt::TabFocusReason);
    degrees->selectAll();
    // The third digit fills the field, which moves on and is left.
    QTest::keyClicks(degrees, QStringLiteral("150"));
    EXPECT_FALSE(degrees->hasFocus());
    EXPECT_EQ(project().general().state().content, before.content);
    EXPECT_EQ(degrees->text(), "019");
    EXPECT_EQ(app.prompts.texts(), QStringList{QStringLiteral("t2301")});

    typeAndLeave(degrees, QStringLiteral("127"));
    EXPECT_EQ(project().general().longitudeDegrees(), 127);
    EXPECT_FALSE(project().general().longitudeWest());
}

TEST_F(CorrectionsPageTest, TheRelayChooserSetsByteTwentyTwo) {
    app.dialogs.then(chooseRelayRow(3)); // PK3
    QTest::mouseClick(page().relayLink(), Qt::LeftButton);
    ASSERT_TRUE(app.dialogs.done());
    EXPECT_EQ(app.dialogs.lastTitle(), "t299");
    EXPECT_EQ(project().outputs().record().relay(OutputMapRecord::AstroRelay), 2);
    EXPECT_EQ(page().relayLink()->text(), "t300 3");
    EXPECT_TRUE(changehighlight::isMarked(page().relayLink()));
    EXPECT_EQ(steps(), 1);

    // By the keyboard: Enter on the link, none chosen.
    page().relayLink()->setFocus(Qt::TabFocusReason);
    app.dialogs.then(chooseRelayRow(0));
    QTest::keyClick(page().relayLink(), Qt::Key_Return);
    ASSERT_TRUE(app.dialogs.done());
    EXPECT_EQ(project().outputs().record().relay(OutputMapRecord::AstroRelay), 0xFF);
    EXPECT_EQ(page().relayLink()->text(), "t109");
    EXPECT_EQ(QApplication::focusWidget(), page().relayLink());

    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(project().outputs().record().relay(OutputMapRecord::AstroRelay), 2);
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(project().outputs().record().relay(OutputMapRecord::AstroRelay), 0xFF);
    EXPECT_EQ(frame->view()->currentPage(), &page());
}

// From the first control to the last by Tab; a sign is flipped with Space and the value typed after it.
TEST_F(CorrectionsPageTest, TheWholePageWorksFromTheKeyboard) {
    QWidget* first = child<QRadioButton>(page(), "source0");
    first->setFocus(Qt::TabFocusReason);
    QTest::keyClick(first, Qt::Key_Down);
    EXPECT_EQ(tc().syncSource(), 1) << "arrow keys move between the radio buttons";

    QPushButton* sign = page().signButton(Signed::Summer);
    sign->setFocus(Qt::TabFocusReason);
    QTest::keyClick(sign, Qt::Key_Space);
    EXPECT_EQ(tc().summerOffsetHalfHours(), -4);
    QTest::keyClick(sign, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), page().signedField(Signed::Summer));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3.0"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(tc().summerOffsetHalfHours(), -6);
    EXPECT_EQ(QApplication::focusWidget(), page().signButton(Signed::Winter));

    // The relay, its state while dark and GPS, in that order.
    QWidget* gps = child<QCheckBox>(page(), "gps");
    page().relayLink()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page().relayLink(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), child<QRadioButton>(page(), "darkState0"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), gps);
    QTest::keyClick(gps, Qt::Key_Space);
    EXPECT_FALSE(project().general().astroUseGps());
    EXPECT_EQ(steps(), 4);
}

TEST_F(CorrectionsPageTest, ALanguageChangeRetextsThePageAndKeepsItsChoices) {
    std::map<int, QString> other = testing::numberedTexts(QStringLiteral("o"));
    other[300] = QStringLiteral("o300 %d");
    QJsonObject texts;
    for (const auto& [id, text] : other) {
        texts.insert(QString::number(id), text);
    }
    ASSERT_TRUE(testing::writeBytes(app.dir.filePath(QStringLiteral("Language/Other.json")),
                                    QJsonDocument(QJsonObject{{"version", "0x02000001"}, {"texts", texts}}).toJson()));
    page().placeList()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page().placeList(), Qt::Key_Down);
    app.dialogs.then(chooseRelayRow(5));
    QTest::mouseClick(page().relayLink(), Qt::LeftButton);

    testing::chooseLanguage(*frame, app.dialogs, QStringLiteral("Other"));
    EXPECT_EQ(child<QGroupBox>(page(), "sourceGroup")->title(), "o364");
    EXPECT_EQ(child<QRadioButton>(page(), "activity0")->text(), "o338");
    EXPECT_EQ(page().placeList()->currentText(), "o788") << "the list keeps its choice";
    EXPECT_EQ(page().relayLink()->text(), "o300 5");
    EXPECT_EQ(page().signButton(Signed::Drift)->accessibleName(), "o2300 o633: +");
    EXPECT_EQ(field("longitudeDegrees")->accessibleDescription(), "o2007; o2301") << "changed with the place";
    EXPECT_EQ(steps(), 2);
}

} // namespace
} // namespace tolvane
