#include "gui/widgets/CPageHeader.h"

#include <QPainter>

#include <algorithm>

namespace tolvane {

CPageHeader::CPageHeader(QWidget* parent) : QWidget(parent) {
    setFixedHeight(Height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CPageHeader::setTitle(const QString& title) {
    title_ = title;
    update();
}

QString CPageHeader::shownTitle() const {
    // One line: line breaks in a title would otherwise make the text taller than the band.
    QString line = title_;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return fontMetrics().elidedText(line, Qt::ElideRight, std::max(0, width() - TitleIndent));
}

QSize CPageHeader::sizeHint() const {
    // The title never widens the page: it is cut to the width the page gets.
    return {TitleIndent, Height};
}

void CPageHeader::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(BandColor));
    painter.setPen(QColor(TitleColor));
    const QRect titleArea(TitleIndent, 0, std::max(0, width() - TitleIndent), height());
    painter.drawText(titleArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownTitle());
}

} // namespace tolvane
