#include "gui/app/CTarvelinDoc.h"

#include "TextNumbers.h"
#include "platform/AppPaths.h"
#include "platform/HolidayFile.h"
#include "platform/SafeFile.h"
#include "project/ProjectFile.h"
#include "project/StateDiff.h"

#include <QFileInfo>
#include <QUndoCommand>
#include <QUndoStack>

#include <span>
#include <stdexcept>
#include <utility>

namespace tolvane {

// One step of the history: for every part of the project that an edit changed, the bytes that differ before and
// after it. The step is pushed after the change was made, so its first redo does nothing.
class EditStep : public QUndoCommand {
public:
    static constexpr int MergeId = 1;

    struct Part {
        SectionId id;
        StateDiff diff;
    };

    EditStep(CTarvelinDoc& document, EditLabel label, const EditKey& key, int burst, std::vector<Part> parts)
        : document_(document), label_(std::move(label)), key_(key), burst_(burst), parts_(std::move(parts)) {
        setText(document_.caption(label_));
    }

    const EditKey& key() const { return key_; }
    // Where the step's record is once the step is done, when the step moved it (-1: where it began).
    int recordAfter() const { return recordAfter_; }
    void setRecordAfter(int record) { recordAfter_ = record; }
    const std::vector<Part>& parts() const { return parts_; }
    void retext() { setText(document_.caption(label_)); }

    int id() const override { return MergeId; }

    void undo() override { document_.applyStep(*this, true); }
    void redo() override {
        if (pushed_) {
            pushed_ = false;
            return;
        }
        document_.applyStep(*this, false);
    }

    // A later keystroke in the same field joins this step: the parts are rebuilt as the change from before this
    // step to the project as it is now. A step left with no change of content (a letter typed and deleted again)
    // is dropped from the history.
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = dynamic_cast<const EditStep*>(other);
        if (!next || next->key_ != key_ || next->burst_ != burst_ || next->label_.text != label_.text) {
            return false;
        }
        std::vector<Part> merged;
        bool contentChanged = false;
        for (int i = 0; i < SectionIdCount; ++i) {
            const auto id = static_cast<SectionId>(i);
            const Part* mine = find(id);
            const Part* theirs = next->find(id);
            if (!mine && !theirs) {
                continue;
            }
            const SectionState& now = document_.committed_[static_cast<std::size_t>(i)];
            SectionState before = now;
            for (const Part* part : {theirs, mine}) {
                if (part) {
                    before = {part->diff.content.backward(before.content), part->diff.marks.backward(before.marks)};
                }
            }
            StateDiff diff = StateDiff::between(before, now);
            if (!diff.empty()) {
                contentChanged = contentChanged || !diff.content.empty();
                merged.push_back({id, std::move(diff)});
            }
        }
        parts_ = std::move(merged);
        label_ = next->label_;
        retext();
        setObsolete(!contentChanged);
        return true;
    }

private:
    const Part* find(SectionId id) const {
        for (const Part& part : parts_) {
            if (part.id == id) {
                return &part;
            }
        }
        return nullptr;
    }

    CTarvelinDoc& document_;
    EditLabel label_;
    EditKey key_;
    int burst_;
    std::vector<Part> parts_;
    int recordAfter_ = -1;
    bool pushed_ = true;
};

CTarvelinDoc::CTarvelinDoc(const TextSource* texts, QObject* parent)
    : QObject(parent), texts_(texts), project_(std::make_unique<ProjectData>()), undoStack_(new QUndoStack(this)) {
    project_->setTextSource(texts_);
    commitAll();
    connect(undoStack_, &QUndoStack::cleanChanged, this, &CTarvelinDoc::modifiedChanged);
}

CTarvelinDoc::~CTarvelinDoc() {
    // The steps refer to this document: they go before its members do.
    delete undoStack_;
}

bool CTarvelinDoc::isModified() const {
    return !undoStack_->isClean() || project_->isModifiedAll();
}

void CTarvelinDoc::commitAll() {
    for (int i = 0; i < SectionIdCount; ++i) {
        committed_[static_cast<std::size_t>(i)] = project_->state(static_cast<SectionId>(i));
    }
}

QString CTarvelinDoc::caption(const EditLabel& label) const {
    const std::string format = texts_ ? texts_->text(label.text) : std::string("---");
    return QString::fromStdString(formatText(format, std::span<const TextArg>(label.args)));
}

