// The user settings page as a user works it: a new project's values, the three sliders moved by mouse and by
// keys, the controller's language list, the radio buttons, the default ringing time and the start interval, undo
// of every step, the report's jump to a setting and a change of language.

#include "ShellTestSupport.h"
#include "UserActions.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/settings/CPropUser.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/ChangeHighlight.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using Slider = CPropUser::Slider;
using Mark = GeneralSettings::Mark;

std::map<int, QString> userTexts(const QString& prefix) {
    std::map<int, QString> texts = testing::numberedTexts(prefix);
    texts[212] = prefix + QStringLiteral("212 %d");
    return texts;
}

class UserPageTest : public ::testing::Test {
protected:
    UserPageTest() : app(userTexts(QStringLiteral("t"))) {
        app.current.lastLang = QString::fromLatin1(testing::TestAppContext::LanguageName);
        frame = std::make_unique<CMainFrame>(app.context, app.settingsFile, EditorImages{none, none, none});
    }

    void SetUp() override {
        ASSERT_TRUE(frame->newDocument());
        frame->resize(1280, 800);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        choose(598);
        ASSERT_EQ(frame->view()->currentPage(), &page());
    }

    void choose(int textId) {
        QTreeWidgetItem* item = testing::treeItem(*frame->view(), textId);
        ASSERT_NE(item, nullptr) << textId;
        QTreeWidget* tree = frame->view()->tree();
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }

    CPropUser& page() const { return *qobject_cast<CPropUser*>(frame->view()->page(PageId::User)); }
    CTarvelinDoc& doc() const { return *frame->document(); }
    const GeneralSettings& general() const { return doc().project().general(); }
    int steps() const { return doc().undoStack()->count(); }

    static void typeInto(CFireEdit* field, const QString& typed) {
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClicks(field, typed);
    }

    static void press(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    // The centre of a slider's handle.
    static QPoint handle(QSlider* slider) {
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = slider->orientation();
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = slider->sliderPosition();
        option.sliderValue = slider->value();
        option.upsideDown = slider->invertedAppearance();
        option.tickPosition = slider->tickPosition();
        option.tickInterval = slider->tickInterval();
        option.pageStep = slider->pageStep();
        option.singleStep = slider->singleStep();
        return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider).center();
    }

    testing::TestAppContext app;
    IconStrip none;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(UserPageTest, ANewProjectAsThePageShowsIt) {
    CPropUser& p = page();
    EXPECT_EQ(p.slider(Slider::Contrast)->value(), 50);
    EXPECT_EQ(p.valueLabel(Slider::Contrast)->text(), "50 %");
    EXPECT_EQ(p.slider(Slider::Brightness)->value(), 70);
    EXPECT_EQ(p.valueLabel(Slider::Brightness)->text(), "70 %");
    EXPECT_EQ(p.slider(Slider::LightingTime)->value(), 5);
    EXPECT_EQ(p.valueLabel(Slider::LightingTime)->text(), "t212 5");
    EXPECT_EQ(p.slider(Slider::LightingTime)->minimum(), 1);
    EXPECT_EQ(p.slider(Slider::LightingTime)->maximum(), 31);
    EXPECT_TRUE(p.sortingRadio(0)->isChecked()) << "programs sorted by time";
    EXPECT_EQ(p.ringMinutes()->text(), "03");
    EXPECT_EQ(p.ringSeconds()->text(), "00");
    EXPECT_EQ(p.languageList()->count(), 6);
    EXPECT_EQ(p.languageList()->currentIndex(), 0);
    EXPECT_EQ(p.languageList()->itemText(4), "t334");
    EXPECT_EQ(p.languageList()->itemText(5), "t332");
    // The reset leaves the start interval as it was: a new project holds 255, shown as it is, in the warning colour.
    EXPECT_EQ(general().manualStartIntervalSeconds(), 255);
    EXPECT_EQ(p.startInterval()->text(), "255");
    EXPECT_TRUE(p.startInterval()->isOutOfRange());
    EXPECT_EQ(p.startInterval()->accessibleDescription(), "t2304");
    EXPECT_EQ(p.slider(Slider::Brightness)->accessibleName(), "t347");
    EXPECT_EQ(p.ringSeconds()->accessibleName(), "t632, t2062");
    EXPECT_EQ(steps(), 0) << "looking never changes the project";
}

// Dragged with the mouse: the label follows while the slider moves and the value is stored when it is released.
TEST_F(UserPageTest, TheLightingTimeSliderAtItsEndKeepsTheDisplayLit) {
    QSlider* slider = page().slider(Slider::LightingTime);
    const QPoint from = handle(slider);
    QTest::mousePress(slider, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(slider->width() - 1, from.y()),
                     slider->mapToGlobal(QPointF(slider->width() - 1, from.y())), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(slider, &move);
    EXPECT_EQ(slider->value(), 31);
    EXPECT_EQ(page().valueLabel(Slider::LightingTime)->text(), "t324");
    EXPECT_EQ(general().displayTimeMs(), 300000u) << "nothing stored while the slider moves";
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(slider->width() - 1, from.y()));
    EXPECT_EQ(general().displayTimeMs(), 1860000u);
    EXPECT_TRUE(general().isMarked(Mark::DisplayTime));
    EXPECT_TRUE(changehighlight::isMarked(page().valueLabel(Slider::LightingTime)));
    EXPECT_EQ(slider->accessibleDescription(), "t2007");
    EXPECT_EQ(steps(), 1);
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(general().displayTimeMs(), 300000u);
    EXPECT_EQ(page().valueLabel(Slider::LightingTime)->text(), "t212 5");
    EXPECT_TRUE(changehighlight::isMarked(page().valueLabel(Slider::LightingTime))) << "an undo marks what it changes";
}

// A keyboard user never releases a slider: every key stores, and the keys pressed on one slider until it is left
// are one undo step.
TEST_F(UserPageTest, KeysMoveAndStoreASliderOneStepUntilItIsLeft) {
    QSlider* contrast = page().slider(Slider::Contrast);
    contrast->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(contrast, Qt::Key_Right);
    }
    EXPECT_EQ(general().displayContrast(), 53);
    EXPECT_EQ(page().valueLabel(Slider::Contrast)->text(), "53 %");
    EXPECT_EQ(steps(), 1);
    QTest::keyClick(contrast, Qt::Key_Tab);
    QSlider* time = page().slider(Slider::Brightness);
    EXPECT_EQ(QApplication::focusWidget(), time);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    EXPECT_EQ(general().displayTimeMs(), 1860000u);
    EXPECT_EQ(page().valueLabel(Slider::LightingTime)->text(), "t324");
    EXPECT_EQ(steps(), 2);
    // Back on the contrast: a new step.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), contrast);
    QTest::keyClick(contrast, Qt::Key_PageDown);
    EXPECT_EQ(general().displayContrast(), 43);
    EXPECT_EQ(steps(), 3);
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(general().displayContrast(), 53);
    ASSERT_TRUE(frame->undo());
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(general().displayContrast(), 50);
    EXPECT_EQ(contrast->value(), 50);
    EXPECT_EQ(general().displayTimeMs(), 300000u);
}

