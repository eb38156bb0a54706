#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QPainter;
class QRectF;
class QColor;

namespace standin {

// Draws colourful geometric avatars: a two-tone background, a shape and a letter. The same
// seed always gives the same colours and shape, so pictures stay stable between runs.
class PicturePainter
{
public:
    enum class Shape { Circle, Diamond, Stripes, Rings, Triangle, Checks };

    // An opaque picture of exactly `size`, shape chosen from the seed.
    static QImage paint(const QString& seed, const QString& letter, const QSize& size);
    static QImage paint(const QString& seed, const QString& letter, const QSize& size, Shape shape);

    // The first letter of a name (a whole grapheme, so "Zoë" gives "Z" and an accented
    // capital keeps its accent), upper-cased; "?" for a name without letters.
    static QString initialOf(const QString& name);
    static Shape shapeFor(const QString& seed);

private:
    static quint32 hashOf(const QString& text);
    static void drawShape(QPainter& painter, Shape shape, const QRectF& area, const QColor& colour);
    static void drawLetter(QPainter& painter, const QString& letter, const QRectF& area);
};

} // namespace standin
