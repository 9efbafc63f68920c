#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace tolvane::testing {

inline void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(content), content.size());
}

// A catalog file of the agreed shape with the given version and the texts given as JSON members ("102": "Tak").
inline QByteArray catalogJson(const QByteArray& version, const QByteArray& members) {
    return "{\"version\": \"" + version + "\", \"texts\": {" + members + "}}";
}

} // namespace tolvane::testing
