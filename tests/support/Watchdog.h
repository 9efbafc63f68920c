#pragma once

#include <chrono>
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tolvane::testing_support {

// How a body run in a child process ended.
struct ChildEnd {
    bool finished = false; // false: still running when the watchdog fired (it was then killed)
    int exitCode = -1;     // when it exited
    int signal = 0;        // when a signal ended it
};

// Runs `body` in a child process and reports how it ended; the child's exit status is what `body` returns. A body
// that has not ended after `seconds` is killed, so that a read that blocks fails its test instead of hanging it.
// The child only runs `body`: no test assertions there, only its result.
inline ChildEnd runInChild(const std::function<int()>& body, int seconds = 60) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(body());
    }
    ChildEnd end;
    if (child < 0) {
        return end;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return end;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    end.finished = true;
    if (WIFEXITED(status)) {
        end.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        end.signal = WTERMSIG(status);
    }
    return end;
}

} // namespace tolvane::testing_support
