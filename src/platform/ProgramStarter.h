#pragma once

#include <QString>
#include <QStringList>

namespace tolvane {

// Starts another program and does not wait for it. The programs use ProcessStarter; tests record the calls.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // True when the program was started.
    virtual bool start(const QString& program, const QStringList& arguments) = 0;
};

// Starts a detached process that lives on after the caller ends. Each argument reaches the program as one
// argument, spaces and all.
class ProcessStarter : public ProgramStarter {
public:
    bool start(const QString& program, const QStringList& arguments) override;
};

} // namespace tolvane
