#include "gui/app/CMainFrame.h"

#include "TextNumbers.h"
#include "gui/card/CPropWymiana.h"

#include "gui/app/AppContext.h"
#include "gui/app/CAboutDlg.h"
#include "gui/app/CDataPage.h"
#include "gui/app/CProgramSet.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/app/CTarvelinView.h"
#include "gui/app/CardExchange.h"
#include "gui/app/DriveListSlot.h"
#include "gui/app/IconStrip.h"
#include "gui/widgets/CHelpWindow.h"
#include "gui/report/CPorownanieDlg.h"
#include "gui/widgets/CRemoveDirCombo.h"
#include "platform/LaunchParameters.h"
#include "platform/PlatformCardFileSystem.h"
#include "project/TextFormat.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>

#include <bit>

namespace tolvane {

namespace {

constexpr const char* CompareWithAction = "actionCompareWith";

// Captions of the commands that sit in a menu or on the tool bar.
struct CommandText {
    CMainFrame::Command command;
    int text;
};

constexpr CommandText CommandTexts[] = {
    {CMainFrame::CmdNew, 120},      {CMainFrame::CmdOpen, 121},  {CMainFrame::CmdReadCard, 522},
    {CMainFrame::CmdLoadDat, 706},  {CMainFrame::CmdExit, 123},  {CMainFrame::CmdStatusBar, 126},
    {CMainFrame::CmdSettings, 128}, {CMainFrame::CmdAbout, 130}, {CMainFrame::CmdUserGuide, 2600},
    {CMainFrame::CmdClose, 133},    {CMainFrame::CmdSave, 134},  {CMainFrame::CmdSaveAs, 135},
};

// The tool bar's buttons: command, icon in the tool bar strip and the button's object name (so that tests and UI
// automation find it); 0 marks a separator.
struct ToolButton {
    int command;
    int icon;
    const char* name;
};

constexpr ToolButton ToolButtons[] = {
    {CMainFrame::CmdNew, 0, "toolBarNew"},
    {CMainFrame::CmdOpen, 1, "toolBarOpen"},
    {CMainFrame::CmdSave, 2, "toolBarSave"},
    {CMainFrame::CmdClose, 3, "toolBarClose"},
    {CMainFrame::CmdUndo, 6, "toolBarUndo"},
    {CMainFrame::CmdRedo, 7, "toolBarRedo"},
    {0, 0, nullptr},
    {CMainFrame::CmdAbout, 4, "toolBarAbout"},
    {0, 0, nullptr},
    {CMainFrame::CmdReadCard, 5, "toolBarReadCard"},
};

// Object names of the commands' actions, so that tests and UI automation find them.
struct CommandName {
    CMainFrame::Command command;
    const char* name;
};

constexpr CommandName CommandNames[] = {
    {CMainFrame::CmdNew, "actionNew"},           {CMainFrame::CmdOpen, "actionOpen"},
    {CMainFrame::CmdClose, "actionClose"},       {CMainFrame::CmdSave, "actionSave"},
    {CMainFrame::CmdSaveAs, "actionSaveAs"},     {CMainFrame::CmdAbout, "actionAbout"},
    {CMainFrame::CmdExit, "actionExit"},         {CMainFrame::CmdStatusBar, "actionStatusBar"},
    {CMainFrame::CmdReadCard, "actionReadCard"}, {CMainFrame::CmdLoadDat, "actionLoadDat"},
    {CMainFrame::CmdSettings, "actionSettings"}, {CMainFrame::CmdUndo, "actionUndo"},
    {CMainFrame::CmdRedo, "actionRedo"},         {CMainFrame::CmdUserGuide, "actionUserGuide"},
};

// The keys of Undo and Redo. A text field has its own undo on the same keys; the document's wins (the field's
// text is already stored in the project).
const QList<QKeySequence>& undoKeys() {
    static const QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::Key_Z),
                                          QKeySequence(Qt::ALT | Qt::Key_Backspace)};
    return keys;
}

const QList<QKeySequence>& redoKeys() {
    static const QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    return keys;
}

bool isUndoOrRedoKey(const QKeyEvent* key) {
    const QKeySequence pressed(key->keyCombination());
    return undoKeys().contains(pressed) || redoKeys().contains(pressed);
}

