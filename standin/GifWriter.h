#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace standin {

// Encodes a picture as a single-frame GIF89a file, since Qt reads GIF but cannot write it.
// Pictures with more than 256 colours are reduced to a 256-colour palette first; transparent
// pixels are laid over white (the file carries no transparency).
class GifWriter
{
public:
    // The file's bytes, or an empty array with a reason in *error (null or oversized image).
    static QByteArray encode(const QImage& image, QString* error = nullptr);

private:
    static QImage toIndexed(const QImage& image);
    static int paletteBits(qsizetype colourCount);
    static QByteArray compress(const QImage& indexed, int minCodeSize);
};

} // namespace standin
