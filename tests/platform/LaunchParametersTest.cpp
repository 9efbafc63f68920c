#include "platform/LaunchParameters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace tolvane {
namespace {

using launch::EditorCommand;
using launch::editorParameters;
using launch::EditorRequest;
using launch::parseEditorParameters;

struct Passed {
    EditorCommand command;
    QString argument;
    QString parameters;
};

// What the launcher hands over, and that the editor reads back exactly what the launcher meant.
TEST(LaunchParameters, TheEditorReadsBackWhatTheLauncherPasses) {
    const std::vector<Passed> cases = {
        {EditorCommand::Open, "C:\\My projects\\a.tpm", "C:\\My$$projects\\a.tpm;open"},
        {EditorCommand::Open, "/home/jan/Wie\u017Ca  Mariacka/a b.tpm",
         "/home/jan/Wie\u017Ca$$$$Mariacka/a$$b.tpm;open"},
        {EditorCommand::Card, "E:\\", "E:\\;card"},
        {EditorCommand::Card, "/media/jan/MY CARD/", "/media/jan/MY CARD/;card"},
        {EditorCommand::New, "1.43", "1.43;new"},
        {EditorCommand::New, "1.01 VARDELO", "1.01 VARDELO;new"},
        {EditorCommand::Dat, "/srv/tower data/", "/srv/tower data/;dat"}, // spaces are not replaced
    };
    for (const Passed& c : cases) {
        SCOPED_TRACE(c.parameters.toStdString());
        EXPECT_EQ(editorParameters(c.command, c.argument), std::optional<QString>(c.parameters));
        EXPECT_EQ(parseEditorParameters(c.parameters), (EditorRequest{c.command, c.argument}));
    }
    EXPECT_EQ(editorParameters(EditorCommand::Nothing, "ignored"), std::optional<QString>(QString()));
    EXPECT_EQ(editorParameters(EditorCommand::Dat, "C:\\My data\\"), std::optional<QString>("C:\\My data\\;dat"));
}

// Arguments the editor would read back as another path are not passed at all.
TEST(LaunchParameters, ArgumentsThatWouldArriveChangedAreRefused) {
    const std::vector<std::pair<EditorCommand, QString>> cases = {
        {EditorCommand::Open, "C:\\a$$b.tpm"}, {EditorCommand::Open, "/x/a$ b.tpm"},
        {EditorCommand::Open, "/x/a ;b.tpm"},  {EditorCommand::Open, "/x/a;open"},
        {EditorCommand::Dat, "/srv/a;b/"},     {EditorCommand::Dat, "/srv/$$/"},
        {EditorCommand::Card, "/media/a$$b/"},
    };
    for (const auto& [command, argument] : cases) {
        SCOPED_TRACE(argument.toStdString());
        EXPECT_EQ(editorParameters(command, argument), std::nullopt);
    }
    EXPECT_EQ(editorParameters(EditorCommand::Open, "/x/a$b.tpm"), std::optional<QString>("/x/a$b.tpm;open"));
}

TEST(LaunchParameters, TheEditorSplitsAtTheFirstSemicolonAndKnowsOnlyExactTokens) {
    const std::vector<std::pair<QString, EditorRequest>> cases = {
        {"", {EditorCommand::Nothing, ""}},
        {"C:\\a.tpm;OPEN", {EditorCommand::Nothing, "C:\\a.tpm"}},
        {"C:\\a.tpm;Open", {EditorCommand::Nothing, "C:\\a.tpm"}},
        {"C:\\a.tpm;open ", {EditorCommand::Nothing, "C:\\a.tpm"}},
        {"C:\\a;b.tpm;open", {EditorCommand::Nothing, "C:\\a"}},
        {";new", {EditorCommand::New, ""}},
        {"a$$$$b;open", {EditorCommand::Open, "a  b"}},
        {"a$$$b;open", {EditorCommand::Open, "a $b"}},
        {"/srv/data;dat", {EditorCommand::Dat, "/srv/data/"}},
        // Without a semicolon the argument is an ordinary file name, taken as it is.
        {"/home/jan/a$$b.tpm", {EditorCommand::Open, "/home/jan/a$$b.tpm"}},
    };
    for (const auto& [parameters, request] : cases) {
        SCOPED_TRACE(parameters.toStdString());
        EXPECT_EQ(parseEditorParameters(parameters), request);
    }
}

// The editor's argument as a desktop or a shell gives it: a file that exists is that file, whatever its name holds;
// a project to open is named by its absolute, clean path; the other requests are read as the launcher wrote them.
TEST(LaunchParameters, AnArgumentNamingAFileOpensThatFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Wie\u017Ca; kopia")));
    for (const char* name : {"Wie\u017Ca; kopia/a.tpm", "x;open", "y.tpm"}) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    // The working folder of the test, given back however the test ends.
    const struct WorkingFolder {
        QString previous = QDir::currentPath();
        ~WorkingFolder() { QDir::setCurrent(previous); }
    } working;
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString root = QDir::currentPath();
    const std::vector<std::pair<QString, EditorRequest>> cases = {
        {root + "/Wie\u017Ca; kopia/a.tpm", {EditorCommand::Open, root + "/Wie\u017Ca; kopia/a.tpm"}},
        {"x;open", {EditorCommand::Open, root + "/x;open"}},
        {"y.tpm", {EditorCommand::Open, root + "/y.tpm"}},
        {"./sub/../y.tpm;open", {EditorCommand::Open, root + "/y.tpm"}},
        {"missing.tpm", {EditorCommand::Open, root + "/missing.tpm"}},
        // Not a file: the launcher's parameter string, read as before.
        {"x", {EditorCommand::Open, root + "/x"}},
        {"y.tpm;OPEN", {EditorCommand::Nothing, "y.tpm"}},
        {"Wie\u017Ca; kopia/b.tpm", {EditorCommand::Nothing, "Wie\u017Ca"}},
        {"1.43;new", {EditorCommand::New, "1.43"}},
        {"/media/card/;card", {EditorCommand::Card, "/media/card/"}},
        {"", {EditorCommand::Nothing, ""}},
    };
    for (const auto& [argument, request] : cases) {
        SCOPED_TRACE(argument.toStdString());
        EXPECT_EQ(launch::editorRequestFromArgument(argument), request);
    }
}

TEST(LaunchParameters, FoldersGetOneTrailingSeparator) {
    EXPECT_EQ(launch::withTrailingSeparator("E:", QLatin1Char('\\')), "E:\\");
    EXPECT_EQ(launch::withTrailingSeparator("E:\\", QLatin1Char('\\')), "E:\\");
    EXPECT_EQ(launch::withTrailingSeparator("/media/card", QLatin1Char('/')), "/media/card/");
    EXPECT_EQ(launch::withTrailingSeparator("/media/card/", QLatin1Char('/')), "/media/card/");
#ifdef Q_OS_WIN
    EXPECT_EQ(launch::nativeFolder("E:/"), "E:\\");
    EXPECT_EQ(launch::nativeFolder("C:/Dane/wieza"), "C:\\Dane\\wieza\\");
#else
    EXPECT_EQ(launch::nativeFolder("/media/jan/CARD"), "/media/jan/CARD/");
    EXPECT_EQ(launch::nativeFolder("/"), "/");
#endif
}

} // namespace
} // namespace tolvane
