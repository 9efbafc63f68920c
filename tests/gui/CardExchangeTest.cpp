#include "gui/app/CardExchange.h"

#include "DocumentEdit.h"
#include "TextNumbers.h"
#include "TestAppContext.h"
#include "gui/app/CTarvelinDoc.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <array>

namespace tolvane {
namespace {

using card::FileKind;

// Writing through the service moves change marks and nothing else: a failed write keeps every mark and the
// history as they were; a verified one clears the marks of what it wrote, makes no undo step and announces no
// change of content.
TEST(CardExchangeTest, AWriteMovesOnlyTheMarksOfWhatItVerified) {
    testing::TestAppContext app;
    CTarvelinDoc document(&app.languages);
    testing::userEdit(document, [](ProjectData& project) {
        project.general().setDisplayContrast(61);
        project.chimes().setName(0, "Bogurodzica");
    });
    ASSERT_TRUE(document.project().general().isModified());
    const int steps = document.undoStack()->count();
    const SectionState general = document.project().state(SectionId::General);
    QSignalSpy changed(&document, &CTarvelinDoc::projectChanged);
    const std::array kinds{FileKind::Config, FileKind::Chimes};
    CardExchange cards(app.context, document);

    const QString missing = app.dir.filePath("no-such-card");
    for (const card::WriteResult& result : cards.write(kinds, missing)) {
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.text, text::CardWriteFailed);
    }
    EXPECT_TRUE(document.project().general().isModified());
    EXPECT_TRUE(document.project().chimes().isModified());
    EXPECT_TRUE(document.isModified());

    const QString folder = app.dir.filePath("card");
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const card::WriteResult& result : cards.write(kinds, folder)) {
        EXPECT_TRUE(result.ok) << result.text << " " << result.reason;
    }
    EXPECT_FALSE(document.project().general().isModified());
    EXPECT_FALSE(document.project().chimes().isModified());
    EXPECT_EQ(QFileInfo(folder + "/config.dat").size(), static_cast<qint64>(card::fileSize(FileKind::Config)));
    EXPECT_EQ(document.project().state(SectionId::General).content, general.content);
    EXPECT_EQ(document.undoStack()->count(), steps);
    EXPECT_EQ(changed.count(), 0);
}

} // namespace
} // namespace tolvane
