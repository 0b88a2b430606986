#include "TAppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace TAppIcon {

namespace {
QPixmap Draw(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 32.0, side / 32.0);
    const QColor ink(29, 53, 87);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRect(QRectF(4, 12, 5, 8)); // the magnet
    QPainterPath cone;
    cone.moveTo(9, 12);
    cone.lineTo(17, 5);
    cone.lineTo(17, 27);
    cone.lineTo(9, 20);
    cone.closeSubpath();
    p.drawPath(cone);
    QPen wave(QColor(52, 101, 164), 2.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(wave);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(12, 9, 14, 14), -50 * 16, 100 * 16);
    p.drawArc(QRectF(10, 4, 24, 24), -50 * 16, 100 * 16);
    return pixmap;
}
} // namespace

QIcon Get()
{
    static const QIcon icon = [] {
        QIcon i;
        for (int side : {16, 24, 32, 48, 64})
            i.addPixmap(Draw(side));
        return i;
    }();
    return icon;
}

} // namespace TAppIcon
