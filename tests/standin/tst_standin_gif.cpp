#include "standin/GifWriter.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTest>

#include <vector>

using standin::GifWriter;

namespace {

enum class Pattern { Noise, Solid, Gradient };

QImage makeIndexed(QSize size, int colours, Pattern pattern, quint32 seed = 7)
{
    QImage image(size, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table.append(qRgb((i * 37) & 0xff, (i * 91 + 40) & 0xff, (255 - i) & 0xff));
    image.setColorTable(table);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            switch (pattern) {
            case Pattern::Noise:
                line[x] = uchar(random.bounded(colours));
                break;
            case Pattern::Solid:
                line[x] = uchar(colours - 1);
                break;
            case Pattern::Gradient:
                line[x] = uchar((x + y) % colours);
                break;
            }
        }
    }
    return image;
}

QImage readBack(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (reader.format() != "gif")
        return {};
    return reader.read();
}

// An unforgiving decoder, written from the format description and independent of the
// writer: it insists on the end code at the width the decoder expects, on no codes beyond
// the dictionary, on exactly width x height pixels and on nothing after the end code.
struct StrictResult
{
    QString problem; // empty when the file is sound
    QSize size;
    QList<QRgb> palette;
    QByteArray pixels;
};

StrictResult decodeStrict(const QByteArray& gif)
{
    StrictResult result;
    auto fail = [&result](const QString& why) {
        result.problem = why;
        return result;
    };
    const auto byte = [&gif](qsizetype i) { return i < gif.size() ? quint8(gif.at(i)) : 0; };
    const auto word = [&](qsizetype i) { return byte(i) | (byte(i + 1) << 8); };
    if (!gif.startsWith("GIF89a"))
        return fail(QStringLiteral("signature"));
    result.size = QSize(word(6), word(8));
    const int flags = byte(10);
    if (!(flags & 0x80))
        return fail(QStringLiteral("no global colour table"));
    const int tableSize = 1 << ((flags & 7) + 1);
    qsizetype pos = 13;
    for (int i = 0; i < tableSize; ++i, pos += 3)
        result.palette.append(qRgb(byte(pos), byte(pos + 1), byte(pos + 2)));
    if (byte(pos) != 0x2c)
        return fail(QStringLiteral("no image descriptor"));
    if (word(pos + 5) != result.size.width() || word(pos + 7) != result.size.height())
        return fail(QStringLiteral("image size differs from screen size"));
    pos += 10;
    const int minCodeSize = byte(pos++);
    if (minCodeSize < 2 || minCodeSize > 8)
        return fail(QStringLiteral("bad minimum code size"));
    QByteArray data;
    for (;;) {
        const int length = byte(pos++);
        if (pos + length > gif.size())
            return fail(QStringLiteral("truncated sub-block"));
        if (length == 0)
            break;
        data.append(gif.constData() + pos, length);
        pos += length;
    }
    if (pos != gif.size() - 1 || byte(pos) != 0x3b)
        return fail(QStringLiteral("no trailer right after the image"));

    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    std::vector<QByteArray> table;
    int codeSize = 0;
    auto reset = [&] {
        table.assign(endCode + 1, QByteArray());
        for (int i = 0; i < clearCode; ++i)
            table[i] = QByteArray(1, char(i));
        codeSize = minCodeSize + 1;
    };
    reset();
    qsizetype bit = 0;
    const qsizetype totalBits = data.size() * 8;
    int previous = -1;
    bool ended = false;
    while (!ended) {
        if (bit + codeSize > totalBits)
            return fail(QStringLiteral("data ends before the end code"));
        int code = 0;
        for (int i = 0; i < codeSize; ++i, ++bit)
            code |= ((quint8(data.at(bit / 8)) >> (bit % 8)) & 1) << i;
        if (code == clearCode) {
            reset();
            previous = -1;
            continue;
        }
        if (code == endCode) {
            ended = true;
            break;
        }
        const int next = int(table.size());
        if (code >= clearCode && code < endCode + 1)
            return fail(QStringLiteral("unexpected special code"));
        QByteArray entry;
        if (previous < 0) {
            if (code >= clearCode)
                return fail(QStringLiteral("first code after clear is not a colour"));
            entry = table[code];
        } else if (code < next) {
            entry = table[code];
        } else if (code == next) {
            entry = table[previous] + table[previous].left(1);
        } else {
            return fail(QStringLiteral("code %1 beyond the dictionary (%2)").arg(code).arg(next));
        }
        for (const char index : entry) {
            if (quint8(index) >= tableSize)
                return fail(QStringLiteral("pixel outside the palette"));
        }
        result.pixels += entry;
        if (previous >= 0 && next < 4096) {
            table.push_back(table[previous] + entry.left(1));
            if (int(table.size()) == (1 << codeSize) && codeSize < 12)
                ++codeSize;
        }
        previous = code;
    }
    if ((bit + 7) / 8 != data.size())
        return fail(QStringLiteral("bytes left after the end code"));
    if (result.pixels.size() != qsizetype(result.size.width()) * result.size.height())
        return fail(QStringLiteral("%1 pixels instead of %2")
                        .arg(result.pixels.size())
                        .arg(result.size.width() * result.size.height()));
    return result;
}

// The colour of every pixel, whatever the image's format.
QImage asRgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestStandinGif : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void everyLengthEndsCleanly_data();
    void everyLengthEndsCleanly();
    void header_data();
    void header();
    void manyColoursAreReduced();
    void transparencyBecomesWhite();
    void refuses_data();
    void refuses();
};

