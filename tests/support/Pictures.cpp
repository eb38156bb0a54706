#include "Pictures.h"
#include <QBuffer>
#include <QPainter>
#include <QtEndian>

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb/stb_image_resize.h>

namespace Pictures {

QImage scenery(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(30, 80, 190));
    sky.setColorAt(1, QColor(250, 200, 120));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 120, 50));
    painter.drawEllipse(QRectF(-width * 0.2, height * 0.6, width * 0.9, height * 0.8));
    painter.setPen(QPen(QColor(20, 20, 20), width / 200.0 + 1));
    for (int i = 0; i < 12; ++i)
        painter.drawLine(QPointF(width * i / 12.0, height), QPointF(width * 0.5, height * 0.5));
    return image;
}

QByteArray encoded(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, format, quality) ? bytes : QByteArray();
}

QByteArray pngDeclaring(quint32 width, quint32 height, quint8 bitDepth, quint8 colourType)
{
    const auto word = [](quint32 value) {
        value = qToBigEndian(value);
        return QByteArray(reinterpret_cast<const char*>(&value), 4);
    };
    const QByteArray chunk = "IHDR" + word(width) + word(height) + char(bitDepth) +
                             char(colourType) + QByteArray(3, '\0');
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : chunk) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0d", 12) + chunk + word(~crc);
}

QImage referenceResample(const QImage& image, const QSize& size)
{
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    QImage scaled(size, QImage::Format_RGB32);
    const bool done = stbir_resize_uint8_generic(
        source.constBits(), source.width(), source.height(), int(source.bytesPerLine()),
        scaled.bits(), size.width(), size.height(), int(scaled.bytesPerLine()), 4,
        STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, STBIR_FILTER_CATMULLROM,
        STBIR_COLORSPACE_LINEAR, nullptr);
    return done ? scaled : QImage();
}

} // namespace Pictures
