#pragma once

#include "project/ProjectData.h"
#include "project/SectionSet.h"
#include "project/TextFormat.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QUndoStack;

namespace tolvane {

class AppPaths;
class EditStep;
class TextSource;

// What one edit touched: the section, the record (-1 for the section as a whole) and a field number of the page's
// own choosing. Consecutive edits with the same key are one undo step (typing a name letter by letter).
struct EditKey {
    SectionId section = SectionId::General;
    int record = -1;
    int field = 0;

    friend bool operator==(const EditKey&, const EditKey&) = default;
};

// What one edit, undo or redo did: the key the edit gave, every section whose values differ afterwards, and the
// object that asked for the edit (null for an undo or redo), so that the page that made an edit, which already
// shows it, can leave itself alone.
struct ProjectChange {
    EditKey key;
    SectionSet sections;
    const QObject* origin = nullptr;
};

// The caption of an undo step: a catalog text and its arguments, filled in the current language whenever the
// captions are shown, so that a language change re-texts the history too.
struct EditLabel {
    int text = 0;
    std::vector<TextArg> args;
};

// The one open project, and the only place where it is changed. Pages see the project read-only and change it
// through edit(): the document runs the change, compares the project with its last committed state, keeps what
// differs as one step of its undo history and tells the view. "Modified" means: the history is not where the
// project was last saved, or some value carries a change mark (a card read, an undo past a card write).
class CTarvelinDoc : public QObject {
    Q_OBJECT
public:
    explicit CTarvelinDoc(const TextSource* texts, QObject* parent = nullptr);
    ~CTarvelinDoc() override;

    const ProjectData& project() const { return *project_; }
    // The project's path; empty for a project that has never been saved.
    QString path() const { return path_; }
    bool isModified() const;

    // One complete user action. `change` does the work on the project; everything it changed becomes one undo
    // step captioned `label` (merged into the step before when that has the same key and nothing came between).
    // Returns whether the project changed. A change that only moved change marks makes no step.
    // `origin` is handed on in the change signal (the page that edits).
    bool edit(const EditLabel& label, const EditKey& key, const std::function<void(ProjectData&)>& change,
              const QObject* origin = nullptr);
    // The last step moved the record it names (its list was put in order again): a redo shows the record where it
    // went, an undo where the edit began.
    void moveLastStepRecord(int record);
    // A change that only clears change marks (a card file written): taken as it is, without an undo step.
    void changeMarks(const std::function<void(ProjectData&)>& change);
    // The next edit starts a new step even with the same key (the user left the field or chose another record).
    // Ignored while the pages read a change (a page whose list is filled again has not been left by the user).
    void endEditBurst() {
        if (!following_) {
            ++burst_;
        }
    }

    QUndoStack* undoStack() const { return undoStack_; }
    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();
    // The caption of the step that undo or redo would take, in the current language; empty when there is none.
    QString undoCaption() const;
    QString redoCaption() const;
    // The user gave the changes up (the exit check's No): nothing counts as modified any more.
    void discardChanges();
    // An empty history, the project as it is taken as committed (a new project, a card read whole at start).
    void resetHistory();
    // Fills the captions of every step again in the current language.
    void refreshTexts();

    // Defaults of a new project that follow the program's language: the holiday table from the language's seed
    // file (when it exists) and the controller's language. Part of creating the project: no undo step.
    void applyLanguageDefaults(const QString& language, const AppPaths& paths);
    // A change that begins the project's history anew (the card files read whole when the editor starts from a
    // card or a folder of them): no undo step, an empty history, and the pages reload.
    void changeAndRestart(const std::function<void(ProjectData&)>& change);

    // Reads a project file. On success the project is replaced and 0 returned; otherwise the project stays as it
    // was and the number of the text that says why is returned (`systemError` holds the operating system's wording
    // when the file could not be read at all).
    int open(const QString& path, QString* systemError = nullptr);
    // Writes the project file whole or not at all; clears every change mark and marks the history saved on
    // success. Empty string on success, otherwise the operating system's wording.
    QString save(const QString& path);

    // The order each dated schedule list is kept in (weekly, holiday-day, annual, one-time): the time at first,
    // then the column its page sorted by last. Opening a project and reading programs from a card put the lists in
    // these orders, so that showing a page never reorders the project.
    SortKey listOrder(int kind) const;
    void setListOrder(int kind, SortKey key);
    const std::array<SortKey, 4>& listOrders() const { return listOrders_; }

    // Whether the document was started from a card or a folder of card files: set before the view reads them,
    // cleared once it has.
    bool startedFromCard() const { return startedFromCard_; }
    bool startedFromDat() const { return startedFromDat_; }
    void setStartSource(bool fromCard, bool fromDat) {
        startedFromCard_ = fromCard;
        startedFromDat_ = fromDat;
    }

signals:
    // The first word on every edit, undo and redo: the pages that show one of the sections it touched read the
    // project again (CDataPage::followChange), before anything else hears of it.
    void contentChanged(const tolvane::ProjectChange& change);
    // After an edit: `change` names what it touched and which sections differ now.
    void projectChanged(const tolvane::ProjectChange& change);
    // After an undo or redo: what the step had touched is as it was (or is again).
    void projectRestored(const tolvane::ProjectChange& change);
    // Only change marks moved (a save, a card write): highlighting is repainted.
    void marksChanged();
    // The whole project was replaced (a file opened).
    void projectReplaced();
    // isModified() may have changed.
    void modifiedChanged();

private:
    friend class EditStep;
    using States = std::array<SectionState, SectionIdCount>;

    void commitAll();
    // Applies one step backward (undo) or forward (redo) to the project.
    void applyStep(const EditStep& step, bool backward);
    void applyParts(const EditStep& step, bool backward);
    void takeStep(bool back);
    void restartIfBroken();
    // Tells the pages (contentChanged), then everyone else (`then`, projectChanged or projectRestored).
    void announce(const ProjectChange& change, void (CTarvelinDoc::*then)(const ProjectChange&));
    QString caption(const EditLabel& label) const;

    const TextSource* texts_;
    std::unique_ptr<ProjectData> project_;
    QString path_;
    QUndoStack* undoStack_;
    States committed_;
    int burst_ = 0;
    bool following_ = false;
    bool historyBroken_ = false;
    std::array<SortKey, 4> listOrders_{SortKey::Time, SortKey::Time, SortKey::Time, SortKey::Time};
    bool startedFromCard_ = false;
    bool startedFromDat_ = false;
};

} // namespace tolvane

Q_DECLARE_METATYPE(tolvane::EditKey)
Q_DECLARE_METATYPE(tolvane::ProjectChange)
