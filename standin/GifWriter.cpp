#include "GifWriter.h"

#include <QPainter>

namespace standin {

namespace {

constexpr int CodeSize = 9; // 8-bit pixel codes plus the clear and end codes
constexpr int ClearCode = 256;
constexpr int EndCode = 257;
// Pixel codes between two clear codes: the decoder adds a table entry for each code after the
// first, and widens its codes once the table reaches 512 entries.
constexpr int CodesPerClear = 250;

void appendWord(QByteArray& out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

QImage indexed(const QImage& image)
{
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter(&opaque).drawImage(0, 0, image);
    // Qt keeps the exact colours when there are 256 or fewer and dithers otherwise.
    return opaque.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither | Qt::AvoidDither);
}

// The codes, packed least significant bit first, cut into sub-blocks of at most 255 bytes.
QByteArray imageData(const QImage& pixels)
{
    QByteArray packed;
    quint32 bits = 0;
    int count = 0;
    auto put = [&](int code) {
        bits |= quint32(code) << count;
        for (count += CodeSize; count >= 8; count -= 8, bits >>= 8)
            packed.append(char(bits & 0xff));
    };
    int sinceClear = CodesPerClear;
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            if (sinceClear++ == CodesPerClear) {
                put(ClearCode);
                sinceClear = 1;
            }
            put(pixels.constScanLine(y)[x]);
        }
    }
    put(EndCode);
    if (count > 0)
        packed.append(char(bits & 0xff));
    QByteArray blocks(1, char(CodeSize - 1));
    for (qsizetype at = 0; at < packed.size(); at += 255) {
        const QByteArray block = packed.mid(at, 255);
        blocks.append(char(block.size()));
        blocks.append(block);
    }
    blocks.append('\0');
    return blocks;
}

} // namespace

QByteArray GifWriter::encode(const QList<QImage>& frames, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return QByteArray();
    };
    if (frames.isEmpty() || frames.first().isNull())
        return fail(QStringLiteral("no picture to encode"));
    const QSize size = frames.first().size();
    if (size.width() > 0xffff || size.height() > 0xffff)
        return fail(QStringLiteral("a GIF picture is at most 65535 pixels wide and high"));

    QByteArray out("GIF89a");
    appendWord(out, size.width());
    appendWord(out, size.height());
    out.append(char(0x70)); // no global colour table, 8 bits per primary
    out.append('\0');       // background colour index
    out.append('\0');       // no aspect ratio
    for (const QImage& frame : frames) {
        if (frame.size() != size)
            return fail(QStringLiteral("the frames of a GIF picture must have one size"));
        const QImage pixels = indexed(frame);
        // Graphic control: a tenth of a second per frame, nothing transparent.
        out.append("\x21\xf9\x04\x00", 4);
        appendWord(out, 10);
        out.append("\x00\x00", 2);
        // Image descriptor: the whole picture, a local table of 256 colours, not interlaced.
        out.append(char(0x2c));
        appendWord(out, 0);
        appendWord(out, 0);
        appendWord(out, size.width());
        appendWord(out, size.height());
        out.append(char(0x87));
        const QList<QRgb> colours = pixels.colorTable();
        for (int i = 0; i < 256; ++i) {
            const QRgb rgb = colours.value(i, qRgb(0, 0, 0));
            out.append(char(qRed(rgb)));
            out.append(char(qGreen(rgb)));
            out.append(char(qBlue(rgb)));
        }
        out.append(imageData(pixels));
    }
    out.append(char(0x3b)); // trailer
    return out;
}

} // namespace standin
