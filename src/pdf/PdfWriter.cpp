#include "pdf/PdfWriter.h"

#include "platform/SafeFile.h"
#include "project/TextFormat.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cmath>
#include <utility>
#include <vector>

namespace tolvane {

namespace {

// Dots per inch of the page's coordinates: fine enough for the icons and the lines, small enough for the numbers.
constexpr int Resolution = 300;
constexpr qreal FooterPointSize = 8.0;

qreal millimetres(double mm) {
    return mm / 25.4 * Resolution;
}

// The column widths of the document are a browser's hints, which it widens to fit the words; Qt's layout takes them
// as exact and would break a heading such as "Number" inside the word. On the page the columns take the width of
// their content, within the page.
void freeColumnWidths(QTextFrame* frame) {
    const QList<QTextFrame*> children = frame->childFrames();
    for (QTextFrame* child : children) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            QTextTableFormat format = table->format();
            format.clearColumnWidthConstraints();
            table->setFormat(format);
        }
        freeColumnWidths(child);
    }
}

// Where a piece of the document may start a new page: before a heading, or before a table that has none.
class BreakPoint {
public:
    BreakPoint() = default;
    explicit BreakPoint(const QTextBlock& heading) : heading_(heading) {}
    explicit BreakPoint(QTextTable* table) : table_(table) {}

    bool isValid() const { return heading_.isValid() || table_ != nullptr; }
    qreal top(QAbstractTextDocumentLayout& layout) const {
        return heading_.isValid() ? layout.blockBoundingRect(heading_).top() : layout.frameBoundingRect(table_).top();
    }
    void breakBefore() const {
        if (heading_.isValid()) {
            QTextBlockFormat format = heading_.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(heading_).setBlockFormat(format);
        } else {
            QTextTableFormat format = table_->format();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            table_->setFormat(format);
        }
    }

private:
    QTextBlock heading_;
    QTextTable* table_ = nullptr;
};

// The headings right before a table (with the empty lines between them): the first of them, or none. `onlyEmpty`
// tells whether nothing but empty lines stands between the table and the one before it.
QTextBlock leadingHeading(const std::vector<QTextBlock>& leading, bool& onlyEmpty) {
    QTextBlock first;
    onlyEmpty = true;
    for (auto b = leading.rbegin(); b != leading.rend(); ++b) {
        const bool empty = b->text().trimmed().isEmpty();
        onlyEmpty = onlyEmpty && empty;
        if (b->blockFormat().headingLevel() > 0) {
            first = *b;
        } else if (!empty) {
            break;
        }
    }
    return first;
}

// A group of settings (a heading with the tables that follow it, a table of values with the table it leads into)
// that would be cut by a page end but fits on a page starts on the next page, so that no heading ends a page and a
// group reads in one piece. A longer table starts on a new page only when just a few of its lines would be left at
// the bottom of one; it is cut where the page ends and repeats its row of column heads.
void keepTablesTogether(QTextDocument& document, qreal pageHeight) {
    QAbstractTextDocumentLayout& layout = *document.documentLayout();
    const auto pageOf = [pageHeight](qreal y) { return std::floor(y / pageHeight); };
    const auto atPageTop = [pageHeight](qreal y) { return std::fmod(y, pageHeight) < pageHeight / 100; };
    std::vector<QTextBlock> before; // the blocks since the previous table
    BreakPoint group;               // where the present group starts
    for (QTextFrame::iterator it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (it.currentFrame() == nullptr) {
            before.push_back(it.currentBlock());
            continue;
        }
        auto* table = qobject_cast<QTextTable*>(it.currentFrame());
        const std::vector<QTextBlock> leading = std::exchange(before, {});
        if (table == nullptr) {
            group = {};
            continue;
        }
        bool onlyEmpty = true;
        const QTextBlock heading = leadingHeading(leading, onlyEmpty);
        const BreakPoint own = heading.isValid() ? BreakPoint(heading) : BreakPoint(table);
        if (heading.isValid() || !onlyEmpty || !group.isValid()) {
            group = own;
        }
        const QRectF box = layout.frameBoundingRect(table);
        const qreal groupTop = group.top(layout);
        const bool cut = box.bottom() > (pageOf(box.top()) + 1) * pageHeight;
        if (!cut && pageOf(groupTop) == pageOf(box.top())) {
            continue;
        }
        if (box.bottom() - groupTop < pageHeight * 0.9) {
            if (!atPageTop(groupTop)) {
                group.breakBefore();
            }
            continue;
        }
        // Too long to keep together: at least keep the table's own heading with it, and no table begins with only
        // a few lines at the bottom of a page.
        const qreal ownTop = own.top(layout);
        const bool shortStart = (pageOf(ownTop) + 1) * pageHeight - ownTop < pageHeight / 5;
        if ((shortStart || pageOf(ownTop) != pageOf(box.top())) && !atPageTop(ownTop)) {
            own.breakBefore();
        }
        group = own;
    }
}

