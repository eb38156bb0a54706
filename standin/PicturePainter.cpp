#include "PicturePainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

namespace standin {

QImage PicturePainter::paint(const QString& seed, const QString& letter, const QSize& size)
{
    return paint(seed, letter, size, shapeFor(seed));
}

QImage PicturePainter::paint(const QString& seed, const QString& letter, const QSize& size,
                             Shape shape)
{
    if (size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    const quint32 hash = hashOf(seed);
    const int hue = int(hash % 360);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, size.width(), size.height());
    background.setColorAt(0, QColor::fromHsv(hue, 150, 235));
    background.setColorAt(1, QColor::fromHsv((hue + 50) % 360, 210, 165));
    painter.fillRect(image.rect(), background);

    const qreal side = std::min(size.width(), size.height());
    const QRectF square((size.width() - side) / 2.0, (size.height() - side) / 2.0, side, side);
    const QRectF area = square.adjusted(side * 0.1, side * 0.1, -side * 0.1, -side * 0.1);
    drawShape(painter, shape, area, QColor::fromHsv((hue + 180) % 360, 110, 250));
    drawLetter(painter, letter, square);
    return image;
}

QString PicturePainter::initialOf(const QString& name)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, name);
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end > 0; end = finder.toNextBoundary()) {
        const QString grapheme = name.mid(start, end - start);
        if (grapheme.at(0).isLetterOrNumber())
            return grapheme.toUpper();
        start = end;
    }
    return QStringLiteral("?");
}

PicturePainter::Shape PicturePainter::shapeFor(const QString& seed)
{
    return Shape((hashOf(seed) / 360) % 6);
}

quint32 PicturePainter::hashOf(const QString& text)
{
    // FNV-1a: stable across runs and machines, unlike qHash.
    quint32 hash = 2166136261u;
    for (const char byte : text.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 16777619u;
    }
    return hash;
}

void PicturePainter::drawShape(QPainter& painter, Shape shape, const QRectF& area,
                               const QColor& colour)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const QPointF centre = area.center();
    const qreal w = area.width();
    switch (shape) {
    case Shape::Circle:
        painter.drawEllipse(area);
        break;
    case Shape::Diamond:
        painter.drawPolygon(
            QPolygonF({QPointF(centre.x(), area.top()), QPointF(area.right(), centre.y()),
                       QPointF(centre.x(), area.bottom()), QPointF(area.left(), centre.y())}));
        break;
    case Shape::Stripes: {
        painter.translate(centre);
        painter.rotate(-30);
        const qreal band = w / 7.0;
        for (int i = -7; i <= 7; i += 2)
            painter.drawRect(QRectF(i * band - band / 2, -w * 2, band, w * 4));
        break;
    }
    case Shape::Rings:
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour, std::max<qreal>(2.0, w / 14.0)));
        for (int ring = 1; ring <= 3; ++ring) {
            const qreal r = w / 2.0 * ring / 3.0;
            painter.drawEllipse(centre, r, r);
        }
        break;
    case Shape::Triangle: {
        const qreal h = w * std::sqrt(3.0) / 2.0;
        const qreal top = centre.y() - h / 2.0;
        painter.drawPolygon(QPolygonF({QPointF(centre.x(), top), QPointF(area.right(), top + h),
                                       QPointF(area.left(), top + h)}));
        break;
    }
    case Shape::Checks: {
        const qreal cell = w / 4.0;
        for (int row = 0; row < 4; ++row)
            for (int column = row % 2; column < 4; column += 2)
                painter.drawRect(
                    QRectF(area.left() + column * cell, area.top() + row * cell, cell, cell));
        break;
    }
    }
    painter.restore();
}

void PicturePainter::drawLetter(QPainter& painter, const QString& letter, const QRectF& area)
{
    if (letter.isEmpty())
        return;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(std::max(8, int(area.height() * 0.5)));
    QPainterPath path;
    path.addText(0, 0, font, letter);
    const QRectF bounds = path.boundingRect();
    path.translate(area.center() - bounds.center());

    painter.save();
    painter.setPen(QPen(QColor(30, 30, 40), std::max<qreal>(1.5, area.height() / 48.0)));
    painter.setBrush(Qt::white);
    painter.drawPath(path);
    painter.restore();
}

} // namespace standin
