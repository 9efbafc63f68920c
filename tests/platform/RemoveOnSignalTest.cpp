#include "platform/RemoveOnSignal.h"
#include "Watchdog.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

// The editor's run folder holds the printout and, in a folder of its own, the style sheet beside it. Ended by a
// signal, the process leaves none of it: the inner folder goes before the run folder, whichever was guarded first.
TEST(RemoveOnSignal, AFolderInsideAGuardedFolderGoesFirst) {
    const fs::path run = fs::temp_directory_path() / ("tolvane-signal-" + std::to_string(getpid()));
    fs::remove_all(run);
    const auto end = testing_support::runInChild([&] {
        struct sigaction current {};
        if (sigaction(SIGTERM, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
            return 77; // ignored by whoever started the tests: nothing to try
        }
        fs::create_directories(run / "print");
        const RemoveOnSignal runGuard(run.string(), RemoveOnSignal::Kind::Folder);
        std::ofstream(run / "Print.html") << "<html></html>";
        std::ofstream(run / "print" / "style.css") << "body {}";
        const RemoveOnSignal document((run / "Print.html").string(), RemoveOnSignal::Kind::File);
        const RemoveOnSignal copies((run / "print").string(), RemoveOnSignal::Kind::Folder);
        const RemoveOnSignal style((run / "print" / "style.css").string(), RemoveOnSignal::Kind::File);
        std::raise(SIGTERM);
        return 1; // the signal should have ended the process before this
    });
    ASSERT_TRUE(end.finished);
    if (end.exitCode == 77) {
        GTEST_SKIP() << "the signal is ignored in this test run";
    }
    EXPECT_EQ(end.signal, SIGTERM);
    EXPECT_FALSE(fs::exists(run));
    fs::remove_all(run);
}

} // namespace
} // namespace tolvane