TEST_F(UserPageTest, TheFifthAndSixthControllerLanguagesStoreFiveAndFour) {
    struct Case {
        int position;
        std::uint8_t stored;
    };
    const Case cases[] = {{4, 5}, {5, 4}, {3, 3}, {0, 0}};
    const QString path = app.dir.filePath(QStringLiteral("languages.tpm"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        QComboBox* list = page().languageList();
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < c.position; ++i) {
            QTest::keyClick(list, Qt::Key_Down);
        }
        EXPECT_EQ(general().controllerLanguage(), c.stored);
        EXPECT_TRUE(changehighlight::isMarked(list));
        // Saved and opened again, the page selects the same item.
        ASSERT_TRUE(doc().save(path).isEmpty());
        list->setCurrentIndex(1);
        ASSERT_EQ(doc().open(path), 0);
        EXPECT_EQ(page().languageList()->currentIndex(), c.position);
        EXPECT_EQ(general().controllerLanguage(), c.stored);
    }
}

TEST_F(UserPageTest, TwoMinutesAndFiveSecondsAreStoredAs125Seconds) {
    typeInto(page().ringMinutes(), QStringLiteral("02"));
    EXPECT_EQ(QApplication::focusWidget(), page().ringSeconds()) << "a full field moves on";
    EXPECT_EQ(general().defaultRingTimeSeconds(), 120);
    QTest::keyClicks(page().ringSeconds(), QStringLiteral("05"));
    EXPECT_EQ(general().defaultRingTimeSeconds(), 125);
    EXPECT_TRUE(changehighlight::isMarked(page().ringMinutes()));
    EXPECT_EQ(steps(), 2) << "one step per field";
    // Minutes beyond 30 are not stored: the ringing time stays as it was when the field was entered (the "4"
    // typed on the way leaves no step) and the field, left as its second digit fills it, shows it again.
    typeInto(page().ringMinutes(), QStringLiteral("45"));
    EXPECT_EQ(general().defaultRingTimeSeconds(), 125);
    EXPECT_EQ(QApplication::focusWidget(), page().ringSeconds());
    EXPECT_EQ(page().ringMinutes()->text(), "02");
    EXPECT_EQ(steps(), 2);
    ASSERT_TRUE(frame->undo());
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(general().defaultRingTimeSeconds(), 180);
    EXPECT_EQ(page().ringMinutes()->text(), "03");
}

TEST_F(UserPageTest, TheUnsetStartIntervalStaysUntilAValueWithinItsRangeIsTyped) {
    CFireEdit* interval = page().startInterval();
    typeInto(interval, QStringLiteral("16"));
    EXPECT_EQ(general().manualStartIntervalSeconds(), 255) << "16 is beyond the field's range";
    EXPECT_TRUE(interval->isOutOfRange());
    typeInto(interval, QStringLiteral("7"));
    EXPECT_EQ(general().manualStartIntervalSeconds(), 7);
    QTest::keyClick(interval, Qt::Key_Tab);
    EXPECT_EQ(interval->text(), "07");
    EXPECT_FALSE(interval->isOutOfRange());
    EXPECT_TRUE(changehighlight::isMarked(interval));
    EXPECT_EQ(interval->accessibleDescription(), "t2007");
    EXPECT_EQ(steps(), 1);
    ASSERT_TRUE(frame->undo());
    EXPECT_EQ(general().manualStartIntervalSeconds(), 255);
    EXPECT_EQ(interval->text(), "255");
    EXPECT_TRUE(interval->isOutOfRange());
}

