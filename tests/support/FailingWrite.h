#pragma once

#include "platform/SafeFile.h"

#include <QString>

#include <string>
#include <utility>

namespace tolvane::testing_support {

// The programs' write layer with one step made to fail as a full disk does: the open, the n-th chunk written, the
// flush, the sync or the commit. `onlyUnder` limits the failure to targets whose path starts with it (the card
// folder, not the working folder); every other write goes through untouched.
class FailingWrite final : public AtomicWriteFile {
public:
    enum class Step { Nothing, Open, Write, Flush, Sync, Commit };
    static inline const QString Reason = QStringLiteral("No space left on device");

    explicit FailingWrite(Step step, int failingChunk = 0, std::string onlyUnder = {})
        : step_(step), failingChunk_(failingChunk), onlyUnder_(std::move(onlyUnder)) {}

    bool open(const NativePath& path) override {
        armed_ = path.rfind(onlyUnder_, 0) == 0;
        return failsAt(Step::Open) ? failed() : real_.open(path);
    }
    bool write(QByteArrayView chunk) override {
        const bool failHere = failsAt(Step::Write) && chunks_++ == failingChunk_;
        return failHere ? failed() : real_.write(chunk);
    }
    bool flush() override { return failsAt(Step::Flush) ? failed() : real_.flush(); }
    bool sync() override { return failsAt(Step::Sync) ? failed() : real_.sync(); }
    bool commit() override { return failsAt(Step::Commit) ? failed() : real_.commit(); }
    void cancel() override { real_.cancel(); }
    void leaveSyncsToCaller() override { real_.leaveSyncsToCaller(); }
    QString errorString() const override { return failed_ ? Reason : real_.errorString(); }

private:
    bool failsAt(Step step) const { return armed_ && step_ == step; }
    bool failed() {
        failed_ = true;
        return false;
    }
    Step step_;
    int failingChunk_;
    std::string onlyUnder_;
    bool armed_ = false;
    int chunks_ = 0;
    bool failed_ = false;
    NativeAtomicWrite real_;
};

} // namespace tolvane::testing_support