// A menu caption without its keyboard marker, for tool tips.
QString plain(QString caption) {
    return caption.remove(QLatin1Char('&'));
}

} // namespace

CMainFrame::CMainFrame(AppContext& context, QSettings& profile, const EditorImages& images, QWidget* parent)
    : QMainWindow(parent), context_(context), images_(images), recentFiles_(profile),
      central_(new QStackedWidget(this)), emptyArea_(new QWidget(central_)) {
    setObjectName(QStringLiteral("mainFrame"));
    setMinimumSize(MinimumWidth, MinimumHeight);
    emptyArea_->setAutoFillBackground(true);
    emptyArea_->setBackgroundRole(QPalette::Dark);
    central_->addWidget(emptyArea_);
    setCentralWidget(central_);

    buildMenus();
    buildToolBar();
    buildStatusBar();
    statusBar()->setVisible(context_.current.statusBar != 0);
    action(CmdStatusBar)->setChecked(context_.current.statusBar != 0);
    setDocumentState(false);
    refreshTexts();
}

CMainFrame::~CMainFrame() {
    destroyDocument();
}

QString CMainFrame::text(int id) const {
    return QString::fromStdString(context_.texts.text(id));
}

QAction* CMainFrame::makeAction(Command command, QObject* owner) {
    auto* created = new QAction(owner);
    created->setData(static_cast<int>(command));
    for (const CommandName& entry : CommandNames) {
        if (entry.command == command) {
            created->setObjectName(QString::fromLatin1(entry.name));
        }
    }
    actions_[command] = created;
    return created;
}

