// The base of the edit dialogs as a dialog built on it uses it: a field edited on a working copy, OK committed as
// one step by the opener, Cancel leaving the project alone, change painting, controls by number, help tips.

#include "ShellTestSupport.h"

#include "gui/app/CTarvelinDoc.h"
#include "gui/dialogs/CDialogEdy.h"
#include "gui/widgets/CControlTipCtrl.h"
#include "gui/widgets/CLinkStatic.h"
#include "gui/widgets/CStaticHelp.h"
#include "gui/widgets/ChangeHighlight.h"

#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// A small edit dialog of the kind the editors are: the name of chime 1 on a copy of the project, a label and a
// help label, a link value, and a refusal of an empty name.
class NameDialog final : public CDialogEdy {
public:
    enum Control { NameLabel = 1, NameField = 2, Help = 3, Link = 4 };
    static constexpr std::uint32_t NameChanged = 0x1;

    NameDialog(AppContext& context, const ProjectData* project)
        : CDialogEdy(context, project), label(new QLabel(this)), field(new QLineEdit(this)),
          help(new CStaticHelp(QStringLiteral("Help"), this)), link(new CLinkStatic(this)) {
        workOnCopy({SectionId::Chimes});
        label->setBuddy(field);
        field->setObjectName(QStringLiteral("name"));
        help->setHoverDelay(0);
        body()->addWidget(label);
        body()->addWidget(field);
        body()->addWidget(help);
        body()->addWidget(link);
        addControl(NameLabel, label);
        addControl(NameField, field);
        addControl(Help, help);
        addControl(Link, link);
        setItemText(NameLabel, 826);
        setControlText(Link, QStringLiteral("PK1"));
        setHelpText(Help, QStringLiteral("What a chime name is for"));
        connect(field, &QLineEdit::textEdited, this, [this](const QString& typed) {
            copy()->chimes().setName(0, typed.toStdString());
            const bool changed = typed != QString::fromStdString(this->project()->chimes().name(0));
            setChange(NameChanged, changed);
            markChangedField(NameField, changed);
            markChangedLabel(NameLabel, changed);
        });
    }

    QLabel* label;
    QLineEdit* field;
    CStaticHelp* help;
    CLinkStatic* link;

protected:
    bool acceptDialog() override {
        if (field->text().isEmpty()) {
            showMessage(text(114));
            return false;
        }
        return true;
    }
};

class DialogEdyTest : public ::testing::Test {
protected:
    DialogEdyTest() : app(testing::numberedTexts(QStringLiteral("t"))), doc(&app.languages) {}

    std::array<SectionState, SectionIdCount> projectState() const {
        std::array<SectionState, SectionIdCount> all;
        for (int i = 0; i < SectionIdCount; ++i) {
            all[static_cast<std::size_t>(i)] = doc.project().state(static_cast<SectionId>(i));
        }
        return all;
    }

    // The opener's side: run the dialog and, on OK, commit it as one step.
    bool open(NameDialog& dialog) {
        if (app.context.dialogs.run(dialog) != QDialog::Accepted) {
            return false;
        }
        return dialog.commit(doc, {2005, {1LL}}, {SectionId::Chimes, 0, 0});
    }

    testing::TestAppContext app;
    CTarvelinDoc doc;
};

TEST_F(DialogEdyTest, OkCommitsTheCopyAsOneStepAndNothingReachesTheProjectBefore) {
    NameDialog dialog(app.context, &doc.project());
    bool untouchedWhileOpen = false;
    app.dialogs.then([&](QDialog&) {
        QTest::keyClicks(dialog.field, QStringLiteral("Angelus"));
        untouchedWhileOpen = doc.project().chimes().name(0).empty();
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    });
    ASSERT_TRUE(open(dialog));
    EXPECT_TRUE(untouchedWhileOpen);
    EXPECT_EQ(doc.project().chimes().name(0), "Angelus");
    EXPECT_EQ(doc.undoStack()->count(), 1) << "seven letters and OK: one step";
    EXPECT_EQ(dialog.changes(), NameDialog::NameChanged);
    EXPECT_EQ(dialog.okButton()->text(), "t108");
    EXPECT_EQ(dialog.cancelButton()->text(), "t104");

    doc.undo();
    EXPECT_EQ(doc.project().chimes().name(0), "");
}

