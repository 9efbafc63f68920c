#pragma once

#include <QList>
#include <QString>
#include <QUrl>

namespace tolvane {

// The user guide as installed beside the editor: one folder per language (Help/English, Help/Polski, ...) with
// one XHTML file per section (weekly.html, bell-editor.html, ...) and index.html, the contents; the pictures in
// Help/images. A section is named by its topic, the file name without ".html", optionally followed by an anchor
// inside it ("choosers#relay"). A section missing in the chosen language is taken from the English guide.
class HelpGuide {
public:
    static constexpr const char* FallbackLanguage = "English";
    static constexpr const char* ContentsTopic = "index";

    // One entry of the contents or of a search: the section's heading and its topic.
    struct Entry {
        QString title;
        QString topic;
    };

    HelpGuide(QString folder, QString language);

    QString folder() const { return folder_; }
    QString language() const { return language_; }

    // The file that holds `topic` (its anchor left off): the chosen language's, else the English one; empty when
    // neither guide has it.
    QString fileOf(const QString& topic) const;
    // The file's URL with the topic's anchor as its fragment; empty when there is no such file.
    QUrl urlOf(const QString& topic) const;
    // The topic a URL of the guide shows ("weekly", "choosers#relay"); empty for a URL outside the guide.
    static QString topicOf(const QUrl& url);

    // The sections the contents page links to, in its order, each titled with the link's text.
    QList<Entry> contents() const;
    // The sections of the contents whose text holds every word of `words` (ignoring case), in contents order.
    QList<Entry> search(const QString& words) const;

    // The plain text of an XHTML file (tags left out), empty when it cannot be read or is not well formed.
    static QString plainText(const QString& file);

private:
    QString folder_;
    QString language_;
};

} // namespace tolvane