// The document laid out for the pages, every page painted below its own slice of it, then the footer.
QString render(QPdfWriter& writer, QTextDocument& document, const PdfWriter::Footer& footer, int& pageCount) {
    const QRectF area = writer.pageLayout().paintRectPixels(Resolution);
    const qreal footerHeight = millimetres(PdfWriter::FooterMm);
    const QSizeF body(area.width(), area.height() - footerHeight);
    document.documentLayout()->setPaintDevice(&writer);
    document.setPageSize(body);
    keepTablesTogether(document, body.height());
    pageCount = document.pageCount();

    QPainter painter;
    if (!painter.begin(&writer)) {
        return QStringLiteral("the PDF could not be started");
    }
    QFont small = document.defaultFont();
    small.setPointSizeF(FooterPointSize);
    const QFontMetricsF metrics(small, &writer);
    const qreal gap = millimetres(2);
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0 && !writer.newPage()) {
            painter.end();
            return QStringLiteral("a new page could not be started");
        }
        const QRectF slice(0, page * body.height(), body.width(), body.height());
        painter.save();
        painter.translate(0, -slice.top());
        painter.setClipRect(slice);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = slice;
        context.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, context);
        painter.restore();

        const QRectF footerArea(0, body.height() + gap, area.width(), footerHeight - gap);
        painter.setPen(QPen(Qt::darkGray, millimetres(0.2)));
        painter.drawLine(QPointF(0, footerArea.top()), QPointF(area.width(), footerArea.top()));
        painter.setPen(Qt::black);
        painter.setFont(small);
        const QString number = QString::fromStdString(
            formatText(footer.pageFormat.toStdString(),
                       {TextArg{static_cast<long long>(page + 1)}, TextArg{static_cast<long long>(pageCount)}}));
        const QString left =
            metrics.elidedText(footer.text, Qt::ElideRight, area.width() - metrics.horizontalAdvance(number) - 2 * gap);
        painter.drawText(footerArea, Qt::AlignLeft | Qt::AlignBottom, left);
        painter.drawText(footerArea, Qt::AlignRight | Qt::AlignBottom, number);
    }
    if (!painter.end()) {
        return QStringLiteral("the PDF could not be finished");
    }
    return {};
}

} // namespace

PdfWriter::PdfWriter(QString resourceFolder) : resourceFolder_(std::move(resourceFolder)) {}

PdfWriter::Result PdfWriter::write(const std::string& html, const QString& target, const Footer& footer,
                                   const QString& title) const {
    return write(html, toNativePath(target), footer, title);
}

PdfWriter::Result PdfWriter::write(const std::string& html, const NativePath& target, const Footer& footer,
                                   const QString& title) const {
    Result result;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        result.error = QStringLiteral("no graphics application to lay out the pages");
        return result;
    }
    // The whole file is made in memory first, so that a failure leaves nothing behind and an old file stays.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(Resolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm), QPageLayout::Millimeter));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Tolvane"));

        QTextDocument document;
        // The document names print/style.css and print/<icon>.png relative to itself.
        document.setBaseUrl(QUrl::fromLocalFile(QDir(resourceFolder_).absolutePath() + QLatin1Char('/')));
        // Lines break between words only, as in a browser: a column is at least as wide as its longest word.
        QTextOption wrapping = document.defaultTextOption();
        wrapping.setWrapMode(QTextOption::WordWrap);
        document.setDefaultTextOption(wrapping);
        document.setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
        freeColumnWidths(document.rootFrame());
        result.error = render(writer, document, footer, result.pages);
        if (!result.error.isEmpty()) {
            return result;
        }
    }
    const FileResult written = writeFileAtomically(target, bytes);
    if (!written.ok) {
        result.error = written.error;
        return result;
    }
    result.written = true;
    return result;
}

QString PdfWriter::footerText(const QString& location, const QString& projectFile, const QDate& date) {
    QStringList parts;
    for (const QString& part : {location, projectFile, date.toString(Qt::ISODate)}) {
        if (!part.isEmpty()) {
            parts << part;
        }
    }
    return parts.join(QStringLiteral(" \u2013 "));
}

} // namespace tolvane
