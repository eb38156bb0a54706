#pragma once

#include "core/Result.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QtGlobal>

// Decodes a picture file (PNG, JPEG, GIF first frame, BMP) and scales the whole picture to an
// exact pixel size, stretched, over a background colour.
namespace PictureLoader {

constexpr int ErrorNumber = 999;
inline const QString ErrorSource = QStringLiteral("GDI+ Module");

// Largest picture accepted, counted as width x height x 4 bytes once decoded. A file whose
// header asks for more is refused before any pixel is decoded.
constexpr qint64 MaxDecodedBytes = qint64(256) * 1024 * 1024;

// The failure reported for a picture file that cannot be shown (it carries ErrorNumber and
// ErrorSource).
Failure loadError(const QString& path);

// The picture in `path` scaled to width x height pixels over `background`.
Result<QImage> LoadScaledPicture(const QString& path, int width, int height,
                                 const QColor& background);

// A width x height opaque canvas filled with `colour`.
QImage CreateCanvas(int width, int height, const QColor& colour);

// The first picture of the file at `path`, decoded; a JPEG is reduced while decoding as far as
// jpegDecodeSize allows for a picture of `target` pixels. Fails with loadError.
Result<QImage> decodeFile(const QString& path, const QSize& target);

// The whole of `image` resampled to `size` with the Catmull-Rom bicubic filter (edge pixels
// repeating outwards): premultiplied ARGB32 when it has transparency, else RGB32.
Result<QImage> resampledBicubic(QImage image, const QSize& size);

// Resamples the whole of `image` to width x height with the Catmull-Rom bicubic filter (edge
// pixels repeating outwards) and composes it over the canvas from its top-left corner. Fails
// when nothing could be drawn.
// Pass the image with std::move when it is no longer needed: it is then converted in place.
Result<void> DrawPictureOnCanvas(QImage image, QImage& canvas, int width, int height);

// The size at which a JPEG of `fullSize` is decoded for a picture of `target` pixels: the
// smallest size libjpeg can produce directly that is still at least twice the target in each
// direction, or `fullSize` when no such reduction exists.
QSize jpegDecodeSize(const QSize& fullSize, const QSize& target);

} // namespace PictureLoader
