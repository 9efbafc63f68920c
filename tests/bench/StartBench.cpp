#include "BenchSupport.h"

#include "project/ProjectFile.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tolvane {
namespace {

struct ProcessRun {
    double seconds = 0;
    double peakKilobytes = 0;
    bool ok = false;
};

// Starts a program with the given extra environment and measures the wall time until it says "shown" on its
// standard output, and its peak resident memory until then (VmHWM, read from the running process: the rusage of a
// child started from here would count this process's own memory, which the child had until it replaced itself).
// A program that says nothing within 30 seconds is killed and counts as failed.
ProcessRun runProcess(const std::vector<std::string>& command, const std::vector<std::string>& extraEnvironment) {
    std::vector<std::string> environment(extraEnvironment);
    for (char** e = environ; *e; ++e) {
        environment.emplace_back(*e);
    }
    std::vector<char*> argv;
    for (const std::string& a : command) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : environment) {
        envp.push_back(const_cast<char*>(e.c_str()));
    }
    envp.push_back(nullptr);

    ProcessRun run;
    int out[2];
    if (pipe(out) != 0) {
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return run;
    }
    const std::string statusPath = "/proc/" + std::to_string(pid) + "/status";
    double peak = 0;
    const auto readPeak = [&] {
        if (std::FILE* file = std::fopen(statusPath.c_str(), "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, file)) {
                long kilobytes = 0;
                if (std::sscanf(line, "VmHWM: %ld kB", &kilobytes) == 1) {
                    peak = std::max(peak, static_cast<double>(kilobytes));
                }
            }
            std::fclose(file);
        }
    };
    std::string said;
    bool shown = false;
    while (!shown && std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
        pollfd ready{out[0], POLLIN, 0};
        if (poll(&ready, 1, 100) > 0) {
            char buffer[64];
            const ssize_t n = read(out[0], buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            said.append(buffer, static_cast<std::size_t>(n));
            shown = said.find("shown\n") != std::string::npos;
        }
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    readPeak();
    if (!shown) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    close(out[0]);
    run.peakKilobytes = peak;
    run.ok = shown && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// The editor started as a user starts it, with a full project to open, until its main window is on screen,
// against a bare main window with a tree and a stack of pages; both are separate processes started alternately in
// the same run, and the medians of their times and peak memories are compared.
void EditorStartAgainstBareWindow(benchmark::State& state) {
    QTemporaryDir temp;
    const QString projectPath = temp.filePath(QStringLiteral("full.tpm"));
    if (!bench::writeFullProject(projectPath)) {
        state.SkipWithError("cannot write the project");
        return;
    }
    // The editor's settings: the language chosen, so it starts without asking.
    const QString config = temp.filePath(QStringLiteral("config"));
    {
        QSettings settings(config + QStringLiteral("/Nesmar/Tolvane.conf"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/LastLang"), QStringLiteral("English"));
    }
    const std::vector<std::string> environment{"QT_QPA_PLATFORM=offscreen", "TOLVANE_BENCH_STARTUP=1",
                                               "XDG_CONFIG_HOME=" + config.toStdString()};
    const std::vector<std::string> editor{TOLVANE_EDITOR, projectPath.toStdString()};
    const std::vector<std::string> bare{TOLVANE_BARE_WINDOW};

    std::vector<double> editorSeconds, bareSeconds, editorMemory, bareMemory;
    for (auto _ : state) {
        // One run of each first, not counted: the files they load are then in the page cache for both.
        runProcess(bare, environment);
        runProcess(editor, environment);
        for (int round = 0; round < 7; ++round) {
            const ProcessRun b = runProcess(bare, environment);
            const ProcessRun e = runProcess(editor, environment);
            if (!b.ok || !e.ok) {
                state.SkipWithError("a program did not start and end cleanly");
                return;
            }
            bareSeconds.push_back(b.seconds);
            editorSeconds.push_back(e.seconds);
            bareMemory.push_back(b.peakKilobytes);
            editorMemory.push_back(e.peakKilobytes);
        }
    }
    state.counters["time_ratio"] = bench::median(editorSeconds) / bench::median(bareSeconds);
    state.counters["memory_ratio"] = bench::median(editorMemory) / bench::median(bareMemory);
    state.counters["editor_ms"] = bench::median(editorSeconds) * 1000;
    state.counters["bare_ms"] = bench::median(bareSeconds) * 1000;
    state.counters["editor_MiB"] = bench::median(editorMemory) / 1024;
    state.counters["bare_MiB"] = bench::median(bareMemory) / 1024;
}
BENCHMARK(EditorStartAgainstBareWindow)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tolvane
