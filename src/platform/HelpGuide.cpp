#include "HelpGuide.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <utility>

namespace tolvane {

namespace {

// The section's file name: the topic without its anchor; a topic that tries to leave the guide's folder names
// no file.
QString fileName(const QString& topic) {
    const QString name = topic.section(QLatin1Char('#'), 0, 0);
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.startsWith(QLatin1Char('.'))) {
        return {};
    }
    return name + QStringLiteral(".html");
}

QString anchorOf(const QString& topic) {
    const qsizetype hash = topic.indexOf(QLatin1Char('#'));
    return hash < 0 ? QString() : topic.mid(hash + 1);
}

} // namespace

HelpGuide::HelpGuide(QString folder, QString language) : folder_(std::move(folder)), language_(std::move(language)) {}

QString HelpGuide::fileOf(const QString& topic) const {
    const QString name = fileName(topic);
    if (name.isEmpty()) {
        return {};
    }
    const QDir root(folder_);
    for (const QString& language : {language_, QString::fromLatin1(FallbackLanguage)}) {
        if (language.isEmpty()) {
            continue;
        }
        const QString path = root.filePath(language + QLatin1Char('/') + name);
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return {};
}

QUrl HelpGuide::urlOf(const QString& topic) const {
    const QString file = fileOf(topic);
    if (file.isEmpty()) {
        return {};
    }
    QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    const QString anchor = anchorOf(topic);
    if (!anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    return url;
}

QString HelpGuide::topicOf(const QUrl& url) {
    if (!url.isLocalFile()) {
        return {};
    }
    QString topic = QFileInfo(url.toLocalFile()).completeBaseName();
    if (url.hasFragment() && !url.fragment().isEmpty()) {
        topic += QLatin1Char('#') + url.fragment();
    }
    return topic;
}

QList<HelpGuide::Entry> HelpGuide::contents() const {
    QList<Entry> entries;
    QFile file(fileOf(QString::fromLatin1(ContentsTopic)));
    if (!file.open(QIODevice::ReadOnly)) {
        return entries;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("a")) {
            continue;
        }
        const QString href = xml.attributes().value(QLatin1String("href")).toString();
        const QString title = xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
        if (href.isEmpty() || href.contains(QLatin1Char(':'))) {
            continue;
        }
        QString topic = href;
        topic.replace(QStringLiteral(".html"), QString());
        entries.append({title, topic});
    }
    return xml.hasError() ? QList<Entry>{} : entries;
}

QList<HelpGuide::Entry> HelpGuide::search(const QString& words) const {
    const QStringList wanted = words.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<Entry> found;
    if (wanted.isEmpty()) {
        return found;
    }
    for (const Entry& entry : contents()) {
        if (entry.topic.contains(QLatin1Char('#'))) {
            continue; // a part of a section already searched whole
        }
        const QString body = plainText(fileOf(entry.topic));
        bool all = !body.isEmpty();
        for (const QString& word : wanted) {
            all = all && body.contains(word, Qt::CaseInsensitive);
        }
        if (all) {
            found.append(entry);
        }
    }
    return found;
}

QString HelpGuide::plainText(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QXmlStreamReader xml(&file);
    QString text;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::Characters) {
            text += xml.text();
        } else if (xml.isStartElement()) {
            text += QLatin1Char(' ');
        }
    }
    return xml.hasError() ? QString() : text.simplified();
}

} // namespace tolvane