QAction* CMainFrame::action(Command command) const {
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

QAction* CMainFrame::toolBarAction(Command command) const {
    const auto found = toolActions_.find(command);
    return found == toolActions_.end() ? nullptr : found->second;
}

void CMainFrame::buildMenus() {
    QAction* newAction = makeAction(CmdNew, this);
    newAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(newAction, &QAction::triggered, this, [this] { newDocument(); });
    QAction* openAction = makeAction(CmdOpen, this);
    openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(openAction, &QAction::triggered, this, [this] { openWithChooser(); });
    connect(makeAction(CmdReadCard, this), &QAction::triggered, this, [this] { readFromCard(); });
    connect(makeAction(CmdLoadDat, this), &QAction::triggered, this, [this] { loadFromDat(); });
    connect(makeAction(CmdExit, this), &QAction::triggered, this, &QWidget::close);
    QAction* statusBarAction = makeAction(CmdStatusBar, this);
    statusBarAction->setCheckable(true);
    connect(statusBarAction, &QAction::toggled, this, [this](bool shown) { statusBar()->setVisible(shown); });
    connect(makeAction(CmdSettings, this), &QAction::triggered, this, &CMainFrame::showProgramSettings);
    connect(makeAction(CmdAbout, this), &QAction::triggered, this, &CMainFrame::showAbout);
    connect(makeAction(CmdUserGuide, this), &QAction::triggered, this,
            [this] { CHelpWindow::showTopic(this, QStringLiteral("index")); });
    connect(makeAction(CmdClose, this), &QAction::triggered, this, [this] { closeDocument(); });
    QAction* saveAction = makeAction(CmdSave, this);
    saveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(saveAction, &QAction::triggered, this, [this] { saveDocument(); });
    connect(makeAction(CmdSaveAs, this), &QAction::triggered, this, [this] { saveDocumentAs(); });
    docExit_ = new QAction(this);
    docExit_->setObjectName(QStringLiteral("actionDocumentExit"));
    connect(docExit_, &QAction::triggered, this, &QWidget::close);
    // File > Compare with...: the differences between another project file and the open project.
    auto* compareWith = new QAction(this);
    compareWith->setObjectName(QString::fromLatin1(CompareWithAction));
    connect(compareWith, &QAction::triggered, this, [this] {
        if (!document_) {
            return;
        }
        commitPendingEdit();
        const QString path =
            context_.choosers.openFile(this, text(text::CompareWithTitle), context_.current.lastDir, FileFilter);
        if (path.isEmpty()) {
            return;
        }
        int failure = 0;
        std::vector<Difference> differences =
            CPorownanieDlg::againstFile(document_->project(), path, context_.texts, failure);
        if (failure != 0) {
            context_.prompts.showWarning(this, QDir::toNativeSeparators(path) + QStringLiteral("\n") + text(failure));
            return;
        }
        CPorownanieDlg::showAndOpen(context_, view_, this, std::move(differences), QDir::toNativeSeparators(path),
                                    text(text::ThisProject));
    });
    QAction* undoAction = makeAction(CmdUndo, this);
    undoAction->setShortcuts(undoKeys());
    connect(undoAction, &QAction::triggered, this, [this] { undo(); });
    QAction* redoAction = makeAction(CmdRedo, this);
    redoAction->setShortcuts(redoKeys());
    connect(redoAction, &QAction::triggered, this, [this] { redo(); });
    // The accelerators work whichever menu is shown; each command is enabled only in its own state.
    addActions({newAction, openAction, saveAction, undoAction, redoAction});
    // Undo and Redo keys pressed in a text field reach the document's commands (see eventFilter).
    qApp->installEventFilter(this);

    fileMenu_ = new QMenu(this);
    fileMenu_->addActions({newAction, openAction, action(CmdReadCard), action(CmdLoadDat)});
    fileMenu_->addSeparator();
    recentPlaceholder_ = fileMenu_->addAction(QString());
    recentPlaceholder_->setEnabled(false);
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        recentActions_[i] = fileMenu_->addAction(QString());
        recentActions_[i]->setObjectName(QStringLiteral("actionRecentFile%1").arg(i + 1));
        connect(recentActions_[i], &QAction::triggered, this, [this, i] {
            const QString path = recentActions_[i]->data().toString();
            if (!openDocument(path) && !QFileInfo::exists(path)) {
                recentFiles_.remove(path);
                rebuildRecentFiles();
            }
        });
    }
    fileMenu_->addSeparator();
    fileMenu_->addAction(action(CmdExit));
    viewMenu_ = new QMenu(this);
    viewMenu_->addAction(statusBarAction);
    toolsMenu_ = new QMenu(this);
    toolsMenu_->addAction(action(CmdSettings));
    helpMenu_ = new QMenu(this);
    helpMenu_->addActions({action(CmdUserGuide), action(CmdAbout)});

    docFileMenu_ = new QMenu(this);
    docFileMenu_->addActions({action(CmdClose), saveAction, action(CmdSaveAs), compareWith});
    docFileMenu_->addSeparator();
    docFileMenu_->addAction(docExit_);
    docEditMenu_ = new QMenu(this);
    docEditMenu_->addActions({undoAction, redoAction});
    docViewMenu_ = new QMenu(this);
    docViewMenu_->addAction(statusBarAction);
    docToolsMenu_ = new QMenu(this);
    docToolsMenu_->addAction(action(CmdSettings));
    docHelpMenu_ = new QMenu(this);
    docHelpMenu_->addActions({action(CmdUserGuide), action(CmdAbout)});
    rebuildRecentFiles();
}

void CMainFrame::buildToolBar() {
    toolBar_ = addToolBar(QString());
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setMovable(false);
    toolBar_->setIconSize(QSize(IconStrip::Size, IconStrip::Size));
    for (const ToolButton& button : ToolButtons) {
        if (button.command == 0) {
            cardSeparator_ = toolBar_->addSeparator();
            continue;
        }
        auto* tool = new QAction(images_.toolBar.icon(button.icon), QString(), toolBar_);
        tool->setObjectName(QString::fromLatin1(button.name));
        connect(tool, &QAction::triggered, action(static_cast<Command>(button.command)), &QAction::trigger);
        toolActions_[button.command] = tool;
        toolBar_->addAction(tool);
    }
    driveList_ = createDriveList(context_, toolBar_);
    driveList_->setObjectName(QStringLiteral("driveList"));
    driveList_->setFixedWidth(DriveListWidth);
    driveList_->setFont(toolBar_->font());
    driveList_->installEventFilter(this);
    driveListAction_ = toolBar_->addWidget(driveList_);
}

