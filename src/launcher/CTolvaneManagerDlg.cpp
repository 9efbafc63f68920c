#include "launcher/CTolvaneManagerDlg.h"

#include "gui/widgets/CHelpWindow.h"
#include <QKeyEvent>

#include "launcher/CSelCardDlg.h"
#include "launcher/CSelVerDlg.h"
#include "launcher/LauncherIcons.h"
#include "platform/LauncherSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>

#include <utility>

namespace tolvane {

namespace {

struct ButtonSpec {
    LauncherIcon icon;
    LauncherTexts::Id caption;
};

// In the order the dialog shows them, which is the order of CTolvaneManagerDlg::Action.
constexpr std::array<ButtonSpec, CTolvaneManagerDlg::ActionCount> Buttons{{
    {LauncherIcon::New, LauncherTexts::CaptionNew},
    {LauncherIcon::Open, LauncherTexts::CaptionOpen},
    {LauncherIcon::Card, LauncherTexts::CaptionCard},
    {LauncherIcon::Dat, LauncherTexts::CaptionDat},
    {LauncherIcon::Close, LauncherTexts::CaptionClose},
}};

constexpr int ButtonWidth = 84;
constexpr int ButtonHeight = 72;
constexpr int CaptionWidth = 110;

} // namespace

CTolvaneManagerDlg::CTolvaneManagerDlg(LauncherContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)),
      texts_(LauncherTexts::forLanguage(LauncherSettings::read(context_.settings).lastLang)),
      currentLabel_(LauncherSettings::read(context_.settings).lastHard),
      launcher_(context_.launcherFolder, context_.starter) {
    setWindowTitle(texts_.text(LauncherTexts::Title));
    setWindowIcon(launcherIcon(LauncherIcon::Window));

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(4);
    layout->setContentsMargins(12, 12, 12, 12);
    for (std::size_t i = 0; i < Buttons.size(); ++i) {
        const int column = static_cast<int>(i);
        auto* button = new QPushButton(this);
        button->setIcon(launcherIcon(Buttons[i].icon));
        button->setIconSize(QSize(48, 48));
        button->setFixedSize(ButtonWidth, ButtonHeight);
        button->setAutoDefault(false);
        auto* caption = new QLabel(texts_.text(Buttons[i].caption), this);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        caption->setWordWrap(true);
        caption->setFixedWidth(CaptionWidth);
        caption->setBuddy(button);
        layout->addWidget(button, 0, column, Qt::AlignHCenter);
        layout->addWidget(caption, 1, column, Qt::AlignHCenter | Qt::AlignTop);
        buttons_[i] = button;
        captions_[i] = caption;
    }
    layout->setRowMinimumHeight(1, 2 * fontMetrics().height() + 4);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(button(Action::New), &QPushButton::clicked, this, &CTolvaneManagerDlg::onNew);
    connect(button(Action::Open), &QPushButton::clicked, this, &CTolvaneManagerDlg::onOpen);
    connect(button(Action::Card), &QPushButton::clicked, this, &CTolvaneManagerDlg::onCard);
    connect(button(Action::Dat), &QPushButton::clicked, this, &CTolvaneManagerDlg::onDat);
    connect(button(Action::Close), &QPushButton::clicked, this, &CTolvaneManagerDlg::reject);
}

bool CTolvaneManagerDlg::startAutomatically(const QString& programFileName) {
    const QString name = QFileInfo(programFileName).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString version = dot < 0 ? QString() : name.left(dot);
    if (!firmware::isVersionName(version)) {
        return false;
    }
    return finish(launcher_.startWithoutParameters(version));
}

void CTolvaneManagerDlg::onNew() {
    CSelVerDlg dialog(context_.launcherFolder, currentLabel_, texts_, this);
    if (run(dialog) != QDialog::Accepted) {
        return;
    }
    currentLabel_ = dialog.chosenLabel();
    finish(launcher_.newProject(dialog.chosenFolder(), currentLabel_));
}

void CTolvaneManagerDlg::onOpen() {
    const QString path = context_.choosers.openFile(this, texts_.text(LauncherTexts::CaptionOpen), QString(),
                                                    QStringLiteral("Tolvane Files (*.tpm)"));
    if (!path.isEmpty()) {
        finish(launcher_.openProject(path));
    }
}

void CTolvaneManagerDlg::onCard() {
    CSelCardDlg dialog(texts_, context_.volumes ? context_.volumes() : nullptr, this);
    if (run(dialog) != QDialog::Accepted) {
        return;
    }
    const QString root = dialog.selectedRoot();
    if (root.isEmpty()) {
        // The card went while OK was pressed: there is nothing to read, and an empty root must not become the
        // root of the file system.
        finish(launcher_.start(firmware::NotRecognised, launch::EditorCommand::Card, root));
        return;
    }
    finish(launcher_.readCard(root));
}

void CTolvaneManagerDlg::onDat() {
    const QString folder = context_.choosers.folder(this, QString(), QDir::currentPath());
    if (!folder.isEmpty()) {
        finish(launcher_.importDat(folder));
    }
}

void CTolvaneManagerDlg::done(int result) {
    LauncherSettings::writeLastHard(context_.settings, currentLabel_);
    QDialog::done(result);
}

int CTolvaneManagerDlg::run(QDialog& dialog) {
    return context_.runDialog ? context_.runDialog(dialog) : dialog.exec();
}

bool CTolvaneManagerDlg::finish(const EditorLauncher::Result& result) {
    lastResult_ = result;
    using Outcome = EditorLauncher::Outcome;
    switch (result.outcome) {
    case Outcome::Started:
        reject();
        return true;
    case Outcome::NotRecognised:
        context_.prompts.showMessage(this, texts_.text(LauncherTexts::NotRecognised));
        return false;
    case Outcome::ProgramMissing:
    case Outcome::StartFailed:
        context_.prompts.showWarning(this, texts_.missingProgram(result.program));
        return false;
    case Outcome::ArgumentRefused:
        context_.prompts.showWarning(this, texts_.missingProgram(result.argument));
        return false;
    }
    return false;
}

void CTolvaneManagerDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        CHelpWindow::showTopic(this, QStringLiteral("launcher"));
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tolvane