bool CTarvelinDoc::edit(const EditLabel& label, const EditKey& key, const std::function<void(ProjectData&)>& change,
                        const QObject* origin) {
    change(*project_);
    std::vector<EditStep::Part> parts;
    bool contentChanged = false;
    ProjectChange told{key, {}, origin};
    for (int i = 0; i < SectionIdCount; ++i) {
        SectionState now = project_->state(static_cast<SectionId>(i));
        SectionState& committed = committed_[static_cast<std::size_t>(i)];
        if (now == committed) {
            continue;
        }
        StateDiff diff = StateDiff::between(committed, now);
        contentChanged = contentChanged || !diff.content.empty();
        told.sections.add(static_cast<SectionId>(i));
        parts.push_back({static_cast<SectionId>(i), std::move(diff)});
        committed = std::move(now);
    }
    if (parts.empty()) {
        return false;
    }
    if (contentChanged) {
        undoStack_->push(new EditStep(*this, label, key, burst_, std::move(parts)));
        announce(told, &CTarvelinDoc::projectChanged);
    } else {
        emit marksChanged();
    }
    emit modifiedChanged();
    return true;
}

void CTarvelinDoc::moveLastStepRecord(int record) {
    if (undoStack_->index() > 0 && undoStack_->index() == undoStack_->count()) {
        const auto* step = static_cast<const EditStep*>(undoStack_->command(undoStack_->index() - 1));
        const_cast<EditStep*>(step)->setRecordAfter(record);
    }
}

void CTarvelinDoc::changeMarks(const std::function<void(ProjectData&)>& change) {
    change(*project_);
    commitAll();
    // The next edit is a step of its own: merged into the step before the card write, it would hold bytes from
    // before the marks moved.
    ++burst_;
    emit marksChanged();
    emit modifiedChanged();
}

void CTarvelinDoc::changeAndRestart(const std::function<void(ProjectData&)>& change) {
    change(*project_);
    resetHistory();
    emit projectReplaced();
}

void CTarvelinDoc::applyStep(const EditStep& step, bool backward) {
    try {
        applyParts(step, backward);
    } catch (const std::exception&) {
        // A step that no longer fits the project (which only a fault elsewhere could cause) is not applied
        // half-way into the data: the project stays as it is and the history starts again from it.
        historyBroken_ = true;
    }
}

void CTarvelinDoc::applyParts(const EditStep& step, bool backward) {
    // Every part is rebuilt first; only then is the project changed, so a part that does not fit changes nothing.
    std::vector<std::pair<SectionId, SectionState>> targets;
    for (const EditStep::Part& part : step.parts()) {
        const SectionState current = project_->state(part.id);
        SectionState target;
        target.content =
            backward ? part.diff.content.backward(current.content) : part.diff.content.forward(current.content);
        // Whatever a step changes shows as changed afterwards: its marks before and after are both kept, and
        // any mark set since (or cleared by a save or a card write) is added to them.
        target.marks = current.marks;
        for (const BytesDiff::Run& run : part.diff.marks.runs()) {
            for (std::size_t j = 0; j < run.before.size() && run.offset + j < target.marks.size(); ++j) {
                target.marks[run.offset + j] |= run.before[j];
                if (j < run.after.size()) {
                    target.marks[run.offset + j] |= run.after[j];
                }
            }
        }
        targets.emplace_back(part.id, std::move(target));
    }
    for (const auto& [id, target] : targets) {
        const SectionState current = project_->state(id);
        project_->setState(id, target);
        project_->markChanges(id, current, target);
        committed_[static_cast<std::size_t>(id)] = project_->state(id);
    }
}

bool CTarvelinDoc::canUndo() const {
    return undoStack_->canUndo();
}

bool CTarvelinDoc::canRedo() const {
    return undoStack_->canRedo();
}

void CTarvelinDoc::undo() {
    takeStep(true);
}

void CTarvelinDoc::redo() {
    takeStep(false);
}

// Undoes (back) or redoes one step and tells the view what it touched.
void CTarvelinDoc::takeStep(bool back) {
    if (back ? !canUndo() : !canRedo()) {
        return;
    }
    const int at = back ? undoStack_->index() - 1 : undoStack_->index();
    const auto* step = static_cast<const EditStep*>(undoStack_->command(at));
    EditKey key = step->key();
    if (!back && step->recordAfter() >= 0) {
        key.record = step->recordAfter();
    }
    ProjectChange told{key, {}, nullptr};
    for (const EditStep::Part& part : step->parts()) {
        told.sections.add(part.id);
    }
    ++burst_;
    if (back) {
        undoStack_->undo();
    } else {
        undoStack_->redo();
    }
    if (historyBroken_) {
        // The step was not applied and the history starts again: nothing is known to be as before.
        told.sections = SectionSet::all();
    }
    restartIfBroken();
    announce(told, &CTarvelinDoc::projectRestored);
    emit modifiedChanged();
}

