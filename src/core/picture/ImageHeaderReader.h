#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

// Finds the format, pixel size and colour depth of a PNG, GIF, BMP or JPEG file from its
// first 64 KiB without decoding the picture. The results of the last call stay available
// until the next one.
class ImageHeaderReader
{
public:
    enum Type : int {
        Unknown = 0,
        Gif = 1,
        Jpeg = 2,
        Png = 3,
        Bmp = 4,
    };

    // Bytes examined per file; a longer file is read only this far.
    static constexpr int HeaderSize = 65536;

    ImageHeaderReader();

    // Reads the head of the file in one read and examines it. Fails when the file cannot be
    // opened or read (all results 0) or when the depth does not fit in a byte (the results found
    // before that stay).
    Result<void> ReadImageInfo(const QString& path);

    // Same as ReadImageInfo for bytes already in memory; only the first HeaderSize bytes
    // count, as if read from a file.
    Result<void> readBuffer(const QByteArray& firstBytes);

    int ImageWidth() const { return m_width; }
    int ImageHeight() const { return m_height; }
    quint8 Depth() const { return m_depth; }
    int ImageType() const { return m_type; }

    static int WordFromBytes(quint8 low, quint8 high) { return high * 256 + low; }

private:
    void resetResults();
    // Zeroes whatever an earlier call left past the first `length` bytes, so the buffer reads
    // exactly as a freshly zeroed one holding only this call's bytes.
    void clearAfter(int length);
    Result<void> examine();
    Result<void> findJpegFrame();

    // Kept between calls so a call neither allocates nor zeroes the whole 64 KiB; bytes past
    // m_used are always zero.
    std::vector<quint8> m_buffer;
    int m_used = 0;
    int m_length = 0;

    int m_width = 0;
    int m_height = 0;
    quint8 m_depth = 0;
    int m_type = Unknown;
};
