#include "ImageHeaderReader.h"

#include "core/fs/RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace {

// The JPEG searches stop here, so every position they read (at most 8 past it) stays inside
// the buffer.
constexpr int JpegSearchEnd = 65525;

bool isFrameHeaderMarker(quint8 code)
{
    // Start-of-frame markers; C4 (DHT), C8 (reserved) and CC (DAC) only share the range.
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

QString overflowText(int depth)
{
    return QStringLiteral("Overflow: a colour depth of %1 bits does not fit in a byte").arg(depth);
}

} // namespace

ImageHeaderReader::ImageHeaderReader() : m_buffer(HeaderSize, 0) {}

Result<void> ImageHeaderReader::ReadImageInfo(const QString& path)
{
    resetResults();
    QFile file(path);
    if (const Result<void> opened =
            RegularFile::open(file, QIODevice::ReadOnly | QIODevice::Unbuffered);
        !opened)
        return Failure{QStringLiteral("Cannot open %1: %2").arg(path, opened.error())};
    const qint64 got = file.read(reinterpret_cast<char*>(m_buffer.data()), HeaderSize);
    if (got < 0) {
        // Part of the buffer may have been written; have the next call clear all of it.
        m_used = HeaderSize;
        return Failure{QStringLiteral("Cannot read %1: %2").arg(path, file.errorString())};
    }
    file.close();
    clearAfter(int(got));
    return examine();
}

Result<void> ImageHeaderReader::readBuffer(const QByteArray& firstBytes)
{
    resetResults();
    const int length = int(std::min<qsizetype>(firstBytes.size(), HeaderSize));
    if (length > 0)
        std::memcpy(m_buffer.data(), firstBytes.constData(), size_t(length));
    clearAfter(length);
    return examine();
}

void ImageHeaderReader::resetResults()
{
    m_width = 0;
    m_height = 0;
    m_depth = 0;
    m_type = Unknown;
}

void ImageHeaderReader::clearAfter(int length)
{
    if (m_used > length)
        std::memset(m_buffer.data() + length, 0, size_t(m_used - length));
    m_used = length;
    m_length = length;
}

Result<void> ImageHeaderReader::examine()
{
    const quint8* b = m_buffer.data();

    if (b[0] == 0x89 && b[1] == 0x50 && b[2] == 0x4E) {
        m_type = Png;
        const int bitDepth = b[24];
        int depth = 0;
        switch (b[25]) {
        case 0:
            depth = bitDepth;
            break;
        case 2:
            depth = bitDepth * 3;
            break;
        case 3:
            depth = 8;
            break;
        case 4:
            depth = bitDepth * 2;
            break;
        case 6:
            depth = bitDepth * 4;
            break;
        default:
            m_type = Unknown;
            break;
        }
        if (m_type == Png) {
            if (depth > 255)
                return Failure{overflowText(depth)};
            m_depth = quint8(depth);
            m_width = WordFromBytes(b[19], b[18]);
            m_height = WordFromBytes(b[23], b[22]);
        }
    }

    if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F') {
        m_type = Gif;
        m_width = WordFromBytes(b[6], b[7]);
        m_height = WordFromBytes(b[8], b[9]);
        m_depth = quint8((b[10] & 7) + 1);
    }

    if (b[0] == 'B' && b[1] == 'M') {
        m_type = Bmp;
        m_width = WordFromBytes(b[18], b[19]);
        m_height = WordFromBytes(b[22], b[23]);
        m_depth = b[28];
    }

    if (m_type == Unknown)
        return findJpegFrame();
    return {};
}

Result<void> ImageHeaderReader::findJpegFrame()
{
    const quint8* b = m_buffer.data();

    // Everything from m_length on is zero, so neither search can succeed there: each stops
    // at the first position past the file's bytes with the same answer as running on to the
    // end of the buffer.
    const int end = std::min(m_length, JpegSearchEnd);

    // Start of image: FF D8 FF anywhere before the search end.
    int p = 0;
    for (;;) {
        const auto* hit = static_cast<const quint8*>(std::memchr(b + p, 0xFF, size_t(end - p)));
        if (!hit)
            return {};
        p = int(hit - b);
        if (b[p + 1] == 0xD8 && b[p + 2] == 0xFF)
            break;
        if (++p >= end)
            return {};
    }

    int q = p + 2;
    if (q >= JpegSearchEnd)
        return {};

    for (;;) {
        if (q >= m_length)
            return {};
        if (b[q] == 0xFF && b[q + 1] != 0xFF) {
            ++q;
            if (isFrameHeaderMarker(b[q]))
                break;
            // Lands on the last byte of the skipped segment; the scan below moves on to the
            // next FF.
            q += WordFromBytes(b[q + 2], b[q + 1]);
            if (q >= JpegSearchEnd)
                return {};
        } else {
            ++q;
            if (q >= end)
                return {};
            const auto* hit = static_cast<const quint8*>(std::memchr(b + q, 0xFF, size_t(end - q)));
            if (!hit)
                return {};
            q = int(hit - b);
        }
    }

    m_type = Jpeg;
    m_height = WordFromBytes(b[q + 5], b[q + 4]);
    m_width = WordFromBytes(b[q + 7], b[q + 6]);
    const int depth = b[q + 8] * 8;
    if (depth > 255)
        return Failure{overflowText(depth)};
    m_depth = quint8(depth);
    return {};
}
