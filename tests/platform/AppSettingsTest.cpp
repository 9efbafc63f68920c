#include "platform/AppSettings.h"
#include "CatalogFiles.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

class AppSettingsTest : public ::testing::Test {
protected:
    QString iniPath() const { return dir.filePath("Tolvane.ini"); }
    QTemporaryDir dir;
};

TEST_F(AppSettingsTest, AnEmptyStoreReadsAsTheDefaults) {
    QSettings ini(iniPath(), QSettings::IniFormat);
    const AppSettings values = SettingsStore(ini).read();
    EXPECT_EQ(values.lastLang, "Polski");
    EXPECT_EQ(values.lastDir, "");
    EXPECT_EQ(values.lastDatDir, "");
    EXPECT_EQ(values.toolBar, 1);
    EXPECT_EQ(values.statusBar, 1);
    EXPECT_FALSE(QFile::exists(iniPath())); // reading writes nothing
}

TEST_F(AppSettingsTest, WritesEveryValueAndReadsItBack) {
    AppSettings values;
    values.lastLang = "Deutsch";
    values.lastDir = QStringLiteral("C:\\Moje projekty\\Ko\u015Bci\u00F3\u0142, wie\u017Ca");
    values.lastDatDir = "/media/card;x=1/";
    values.toolBar = 0;
    values.statusBar = 0;
    {
        QSettings ini(iniPath(), QSettings::IniFormat);
        EXPECT_TRUE(SettingsStore(ini).write(values));
    }
    QSettings again(iniPath(), QSettings::IniFormat);
    EXPECT_EQ(SettingsStore(again).read(), values);
    // The values live in the group "Settings" under the agreed names.
    EXPECT_EQ(again.value("Settings/LastLang").toString(), "Deutsch");
    EXPECT_EQ(again.value("Settings/StatusBar").toInt(), 0);
    const QStringList expectedKeys{"Settings/LastDatDir", "Settings/LastDir", "Settings/LastLang", "Settings/StatusBar",
                                   "Settings/ToolBar"};
    QStringList keys = again.allKeys();
    keys.sort();
    EXPECT_EQ(keys, expectedKeys);
}

TEST_F(AppSettingsTest, ValuesOfTheWrongTypeReadAsDefaults) {
    testing::writeFile(iniPath(), "[Settings]\nLastLang=a, b\nLastDir=ok\nToolBar=abc\nStatusBar=\n");
    QSettings ini(iniPath(), QSettings::IniFormat);
    const AppSettings values = SettingsStore(ini).read();
    EXPECT_EQ(values.lastLang, "Polski");
    EXPECT_EQ(values.lastDir, "ok");
    EXPECT_EQ(values.toolBar, 1);
    EXPECT_EQ(values.statusBar, 1);
}

} // namespace
} // namespace tolvane
