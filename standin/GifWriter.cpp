#include "GifWriter.h"

#include <QPainter>

#include <algorithm>
#include <unordered_map>

namespace standin {

namespace {

constexpr int MaxLzwCodes = 4096;
constexpr int MaxCodeSize = 12;

// Packs variable-width codes least significant bit first and cuts the result into the
// data sub-blocks of at most 255 bytes that a GIF image body is made of.
struct CodePacker
{
    QByteArray bytes;
    quint32 bitBuffer = 0;
    int bitCount = 0;

    void put(int code, int codeSize)
    {
        bitBuffer |= quint32(code) << bitCount;
        bitCount += codeSize;
        while (bitCount >= 8) {
            bytes.append(char(bitBuffer & 0xff));
            bitBuffer >>= 8;
            bitCount -= 8;
        }
    }

    QByteArray finish()
    {
        if (bitCount > 0)
            bytes.append(char(bitBuffer & 0xff));
        QByteArray blocks;
        blocks.reserve(bytes.size() + bytes.size() / 255 + 2);
        for (qsizetype pos = 0; pos < bytes.size(); pos += 255) {
            const qsizetype length = std::min<qsizetype>(255, bytes.size() - pos);
            blocks.append(char(length));
            blocks.append(bytes.constData() + pos, length);
        }
        blocks.append('\0');
        return blocks;
    }
};

void appendWord(QByteArray& out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

} // namespace

QByteArray GifWriter::encode(const QImage& image, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return QByteArray();
    };
    if (image.isNull())
        return fail(QStringLiteral("no picture to encode"));
    if (image.width() > 0xffff || image.height() > 0xffff)
        return fail(QStringLiteral("a GIF picture is at most 65535 pixels wide and high"));

    const QImage indexed = toIndexed(image);
    const QList<QRgb> colours = indexed.colorTable();
    const int bits = paletteBits(colours.size());

    QByteArray out("GIF89a");
    appendWord(out, indexed.width());
    appendWord(out, indexed.height());
    // Global colour table present, 8 bits per primary, table of 2^bits entries.
    out.append(char(0x80 | 0x70 | (bits - 1)));
    out.append('\0'); // background colour index
    out.append('\0'); // no aspect ratio
    for (int i = 0; i < (1 << bits); ++i) {
        const QRgb rgb = i < colours.size() ? colours.at(i) : qRgb(0, 0, 0);
        out.append(char(qRed(rgb)));
        out.append(char(qGreen(rgb)));
        out.append(char(qBlue(rgb)));
    }

    out.append(char(0x2c)); // image descriptor: whole screen, no local table, not interlaced
    appendWord(out, 0);
    appendWord(out, 0);
    appendWord(out, indexed.width());
    appendWord(out, indexed.height());
    out.append('\0');

    // The code size must be at least 2 even for a two-colour palette.
    const int minCodeSize = std::max(2, bits);
    out.append(char(minCodeSize));
    out.append(compress(indexed, minCodeSize));
    out.append(char(0x3b)); // trailer
    return out;
}

QImage GifWriter::toIndexed(const QImage& image)
{
    if (image.format() == QImage::Format_Indexed8 && !image.colorTable().isEmpty())
        return image;
    QImage opaque = image;
    if (image.hasAlphaChannel()) {
        opaque = QImage(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    // Qt keeps the exact colours when there are 256 or fewer and dithers otherwise.
    return opaque.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither | Qt::AvoidDither);
}

int GifWriter::paletteBits(qsizetype colourCount)
{
    int bits = 1;
    while ((qsizetype(1) << bits) < colourCount)
        ++bits;
    return bits;
}

QByteArray GifWriter::compress(const QImage& indexed, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    const int colourLimit = indexed.colorCount();

    std::unordered_map<quint32, int> dictionary;
    dictionary.reserve(MaxLzwCodes);
    int codeSize = minCodeSize + 1;
    int nextCode = endCode + 1;
    CodePacker packer;
    packer.bytes.reserve(indexed.width() * indexed.height() / 2 + 16);

    auto reset = [&] {
        dictionary.clear();
        codeSize = minCodeSize + 1;
        nextCode = endCode + 1;
    };
    // A pixel index outside the palette would make a code the decoder cannot resolve.
    auto pixel = [&](int x, int y) {
        const int index = indexed.constScanLine(y)[x];
        return index < colourLimit ? index : 0;
    };

    packer.put(clearCode, codeSize);
    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        for (int x = 0; x < indexed.width(); ++x) {
            const int k = pixel(x, y);
            if (prefix < 0) {
                prefix = k;
                continue;
            }
            const quint32 key = (quint32(prefix) << 8) | quint32(k);
            const auto found = dictionary.find(key);
            if (found != dictionary.end()) {
                prefix = found->second;
                continue;
            }
            packer.put(prefix, codeSize);
            if (nextCode < MaxLzwCodes) {
                const int assigned = nextCode++;
                dictionary.emplace(key, assigned);
                // The decoder adds this entry one code later, so it widens its codes when
                // the entry after this one would no longer fit: that is when this one
                // reaches 2^codeSize.
                if (assigned >= (1 << codeSize) && codeSize < MaxCodeSize)
                    ++codeSize;
            } else {
                packer.put(clearCode, codeSize);
                reset();
            }
            prefix = k;
        }
    }
    packer.put(prefix, codeSize);
    // Reading that last code the decoder still adds an entry and may widen its codes; the
    // end code must be written at the width it will then expect.
    if (nextCode > endCode + 1 && nextCode < MaxLzwCodes && nextCode >= (1 << codeSize) &&
        codeSize < MaxCodeSize)
        ++codeSize;
    packer.put(endCode, codeSize);
    return packer.finish();
}

} // namespace standin
