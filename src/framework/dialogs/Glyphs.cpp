#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <cstring>
#include <stdexcept>

namespace {

QPixmap canvas()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    return pm;
}

void door(QPainter &p)
{
    p.setPen(QPen(QColor(90, 60, 30), 2));
    p.setBrush(QColor(200, 160, 100));
    p.drawRect(QRectF(16, 4, 12, 24));
    p.setBrush(QColor(90, 60, 30));
    p.drawEllipse(QPointF(19, 17), 1.2, 1.2);
}

void arrow(QPainter &p, bool inward)
{
    QPainterPath path;
    if (inward) {
        path.moveTo(2, 13); path.lineTo(12, 13); path.lineTo(12, 8); path.lineTo(21, 16);
        path.lineTo(12, 24); path.lineTo(12, 19); path.lineTo(2, 19);
    } else {
        path.moveTo(22, 13); path.lineTo(12, 13); path.lineTo(12, 8); path.lineTo(3, 16);
        path.lineTo(12, 24); path.lineTo(12, 19); path.lineTo(22, 19);
    }
    path.closeSubpath();
    p.setPen(QPen(QColor(0, 80, 0), 1));
    p.setBrush(inward ? QColor(40, 170, 40) : QColor(200, 40, 40));
    p.drawPath(path);
}

} // namespace

QPixmap Glyph(const char *name)
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (std::strcmp(name, "OK") == 0) {
        p.setPen(QPen(QColor(0, 150, 0), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(5, 17), QPointF(13, 25), QPointF(27, 7)}));
    } else if (std::strcmp(name, "MEGSEM") == 0) {
        p.setPen(QPen(QColor(210, 0, 0), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 7), QPointF(25, 25));
        p.drawLine(QPointF(25, 7), QPointF(7, 25));
    } else if (std::strcmp(name, "BELEP") == 0) {
        door(p);
        arrow(p, true);
    } else if (std::strcmp(name, "KILEP") == 0) {
        door(p);
        arrow(p, false);
    } else if (std::strcmp(name, "JELENTKEZES") == 0) {
        p.setPen(QPen(QColor(40, 80, 160), 2));
        p.setBrush(QColor(220, 230, 250));
        p.drawRect(QRectF(5, 18, 22, 10));
        p.setPen(QPen(QColor(30, 140, 60), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(16, 3), QPointF(16, 17));
        p.drawPolyline(QPolygonF({QPointF(10, 11), QPointF(16, 17), QPointF(22, 11)}));
    } else if (std::strcmp(name, "LISTA") == 0) {
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 3, 20, 26));
        p.setPen(QPen(QColor(40, 80, 160), 2));
        for (int y = 9; y <= 23; y += 5)
            p.drawLine(QPointF(10, y), QPointF(22, y));
    } else if (std::strcmp(name, "ADMIN") == 0) {
        p.setPen(QPen(QColor(90, 90, 110), 4, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(16, 16);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(0, 8), QPointF(0, 13));
            p.restore();
        }
        p.setPen(QPen(QColor(90, 90, 110), 2));
        p.setBrush(QColor(200, 200, 215));
        p.drawEllipse(QPointF(16, 16), 9, 9);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
    } else if (std::strcmp(name, "JELENLET") == 0) {
        p.setPen(QPen(QColor(30, 120, 50), 2));
        p.setBrush(QColor(210, 245, 215));
        p.drawEllipse(QPointF(16, 16), 13, 13);
        p.setPen(QPen(QColor(0, 140, 0), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(9, 16), QPointF(14, 21), QPointF(23, 10)}));
    } else if (std::strcmp(name, "KARTYA") == 0) {
        p.setPen(QPen(QColor(40, 80, 160), 1.5));
        p.setBrush(QColor(230, 238, 255));
        p.drawRoundedRect(QRectF(2, 7, 28, 19), 3, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const int bars[] = {2, 1, 1, 2, 1, 3, 1, 1, 2, 1};
        qreal x = 7;
        for (int i = 0; i < 10; ++i) {
            if (i % 2 == 0)
                p.drawRect(QRectF(x, 12, bars[i], 10));
            x += bars[i] + 0.8;
        }
    } else if (std::strcmp(name, "JELSZO") == 0) {
        p.setPen(QPen(QColor(150, 110, 20), 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(10, 16), 6, 6);
        p.drawLine(QPointF(16, 16), QPointF(29, 16));
        p.drawLine(QPointF(25, 16), QPointF(25, 22));
        p.drawLine(QPointF(29, 16), QPointF(29, 21));
    } else if (std::strcmp(name, "HIBA") == 0) {
        p.setPen(QPen(QColor(150, 90, 0), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(255, 200, 40));
        p.drawPolygon(QPolygonF({QPointF(16, 3), QPointF(30, 28), QPointF(2, 28)}));
        p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 11), QPointF(16, 19));
        p.drawPoint(QPointF(16, 24));
    } else if (std::strcmp(name, "SEGITSEG") == 0) {
        p.setPen(QPen(QColor(40, 80, 160), 2));
        p.setBrush(QColor(220, 230, 250));
        p.drawEllipse(QPointF(16, 16), 13, 13);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(20);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("?"));
    } else {
        throw std::invalid_argument(std::string("no glyph named ") + name);
    }
    return pm;
}
