#include "gui/app/CDataPage.h"
#include "TestAppContext.h"
#include "gui/app/CListModel.h"
#include "gui/widgets/CControlTipCtrl.h"
#include "gui/widgets/CPageHeader.h"
#include "gui/widgets/CStaticHelp.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

using testing::TestAppContext;

// A list page as the real ones are built: a table over a model of names, a detail field for the one selected
// record and a button that needs a selection.
class NamesModel : public CListModel {
public:
    explicit NamesModel(const QStringList& names) : names_(names) {}
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(names_.size()); }
    int columnCount(const QModelIndex& = {}) const override { return 2; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole) {
            return {};
        }
        return index.column() == 0 ? QVariant(index.row() + 1) : QVariant(names_.at(index.row()));
    }
    QStringList names_;
};

class NamesPage : public CDataPage {
public:
    explicit NamesPage(AppContext& context) : CDataPage(context), model(QStringList{"A", "B", "C", "D", "E"}) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(list);
        layout->addWidget(detail);
        layout->addWidget(deleteButton);
        list->setModel(&model);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        watchSelection(list);
    }

    void reload(int item) override {
        beginListUpdate(list);
        EXPECT_FALSE(list->updatesEnabled());
        endListUpdate(list, item);
        onSelectionChanged();
    }
    void onSelectionChanged() override { deleteButton->setEnabled(showSelectedItem(list) > 0); }
    void showItem(bool single, int item) override {
        detail->setVisible(single);
        detail->setText(single ? model.names_.at(item) : QString());
    }

    void select(std::initializer_list<int> rows) {
        list->selectionModel()->clearSelection();
        for (int row : rows) {
            list->selectionModel()->select(model.index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    using CDataPage::askYesNo;
    using CDataPage::currentItem;
    using CDataPage::setHelpText;
    using CDataPage::setHelpTip;
    using CDataPage::setItemText;
    using CDataPage::setItemTwoDigits;
    using CDataPage::showMessage;
    using CDataPage::showWarning;

    NamesModel model;
    QTableView* list = new QTableView(this);
    QLineEdit* detail = new QLineEdit(this);
    QPushButton* deleteButton = new QPushButton(QStringLiteral("Delete"), this);
};

bool isBlue(QRgb pixel) {
    return qRed(pixel) < 40 && qGreen(pixel) < 40 && qBlue(pixel) > 215;
}
bool isWhitish(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) > 200 && qBlue(pixel) > 200;
}

// Writes the grab to TOLVANE_SCREENSHOT_DIR when it is set, for a person to look at.
void keepScreenshot(const QImage& image, const QString& name) {
    const QString folder = qEnvironmentVariable("TOLVANE_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        EXPECT_TRUE(image.save(QDir(folder).filePath(name)));
    }
}

TEST(CDataPageTest, ALongTitleIsCutWithAnEllipsisOnOneLineInsideTheBand) {
    TestAppContext app;
    NamesPage page(app.context);
    page.setHeader(QStringLiteral("Cross-connection of relays and inputs of the bell controller\nsecond line"));
    page.resize(220, 160);
    page.show();
    const QImage image = page.grab().toImage();
    keepScreenshot(image, QStringLiteral("page-header-narrow.png"));

    const QString shown = page.header()->shownTitle();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QLatin1Char('\n')));
    EXPECT_LE(page.header()->fontMetrics().horizontalAdvance(shown), 220 - CPageHeader::TitleIndent);
    EXPECT_EQ(page.headerTitle(), page.windowTitle());

    const int dpr = int(image.devicePixelRatio());
    ASSERT_EQ(image.width(), 220 * dpr);
    // The band is 20 pixels of blue across the whole width; the row below it is not.
    for (int x = 0; x < image.width(); ++x) {
        ASSERT_TRUE(isBlue(image.pixel(x, 0))) << "x " << x;
        ASSERT_TRUE(isBlue(image.pixel(x, 19 * dpr))) << "x " << x;
        ASSERT_FALSE(isBlue(image.pixel(x, 20 * dpr))) << "x " << x;
    }
    // White title text only from 20 pixels in, and some of it near the right edge (the ellipsis).
    int firstWhite = image.width();
    int lastWhite = -1;
    for (int y = 0; y < 20 * dpr; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isWhitish(image.pixel(x, y))) {
                firstWhite = std::min(firstWhite, x);
                lastWhite = std::max(lastWhite, x);
            }
        }
    }
    EXPECT_GE(firstWhite, CPageHeader::TitleIndent * dpr);
    EXPECT_GT(lastWhite, (220 - 40) * dpr);
}

TEST(CDataPageTest, AShortTitleIsShownWhole) {
    TestAppContext app;
    NamesPage page(app.context);
    page.resize(600, 200);
    page.setHeader(QStringLiteral("Chimes"));
    page.show();
    EXPECT_EQ(page.header()->shownTitle(), QStringLiteral("Chimes"));
    EXPECT_EQ(page.header()->height(), CPageHeader::Height);
    EXPECT_GE(page.list->geometry().top(), CPageHeader::Height) << "the page's controls sit below the band";
}

