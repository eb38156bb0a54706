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
// The picture resampled to the size by stb_image_resize (Catmull-Rom, edges clamped): the
// reference the picture loader's own kernel must agree with. Null if stb fails.
QImage referenceResample(const QImage& image, const QSize& size);
// Mean absolute difference per channel of two pictures of one size, in levels of 255.
double meanDifference(const QImage& a, const QImage& b);
// The CRC that closes each PNG chunk.
quint32 pngCrc(const QByteArray& bytes);

} // namespace TestPictures
