#include "TestPictures.h"

#include <QBuffer>
#include <QPainter>

#include <cstdlib>

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb/stb_image_resize.h>
#pragma GCC diagnostic pop

namespace TestPictures {

QByteArray encoded(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format, quality))
        return {};
    return bytes;
}

QImage filled(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage scenery(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(30, 80, 190));
    sky.setColorAt(1, QColor(250, 200, 120));
    painter.fillRect(image.rect(), sky);
    QRadialGradient sun(width * 0.7, height * 0.3, height * 0.2);
    sun.setColorAt(0, QColor(255, 250, 210));
    sun.setColorAt(1, QColor(255, 160, 40, 0));
    painter.fillRect(image.rect(), sun);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 120, 50));
    painter.drawEllipse(QRectF(-width * 0.2, height * 0.6, width * 0.9, height * 0.8));
    painter.setBrush(QColor(90, 60, 40));
    painter.drawRect(QRectF(width * 0.55, height * 0.55, width * 0.2, height * 0.3));
    painter.setPen(QPen(QColor(20, 20, 20), width / 200.0 + 1));
    for (int i = 0; i < 12; ++i)
        painter.drawLine(QPointF(width * i / 12.0, height), QPointF(width * 0.5, height * 0.5));
    return image;
}

QImage referenceResample(const QImage& image, const QSize& size)
{
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    QImage scaled(size, QImage::Format_RGB32);
    if (!stbir_resize_uint8_generic(source.constBits(), source.width(), source.height(),
                                    int(source.bytesPerLine()), scaled.bits(), size.width(),
                                    size.height(), int(scaled.bytesPerLine()), 4,
                                    STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP,
                                    STBIR_FILTER_CATMULLROM, STBIR_COLORSPACE_LINEAR, nullptr))
        return {};
    return scaled;
}

double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

quint32 pngCrc(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

} // namespace TestPictures