void CMainFrame::buildStatusBar() {
    for (QLabel*& pane : panes_) {
        pane = new QLabel(this);
        pane->setMinimumWidth(110);
        statusBar()->addPermanentWidget(pane);
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // A text field asks to keep Undo and Redo for itself (its own undo); in this window the document's commands
    // take them instead, so one Ctrl+Z undoes the last step whatever has the focus.
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this && isUndoOrRedoKey(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    // Read from card follows the drive list: usable only while the list is.
    if (watched == driveList_ && event->type() == QEvent::EnabledChange) {
        const bool usable = driveList_->isEnabled() && !document_;
        action(CmdReadCard)->setEnabled(usable);
        toolBarAction(CmdReadCard)->setEnabled(usable);
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        CDataPage* page = view_ ? view_->currentPage() : nullptr;
        CHelpWindow::showTopic(this, page ? page->helpTopic() : QStringLiteral("index"));
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void CMainFrame::refreshTexts() {
    for (const CommandText& entry : CommandTexts) {
        action(entry.command)->setText(text(entry.text));
        if (QAction* tool = toolBarAction(entry.command)) {
            tool->setText(plain(text(entry.text)));
            tool->setToolTip(plain(text(entry.text)));
        }
    }
    docExit_->setText(text(text::DocumentExit));
    if (auto* compareWith = findChild<QAction*>(QString::fromLatin1(CompareWithAction))) {
        compareWith->setText(text(text::CompareWith));
    }
    fileMenu_->setTitle(text(text::FileMenu));
    viewMenu_->setTitle(text(text::ViewMenu));
    toolsMenu_->setTitle(text(text::ToolsMenu));
    helpMenu_->setTitle(text(text::HelpMenu));
    docFileMenu_->setTitle(text(text::FileMenu));
    docEditMenu_->setTitle(text(text::EditMenu));
    docViewMenu_->setTitle(text(text::DocumentViewMenu));
    docToolsMenu_->setTitle(text(text::DocumentToolsMenu));
    docHelpMenu_->setTitle(text(text::DocumentHelpMenu));
    recentPlaceholder_->setText(text(text::RecentFiles));
    if (document_) {
        document_->refreshTexts();
    }
    updateUndoActions();
    updateTitle();
}

// Undo and Redo name the step they would take ("Undo chime 5 name") and are usable only when there is one.
void CMainFrame::updateUndoActions() {
    const bool canUndo = document_ && document_->canUndo();
    const bool canRedo = document_ && document_->canRedo();
    const QString undoStep = document_ ? document_->undoCaption() : QString();
    const QString redoStep = document_ ? document_->redoCaption() : QString();
    const auto caption = [this](int alone, int withStep, const QString& step) {
        return step.isEmpty() ? text(alone)
                              : QString::fromStdString(formatText(context_.texts.text(withStep), {step.toStdString()}));
    };
    const std::pair<Command, QString> captions[] = {{CmdUndo, caption(text::Undo, text::UndoStep, undoStep)},
                                                    {CmdRedo, caption(text::Redo, text::RedoStep, redoStep)}};
    for (const auto& [command, shown] : captions) {
        action(command)->setText(shown);
        action(command)->setEnabled(command == CmdUndo ? canUndo : canRedo);
        if (QAction* tool = toolBarAction(command)) {
            tool->setText(plain(shown));
            tool->setToolTip(plain(shown));
            tool->setEnabled(command == CmdUndo ? canUndo : canRedo);
        }
    }
}

void CMainFrame::rebuildRecentFiles() {
    const QStringList files = recentFiles_.files();
    recentPlaceholder_->setVisible(files.isEmpty());
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        const bool used = static_cast<qsizetype>(i) < files.size();
        recentActions_[i]->setVisible(used);
        if (used) {
            const QString& path = files.at(static_cast<qsizetype>(i));
            recentActions_[i]->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
            recentActions_[i]->setData(path);
        }
    }
}

void CMainFrame::setDocumentState(bool open) {
    menuBar()->clear();
    if (open) {
        menuBar()->addMenu(docFileMenu_);
        menuBar()->addMenu(docEditMenu_);
        menuBar()->addMenu(docViewMenu_);
        menuBar()->addMenu(docToolsMenu_);
        menuBar()->addMenu(docHelpMenu_);
    } else {
        menuBar()->addMenu(fileMenu_);
        menuBar()->addMenu(viewMenu_);
        menuBar()->addMenu(toolsMenu_);
        menuBar()->addMenu(helpMenu_);
    }
    // One project at a time: New, Open and the card commands wait until it is closed.
    for (Command command : {CmdNew, CmdOpen, CmdLoadDat}) {
        action(command)->setEnabled(!open);
    }
    const bool cardUsable = !open && driveList_->isEnabled();
    action(CmdReadCard)->setEnabled(cardUsable);
    toolBarAction(CmdReadCard)->setEnabled(cardUsable);
    for (Command command : {CmdClose, CmdSave, CmdSaveAs}) {
        action(command)->setEnabled(open);
    }
    for (Command command : {CmdNew, CmdOpen, CmdReadCard}) {
        toolBarAction(command)->setVisible(!open);
    }
    driveListAction_->setVisible(!open);
    cardSeparator_->setVisible(!open);
    toolBarAction(CmdClose)->setVisible(open);
    toolBarAction(CmdSave)->setEnabled(open);
    toolBarAction(CmdUndo)->setVisible(open);
    toolBarAction(CmdRedo)->setVisible(open);
    updateUndoActions();
}

QString CMainFrame::statusPane(int pane) const {
    return panes_.at(static_cast<std::size_t>(pane))->text();
}

void CMainFrame::showIdentity() {
    if (!document_) {
        for (QLabel* pane : panes_) {
            pane->clear();
        }
        return;
    }
    const std::array<std::string, 3> texts = document_->project().identityTexts();
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        panes_[i]->setText(QString::fromStdString(texts[i]));
    }
}

// "Tolvane - tower.tpm*": the file's name, and a star while the project differs from it.
void CMainFrame::updateTitle() {
    QString title = text(text::MessageCaption);
    if (document_ && !document_->path().isEmpty()) {
        title += QStringLiteral(" - ") + QFileInfo(document_->path()).fileName();
    }
    if (document_) {
        title += QStringLiteral("[*]");
    }
    setWindowTitle(title);
    setWindowModified(document_ && document_->isModified());
}

void CMainFrame::commitPendingEdit() {
    if (view_) {
        view_->commitPendingEdit();
    }
}

bool CMainFrame::undo() {
    return takeStep(true);
}

bool CMainFrame::redo() {
    return takeStep(false);
}

bool CMainFrame::takeStep(bool back) {
    if (!document_ || (back ? !document_->canUndo() : !document_->canRedo())) {
        return false;
    }
    commitPendingEdit();
    if (back) {
        document_->undo();
    } else {
        document_->redo();
    }
    return true;
}

void CMainFrame::writeSettings() {
    context_.settings.write(context_.current);
}

bool CMainFrame::newDocument(Source source, const QString& cardRoot) {
    if (document_) {
        return false;
    }
    auto document = std::make_unique<CTarvelinDoc>(&context_.texts);
    document->applyLanguageDefaults(context_.current.lastLang, context_.paths);
    QString folder;
    document->setStartSource(source == Source::Card, source == Source::Dat);
    if (source == Source::Card) {
        // A root named on the command line is read even when the drive list does not show it.
        folder = cardRoot.isEmpty() ? selectedCardRoot() : cardRoot;
    } else if (source == Source::Dat) {
        folder = context_.current.lastDatDir;
    }
    showDocument(std::move(document), folder, source == Source::Dat);
    return true;
}

void CMainFrame::showDocument(std::unique_ptr<CTarvelinDoc> document, const QString& cardFolder, bool fromDat) {
    document_ = std::move(document);
    documentFromDat_ = fromDat;
    view_ = new CTarvelinView(context_, *document_, images_.tree, images_.header, central_);
    connect(view_, &CTarvelinView::identityChanged, this, &CMainFrame::showIdentity);
    connect(document_.get(), &CTarvelinDoc::projectReplaced, this, &CMainFrame::updateTitle);
    connect(document_.get(), &CTarvelinDoc::modifiedChanged, this, [this] {
        updateTitle();
        updateUndoActions();
    });
    connect(document_->undoStack(), &QUndoStack::indexChanged, this, &CMainFrame::updateUndoActions);
    central_->addWidget(view_);
    central_->setCurrentWidget(view_);
    // A project started from a DAT folder exchanges its files with that folder instead of a card.
    if (auto* cardPage = qobject_cast<CPropWymiana*>(view_->page(PageId::Wymiana))) {
        cardPage->setDatMode(fromDat, fromDat ? context_.current.lastDatDir : QString());
    }
    setDocumentState(true);
    updateTitle();
    const bool fromCardFiles = document_->startedFromCard() || document_->startedFromDat();
    document_->setStartSource(false, false);
    view_->initialUpdate(fromCardFiles, cardFolder);
    updateTitle();
    updateUndoActions();
}

void CMainFrame::destroyDocument() {
    if (view_) {
        central_->removeWidget(view_);
        delete view_;
        view_ = nullptr;
    }
    document_.reset();
    documentFromDat_ = false;
    setDocumentState(false);
    showIdentity();
    updateTitle();
}

bool CMainFrame::openDocument(const QString& path) {
    if (document_) {
        return false;
    }
    auto document = std::make_unique<CTarvelinDoc>(&context_.texts);
    QString systemError;
    const int refusal = document->open(path, &systemError);
    if (refusal != 0) {
        const QString message =
            systemError.isEmpty() ? text(refusal) : QDir::toNativeSeparators(path) + QStringLiteral("\n") + systemError;
        context_.prompts.showMessage(this, message);
        return false;
    }
    recentFiles_.add(path);
    rebuildRecentFiles();
    // A file that ended before all its sections (cut short, or older) opens, but the user is told before anything
    // is written from it; the report names the sections.
    const int missing = std::popcount(document->project().sectionsMissingFromFile);
    showDocument(std::move(document), QString(), false);
    if (missing > 0) {
        context_.prompts.showWarning(this, QDir::toNativeSeparators(path) + QStringLiteral("\n") +
                                               QString::fromStdString(formatText(
                                                   context_.texts.text(text::SectionsMissing), {TextArg{missing}})));
    }
    return true;
}

bool CMainFrame::openWithChooser() {
    if (document_) {
        return false;
    }
    const QString path = context_.choosers.openFile(this, text(text::OpenTitle), context_.current.lastDir, FileFilter);
    if (path.isEmpty()) {
        return false;
    }
    context_.current.lastDir = QFileInfo(path).absolutePath();
    writeSettings();
    return openDocument(path);
}

bool CMainFrame::saveDocument() {
    if (!document_) {
        return false;
    }
    commitPendingEdit();
    if (document_->path().isEmpty()) {
        return saveDocumentAs();
    }
    const QString error = document_->save(document_->path());
    if (!error.isEmpty()) {
        context_.prompts.showWarning(this, QDir::toNativeSeparators(document_->path()) + QStringLiteral("\n") + error);
        return false;
    }
    return true;
}

bool CMainFrame::saveDocumentAs() {
    if (!document_) {
        return false;
    }
    commitPendingEdit();
    QString start = document_->path();
    if (start.isEmpty() && !context_.current.lastDir.isEmpty()) {
        start = context_.current.lastDir;
    }
    QString path = context_.choosers.saveFile(this, plain(text(text::SaveAs)), start, FileFilter);
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".tpm");
    }
    const QString error = document_->save(path);
    if (!error.isEmpty()) {
        context_.prompts.showWarning(this, QDir::toNativeSeparators(path) + QStringLiteral("\n") + error);
        return false;
    }
    recentFiles_.add(path);
    rebuildRecentFiles();
    updateTitle();
    return true;
}