// The radio buttons mark their group on every choice; each choice is a step that an undo from another page brings
// back on this page.
TEST_F(UserPageTest, RadioChoicesAreStepsThatUndoShowsOnThisPage) {
    press(page().sortingRadio(2));
    EXPECT_EQ(general().programOrder(), 2);
    page().sortingRadio(2)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page().sortingRadio(2), Qt::Key_Up);
    EXPECT_EQ(general().programOrder(), 1);
    press(page().ringModeRadio(0));
    EXPECT_FALSE(general().manualRingUsesDefaultTime());
    EXPECT_TRUE(changehighlight::isMarked(page().ringModeRadio(1)));
    EXPECT_EQ(steps(), 3);

    choose(165);
    for (int undo = 0; undo < 3; ++undo) {
        ASSERT_TRUE(frame->undo());
        EXPECT_EQ(frame->view()->currentPage(), &page()) << "the user page, not the settings page";
    }
    EXPECT_EQ(general().programOrder(), 0);
    EXPECT_TRUE(general().manualRingUsesDefaultTime());
    EXPECT_TRUE(page().sortingRadio(0)->isChecked());
}

TEST_F(UserPageTest, AReportRowFocusesTheSliderOfItsValidationCode) {
    const std::pair<int, Slider> cases[] = {{GeneralSettings::IssueContrast, Slider::Contrast},
                                            {GeneralSettings::IssueBrightness, Slider::Brightness},
                                            {GeneralSettings::IssueDisplayTime, Slider::LightingTime}};
    for (const auto& [code, slider] : cases) {
        SCOPED_TRACE(code);
        frame->view()->tree()->setFocus();
        page().focusSetting(code);
        EXPECT_EQ(QApplication::focusWidget(), page().slider(slider));
    }
    page().focusSetting(GeneralSettings::IssueLocationEmpty);
    EXPECT_EQ(QApplication::focusWidget(), page().slider(Slider::LightingTime)) << "not a setting of this page";
    EXPECT_EQ(steps(), 0);
}

// A card written elsewhere may hold values the sliders cannot show: the slider stands at its end and the label
// shows the stored value in the warning colour; nothing changes until the user moves the slider.
TEST_F(UserPageTest, AStoredValueBeyondItsSliderIsShownAsItIs) {
    // Read while the card page is in front; the user then comes to this page through the tree.
    choose(157);
    doc().edit({0, {}}, {SectionId::General, -1, 0}, [](ProjectData& p) {
        p.general().setDisplayContrast(180);
        p.general().setDisplayTimeMs(0);
    });
    choose(598);
    ASSERT_EQ(frame->view()->currentPage(), &page());
    EXPECT_EQ(page().slider(Slider::Contrast)->value(), 100);
    EXPECT_EQ(page().valueLabel(Slider::Contrast)->text(), "180 %");
    EXPECT_TRUE(page().valueLabel(Slider::Contrast)->autoFillBackground());
    EXPECT_EQ(page().valueLabel(Slider::LightingTime)->text(), "t212 0");
    EXPECT_EQ(page().slider(Slider::Contrast)->accessibleDescription(), "t2007; t2304");
    EXPECT_EQ(general().displayContrast(), 180);
    QTest::keyClick(page().slider(Slider::Contrast), Qt::Key_Left);
    EXPECT_EQ(general().displayContrast(), 99);
    EXPECT_FALSE(page().valueLabel(Slider::Contrast)->autoFillBackground());
}

TEST_F(UserPageTest, ALanguageChangeRetextsThePageAndKeepsItsChoices) {
    QJsonObject texts;
    for (const auto& [id, text] : userTexts(QStringLiteral("o"))) {
        texts.insert(QString::number(id), text);
    }
    ASSERT_TRUE(testing::writeBytes(app.dir.filePath(QStringLiteral("Language/Other.json")),
                                    QJsonDocument(QJsonObject{{"version", "0x02000001"}, {"texts", texts}}).toJson()));
    page().languageList()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page().languageList(), Qt::Key_End);
    testing::chooseLanguage(*frame, app.dialogs, QStringLiteral("Other"));
    EXPECT_EQ(page().findChild<QGroupBox*>(QStringLiteral("displayGroup"))->title(), "o345");
    EXPECT_EQ(page().languageList()->currentText(), "o332") << "the list keeps its choice";
    EXPECT_EQ(page().valueLabel(Slider::LightingTime)->text(), "o212 5");
    EXPECT_EQ(page().sortingRadio(1)->text(), "o511");
    EXPECT_EQ(page().slider(Slider::Contrast)->accessibleName(), "o346");
    EXPECT_EQ(steps(), 1);
}

} // namespace
} // namespace tolvane
