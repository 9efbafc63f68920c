#include "gui/app/CAboutDlg.h"
#include "gui/app/CTarvelinApp.h"
#include "platform/ProgramInformation.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// The splash screen and the About box name the version the programs print with --version: both are written by
// hand, so a version raised in the build alone would leave them telling an old one.
TEST(ProgramVersion, TheSplashAndTheAboutBoxShowTheVersionTheProgramsPrint) {
    const std::string_view version = programVersion();
    const QString printed =
        QStringLiteral("V ") + QString::fromLatin1(version.data(), static_cast<qsizetype>(version.size()));
    EXPECT_EQ(CTarvelinApp::Version, printed);
    EXPECT_EQ(CAboutDlg::Version, printed);
}

} // namespace
} // namespace tolvane
