#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

// Pictures made in memory for tests and benchmarks.
namespace TestPictures {

// The picture in the given format (quality -1: the writer's default); empty if it cannot be
// written.
QByteArray encoded(const QImage& image, const char* format, int quality = -1);
QImage filled(int width, int height, const QColor& colour);
// Gradients, shapes and thin lines: the kind of content a photo has.
QImage scenery(int width, int height);
// The CRC that closes each PNG chunk.
quint32 pngCrc(const QByteArray& bytes);

} // namespace TestPictures