bool CMainFrame::closeDocument() {
    if (!document_) {
        return false;
    }
    context_.current.statusBar = statusBar()->isHidden() ? 0 : 1;
    commitPendingEdit();
    if (document_->isModified() && !(askToSave() && askToWriteBack())) {
        return false;
    }
    document_->discardChanges();
    writeSettings();
    destroyDocument();
    return true;
}

bool CMainFrame::readFromCard() {
    if (document_ || !driveList_->isEnabled()) {
        return false;
    }
    return newDocument(Source::Card);
}

bool CMainFrame::loadFromDat() {
    if (document_) {
        return false;
    }
    const QString folder = context_.choosers.folder(this, QString(), context_.current.lastDatDir);
    if (folder.isEmpty()) {
        return false;
    }
    context_.current.lastDatDir = launch::withTrailingSeparator(folder, QLatin1Char('/'));
    writeSettings();
    return newDocument(Source::Dat);
}

bool CMainFrame::canExit() {
    context_.current.statusBar = statusBar()->isHidden() ? 0 : 1;
    commitPendingEdit();
    if (document_ && document_->isModified() && !(askToSave() && askToWriteBack())) {
        return false;
    }
    if (document_) {
        document_->discardChanges();
    }
    writeSettings();
    return true;
}

// The save question: true when the exit may go on (saved, or the changes given up).
bool CMainFrame::askToSave() {
    switch (context_.prompts.ask(this, text(text::SaveChanges), PromptService::Buttons::YesNoCancel,
                                 PromptService::Icon::Question)) {
    case PromptService::Answer::Yes:
        return saveDocument();
    case PromptService::Answer::No:
        return true;
    default:
        return false;
    }
}

