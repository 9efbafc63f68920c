#pragma once

#include "CatalogFiles.h"

#include <QByteArray>
#include <QDir>
#include <QString>

namespace tolvane::testing {

// A card image of `size` bytes (a full one by default) filled with 0xFF, with `tag` at 0x10000 when it fits.
inline QByteArray cardImage(const QByteArray& tag, qsizetype size = 0x10017) {
    QByteArray image(size, '\xFF');
    for (qsizetype i = 0; i < tag.size() && 0x10000 + i < size; ++i) {
        image[0x10000 + i] = tag[i];
    }
    return image;
}

// all.dat: a bare 23-byte identity beginning with `tag`.
inline QByteArray allDat(const QByteArray& tag, qsizetype size = 23) {
    QByteArray identity(size, '\0');
    for (qsizetype i = 0; i < tag.size() && i < size; ++i) {
        identity[i] = tag[i];
    }
    return identity;
}

// The first four bytes of a project file of format `number`, and a few bytes of body.
inline QByteArray projectHeader(int number) {
    QByteArray head("?MPT\x05\x00\x00\x00", 8);
    head[0] = static_cast<char>(number);
    return head;
}

#ifdef Q_OS_WIN
inline const QString EditorName = QStringLiteral("Tolvane.exe");
#else
inline const QString EditorName = QStringLiteral("Tolvane");
#endif

// A version folder beside the launcher holding an editor program.
inline void addVersionFolder(const QString& launcherFolder, const QString& version) {
    ASSERT_TRUE(QDir(launcherFolder).mkpath(version));
    writeFile(QDir(launcherFolder).filePath(version + "/" + EditorName), "#!/bin/sh\n");
}

} // namespace tolvane::testing