TEST_F(DialogEdyTest, CancelLeavesTheProjectAsItWas) {
    const auto before = projectState();
    NameDialog dialog(app.context, &doc.project());
    app.dialogs.then([&](QDialog&) {
        QTest::keyClicks(dialog.field, QStringLiteral("Gloria"));
        QTest::keyClick(dialog.field, Qt::Key_Escape);
    });
    EXPECT_FALSE(open(dialog));
    EXPECT_EQ(projectState(), before);
    EXPECT_EQ(doc.undoStack()->count(), 0);
}

TEST_F(DialogEdyTest, ARefusedOkShowsWhyAndKeepsTheDialogOpen) {
    NameDialog dialog(app.context, &doc.project());
    bool stillOpen = false;
    app.dialogs.then([&](QDialog&) {
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        stillOpen = dialog.isVisible();
        QTest::keyClicks(dialog.field, QStringLiteral("Te Deum"));
        QTest::keyClick(dialog.field, Qt::Key_Return);
    });
    ASSERT_TRUE(open(dialog));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(app.prompts.texts(), QStringList{"t114"});
    EXPECT_EQ(doc.project().chimes().name(0), "Te Deum");
}

TEST_F(DialogEdyTest, AChangedFieldIsLightGreenAndAChangedLabelGreenAndBothSaySo) {
    NameDialog dialog(app.context, &doc.project());
    dialog.show();
    QTest::keyClicks(dialog.field, QStringLiteral("A"));
    EXPECT_EQ(dialog.field->palette().color(QPalette::Base), QColor(CDialogEdy::ChangedFieldColor));
    EXPECT_EQ(dialog.label->palette().color(QPalette::WindowText), QColor(CDialogEdy::ChangedLabelColor));
    EXPECT_EQ(dialog.field->accessibleDescription(), "t2007");
    EXPECT_EQ(dialog.label->accessibleDescription(), "t2007");
    dialog.markChangedField(NameDialog::Link, true);
    EXPECT_EQ(dialog.link->faceColor(), QColor(CDialogEdy::ChangedFieldColor));

    // Typed back to what the project holds: the colours and the description go again.
    QTest::keyClick(dialog.field, Qt::Key_Backspace);
    EXPECT_FALSE(changehighlight::isMarked(dialog.field));
    EXPECT_FALSE(changehighlight::isMarked(dialog.label));
    EXPECT_EQ(dialog.field->accessibleDescription(), "");
    EXPECT_EQ(dialog.changes(), 0u);
}

TEST_F(DialogEdyTest, ControlsAreShownHiddenEnabledAndTextedByNumber) {
    NameDialog dialog(app.context, &doc.project());
    dialog.show();
    EXPECT_EQ(dialog.label->text(), "t826");
    EXPECT_EQ(dialog.link->text(), "PK1");
    dialog.hideControl(NameDialog::NameField);
    EXPECT_FALSE(dialog.field->isVisible());
    dialog.showControlIf(NameDialog::NameField, true);
    EXPECT_TRUE(dialog.field->isVisible());
    dialog.enableControl(NameDialog::NameField, false);
    EXPECT_FALSE(dialog.field->isEnabled());
    dialog.setItemText(NameDialog::NameLabel, 827);
    EXPECT_EQ(dialog.label->text(), "t827");
    // A number without a control is ignored.
    dialog.hideControl(99);
    dialog.setItemText(99, 827);
    dialog.markChangedField(99, true);
    EXPECT_EQ(dialog.control(99), nullptr);
}

TEST_F(DialogEdyTest, AHelpLabelShowsItsTipWhileTheMouseIsOnIt) {
    NameDialog dialog(app.context, &doc.project());
    dialog.show();
    dialog.help->setHelpActive(true);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(dialog.help, &enter);
    QTest::qWait(5);
    QTest::mousePress(dialog.help, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(dialog.controlTips().isActive());
    EXPECT_EQ(dialog.controlTips().activeControl(), dialog.help);
    EXPECT_EQ(dialog.controlTips().text(), "What a chime name is for");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(dialog.help, &leave);
    EXPECT_FALSE(dialog.controlTips().isActive());
}

TEST_F(DialogEdyTest, WithoutAProjectThereIsNoCopyAndNothingToCommit) {
    NameDialog dialog(app.context, nullptr);
    EXPECT_EQ(dialog.copy(), nullptr);
    EXPECT_FALSE(dialog.commit(doc, {2005, {1LL}}, {SectionId::Chimes, 0, 0}));
}

} // namespace
} // namespace tolvane
