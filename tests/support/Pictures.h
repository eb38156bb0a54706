#pragma once

#include "standin/GifWriter.h"
#include <QImage>

// Picture files made in memory, for tests and benchmarks.
namespace Pictures {

// A width x height picture of one colour (with its alpha: Qt::transparent makes a clear one).
inline QImage filled(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}
// Gradients, shapes and thin lines: the kind of content a photo has.
QImage scenery(int width, int height);

// The picture as a file in a format Qt writes ("png", "jpeg", "bmp"); quality -1: the default.
QByteArray encoded(const QImage& image, const char* format, int quality = -1);
inline QByteArray png(const QImage& image)
{
    return encoded(image, "png");
}
// A GIF with these frames, all of one size.
inline QByteArray gif(const QList<QImage>& frames)
{
    return standin::GifWriter::encode(frames);
}
// Only the signature and header chunk of a PNG that declares width x height: enough for every
// header reader, with no pixel to decode.
QByteArray pngDeclaring(quint32 width, quint32 height, quint8 bitDepth = 8, quint8 colourType = 6);

// The picture resampled by stb_image_resize (Catmull-Rom, edges clamped): the reference the
// picture loader's own resampling must agree with. Null if stb fails.
QImage referenceResample(const QImage& image, const QSize& size);

} // namespace Pictures
