#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace standin {

// Turns a drawn picture into the bytes of a picture file and stores them.
class PictureEncoder
{
public:
    enum class Format { Png, Gif, Bmp, Jpeg };

    // The file's bytes, or an empty array with a reason in *error.
    static QByteArray encode(const QImage& image, Format format, QString* error = nullptr);
    // The usual file name extension, without the dot.
    static QString extension(Format format);
    // The name QImageReader gives the format.
    static QByteArray readerName(Format format);

    // Writes through a temporary file and renames it into place, so that a reader never
    // sees half a picture.
    static bool writeFile(const QString& path, const QByteArray& data, QString* error = nullptr);
};

} // namespace standin
