#include "gui/widgets/CHelpWindow.h"

#include "TextNumbers.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace tolvane {

namespace {

struct Setup {
    QString folder;
    std::function<QString()> language;
    const TextSource* texts = nullptr;
};

Setup& setup() {
    static Setup instance;
    return instance;
}

QPointer<CHelpWindow>& openWindow() {
    static QPointer<CHelpWindow> window;
    return window;
}

constexpr int TopicRole = Qt::UserRole;

} // namespace

void CHelpWindow::configure(QString folder, std::function<QString()> language, const TextSource* texts) {
    setup() = {std::move(folder), std::move(language), texts};
}

CHelpWindow* CHelpWindow::current() {
    return openWindow().data();
}

CHelpWindow* CHelpWindow::showTopic(QWidget* from, const QString& topic) {
    // A modal dialog blocks every window that is not its own: the help window then belongs to that dialog.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner && from) {
        owner = from->window();
    }
    const QString language = setup().language ? setup().language() : QString();
    QPointer<CHelpWindow>& window = openWindow();
    if (window && (window->guide_.language() != language || window->guide_.folder() != setup().folder)) {
        window->deleteLater();
        window = nullptr;
    }
    if (!window) {
        window = new CHelpWindow(HelpGuide(setup().folder, language), setup().texts, owner);
    } else if (window->parentWidget() != owner) {
        const QRect place = window->geometry();
        window->setParent(owner, Qt::Window);
        window->setGeometry(place);
    }
    window->open(topic);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

CHelpWindow::CHelpWindow(HelpGuide guide, const TextSource* texts, QWidget* parent)
    : QWidget(parent, Qt::Window), guide_(std::move(guide)), texts_(texts), back_(new QToolButton(this)),
      forward_(new QToolButton(this)), home_(new QToolButton(this)), search_(new QLineEdit(this)),
      contents_(new QListWidget(this)), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(text(text::HelpTitle));
    resize(900, 640);

    back_->setObjectName(QStringLiteral("helpBack"));
    back_->setArrowType(Qt::LeftArrow);
    back_->setToolTip(text(text::HelpBack) + QStringLiteral(" (Alt+Left)"));
    back_->setAccessibleName(text(text::HelpBack));
    forward_->setObjectName(QStringLiteral("helpForward"));
    forward_->setArrowType(Qt::RightArrow);
    forward_->setToolTip(text(text::HelpForward) + QStringLiteral(" (Alt+Right)"));
    forward_->setAccessibleName(text(text::HelpForward));
    home_->setObjectName(QStringLiteral("helpContents"));
    home_->setText(text(text::HelpContents));
    home_->setAccessibleName(text(text::HelpContents));
    home_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    search_->setObjectName(QStringLiteral("helpSearch"));
    search_->setPlaceholderText(text(text::HelpSearch));
    search_->setAccessibleName(text(text::HelpSearch));
    search_->setClearButtonEnabled(true);
    contents_->setObjectName(QStringLiteral("helpContentsList"));
    contents_->setAccessibleName(text(text::HelpContents));
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->setAccessibleName(text(text::HelpTitle));

    auto* bar = new QHBoxLayout;
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addWidget(home_);
    bar->addWidget(search_, 1);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 670});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);
    setTabOrder(search_, contents_);
    setTabOrder(contents_, browser_);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QToolButton::clicked, this, [this] { open(QString::fromLatin1(HelpGuide::ContentsTopic)); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { sourceShown(); });
    connect(search_, &QLineEdit::textChanged, this, [this] { runSearch(); });
    connect(search_, &QLineEdit::returnPressed, this, [this] {
        if (contents_->count() > 0 && (contents_->item(0)->flags() & Qt::ItemIsEnabled)) {
            entryChosen(contents_->item(0));
        }
    });
    connect(contents_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { entryChosen(item); });
    connect(contents_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { entryChosen(item); });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        search_->setFocus(Qt::ShortcutFocusReason);
        search_->selectAll();
    });
    back_->setEnabled(false);
    forward_->setEnabled(false);
    fillContents(guide_.contents());
}

QString CHelpWindow::text(int id) const {
    return texts_ ? QString::fromStdString(texts_->text(id)) : QString();
}

void CHelpWindow::open(const QString& topic) {
    QUrl url = guide_.urlOf(topic);
    if (url.isEmpty()) {
        url = guide_.urlOf(QString::fromLatin1(HelpGuide::ContentsTopic));
    }
    if (url.isEmpty()) {
        browser_->setHtml(
            QStringLiteral("<p>%1</p>")
                .arg(text(text::HelpMissing).replace(QStringLiteral("%s"), guide_.folder()).toHtmlEscaped()));
        return;
    }
    if (browser_->source().adjusted(QUrl::RemoveFragment) == url.adjusted(QUrl::RemoveFragment) &&
        browser_->source().fragment() == url.fragment()) {
        browser_->reload();
    } else {
        browser_->setSource(url);
    }
    if (url.hasFragment()) {
        browser_->scrollToAnchor(url.fragment());
    }
}

void CHelpWindow::fillContents(const QList<HelpGuide::Entry>& entries) {
    contents_->clear();
    for (const HelpGuide::Entry& entry : entries) {
        auto* item = new QListWidgetItem(entry.title, contents_);
        item->setData(TopicRole, entry.topic);
        if (entry.topic.contains(QLatin1Char('#'))) {
            item->setText(QStringLiteral("    ") + entry.title); // a part of the section above
        }
    }
}

void CHelpWindow::runSearch() {
    const QString words = search_->text().simplified();
    if (words.isEmpty()) {
        fillContents(guide_.contents());
        return;
    }
    const QList<HelpGuide::Entry> found = guide_.search(words);
    fillContents(found);
    if (found.isEmpty()) {
        auto* none = new QListWidgetItem(text(text::HelpNoMatch), contents_);
        none->setFlags(Qt::NoItemFlags);
    }
}

void CHelpWindow::entryChosen(QListWidgetItem* item) {
    if (!item || !(item->flags() & Qt::ItemIsEnabled)) {
        return;
    }
    open(item->data(TopicRole).toString());
    const QString words = search_->text().simplified();
    if (!words.isEmpty()) {
        // The first place of the first word, selected so that it shows.
        browser_->moveCursor(QTextCursor::Start);
        browser_->find(words.section(QLatin1Char(' '), 0, 0));
    }
}

void CHelpWindow::sourceShown() {
    setWindowTitle(text(text::HelpTitle) + QStringLiteral(" - ") + browser_->documentTitle());
}

QString CHelpWindow::currentTopic() const {
    return HelpGuide::topicOf(browser_->source());
}

QString CHelpWindow::currentHeading() const {
    // The heading at the anchor when the source names one, else the section's first heading.
    const QTextDocument* document = browser_->document();
    const QString anchor = browser_->source().fragment();
    bool seenAnchor = anchor.isEmpty();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (!seenAnchor) {
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                if (fragment.fragment().charFormat().anchorNames().contains(anchor)) {
                    seenAnchor = true;
                }
            }
            if (block.blockFormat().headingLevel() == 0 || !seenAnchor) {
                continue;
            }
        }
        if (block.blockFormat().headingLevel() > 0) {
            return block.text().simplified();
        }
    }
    return {};
}

void CHelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tolvane
