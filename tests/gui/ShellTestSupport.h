#pragma once

#include "TestAppContext.h"
#include "card/CardFiles.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/CTarvelinView.h"
#include "gui/app/IconStrip.h"
#include "platform/PlatformCardFileSystem.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <map>
#include <vector>

namespace tolvane::testing {

// Every text number the editor may ask for, as `prefix` followed by the number ("t157"), so a test sees which text
// a control shows and in which language.
inline std::map<int, QString> numberedTexts(const QString& prefix) {
    std::map<int, QString> texts;
    for (int id = 100; id < 1000; ++id) {
        texts[id] = prefix + QString::number(id);
    }
    // Our own texts; the ones that name an argument keep its place.
    for (int id = 2000; id < 2500; ++id) {
        texts[id] = prefix + QString::number(id);
    }
    for (int id = 2550; id < 2600; ++id) {
        texts[id] = prefix + QString::number(id);
    }
    for (int id = 2650; id < 2700; ++id) {
        texts[id] = prefix + QString::number(id);
    }
    for (int id : {2003, 2004}) {
        texts[id] = prefix + QString::number(id) + QStringLiteral(" %s");
    }
    texts[2005] = prefix + QStringLiteral("2005 %d");
    for (int id : {110, 240, 269, 284, 534, 535, 548, 2075, 2077, 2103, 2109, 2110, 2111}) {
        texts[id] = prefix + QString::number(id) + QStringLiteral(" %d");
    }
    for (int id : {254, 255, 256, 257}) {
        texts[id] = prefix + QString::number(id) + QStringLiteral(" %d/%d");
    }
    texts[2006] = prefix + QStringLiteral("2006 %s");
    texts[2150] = prefix + QStringLiteral("2150 %s");
    texts[2157] = prefix + QStringLiteral("2157 %s %s");
    texts[2158] = prefix + QStringLiteral("2158 %s");
    texts[2169] = prefix + QStringLiteral("2169 %d");
    texts[2102] = prefix + QStringLiteral("2102 %s");
    texts[2203] = prefix + QStringLiteral("2203 %s %d");
    for (int id : {2256, 2257, 2258}) {
        texts[id] = prefix + QString::number(id) + QStringLiteral(" %d");
    }
    texts[2260] = prefix + QStringLiteral("2260 %s");
    for (int id : {2320, 2321, 2322, 2323}) {
        texts[id] = prefix + QString::number(id) + QStringLiteral(" %d");
    }
    texts[2300] = prefix + QStringLiteral("2300 %s");
    for (int id : {2341, 2342, 2354, 2355}) {
        texts[id] = prefix + QString::number(id) + QStringLiteral(" %s");
    }
    texts[2359] = prefix + QStringLiteral("2359 %d/%d");
    for (int id : {2360, 2361}) {
        texts[id] = prefix + QString::number(id) + QStringLiteral(" %d");
    }
    texts[2363] = prefix + QStringLiteral("2363 %d %d %d");
    texts[2457] = prefix + QStringLiteral("2457 %s %s %d");
    texts[2555] = prefix + QStringLiteral("2555 %s");
    texts[2556] = prefix + QStringLiteral("2556 %s %d");
    texts[2364] = prefix + QStringLiteral("2364 %d %d %s");
    return texts;
}

// A main window over a test context whose language "Test" names every text by its number.
struct ShellFixture {
    ShellFixture() : app(numberedTexts(QStringLiteral("t"))) {
        app.current.lastLang = QString::fromLatin1(TestAppContext::LanguageName);
        frame = std::make_unique<CMainFrame>(app.context, app.settingsFile, EditorImages{none, none, none});
    }

    QString path(const QString& name) const { return app.dir.filePath(name); }

    TestAppContext app;
    IconStrip none;
    std::unique_ptr<CMainFrame> frame;
};

// The tree item showing text `textId`, null when there is none.
inline QTreeWidgetItem* treeItem(const CTarvelinView& view, int textId) {
    for (QTreeWidgetItemIterator it(view.tree()); *it; ++it) {
        if ((*it)->data(0, CTarvelinView::TextRole).toInt() == textId) {
            return *it;
        }
    }
    return nullptr;
}

inline std::vector<int> childTexts(const QTreeWidgetItem* item) {
    std::vector<int> texts;
    for (int i = 0; i < item->childCount(); ++i) {
        texts.push_back(item->child(i)->data(0, CTarvelinView::TextRole).toInt());
    }
    return texts;
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Writes the language catalog `name` (`texts` by number) into `folder`, as the program's Language folder holds it.
inline bool writeLanguage(const QString& folder, const QString& name, const std::map<int, QString>& texts) {
    QJsonObject entries;
    for (const auto& [id, text] : texts) {
        entries.insert(QString::number(id), text);
    }
    return writeBytes(folder + QStringLiteral("/") + name + QStringLiteral(".json"),
                      QJsonDocument(QJsonObject{{"version", "0x02000001"}, {"texts", entries}}).toJson());
}

// Writes the four card files of `project` into `folder`.
inline bool writeCardFolder(ProjectData& project, const QString& folder, const QString& temp) {
    PlatformCardFileSystem files;
    for (card::FileKind kind : card::AllKinds) {
        if (!card::writeCardFile(project, kind, folder.toStdString(), temp.toStdString(), files).ok) {
            return false;
        }
    }
    return true;
}

} // namespace tolvane::testing
