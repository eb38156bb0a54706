#include "PictureEncoder.h"

#include "GifWriter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

namespace standin {

QByteArray PictureEncoder::encode(const QImage& image, Format format, QString* error)
{
    if (format == Format::Gif)
        return GifWriter::encode(image, error);
    if (image.isNull()) {
        if (error)
            *error = QStringLiteral("no picture to encode");
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, readerName(format));
    if (format == Format::Jpeg)
        writer.setQuality(90);
    // JPEG and BMP carry no alpha: flatten onto white rather than let it turn black.
    QImage source = image;
    if (format != Format::Png && image.hasAlphaChannel()) {
        source = QImage(image.size(), QImage::Format_RGB32);
        source.fill(Qt::white);
        QPainter painter(&source);
        painter.drawImage(0, 0, image);
    }
    if (!writer.write(source)) {
        if (error)
            *error = writer.errorString();
        return {};
    }
    return bytes;
}

QString PictureEncoder::extension(Format format)
{
    switch (format) {
    case Format::Png:
        return QStringLiteral("png");
    case Format::Gif:
        return QStringLiteral("gif");
    case Format::Bmp:
        return QStringLiteral("bmp");
    case Format::Jpeg:
        return QStringLiteral("jpg");
    }
    return {};
}

QByteArray PictureEncoder::readerName(Format format)
{
    switch (format) {
    case Format::Png:
        return "png";
    case Format::Gif:
        return "gif";
    case Format::Bmp:
        return "bmp";
    case Format::Jpeg:
        return "jpeg";
    }
    return {};
}

bool PictureEncoder::writeFile(const QString& path, const QByteArray& data, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace standin
