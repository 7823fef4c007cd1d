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
    } else {
        throw std::invalid_argument(std::string("no glyph named ") + name);
    }
    return pm;
}
