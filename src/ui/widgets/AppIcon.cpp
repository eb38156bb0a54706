#include "AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap drawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // Two overlapping picture frames with a circular arrow: pictures that take turns.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x6c, 0xb0));
    p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.18, s * 0.18);
    p.setBrush(QColor(0xf6, 0xc3, 0x44));
    p.drawRoundedRect(QRectF(s * 0.18, s * 0.16, s * 0.46, s * 0.46), s * 0.06, s * 0.06);
    p.setBrush(QColor(0xff, 0xff, 0xff));
    p.drawRoundedRect(QRectF(s * 0.36, s * 0.38, s * 0.46, s * 0.46), s * 0.06, s * 0.06);
    p.setBrush(QColor(0x4c, 0xaf, 0x50));
    QPainterPath hill;
    hill.moveTo(s * 0.40, s * 0.80);
    hill.lineTo(s * 0.55, s * 0.58);
    hill.lineTo(s * 0.66, s * 0.70);
    hill.lineTo(s * 0.72, s * 0.64);
    hill.lineTo(s * 0.78, s * 0.80);
    hill.closeSubpath();
    p.drawPath(hill);
    return pixmap;
}

} // namespace

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(drawIcon(size));
    return icon;
}
