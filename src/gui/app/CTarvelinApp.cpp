#include "gui/app/CTarvelinApp.h"

#include "gui/app/CMainFrame.h"
#include "gui/app/CSplash.h"
#include "gui/widgets/CHelpWindow.h"
#include "platform/CardBackups.h"

#include <QDir>
#include <QSettings>

namespace tolvane {

namespace {
QString withSlash(QString folder) {
    return launch::withTrailingSeparator(QDir::fromNativeSeparators(folder), QLatin1Char('/'));
}
} // namespace

CTarvelinApp::CTarvelinApp(QSettings& settings, Languages& texts, PromptService& prompts, ChooserService& choosers,
                           ProgramStarter& starter, const QString& programFolder, const QString& tempFolder)
    : profile_(settings), store_(settings), languages_(texts),
      context_(std::make_unique<AppContext>(AppContext{languages_, prompts, choosers, dialogs_, store_, current_,
                                                       AppPaths(programFolder), starter, withSlash(tempFolder),
                                                       CardBackups::defaultRoot()})) {}

CTarvelinApp::~CTarvelinApp() = default;

bool CTarvelinApp::start(const QString& parameters, bool showSplash) {
    // Program folder, icons and temporary folder are known; now the settings and the language.
    const AppPaths& paths = context_->paths;
    treeIcons_ = IconStrip(paths.dataFile(QStringLiteral("Gfx/icons.png")));
    headerIcons_ = IconStrip(paths.dataFile(QStringLiteral("Gfx/header.png")));
    toolBarIcons_ = IconStrip(paths.dataFile(QStringLiteral("Gfx/toolbar.png")));
    current_ = store_.read();

    const LanguageChoice language = languages_.setLanguage(current_.lastLang);
    if (!language.message.isEmpty()) {
        context_->prompts.showMessage(nullptr, language.message);
    }
    if (!language.ok) {
        return false;
    }
    if (language.usedFallback) {
        store_.write(current_);
    }
    // F1 shows the guide in the language chosen now, also after a change in the program settings.
    CHelpWindow::configure(paths.helpFolder(), [this] { return languages_.name(); }, &languages_);

    if (showSplash) {
        CSplash splash(paths.dataFile(QStringLiteral("Gfx/splash.png")), Version);
        splash.exec();
    }

    frame_ = std::make_unique<CMainFrame>(*context_, profile_, EditorImages{treeIcons_, headerIcons_, toolBarIcons_});
    if (!runCommand(launch::editorRequestFromArgument(parameters))) {
        return false;
    }
    frame_->showMaximized();
    return true;
}

bool CTarvelinApp::runCommand(const launch::EditorRequest& request) {
    switch (request.command) {
    case launch::EditorCommand::Open:
        return frame_->openDocument(request.argument);
    case launch::EditorCommand::New:
        frame_->newDocument();
        return true;
    case launch::EditorCommand::Dat:
        current_.lastDatDir = request.argument;
        store_.write(current_);
        frame_->newDocument(CMainFrame::Source::Dat);
        return true;
    case launch::EditorCommand::Card:
        frame_->selectCardDrive(request.argument);
        frame_->newDocument(CMainFrame::Source::Card, request.argument);
        return true;
    case launch::EditorCommand::Nothing:
        return true;
    }
    return true;
}

} // namespace tolvane
