#include "pdf/PdfWriter.h"

#include "pdf/PageBreaks.h"
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
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
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

// The top-level pieces of the document as laid out in one long column: headings, lines, empty lines and tables
// with the places between their rows where a page may end.
std::vector<LayoutPiece> layoutPieces(QTextDocument& document) {
    QAbstractTextDocumentLayout& layout = *document.documentLayout();
    std::vector<LayoutPiece> pieces;
    for (QTextFrame::iterator it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            const QRectF box = layout.frameBoundingRect(frame);
            LayoutPiece piece{LayoutPiece::Kind::Table, box.top(), box.bottom(), {}, 0, 0};
            if (auto* table = qobject_cast<QTextTable*>(frame)) {
                // A row spans the text of its cells; a page may end halfway between one row's text and the next.
                const int rows = table->rows();
                std::vector<double> rowTop(static_cast<std::size_t>(rows), box.bottom());
                std::vector<double> rowBottom(static_cast<std::size_t>(rows), box.top());
                for (int r = 0; r < rows; ++r) {
                    for (int c = 0; c < table->columns(); ++c) {
                        const QTextTableCell cell = table->cellAt(r, c);
                        if (!cell.isValid() || cell.row() != r || cell.rowSpan() != 1) {
                            continue;
                        }
                        const auto row = static_cast<std::size_t>(r);
                        rowTop[row] =
                            std::min(rowTop[row], layout.blockBoundingRect(cell.firstCursorPosition().block()).top());
                        rowBottom[row] = std::max(rowBottom[row],
                                                  layout.blockBoundingRect(cell.lastCursorPosition().block()).bottom());
                    }
                }
                const int head = std::clamp(table->format().headerRowCount(), 0, rows);
                for (int r = 1; r < rows; ++r) {
                    const auto row = static_cast<std::size_t>(r);
                    const double between = (rowBottom[row - 1] + rowTop[row]) / 2;
                    if (r == head) {
                        piece.headTop = box.top();
                        piece.headBottom = between;
                    } else if (r > head && rowBottom[row - 1] <= rowTop[row]) {
                        piece.rowCuts.push_back(between);
                    }
                }
            }
            pieces.push_back(std::move(piece));
            continue;
        }
        const QTextBlock block = it.currentBlock();
        const QRectF box = layout.blockBoundingRect(block);
        const LayoutPiece::Kind kind = block.blockFormat().headingLevel() > 0 ? LayoutPiece::Kind::Heading
                                       : block.text().trimmed().isEmpty()     ? LayoutPiece::Kind::Empty
                                                                              : LayoutPiece::Kind::Text;
        pieces.push_back({kind, box.top(), box.bottom(), {}, 0, 0});
    }
    return pieces;
}

// Paints the part of the column from `top` to `bottom` at height `at` of the page, and nothing outside it.
void paintPart(QPainter& painter, QAbstractTextDocumentLayout& layout, qreal top, qreal bottom, qreal at, qreal width) {
    if (bottom <= top) {
        return;
    }
    painter.save();
    painter.translate(0, at - top);
    const QRectF part(0, top, width, bottom - top);
    painter.setClipRect(part);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = part;
    context.palette.setColor(QPalette::Text, Qt::black);
    layout.draw(&painter, context);
    painter.restore();
}

// The document laid out in one column of the page's width, cut into pages (see paginate), each page painted with
// its part of the column and the footer.
QString render(QPdfWriter& writer, QTextDocument& document, const PdfWriter::Footer& footer, int& pageCount) {
    const QRectF area = writer.pageLayout().paintRectPixels(Resolution);
    const qreal footerHeight = millimetres(PdfWriter::FooterMm);
    const QSizeF body(area.width(), area.height() - footerHeight);
    QAbstractTextDocumentLayout& layout = *document.documentLayout();
    layout.setPaintDevice(&writer);
    document.setTextWidth(body.width());
    // A table whose columns cannot be narrower than their longest words (the weekly list has nine) may need more
    // than the page's width: then the column is laid out as wide as it needs and drawn smaller, so that no column
    // is cut off at the page's edge.
    qreal scale = 1;
    if (layout.documentSize().width() > body.width()) {
        document.setTextWidth(layout.documentSize().width());
        scale = body.width() / layout.documentSize().width();
    }
    const qreal columnWidth = body.width() / scale;
    const qreal columnHeight = body.height() / scale;
    const std::vector<PageSlice> pages = paginate(layoutPieces(document), columnHeight, layout.documentSize().height());
    pageCount = static_cast<int>(pages.size());

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
        const PageSlice& slice = pages[static_cast<std::size_t>(page)];
        painter.save();
        painter.scale(scale, scale);
        paintPart(painter, layout, slice.headTop, slice.headBottom, 0, columnWidth);
        const qreal at = std::max<qreal>(0, slice.headHeight());
        paintPart(painter, layout, slice.top, std::min<qreal>(slice.bottom, slice.top + columnHeight - at), at,
                  columnWidth);
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
        // Letters stay letters: without shaping for Latin text there are no ligatures such as "fi", so the text
        // copied or searched in the PDF is the text of the project.
        QFont font = document.defaultFont();
        font.setStyleStrategy(QFont::PreferNoShaping);
        document.setDefaultFont(font);
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