void TestStandinGif::roundTrip_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("colours");
    QTest::addColumn<Pattern>("pattern");

    QTest::newRow("one pixel, one colour") << QSize(1, 1) << 1 << Pattern::Solid;
    QTest::newRow("one pixel, two colours") << QSize(1, 1) << 2 << Pattern::Noise;
    QTest::newRow("single row") << QSize(300, 1) << 4 << Pattern::Noise;
    QTest::newRow("single column") << QSize(1, 300) << 3 << Pattern::Gradient;
    QTest::newRow("odd size, 16 colours") << QSize(97, 13) << 16 << Pattern::Noise;
    QTest::newRow("17 colours need 5 bits") << QSize(50, 50) << 17 << Pattern::Noise;
    QTest::newRow("long runs grow 12-bit codes") << QSize(400, 400) << 2 << Pattern::Solid;
    QTest::newRow("two-colour noise fills the dictionary")
        << QSize(512, 512) << 2 << Pattern::Noise;
    QTest::newRow("256-colour noise clears many times") << QSize(256, 256) << 256 << Pattern::Noise;
    QTest::newRow("256-colour gradient") << QSize(300, 200) << 256 << Pattern::Gradient;
    QTest::newRow("96 x 96 avatar size") << QSize(96, 96) << 64 << Pattern::Gradient;
}

void TestStandinGif::roundTrip()
{
    QFETCH(QSize, size);
    QFETCH(int, colours);
    QFETCH(Pattern, pattern);

    const QImage source = makeIndexed(size, colours, pattern);
    QString error;
    const QByteArray gif = GifWriter::encode(source, &error);
    QVERIFY2(!gif.isEmpty(), qPrintable(error));

    const StrictResult strict = decodeStrict(gif);
    QVERIFY2(strict.problem.isEmpty(), qPrintable(strict.problem));

    const QImage decoded = readBack(gif);
    QVERIFY(!decoded.isNull());
    QCOMPARE(decoded.size(), size);
    QCOMPARE(asRgb(decoded), asRgb(source));
}

void TestStandinGif::everyLengthEndsCleanly_data()
{
    QTest::addColumn<int>("colours");
    QTest::newRow("2 colours") << 2;
    QTest::newRow("5 colours") << 5;
    QTest::newRow("256 colours") << 256;
}

// The last code and the end code fall on every code-width boundary for some length; a
// lenient reader would not notice an end code of the wrong width.
void TestStandinGif::everyLengthEndsCleanly()
{
    QFETCH(int, colours);
    for (int length = 1; length <= 1200; ++length) {
        const QImage source = makeIndexed(QSize(length, 1), colours, Pattern::Noise, length);
        const QByteArray gif = GifWriter::encode(source);
        const StrictResult strict = decodeStrict(gif);
        QVERIFY2(strict.problem.isEmpty(),
                 qPrintable(QStringLiteral("length %1: %2").arg(length).arg(strict.problem)));
        QByteArray expected;
        for (int x = 0; x < length; ++x)
            expected.append(char(source.pixelIndex(x, 0)));
        QVERIFY2(strict.pixels == expected, qPrintable(QStringLiteral("length %1").arg(length)));
    }
}

void TestStandinGif::header_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("colours");
    QTest::addColumn<int>("depth");

    QTest::newRow("96 x 96, 2 colours") << QSize(96, 96) << 2 << 1;
    QTest::newRow("wide, 17 colours") << QSize(300, 2) << 17 << 5;
    QTest::newRow("256 colours") << QSize(96, 64) << 256 << 8;
}

// What a header reader takes from a GIF: size at bytes 6-9, depth in the low bits of byte 10.
void TestStandinGif::header()
{
    QFETCH(QSize, size);
    QFETCH(int, colours);
    QFETCH(int, depth);

    const QByteArray gif = GifWriter::encode(makeIndexed(size, colours, Pattern::Gradient));
    QVERIFY(gif.startsWith("GIF89a"));
    QCOMPARE(quint8(gif.at(6)) | quint8(gif.at(7)) << 8, size.width());
    QCOMPARE(quint8(gif.at(8)) | quint8(gif.at(9)) << 8, size.height());
    QCOMPARE((quint8(gif.at(10)) & 7) + 1, depth);
    QCOMPARE(quint8(gif.back()), quint8(0x3b));
}

void TestStandinGif::manyColoursAreReduced()
{
    QImage source(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, qRgb(x, y, (x + y) / 2));

    const QByteArray gif = GifWriter::encode(source);
    const StrictResult strict = decodeStrict(gif);
    QVERIFY2(strict.problem.isEmpty(), qPrintable(strict.problem));
    const QImage decoded = asRgb(readBack(gif));
    QCOMPARE(decoded.size(), source.size());

    qint64 totalError = 0;
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb a = source.pixel(x, y);
            const QRgb b = decoded.pixel(x, y);
            totalError +=
                qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
        }
    }
    const double meanError = double(totalError) / (3.0 * source.width() * source.height());
    QVERIFY2(meanError < 24, qPrintable(QString::number(meanError)));
}

void TestStandinGif::transparencyBecomesWhite()
{
    QImage source(10, 10, QImage::Format_ARGB32);
    source.fill(Qt::transparent);
    source.setPixel(5, 5, qRgba(255, 0, 0, 255));

    const QImage decoded = asRgb(readBack(GifWriter::encode(source)));
    QCOMPARE(decoded.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(decoded.pixel(5, 5), qRgb(255, 0, 0));
}

void TestStandinGif::refuses_data()
{
    QTest::addColumn<QImage>("image");
    QTest::newRow("null image") << QImage();
    QTest::newRow("wider than 65535") << QImage(70000, 1, QImage::Format_Indexed8);
}

void TestStandinGif::refuses()
{
    QFETCH(QImage, image);
    QString error;
    QVERIFY(GifWriter::encode(image, &error).isEmpty());
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestStandinGif)
#include "tst_standin_gif.moc"
