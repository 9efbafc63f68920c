#pragma once

#include "platform/HelpGuide.h"
#include "section/TextSource.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;
class QToolButton;

namespace tolvane {

// The program's help window: the user guide in a QTextBrowser with Back, Forward and Contents, the guide's
// contents on the left and a search field above them that narrows the list to the sections holding every word
// typed. One window per program: F1 anywhere (showTopic) opens it, or brings it to the front, at the section of
// what is shown, in the program's language (English where a section is missing in it). Opened from a modal dialog,
// the window belongs to that dialog, so it takes input while the dialog is open.
class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    // Where the program's guide is and what it speaks: `language` is asked each time a window opens, so a change
    // of language shows in the next section opened. `texts` outlives every window (the program's catalog).
    static void configure(QString folder, std::function<QString()> language, const TextSource* texts);
    // Opens the window at `topic` ("weekly", "choosers#relay"; the contents for an unknown one) on behalf of
    // `from`, and returns it.
    static CHelpWindow* showTopic(QWidget* from, const QString& topic);
    // The open window, null when none.
    static CHelpWindow* current();

    // The section shown, as a topic.
    QString currentTopic() const;
    // The heading of the section shown.
    QString currentHeading() const;
    QTextBrowser* browser() const { return browser_; }
    QListWidget* contentsList() const { return contents_; }
    QLineEdit* searchField() const { return search_; }
    const HelpGuide& guide() const { return guide_; }

private:
    CHelpWindow(HelpGuide guide, const TextSource* texts, QWidget* parent);

    QString text(int id) const;
    void open(const QString& topic);
    void fillContents(const QList<HelpGuide::Entry>& entries);
    void runSearch();
    void entryChosen(QListWidgetItem* item);
    void sourceShown();
    void keyPressEvent(QKeyEvent* event) override;

    HelpGuide guide_;
    const TextSource* texts_;
    QToolButton* back_;
    QToolButton* forward_;
    QToolButton* home_;
    QLineEdit* search_;
    QListWidget* contents_;
    QTextBrowser* browser_;
};

} // namespace tolvane
