#include <QApplication>

#include <gtest/gtest.h>

// The GUI tests need a QApplication. Without a platform chosen they run offscreen, so that they (and test discovery
// at build time) need no display.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