void CTarvelinDoc::announce(const ProjectChange& change, void (CTarvelinDoc::*then)(const ProjectChange&)) {
    const bool wasFollowing = std::exchange(following_, true);
    emit contentChanged(change);
    following_ = wasFollowing;
    emit(this->*then)(change);
}

void CTarvelinDoc::restartIfBroken() {
    if (historyBroken_) {
        historyBroken_ = false;
        resetHistory();
    }
}

QString CTarvelinDoc::undoCaption() const {
    return undoStack_->undoText();
}

QString CTarvelinDoc::redoCaption() const {
    return undoStack_->redoText();
}

void CTarvelinDoc::discardChanges() {
    project_->clearModifiedAll();
    commitAll();
    undoStack_->setClean();
    emit modifiedChanged();
}

void CTarvelinDoc::resetHistory() {
    undoStack_->clear();
    commitAll();
    ++burst_;
    emit modifiedChanged();
}

void CTarvelinDoc::refreshTexts() {
    for (int i = 0; i < undoStack_->count(); ++i) {
        const_cast<EditStep*>(static_cast<const EditStep*>(undoStack_->command(i)))->retext();
    }
    // The stack announces its captions only when its index moves: say it once more for the menus.
    emit modifiedChanged();
}

void CTarvelinDoc::applyLanguageDefaults(const QString& language, const AppPaths& paths) {
    struct LanguageDefault {
        const char* language;
        const char* holidayFile;
        std::uint8_t controllerLanguage;
    };
    static constexpr LanguageDefault Defaults[] = {
        {"Polski", "swietaPL.dat", 0},
        {"Deutsch", "swietaDE.dat", 1},
        {"Francais", "swietaFR.dat", 3},
    };
    for (const LanguageDefault& entry : Defaults) {
        if (language != QLatin1String(entry.language)) {
            continue;
        }
        project_->general().setControllerLanguage(entry.controllerLanguage);
        const QString file = paths.dataFile(QString::fromLatin1(entry.holidayFile));
        if (QFileInfo::exists(file)) {
            readHolidayFile(project_->holidays(), file);
        }
        break;
    }
    commitAll();
}

int CTarvelinDoc::open(const QString& path, QString* systemError) {
    const std::optional<QByteArray> bytes =
        readWholeFile(path, static_cast<qint64>(projectfile::MaxFileSize), systemError);
    if (!bytes) {
        // The file cannot be read at all: the refusal of a file that ends before its header.
        return text::ProjectDamaged;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->constData());
    projectfile::OpenResult result =
        projectfile::open(std::span<const std::uint8_t>(data, static_cast<std::size_t>(bytes->size())), texts_);
    if (!result.project) {
        return result.errorText;
    }
    project_ = std::move(result.project);
    project_->setTextSource(texts_);
    // The schedule pages list programs in their lists' orders: a file is put in them as it is opened, so that
    // showing a page never changes the project.
    project_->sortSchedules(listOrders_);
    path_ = path;
    resetHistory();
    emit projectReplaced();
    return 0;
}

SortKey CTarvelinDoc::listOrder(int kind) const {
    return kind >= 0 && kind < static_cast<int>(listOrders_.size()) ? listOrders_[static_cast<std::size_t>(kind)]
                                                                    : SortKey::Time;
}

void CTarvelinDoc::setListOrder(int kind, SortKey key) {
    if (kind >= 0 && kind < static_cast<int>(listOrders_.size())) {
        listOrders_[static_cast<std::size_t>(kind)] = key;
    }
}

QString CTarvelinDoc::save(const QString& path) {
    // The marks are cleared only once the file is safely written: a failed save leaves the project unsaved.
    const std::vector<std::uint8_t> bytes = projectfile::encode(*project_);
    const FileResult written = writeFileAtomically(
        path, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    if (!written.ok) {
        return written.error.isEmpty() ? QStringLiteral("?") : written.error;
    }
    projectfile::markSaved(*project_);
    commitAll();
    path_ = path;
    ++burst_;
    undoStack_->setClean();
    emit marksChanged();
    emit modifiedChanged();
    return {};
}

} // namespace tolvane