// The write-back question: true when the exit may go on. A write that fails keeps the editor open, so the project
// is not lost with a card that was not written.
bool CMainFrame::askToWriteBack() {
    const int question = documentFromDat_ ? text::WriteBackToDat : text::WriteBackToCard;
    switch (context_.prompts.ask(this, text(question), PromptService::Buttons::YesNoCancel,
                                 PromptService::Icon::Question)) {
    case PromptService::Answer::Yes:
        break;
    case PromptService::Answer::No:
        return true;
    default:
        return false;
    }
    CardExchange cards(context_, *document_);
    const std::vector<card::FileKind> kinds = cards.writeBackKinds();
    if (kinds.empty()) {
        return true;
    }
    const QString folder = documentFromDat_ ? context_.current.lastDatDir : selectedCardRoot();
    if (folder.isEmpty()) {
        context_.prompts.showWarning(this, text(text::CardWriteFailed));
        return false;
    }
    for (const card::WriteResult& result : cards.write(kinds, folder)) {
        if (!result.ok) {
            context_.prompts.showWarning(this, cardWriteMessage(context_.texts, result));
            if (result.text == text::CriticalErrors) {
                view_->showPage(PageId::Raport);
            }
            return false;
        }
    }
    context_.prompts.showMessage(this, text(text::CardFileWritten));
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!canExit()) {
        event->ignore();
        return;
    }
    destroyDocument();
    event->accept();
}

