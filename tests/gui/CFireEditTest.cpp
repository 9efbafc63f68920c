#include "gui/widgets/CFireEdit.h"
#include "gui/app/CDataPage.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

const QColor Warning(255, 127, 128);
const QColor LightGreen(187, 255, 187);

// A small dialog: two numeric fields and a plain field after them, in that tab order, in an active window.
class CFireEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(after);
        window.resize(160, 120);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void enter(QWidget* field) {
        field->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(field->hasFocus());
    }

    // A key pressed and released the way the keyboard sends it: each to the field that has the focus then.
    static void typeKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyPress(QApplication::focusWidget(), key, modifiers);
        QTest::keyRelease(QApplication::focusWidget(), key, modifiers);
    }

    static QColor colourAt(CFireEdit* field, QPoint at) { return QColor(field->grab().toImage().pixel(at)); }
    // A point of the field's background: right of short texts, inside the frame.
    static QColor background(CFireEdit* field) {
        return colourAt(field, QPoint(field->width() - 5, field->height() / 2));
    }

    QWidget window;
    CFireEdit* first = new CFireEdit;
    CFireEdit* second = new CFireEdit;
    QLineEdit* after = new QLineEdit;
};

TEST_F(CFireEditTest, KeyFilterLetsDigitsAndTheKeysOfItsModeThrough) {
    struct Case {
        bool decimal;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* before; // caret at the end
        const char* after;
    };
    const Case cases[] = {
        {false, Qt::Key_7, Qt::NoModifier, "", "7"},
        {false, Qt::Key_5, Qt::KeypadModifier, "1", "15"},
        {false, Qt::Key_A, Qt::NoModifier, "1", "1"},
        {false, Qt::Key_Exclam, Qt::ShiftModifier, "1", "1"}, // shift + 1 gives "!"
        {false, Qt::Key_Period, Qt::NoModifier, "1", "1"},
        {false, Qt::Key_Space, Qt::NoModifier, "1", "1"},
        {false, Qt::Key_Backspace, Qt::NoModifier, "12", "1"},
        {true, Qt::Key_Period, Qt::NoModifier, "12", "12."},
        {true, Qt::Key_Comma, Qt::NoModifier, "12", "12,"},
        {true, Qt::Key_8, Qt::NoModifier, "1.", "1.8"},
        {true, Qt::Key_Backspace, Qt::NoModifier, "12", "12"}, // swallowed in decimal mode
        {true, Qt::Key_Delete, Qt::NoModifier, "12", "12"},
        {true, Qt::Key_Minus, Qt::NoModifier, "12", "12"},
        {true, Qt::Key_E, Qt::NoModifier, "12", "12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << (c.decimal ? "decimal " : "integer ") << c.before << " key " << QTest::toString(c.key));
        first->setUp(0, 99, 4, false, c.decimal, 1, false);
        enter(first);
        first->setText(QString::fromLatin1(c.before));
        first->end(false);
        typeKey(c.key, c.modifiers);
        EXPECT_EQ(first->text(), QString::fromLatin1(c.after));
    }
}

TEST_F(CFireEditTest, DecimalModeSwallowsCaretMovesSoTheCaretStays) {
    first->setUp(0, 99, 4, false, true, 1, false);
    enter(first);
    first->setText("12.5");
    first->setCursorPosition(2);
    typeKey(Qt::Key_Left);
    EXPECT_EQ(first->cursorPosition(), 2);
    first->setUp(0, 99, 4, false, false, 1, false);
    typeKey(Qt::Key_Left);
    EXPECT_EQ(first->cursorPosition(), 1);
}

// Pasted with Ctrl+V, as the user pastes: only digits that fit reach the text.
TEST_F(CFireEditTest, ALetterNeverReachesTheTextEvenByPasting) {
    first->setUp(0, 9999, 4, false, false, 1, false);
    enter(first);
    first->setText("12");
    first->end(false);
    QApplication::clipboard()->setText("3a");
    typeKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(first->text(), "12");
    QApplication::clipboard()->setText("345"); // digits, but more than the field holds
    typeKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(first->text(), "12");
    QApplication::clipboard()->setText("34");
    typeKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(first->text(), "1234");
}

TEST_F(CFireEditTest, AFullFieldMovesOnToTheNextControl) {
    first->setUp(0, 59, 2, true, false, 1, false);
    second->setUp(0, 59, 2, true, false, 1, false);
    second->setText("30");
    enter(first);
    typeKey(Qt::Key_1);
    EXPECT_EQ(QApplication::focusWidget(), first);
    typeKey(Qt::Key_2);
    EXPECT_EQ(first->text(), "12");
    EXPECT_EQ(QApplication::focusWidget(), second);
    EXPECT_EQ(second->selectedText(), "30") << "entered with its whole text selected";

    // Tab moves to the next control on its own; its key-up arriving in the full field moves nowhere.
    enter(first);
    typeKey(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST_F(CFireEditTest, ARejectedKeyAndShiftDoNotAdvanceButAnyOtherKeyInAFullFieldDoes) {
    first->setUp(0, 59, 2, true, false, 1, false);
    struct Case {
        Qt::Key key;
        bool advances;
    };
    const Case cases[] = {{Qt::Key_A, false}, {Qt::Key_Shift, false}, {Qt::Key_Escape, false}, {Qt::Key_5, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(QTest::toString(c.key));
        first->setText("12");
        enter(first);
        first->end(false);
        typeKey(c.key);
        EXPECT_EQ(first->text(), "12");
        EXPECT_EQ(QApplication::focusWidget() == second, c.advances);
    }

    first->setUp(0, 59, 2, false, false, 1, false);
    enter(first);
    first->end(false);
    typeKey(Qt::Key_5);
    EXPECT_EQ(QApplication::focusWidget(), first) << "auto-advance off";
}

TEST_F(CFireEditTest, TheClickThatEntersSelectsAllAndLaterClicksPlaceTheCaret) {
    first->setText("07");
    first->setCursorPosition(1);
    const QPoint between = first->inputMethodQuery(Qt::ImCursorRectangle).toRect().center(); // between the 0 and the 7
    after->setFocus();

    QTest::mousePress(first, Qt::LeftButton, Qt::NoModifier, between);
    QTest::mouseMove(first, between + QPoint(1, 0));
    QTest::mouseRelease(first, Qt::LeftButton, Qt::NoModifier, between + QPoint(1, 0));
    EXPECT_TRUE(first->hasFocus());
    EXPECT_EQ(first->selectedText(), "07");

    typeKey(Qt::Key_4);
    EXPECT_EQ(first->text(), "4") << "typing replaces the selected value";

    first->setText("07");
    first->selectAll();
    QTest::mouseClick(first, Qt::LeftButton, Qt::NoModifier, between);
    EXPECT_EQ(first->selectedText(), "");
    EXPECT_EQ(first->cursorPosition(), 1);

    // Entered by the keyboard, the whole text is selected as well.
    after->setFocus();
    enter(first);
    EXPECT_EQ(first->selectedText(), "07");
}

TEST_F(CFireEditTest, LeavingNormalisesOnlyAClampingField) {
    struct Case {
        double lower;
        double upper;
        int limit;
        bool decimal;
        int step;
        bool clamp;
        const char* typed;
        const char* left;
    };
    const Case cases[] = {
        {0, 59, 2, false, 1, true, "7", "07"},
        {0, 59, 2, false, 1, true, "75", "59"},
        {0, 59, 2, false, 1, false, "7", "7"},
        {0, 59, 2, false, 1, false, "75", "75"},
        {1, 23, 2, false, 1, true, "", "01"},
        {1, 23, 2, false, 1, true, "0", "01"},
        {0, 9, 1, false, 1, true, "7", "7"},
        {0, 999, 3, false, 1, true, "5", "005"},
        {0, 9999, 4, false, 1, true, "12", "0012"},
        {0, 99999, 5, false, 1, true, "123", "123"}, // wider than 4: left as typed
        {0.5, 25.5, 4, true, 1, true, "12,5", "12.5"},
        {0.5, 25.5, 4, true, 1, true, "3", "3.0"},
        {0.5, 25.5, 4, true, 1, true, "30", "25.5"},
        {0.5, 25.5, 4, true, 1, true, "", "0.5"},
        {0, 10, 3, true, 1, true, "0", "0"}, // a zero value keeps the text
        {0, 10, 3, true, 1, true, "", ""},
        {0, 25, 4, true, 5, true, "12.5", "12.5"},
        {0, 25, 4, true, 5, true, "12.3", "12.0"},
        {0, 25, 4, true, 5, true, "12.9", "12.5"},
        {0, 30, 4, true, 20, true, "5.9", "4.0"},
        {0, 30, 4, true, 20, true, "2.1", "2.0"},   // a remainder under a tenth of the step is lowered as well
        {1.5, 10, 4, true, 10, true, "1.5", "2.0"}, // lowered below the bound, it takes the step above
        {0, 9, 2, true, 1, true, "5", "error"},
        {0, 25, 4, true, 5, false, "12.3", "12.3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.lower << "-" << c.upper << " limit " << c.limit << " step " << c.step
                                          << (c.clamp ? " clamping, " : ", ") << "typed '" << c.typed << "'");
        first->setUp(c.lower, c.upper, c.limit, false, c.decimal, c.step, c.clamp);
        enter(first);
        first->setText(QString::fromLatin1(c.typed));
        after->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(first->text(), QString::fromLatin1(c.left));
    }
}

TEST_F(CFireEditTest, SetUpNormalisesTheTextOnce) {
    first->setText("75");
    first->setUp(0, 59, 2, true, false, 1, true);
    EXPECT_EQ(first->text(), "59");
}

TEST_F(CFireEditTest, WarningColourWhileEmptyOrOutOfRangeAndEnabled) {
    struct Case {
        bool decimal;
        const char* text;
        bool warning;
    };
    const Case cases[] = {
        {false, "", true},    {false, "75", true},   {false, "59", false}, {false, "00", false},
        {true, "25.6", true}, {true, "25,5", false}, {true, "0.4", true},  {true, "0.5", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.text);
        first->setUp(c.decimal ? 0.5 : 0, c.decimal ? 25.5 : 59, c.decimal ? 4 : 2, false, c.decimal, 1, false);
        first->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(first->isOutOfRange(), c.warning);
        EXPECT_EQ(background(first) == Warning, c.warning);
    }

    first->setEnabled(false);
    first->setText("75");
    EXPECT_NE(background(first), Warning);
}

TEST_F(CFireEditTest, WarningShowsOverAChangeMarkAndGivesItBack) {
    first->setUp(0, 59, 2, false, false, 1, false);
    first->setText("30");
    CDataPage::markChangedField(first, true);
    EXPECT_EQ(background(first), LightGreen);
    first->setText("75");
    EXPECT_EQ(background(first), Warning);
    first->setText("45");
    EXPECT_EQ(background(first), LightGreen);
}

TEST_F(CFireEditTest, ReadsAndWritesWholeValuesTenthsAndHalves) {
    struct Case {
        int limit;
        int value;
        const char* text;
    };
    const Case integers[] = {{1, 7, "7"}, {2, 7, "07"}, {3, 7, "007"}, {4, 7, "7"}, {2, 125, "125"}};
    for (const Case& c : integers) {
        SCOPED_TRACE(::testing::Message() << "limit " << c.limit << " value " << c.value);
        first->setUp(0, 999, c.limit, false, false, 1, false);
        first->writeInteger(c.value);
        EXPECT_EQ(first->text(), QString::fromLatin1(c.text)) << "a value wider than the field is shown whole";
        EXPECT_EQ(first->readInteger(), c.value);
    }

    first->setUp(0, 99, 4, false, true, 1, false);
    first->writeInteger(125);
    EXPECT_EQ(first->text(), "12.5");
    const struct {
        const char* text;
        int tenths;
        int halves;
    } reals[] = {{"12.5", 125, 25}, {"12,5", 125, 25}, {"5", 50, 10}, {"0.7", 7, 1},
                 {"", 0, 0},        {"2.55", 25, 5}}; // tenths are cut after the first decimal, as the core reads every
                                                      // typed value
    for (const auto& r : reals) {
        SCOPED_TRACE(r.text);
        first->setText(QString::fromLatin1(r.text));
        EXPECT_EQ(first->readInteger(), r.tenths);
        EXPECT_EQ(first->readHalves(), r.halves);
    }
    first->writeHalves(5);
    EXPECT_EQ(first->text(), "2.5");
    first->writeHalves(48);
    EXPECT_EQ(first->text(), "24.0");
}

} // namespace
} // namespace tolvane
