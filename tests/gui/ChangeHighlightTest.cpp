#include "gui/app/CDataPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

const QColor LightGreen(187, 255, 187);
const QColor DarkGreen(0, 128, 0);

// How many pixels of the grab pass the test.
template <typename Test> int pixelsWhere(QWidget& widget, Test test) {
    const QImage image = widget.grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += test(QColor(image.pixel(x, y))) ? 1 : 0;
        }
    }
    return count;
}

int pixelsOf(QWidget& widget, const QColor& colour) {
    return pixelsWhere(widget, [&](const QColor& c) { return c == colour; });
}

// Text pixels drawn in green (anti-aliased text rarely hits the exact colour).
int greenTextPixels(QWidget& widget) {
    return pixelsWhere(widget, [](const QColor& c) {
        return c.green() > c.red() + 40 && c.green() > c.blue() + 40 && c.green() < 200;
    });
}

class ChangeHighlightTest : public ::testing::Test {
protected:
    ChangeHighlightTest() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(option);
        layout->addWidget(choice);
        layout->addWidget(list);
        list->addItems({QStringLiteral("Polish"), QStringLiteral("German")});
        field->setText(QStringLiteral("1234"));
        window.resize(200, 160);
        window.show();
    }
    QWidget window;
    QLineEdit* field = new QLineEdit;
    QCheckBox* option = new QCheckBox(QStringLiteral("Quarter striking"));
    QRadioButton* choice = new QRadioButton(QStringLiteral("Summer time"));
    QComboBox* list = new QComboBox;
};

TEST_F(ChangeHighlightTest, AChangedFieldIsLightGreenUntilTheMarkIsCleared) {
    const QPalette before = field->palette();
    EXPECT_EQ(pixelsOf(*field, LightGreen), 0);

    EXPECT_TRUE(CDataPage::markChangedField(field, true));
    EXPECT_TRUE(CDataPage::markChangedField(field, true)); // marking twice keeps the colours of before
    EXPECT_GT(pixelsOf(*field, LightGreen), field->width() * field->height() / 3);

    EXPECT_FALSE(CDataPage::markChangedField(field, false));
    EXPECT_EQ(pixelsOf(*field, LightGreen), 0);
    EXPECT_EQ(field->palette(), before);
}

// A list that cannot be typed in is drawn as a button: its face turns green (the style may shade it a little).
TEST_F(ChangeHighlightTest, AChangedDropDownListIsGreenToo) {
    const auto greenish = [](const QColor& c) { return c.green() > c.red() + 30 && c.green() > c.blue() + 30; };
    EXPECT_EQ(pixelsWhere(*list, greenish), 0);
    EXPECT_TRUE(CDataPage::markChangedField(list, true));
    EXPECT_GT(pixelsWhere(*list, greenish), list->width() * list->height() / 3);
    EXPECT_FALSE(CDataPage::markChangedField(list, false));
    EXPECT_EQ(pixelsWhere(*list, greenish), 0);
}

TEST_F(ChangeHighlightTest, AChangedOptionHasDarkGreenText) {
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{option, choice}) {
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_EQ(greenTextPixels(*button), 0);
        EXPECT_TRUE(CDataPage::markChangedOption(button, true));
        EXPECT_EQ(button->palette().color(QPalette::WindowText), DarkGreen);
        EXPECT_GT(greenTextPixels(*button), 30) << "the caption is drawn dark green";
        EXPECT_FALSE(CDataPage::markChangedOption(button, false));
        EXPECT_EQ(greenTextPixels(*button), 0);
    }
}

TEST_F(ChangeHighlightTest, ClearingGivesBackAColourThePageHadSetItself) {
    QPalette own = field->palette();
    own.setColor(QPalette::Text, Qt::darkRed);
    field->setPalette(own);
    CDataPage::markChangedField(field, true);
    CDataPage::markChangedField(field, false);
    EXPECT_EQ(field->palette().color(QPalette::Text), QColor(Qt::darkRed));
    EXPECT_NE(field->palette().color(QPalette::Base), LightGreen);
}

TEST_F(ChangeHighlightTest, NothingHappensWithoutAControl) {
    EXPECT_FALSE(CDataPage::markChangedField(nullptr, true));
    EXPECT_FALSE(CDataPage::markChangedOption(nullptr, true));
}

} // namespace
} // namespace tolvane
