#include "platform/PrintWriter.h"
#include "schedules/ProgramEntryText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tolvane {
namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

struct Folders {
    QTemporaryDir root;
    QString target;
    QString print;

    Folders() {
        target = root.filePath("tmp");
        print = root.filePath("program/print");
        QDir().mkpath(target);
        QDir().mkpath(print);
        writeAll(print + "/style.css", "body {}");
        writeAll(print + "/1.png", "icon one");
        QDir().mkpath(print + "/sub"); // folders are not copied
    }
};

TEST(PrintWriter, WritesTheDocumentCopiesThePrintFolderAndOpensIt) {
    Folders f;
    // An older copy is replaced.
    QDir().mkpath(f.target + "/print");
    writeAll(f.target + "/print/1.png", "old icon");

    QStringList opened;
    const std::string html = "<html>Zażółć</html>";
    const PrintWriter writer(f.target, f.print);
    const auto result = writer.writeAndOpen(html, [&](const QString& path) {
        opened << path;
        return true;
    });

    EXPECT_TRUE(result.written);
    EXPECT_TRUE(result.opened);
    EXPECT_EQ(result.path, QDir(f.target).filePath("Print.html"));
    EXPECT_EQ(opened, QStringList{result.path});
    EXPECT_EQ(readAll(result.path), QByteArray::fromStdString(html));
    EXPECT_EQ(readAll(f.target + "/print/style.css"), "body {}");
    EXPECT_EQ(readAll(f.target + "/print/1.png"), "icon one");
    EXPECT_FALSE(QFileInfo::exists(f.target + "/print/sub"));
    EXPECT_TRUE(result.notCopied.isEmpty());

    // Printing again replaces the document.
    EXPECT_TRUE(writer.write("<html>2</html>").written);
    EXPECT_EQ(readAll(result.path), "<html>2</html>");
}

TEST(PrintWriter, WhenTheDocumentCannotBeCreatedNothingIsWrittenOrOpened) {
    Folders f;
    const QString missing = f.root.filePath("no/such/folder");
    bool opened = false;
    const auto result = PrintWriter(missing, f.print).writeAndOpen("<html></html>", [&](const QString&) {
        opened = true;
        return true;
    });
    EXPECT_FALSE(result.written);
    EXPECT_FALSE(result.opened);
    EXPECT_TRUE(result.path.isEmpty());
    EXPECT_FALSE(opened);
    EXPECT_FALSE(QFileInfo::exists(missing));

    // A folder where the document's name is taken by a folder: the old content stays, nothing is copied.
    QDir().mkpath(f.target + "/Print.html");
    const auto blocked = PrintWriter(f.target, f.print).writeAndOpen("<html></html>", [&](const QString&) {
        opened = true;
        return true;
    });
    EXPECT_FALSE(blocked.written);
    EXPECT_FALSE(opened);
    EXPECT_FALSE(QFileInfo::exists(f.target + "/print"));
}

TEST(PrintWriter, AMissingIconFolderStillGivesTheDocument) {
    Folders f;
    const auto result = PrintWriter(f.target, f.root.filePath("nowhere")).write("<html></html>");
    EXPECT_TRUE(result.written);
    EXPECT_TRUE(result.notCopied.isEmpty());
    EXPECT_EQ(readAll(result.path), "<html></html>");
}

TEST(PrintWriter, TheStagedPrintFolderHoldsTheStyleSheetAndAnIconPerAction) {
    const QDir staged(QString(TOLVANE_VERSION_DIR) + "/print");
    EXPECT_TRUE(staged.exists("style.css"));
    std::set<int> icons;
    for (int action = 0; action < 256; ++action) {
        icons.insert(ProgramEntryText::actionIcon(static_cast<std::uint8_t>(action)));
    }
    for (int icon : icons) {
        SCOPED_TRACE(icon);
        const QByteArray png = readAll(staged.filePath(QString::number(icon) + ".png"));
        ASSERT_GE(png.size(), 24);
        EXPECT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
        EXPECT_EQ(png.mid(12, 4), "IHDR");
        EXPECT_EQ(png.mid(16, 8), QByteArray::fromHex("0000001000000010")); // 16 x 16
    }
}

} // namespace
} // namespace tolvane