bool CMainFrame::selectCardDrive(const QString& root) {
    if (auto* cards = qobject_cast<CRemoveDirCombo*>(driveList_)) {
        cards->refresh();
    }
    // Roots compare without their trailing separator and, as drive letters do, without regard to case.
    const auto bare = [](const QString& path) { return QDir::cleanPath(QDir::fromNativeSeparators(path)); };
    for (int i = 0; i < driveList_->count(); ++i) {
        const QString itemRoot = driveList_->itemData(i).toString();
        if (bare(itemRoot.isEmpty() ? driveList_->itemText(i) : itemRoot).compare(bare(root), Qt::CaseInsensitive) ==
            0) {
            driveList_->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

QString CMainFrame::selectedCardRoot() const {
    if (driveList_->currentIndex() < 0) {
        return {};
    }
    const QString root = driveList_->currentData().toString();
    return root.isEmpty() ? driveList_->currentText() : root;
}

void CMainFrame::showProgramSettings() {
    CProgramSet dialog(
        context_, [this] { applyLanguage(); }, this);
    context_.dialogs.run(dialog);
}

void CMainFrame::showAbout() {
    CAboutDlg dialog(context_, this);
    dialog.exec();
}

bool CMainFrame::applyLanguage() {
    const QString previous = context_.texts.name();
    const QString wanted = context_.settings.read().lastLang;
    // Try the catalog aside first: a refused one must not take the texts of the running editor with it.
    Languages trial(context_.texts.languageFolder());
    const LanguageChoice tried = trial.setLanguage(wanted);
    if (!tried.ok) {
        if (!tried.message.isEmpty()) {
            context_.prompts.showMessage(this, tried.message);
        }
        // The editor ends as it does when the language cannot be loaded, but the project is offered for saving
        // first, and the language that works stays in the settings so that the next start succeeds.
        context_.current.lastLang = previous;
        writeSettings();
        close();
        return false;
    }
    const LanguageChoice choice = context_.texts.setLanguage(wanted);
    context_.current.lastLang = wanted;
    if (choice.usedFallback) {
        writeSettings();
    }
    refreshTexts();
    if (view_) {
        view_->refreshTexts();
        view_->reloadPages();
    }
    return true;
}

} // namespace tolvane
