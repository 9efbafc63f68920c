#include "BenchSupport.h"

#include "project/ProjectFile.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace tolvane {
namespace {

// Runs a program to its end with the extra environment; its wall time in seconds, negative when it failed.
double runToEnd(const std::vector<std::string>& command, const std::vector<std::string>& extraEnvironment) {
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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

// `tolvane-cli write-card` of a full project into a folder that holds a card already (so every round keeps
// backups, as a real write over a tower's card does), against copying the same four files there with `cp` and
// putting them on the disk with one `sync -f`: whole processes, started alternately in the same run, medians
// compared. The baseline is the least a durable copy of the four files can cost; the write adds the check, the
// backups and the read-back from the device.
void WriteCardAgainstCopyAndSync(benchmark::State& state) {
    QTemporaryDir temp;
    const QString projectPath = temp.filePath(QStringLiteral("full.tpm"));
    if (!bench::writeFullProject(projectPath)) {
        state.SkipWithError("cannot write the project");
        return;
    }
    const std::string card = temp.filePath(QStringLiteral("card")).toStdString();
    const std::string copies = temp.filePath(QStringLiteral("copies")).toStdString();
    const std::string source = temp.filePath(QStringLiteral("source")).toStdString();
    for (const std::string& folder : {card, copies, source}) {
        QDir().mkpath(QString::fromStdString(folder));
    }
    // The tool's settings and backups in this run's folder, never the user's.
    const std::vector<std::string> environment{"XDG_CONFIG_HOME=" + temp.filePath(QStringLiteral("config")).toStdString(),
                                               "XDG_DATA_HOME=" + temp.filePath(QStringLiteral("data")).toStdString()};
    const std::vector<std::string> write{TOLVANE_CLI, "write-card", projectPath.toStdString(), card};
    if (runToEnd({TOLVANE_CLI, "write-card", projectPath.toStdString(), source}, environment) < 0) {
        state.SkipWithError("write-card failed");
        return;
    }
    std::vector<std::string> copy{"cp"};
    for (const char* name : {"programs.dat", "config.dat", "seq.dat", "kur.bin"}) {
        copy.push_back(source + "/" + name);
    }
    copy.push_back(copies);
    const std::vector<std::string> sync{"sync", "-f", copies + "/programs.dat"};

    std::vector<double> writeSeconds, copySeconds;
    for (auto _ : state) {
        // One of each first, not counted: the card and the copies then hold files, and the programs are cached.
        runToEnd(write, environment);
        runToEnd(copy, {});
        runToEnd(sync, {});
        for (int round = 0; round < 9; ++round) {
            const double c = runToEnd(copy, {});
            const double s = runToEnd(sync, {});
            const double w = runToEnd(write, environment);
            if (c < 0 || s < 0 || w < 0) {
                state.SkipWithError("a program failed");
                return;
            }
            copySeconds.push_back(c + s);
            writeSeconds.push_back(w);
        }
    }
    state.counters["time_ratio"] = bench::median(writeSeconds) / bench::median(copySeconds);
    state.counters["write_card_ms"] = bench::median(writeSeconds) * 1000;
    state.counters["cp_sync_ms"] = bench::median(copySeconds) * 1000;
}
BENCHMARK(WriteCardAgainstCopyAndSync)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tolvane
