#pragma once

#include "gui/app/RecentFileList.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <map>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QSettings;
class QStackedWidget;
class QToolBar;

namespace tolvane {

class CTarvelinDoc;
class CTarvelinView;
class IconStrip;
struct AppContext;

// The editor's images: the tree's icons, the page headers' icons and the tool bar's buttons.
struct EditorImages {
    const IconStrip& tree;
    const IconStrip& header;
    const IconStrip& toolBar;
};

// The editor's main window. It holds at most one project: without one it shows an empty workspace, the menu
// without a document and, on the tool bar, New, Open, Read from card and the removable-drive list; with one it
// shows the project's view, the document menu and the Close button. Every caption comes from the language
// catalog. Closing the window runs the exit check.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Commands, by the numbers their menu entries carry.
    enum Command : int {
        CmdNew = 57600,
        CmdOpen = 57601,
        CmdClose = 57602,
        CmdSave = 57603,
        CmdSaveAs = 57604,
        CmdAbout = 57664,
        CmdExit = 57665,
        CmdStatusBar = 59393,
        CmdReadCard = 32783,
        CmdLoadDat = 32788,
        CmdSettings = 32779,
        CmdUndo = 57643,
        CmdRedo = 57644,
        CmdUserGuide = 57667,
    };
    // What a new document starts from.
    enum class Source { Empty, Card, Dat };

    static constexpr int MinimumWidth = 920;
    static constexpr int MinimumHeight = 600;
    static constexpr int DriveListWidth = 205;
    static inline const QString FileFilter = QStringLiteral("Tolvane Files (*.tpm)");

    CMainFrame(AppContext& context, QSettings& profile, const EditorImages& images, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CTarvelinDoc* document() const { return document_.get(); }
    CTarvelinView* view() const { return view_; }

    // The File commands. Each returns whether it did what it was asked.
    bool newDocument(Source source = Source::Empty, const QString& cardRoot = QString());
    bool openDocument(const QString& path);
    bool openWithChooser();
    bool saveDocument();
    bool saveDocumentAs();
    bool closeDocument();
    // Edit menu: the field being typed in stores its value first, then the last step is undone or redone.
    bool undo();
    bool redo();
    bool readFromCard();
    bool loadFromDat();
    // The exit check: false when the user chose to stay.
    bool canExit();

    void showProgramSettings();
    void showAbout();
    // Loads the language named by the stored "LastLang" and re-texts the window, the tree and every page.
    bool applyLanguage();
    // Every caption of both menus and the tool bar in the current language.
    void refreshTexts();

    // Refreshes the drive list and selects the entry of this root; false when the list has none.
    bool selectCardDrive(const QString& root);
    QString selectedCardRoot() const;

    QAction* action(Command command) const;
    QToolBar* toolBar() const { return toolBar_; }
    QComboBox* driveList() const { return driveList_; }
    QAction* toolBarAction(Command command) const;
    QAction* driveListAction() const { return driveListAction_; }
    QString statusPane(int pane) const;
    QMenuBar* menus() const { return menuBar(); }
    RecentFileList& recentFiles() { return recentFiles_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // F1 outside a page (the tree, the empty window): the section of the page shown, else the guide's contents.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QAction* makeAction(Command command, QObject* owner);
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void rebuildRecentFiles();
    void setDocumentState(bool open);
    void showDocument(std::unique_ptr<CTarvelinDoc> document, const QString& cardFolder, bool fromDat);
    void destroyDocument();
    bool askToSave();
    bool askToWriteBack();
    void showIdentity();
    void updateTitle();
    void updateUndoActions();
    void commitPendingEdit();
    bool takeStep(bool back);
    void writeSettings();
    QString text(int id) const;

    AppContext& context_;
    EditorImages images_;
    RecentFileList recentFiles_;
    std::unique_ptr<CTarvelinDoc> document_;
    CTarvelinView* view_ = nullptr;
    QStackedWidget* central_;
    QWidget* emptyArea_;
    // Whether the open document was started from a folder of card files: the exit check then offers to write it
    // back to that folder.
    bool documentFromDat_ = false;

    std::map<int, QAction*> actions_;
    std::map<int, QAction*> toolActions_;
    QAction* recentPlaceholder_ = nullptr;
    std::array<QAction*, RecentFileList::Capacity> recentActions_{};
    QMenu* fileMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QMenu* docFileMenu_ = nullptr;
    QMenu* docEditMenu_ = nullptr;
    QMenu* docViewMenu_ = nullptr;
    QMenu* docToolsMenu_ = nullptr;
    QMenu* docHelpMenu_ = nullptr;
    QAction* docExit_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QComboBox* driveList_ = nullptr;
    QAction* driveListAction_ = nullptr;
    QAction* cardSeparator_ = nullptr; // before Read from card: hidden with it
    std::array<QLabel*, 3> panes_{};
};

} // namespace tolvane
