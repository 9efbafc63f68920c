#pragma once

#include "platform/ProgramStarter.h"

#include <vector>

namespace tolvane::testing {

// A ProgramStarter that starts and opens nothing: it keeps every call and answers with `succeeds`.
class RecordingProgramStarter : public ProgramStarter {
public:
    struct Call {
        QString program;
        QStringList arguments;
    };

    bool start(const QString& program, const QStringList& arguments) override {
        calls.push_back({program, arguments});
        return succeeds;
    }

    bool openDocument(const QString& path) override {
        opened.push_back(path);
        return succeeds;
    }

    std::vector<Call> calls;
    // The documents asked to be opened, in order.
    QStringList opened;
    bool succeeds = true;
};

} // namespace tolvane::testing