TEST(CDataPageTest, HelpShowsTheTextOfTheAskingLabelAndNothingForAnUnregisteredOne) {
    TestAppContext app({{107, "Tolvane"}}, {{501, "The relay that switches the amplifier."}});
    NamesPage page(app.context);
    auto* withTip = new CStaticHelp(QStringLiteral("Amplifier"), &page);
    auto* withoutTip = new CStaticHelp(QStringLiteral("Relay"), &page);
    page.setHelpTip(withTip, 501);
    page.show();
    CControlTipCtrl& tips = page.controlTips();

    page.helpRequested(withTip);
    EXPECT_TRUE(tips.isActive());
    EXPECT_TRUE(tips.isVisible());
    EXPECT_EQ(tips.text(), QStringLiteral("The relay that switches the amplifier."));

    page.helpReleased(withTip);
    EXPECT_FALSE(tips.isActive());
    EXPECT_FALSE(tips.isVisible());

    page.helpRequested(withoutTip);
    EXPECT_TRUE(tips.isActive());
    EXPECT_EQ(tips.text(), QString()) << "never the text of the previous label";
    EXPECT_FALSE(tips.isVisible());
}

TEST(CDataPageTest, AHelpLabelReachesItsPageThroughTheMouse) {
    TestAppContext app;
    NamesPage page(app.context);
    auto* group = new QWidget(&page);
    auto* label = new CStaticHelp(QStringLiteral("Amplifier"), group);
    label->setHoverDelay(0);
    label->setHelpActive(true);
    page.setHelpText(label, QStringLiteral("Switches the amplifier."));
    page.show();

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(label, &enter);
    QTest::qWait(5);
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_TRUE(page.controlTips().isVisible());
    EXPECT_EQ(page.controlTips().text(), QStringLiteral("Switches the amplifier."));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(label, &leave);
    EXPECT_FALSE(page.controlTips().isVisible());
}

TEST(CDataPageTest, ADeletedControlLeavesNoTipBehind) {
    TestAppContext app;
    NamesPage page(app.context);
    auto* label = new CStaticHelp(QStringLiteral("Gone"), &page);
    page.setHelpText(label, QStringLiteral("Old text"));
    const QWidget* address = label;
    delete label;
    EXPECT_EQ(page.controlTips().tipFor(address), QString());
}

TEST(CDataPageTest, ListPageShowsOneSelectedRecordAndHidesTheDetailOtherwise) {
    TestAppContext app;
    NamesPage page(app.context);
    page.show();

    page.reload(2);
    EXPECT_EQ(page.currentItem(), 2);
    EXPECT_TRUE(page.detail->isVisible());
    EXPECT_EQ(page.detail->text(), QStringLiteral("C"));
    EXPECT_TRUE(page.deleteButton->isEnabled());
    EXPECT_TRUE(page.list->updatesEnabled());
    EXPECT_EQ(page.list->currentIndex().row(), 2);

    page.select({1, 3});
    EXPECT_EQ(page.currentItem(), -1);
    EXPECT_FALSE(page.detail->isVisible()) << "two rows selected hide the detail";
    EXPECT_TRUE(page.deleteButton->isEnabled());

    page.select({4});
    EXPECT_EQ(page.currentItem(), 4);
    EXPECT_EQ(page.detail->text(), QStringLiteral("E"));

    page.select({});
    EXPECT_FALSE(page.detail->isVisible());
    EXPECT_FALSE(page.deleteButton->isEnabled());

    page.reload(99); // a record that is not there selects nothing
    EXPECT_EQ(page.currentItem(), -1);
    EXPECT_FALSE(page.detail->isVisible());
}

TEST(CDataPageTest, MessagesGoThroughThePromptServiceWithThePageAsOwner) {
    TestAppContext app;
    NamesPage page(app.context);
    app.prompts.answer(PromptService::Answer::Yes).answer(PromptService::Answer::No);

    page.showMessage(QStringLiteral("saved"));
    page.showWarning(QStringLiteral("careful"));
    EXPECT_EQ(page.askYesNo(QStringLiteral("write?")), PromptService::Answer::Yes);
    EXPECT_EQ(page.askYesNo(QStringLiteral("again?")), PromptService::Answer::No);

    using P = PromptService;
    const auto& boxes = app.prompts.boxes();
    ASSERT_EQ(boxes.size(), 4u);
    const struct {
        P::Buttons buttons;
        P::Icon icon;
    } expected[] = {{P::Buttons::Ok, P::Icon::Information},
                    {P::Buttons::Ok, P::Icon::Warning},
                    {P::Buttons::YesNo, P::Icon::Question},
                    {P::Buttons::YesNo, P::Icon::Question}};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(boxes[i].owner, &page);
        EXPECT_EQ(boxes[i].buttons, expected[i].buttons);
        EXPECT_EQ(boxes[i].icon, expected[i].icon);
    }
}

TEST(CDataPageTest, TextsComeFromTheCatalogAndMissingControlsAreIgnored) {
    TestAppContext app({{300, "Dzwony"}});
    NamesPage page(app.context);
    page.setItemText(page.deleteButton, 300);
    EXPECT_EQ(page.deleteButton->text(), QStringLiteral("Dzwony"));
    page.setItemText(page.deleteButton, 301);
    EXPECT_EQ(page.deleteButton->text(), QStringLiteral("---"));
    page.setItemTwoDigits(page.detail, 7);
    EXPECT_EQ(page.detail->text(), QStringLiteral("07"));
    page.setItemTwoDigits(page.detail, 123);
    EXPECT_EQ(page.detail->text(), QStringLiteral("123"));
    page.setItemText(nullptr, 300); // no crash, nothing to do
    EXPECT_EQ(page.project(), nullptr) << "no project before the page has a document";
}

} // namespace
} // namespace tolvane
