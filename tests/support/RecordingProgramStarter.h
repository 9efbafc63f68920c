#pragma once

#include "platform/ProgramStarter.h"

#include <vector>

namespace tolvane::testing {

// A ProgramStarter that starts nothing: it keeps every call and answers with `succeeds`.
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

    std::vector<Call> calls;
    bool succeeds = true;
};

} // namespace tolvane::testing
