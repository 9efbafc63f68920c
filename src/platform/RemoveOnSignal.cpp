#include "RemoveOnSignal.h"

#include <utility>

#ifndef Q_OS_WIN
#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>
#include <signal.h>
#include <unistd.h>
#endif

namespace tolvane {

#ifndef Q_OS_WIN

namespace {

constexpr int SlotCount = 64;
constexpr std::size_t PathCapacity = 4096;

enum SlotState : int { Free = 0, Filling = 1, Armed = 2 };

// One guarded path. The handler reads only armed slots, and a slot is armed only once its path is complete.
struct Slot {
    std::atomic<int> state{Free};
    RemoveOnSignal::Kind kind = RemoveOnSignal::Kind::File;
    char path[PathCapacity] = {};
};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs lock-free slot states");

Slot guarded[SlotCount];

// Every signal whose default action ends the process and that a user, a shell or the system sends to a program:
// the interrupt, termination and hang-up signals, SIGQUIT (Ctrl+\\), SIGPIPE (output to a closed pipe), the user
// signals, the alarm, and SIGXFSZ (a file-size limit reached by a write).
constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGUSR1, SIGUSR2, SIGALRM, SIGXFSZ};

// Only calls that are safe in a signal handler: unlink, rmdir, raise. Files go first, then the folders in reverse
// slot order: a slot is taken lowest free first, so a folder guarded while its parent is guarded (the print folder
// inside the editor's run folder) sits in a later slot and is empty and gone before its parent is removed.
void removeGuardedPaths(int signal) {
    for (Slot& slot : guarded) {
        if (slot.state.load() == Armed && slot.kind == RemoveOnSignal::Kind::File) {
            ::unlink(slot.path);
        }
    }
    for (int i = SlotCount - 1; i >= 0; --i) {
        Slot& slot = guarded[i];
        if (slot.state.load() == Armed && slot.kind == RemoveOnSignal::Kind::Folder) {
            ::rmdir(slot.path);
        }
    }
    // SA_RESETHAND gave the signal its default action back: raised again, it ends the process as soon as this
    // handler returns.
    ::raise(signal);
}

void installHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const int signal : Signals) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0 ||
                current.sa_handler != SIG_DFL) {
                continue; // ignored or handled by someone else: left as it is
            }
            struct sigaction ours {};
            ours.sa_handler = removeGuardedPaths;
            sigemptyset(&ours.sa_mask);
            for (const int other : Signals) {
                sigaddset(&ours.sa_mask, other);
            }
            ours.sa_flags = SA_RESETHAND;
            ::sigaction(signal, &ours, nullptr);
        }
    });
}

} // namespace

RemoveOnSignal::RemoveOnSignal(const NativePath& path, Kind kind) {
    if (path.empty() || path.size() >= PathCapacity) {
        return;
    }
    installHandlers();
    for (int i = 0; i < SlotCount; ++i) {
        int expected = Free;
        if (!guarded[i].state.compare_exchange_strong(expected, Filling)) {
            continue;
        }
        std::memcpy(guarded[i].path, path.c_str(), path.size() + 1);
        guarded[i].kind = kind;
        guarded[i].state.store(Armed);
        slot_ = i;
        return;
    }
}

void RemoveOnSignal::release() {
    if (slot_ >= 0) {
        guarded[slot_].state.store(Free);
        slot_ = -1;
    }
}

#else

RemoveOnSignal::RemoveOnSignal(const NativePath&, Kind) {}

void RemoveOnSignal::release() {
    slot_ = -1;
}

#endif

RemoveOnSignal::~RemoveOnSignal() {
    release();
}

RemoveOnSignal::RemoveOnSignal(RemoveOnSignal&& other) noexcept : slot_(std::exchange(other.slot_, -1)) {}

RemoveOnSignal& RemoveOnSignal::operator=(RemoveOnSignal&& other) noexcept {
    if (this != &other) {
        release();
        slot_ = std::exchange(other.slot_, -1);
    }
    return *this;
}

} // namespace tolvane
