#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tolvane {
namespace {

namespace fs = std::filesystem;

// The files the package installs beside the programs, checked with the tools a desktop and a shell use on them.
const fs::path Packaging = fs::path(TOLVANE_SOURCE_DIR) / "packaging";
const fs::path ManPages = fs::path(TOLVANE_MAN_DIR);

struct Ran {
    int exitCode = -1;
    std::string out; // standard output and standard error
};

// `text` as one word for the shell.
std::string shellWord(const std::string& text) {
    std::string word = "'";
    for (const char c : text) {
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return word + "'";
}

// Runs a shell command line; what it leaves on its standard error is collected with its output.
Ran run(const std::string& command) {
    Ran result;
    FILE* pipe = popen(("timeout -s KILL 60 sh -c " + shellWord(command) + " 2>&1").c_str(), "r");
    if (!pipe) {
        return result;
    }
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) {
        result.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string quotedPath(const fs::path& path) {
    return shellWord(path.string());
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PackagingFiles, DesktopEntriesAndTheAppStreamDescriptionValidate) {
    for (const char* entry : {"example.nesmar.Tolvane.desktop", "example.nesmar.TolvaneManager.desktop"}) {
        const Ran check = run("desktop-file-validate " + quotedPath(Packaging / entry));
        EXPECT_EQ(check.exitCode, 0) << entry;
        EXPECT_EQ(check.out, "") << entry; // no warning either
    }
    const Ran metainfo = run("appstreamcli validate --no-net --no-color " +
                             quotedPath(Packaging / "example.nesmar.Tolvane.metainfo.xml"));
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out;
    EXPECT_EQ(metainfo.out.find("W: "), std::string::npos) << metainfo.out;
    EXPECT_EQ(metainfo.out.find("E: "), std::string::npos) << metainfo.out;
}

// The pictures the AppStream description names are the ones the README shows (make docs-screenshots).
TEST(PackagingFiles, TheDescribedScreenshotsAreTheOnesInDocs) {
    const std::string metainfo = readText(Packaging / "example.nesmar.Tolvane.metainfo.xml");
    const std::regex image("<image>[^<]*/([^/<]+\\.png)</image>");
    int found = 0;
    for (auto it = std::sregex_iterator(metainfo.begin(), metainfo.end(), image); it != std::sregex_iterator();
         ++it, ++found) {
        const std::string name = (*it)[1];
        EXPECT_TRUE(fs::is_regular_file(fs::path(TOLVANE_SOURCE_DIR) / "docs" / "screenshots" / name)) << name;
    }
    EXPECT_GT(found, 0);
}

// The manual pages format without a warning, and tolvane-cli's describes every command its usage text lists.
TEST(PackagingFiles, ManualPagesFormatCleanlyAndNameEveryCommand) {
    for (const char* page : {"tolvane-cli.1", "Tolvane.1", "TolvaneManager.1"}) {
        const Ran man = run("env MANWIDTH=200 LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l " +
                            quotedPath(ManPages / page) + " >/dev/null");
        EXPECT_EQ(man.exitCode, 0) << page;
        EXPECT_EQ(man.out, "") << page;
    }
    const Ran page = run("env MANWIDTH=200 LC_ALL=C.UTF-8 man -l " + quotedPath(ManPages / "tolvane-cli.1"));
    const Ran usage = run(shellWord(TOLVANE_CLI_PATH) + " --help");
    ASSERT_EQ(usage.exitCode, 0);
    std::istringstream lines(usage.out);
    int commands = 0;
    for (std::string line; std::getline(lines, line);) {
        const std::string prefix = "  tolvane-cli ";
        if (line.rfind(prefix, 0) == 0) {
            ++commands;
            EXPECT_NE(page.out.find("       " + line.substr(prefix.size()) + "\n"), std::string::npos) << line;
        }
    }
    EXPECT_GT(commands, 0);
}

// Bash completion of tolvane-cli, run as bash runs it: the words typed so far, the completions offered.
struct Completion {
    std::vector<std::string> words; // after the program's name; the last is the word being completed
    std::string offered;            // COMPREPLY, joined by spaces
};

std::string complete(const std::string& program, const std::vector<std::string>& words) {
    std::string array = "COMP_WORDS=(" + shellWord(program);
    for (const std::string& w : words) {
        array += " " + shellWord(w);
    }
    array += ")";
    const std::string script = "source " + quotedPath(Packaging / "completion" / "tolvane-cli") + "\n" + array +
                               "\nCOMP_CWORD=" + std::to_string(words.size()) +
                               "\n_tolvane_cli\nprintf '%s\\n' \"${COMPREPLY[*]}\"\n";
    const Ran bash = run("bash --norc --noprofile -c " + shellWord(script));
    EXPECT_EQ(bash.exitCode, 0) << bash.out;
    return bash.out.empty() ? bash.out : bash.out.substr(0, bash.out.size() - 1);
}

TEST(PackagingFiles, BashCompletesCommandsOptionsValuesAndLanguages) {
    const std::vector<Completion> cases = {
        {{""}, "new info validate save write-card read-card print plan detect diff"},
        {{"va"}, "validate"},
        {{"-"}, "--help --version --lang"},
        {{"--lang", ""}, "Deutsch English Francais Polski"},
        {{"--lang", "Fr"}, "Francais"},
        {{"--lang", "Deutsch", "pl"}, "plan"},
        {{"validate", "tower.tpm", "--"}, "--format --lang --help"},
        {{"validate", "tower.tpm", "--format", ""}, "text tsv"},
        {{"plan", "tower.tpm", "--f"}, "--from --format --force"},
        {{"plan", "tower.tpm", "--from", ""}, ""},
        {{"plan", "tower.tpm", "--format", ""}, "text tsv ics"},
        {{"plan", "tower.tpm", "--o"}, "--output"},
        {{"plan", "tower.tpm", "--lang", "Po"}, "Polski"},
        {{"write-card", "tower.tpm", "card", "--only", "con"}, "config"},
        {{"write-card", "tower.tpm", "card", "--only", "programs,c"}, "programs,config programs,chimes"},
        {{"print", "tower.tpm", "out.html", "--"}, "--details --all --force --lang --help"},
        {{"detect", "--"}, "--lang --help"},
        {{"diff", "a.tpm", "b.tpm", "--format", ""}, "text tsv html"},
    };
    for (const Completion& c : cases) {
        std::string typed;
        for (const std::string& w : c.words) {
            typed += w + "|";
        }
        SCOPED_TRACE(typed);
        EXPECT_EQ(complete(TOLVANE_CLI_PATH, c.words), c.offered);
    }
}

// Completed through a link (as /usr/bin/tolvane-cli in the package), the languages are those beside the program.
TEST(PackagingFiles, BashCompletionFollowsALinkToTheProgram) {
    const fs::path dir = fs::temp_directory_path() / ("tolvane-completion-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::create_symlink(fs::path(TOLVANE_CLI_PATH), dir / "tolvane-cli");
    EXPECT_EQ(complete((dir / "tolvane-cli").string(), {"--lang", "E"}), "English");
    EXPECT_EQ(complete((dir / "tolvane-cli").string(), {"inf"}), "info");
    fs::remove_all(dir);
}

} // namespace
} // namespace tolvane
