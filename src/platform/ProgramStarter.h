#pragma once

#include <QString>
#include <QStringList>

namespace tolvane {

// Starts another program, or opens a document with the desktop's program for it, and does not wait for either.
// The programs use ProcessStarter; tests record the calls.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // True when the program was started.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
    // Opens the document at `path` (a file of our own, such as the printout) with the program the desktop uses
    // for its kind. True when that program could be started.
    virtual bool openDocument(const QString& path) = 0;
};

// Starts a detached process that lives on after the caller ends. Each argument reaches the program as one
// argument, spaces and all. Documents are handed to the desktop's opener (the Explorer on Windows, "open" on
// macOS, xdg-open elsewhere) as a file URL or native path, never as text that could read as an option.
class ProcessStarter : public ProgramStarter {
public:
    bool start(const QString& program, const QStringList& arguments) override;
    bool openDocument(const QString& path) override;
};

} // namespace tolvane
