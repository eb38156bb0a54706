#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace standin {

// Encodes pictures as GIF89a files, since Qt reads GIF but cannot write it. Each frame is reduced
// to a palette of at most 256 colours (transparent pixels laid over white) and stored without
// compression: one LZW code per pixel, with a clear code before the code width would grow. The
// files are larger than a compressing encoder's; every reader takes them the same.
class GifWriter
{
public:
    // The file's bytes, or an empty array with a reason in *error (no frame, a null frame, or
    // frames larger than 65535 pixels or of different sizes).
    static QByteArray encode(const QList<QImage>& frames, QString* error = nullptr);
    static QByteArray encode(const QImage& image, QString* error = nullptr)
    {
        return encode(QList<QImage>{image}, error);
    }
};

} // namespace standin
