#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The GUI tests need a QApplication. Without a platform chosen they run offscreen, so that they (and test discovery
// at build time) need no display.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The user's data folder of this test run is a temporary one, so that nothing a test writes there (the card
    // backups of the editor's card writes) reaches the real one.
    QTemporaryDir dataHome;
    if (dataHome.isValid()) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
