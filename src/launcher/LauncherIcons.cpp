#include "launcher/LauncherIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tolvane {

namespace {

constexpr int Size = 48;

// A sheet of paper with a folded corner.
void drawPage(QPainter& p, const QColor& fill) {
    QPainterPath page;
    page.moveTo(10, 4);
    page.lineTo(30, 4);
    page.lineTo(40, 14);
    page.lineTo(40, 44);
    page.lineTo(10, 44);
    page.closeSubpath();
    p.setPen(QPen(QColor(70, 70, 70), 1.5));
    p.setBrush(fill);
    p.drawPath(page);
    p.setBrush(QColor(210, 210, 210));
    p.drawPolygon(QPolygonF({QPointF(30, 4), QPointF(30, 14), QPointF(40, 14)}));
}

void drawNew(QPainter& p) {
    drawPage(p, Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 160, 40));
    p.drawRect(28, 30, 16, 4);
    p.drawRect(34, 24, 4, 16);
}

void drawOpen(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1.5));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(4, 12, 36, 28);
    p.drawRect(4, 8, 14, 6);
    p.setBrush(QColor(255, 225, 120));
    p.drawPolygon(QPolygonF({QPointF(10, 20), QPointF(46, 20), QPointF(40, 40), QPointF(4, 40)}));
}

void drawCard(QPainter& p) {
    QPainterPath card;
    card.moveTo(12, 4);
    card.lineTo(36, 4);
    card.lineTo(40, 8);
    card.lineTo(40, 44);
    card.lineTo(8, 44);
    card.lineTo(8, 12);
    card.closeSubpath();
    p.setPen(QPen(QColor(30, 30, 60), 1.5));
    p.setBrush(QColor(40, 70, 140));
    p.drawPath(card);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 190, 60));
    for (int i = 0; i < 5; ++i) {
        p.drawRect(13 + i * 5, 8, 3, 8);
    }
    p.setBrush(Qt::white);
    p.drawRect(13, 24, 22, 14);
}

void drawDat(QPainter& p) {
    drawPage(p, QColor(235, 245, 255));
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(20, 60, 140));
    p.drawText(QRect(10, 20, 30, 20), Qt::AlignCenter, QStringLiteral("DAT"));
}

void drawClose(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(4, 4, 40, 40);
    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(16, 16, 32, 32);
    p.drawLine(32, 16, 16, 32);
}

// A bell, the program's own picture.
void drawWindow(QPainter& p) {
    QPainterPath bell;
    bell.moveTo(24, 6);
    bell.cubicTo(12, 6, 13, 20, 12, 30);
    bell.lineTo(6, 38);
    bell.lineTo(42, 38);
    bell.lineTo(36, 30);
    bell.cubicTo(35, 20, 36, 6, 24, 6);
    p.setPen(QPen(QColor(120, 80, 10), 1.5));
    p.setBrush(QColor(220, 170, 50));
    p.drawPath(bell);
    p.drawEllipse(20, 38, 8, 8);
}

} // namespace

QIcon launcherIcon(LauncherIcon which) {
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case LauncherIcon::New:
        drawNew(p);
        break;
    case LauncherIcon::Open:
        drawOpen(p);
        break;
    case LauncherIcon::Card:
        drawCard(p);
        break;
    case LauncherIcon::Dat:
        drawDat(p);
        break;
    case LauncherIcon::Close:
        drawClose(p);
        break;
    case LauncherIcon::Window:
        drawWindow(p);
        break;
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace tolvane
