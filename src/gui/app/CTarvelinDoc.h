#pragma once

#include "project/ProjectData.h"

#include <QObject>
#include <QString>

#include <memory>

namespace tolvane {

class AppPaths;
class TextSource;

// The one open project: the only place where the project is changed. Pages edit through it and call
// notifyChanged(), so the view (special-tolling item, report blink) and later undo have a single home. Opening a
// file or reading card files replaces the whole project and announces it with projectReplaced().
class CTarvelinDoc : public QObject {
    Q_OBJECT
public:
    explicit CTarvelinDoc(const TextSource* texts, QObject* parent = nullptr);
    ~CTarvelinDoc() override;

    ProjectData& project() { return *project_; }
    const ProjectData& project() const { return *project_; }
    // The project file's path; empty for a project that has never been saved.
    QString path() const { return path_; }
    bool isModified() const { return project_->isModifiedAll(); }

    // Called after every edit.
    void notifyChanged();
    // Called when the content was replaced in place (card files read into the project).
    void notifyReplaced();

    // Defaults of a new project that follow the program's language: the holiday table from the language's seed
    // file (when it exists) and the controller's language.
    void applyLanguageDefaults(const QString& language, const AppPaths& paths);

    // Reads a project file. On success the project is replaced and 0 returned; otherwise the project stays as it
    // was and the number of the text that says why is returned (`systemError` holds the operating system's wording
    // when the file could not be read at all).
    int open(const QString& path, QString* systemError = nullptr);
    // Writes the project file whole or not at all; clears every change mark on success. Empty string on success,
    // otherwise the operating system's wording.
    QString save(const QString& path);

    // Flags of a start from card files: set before the view reads them, cleared once it has.
    bool startedFromCard = false;
    bool startedFromDat = false;

signals:
    void projectChanged();
    void projectReplaced();

private:
    const TextSource* texts_;
    std::unique_ptr<ProjectData> project_;
    QString path_;
};

} // namespace tolvane
