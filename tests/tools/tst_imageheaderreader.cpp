#include "common/TestEnvironment.h"
#include "tools/ImageHeaderReader.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

namespace {

void putBigEndian32(QByteArray& bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (24 - 8 * i)) & 0xFF);
}

void putLittleEndian32(QByteArray& bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

QByteArray png(quint32 width, quint32 height, int bitDepth, int colourType)
{
    QByteArray bytes = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452");
    bytes.resize(33, '\0');
    putBigEndian32(bytes, 16, width);
    putBigEndian32(bytes, 20, height);
    bytes[24] = char(bitDepth);
    bytes[25] = char(colourType);
    bytes += QByteArray::fromHex("0000000049454e44ae426082");
    return bytes;
}

QByteArray gif(int width, int height, quint8 flags)
{
    QByteArray bytes("GIF89a");
    bytes += char(width & 0xFF);
    bytes += char(width >> 8);
    bytes += char(height & 0xFF);
    bytes += char(height >> 8);
    bytes += char(flags);
    bytes += QByteArray::fromHex("00003b");
    return bytes;
}

QByteArray bmp(qint32 width, qint32 height, int bitsPerPixel)
{
    QByteArray bytes(54, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLittleEndian32(bytes, 2, 54);
    putLittleEndian32(bytes, 10, 54);
    putLittleEndian32(bytes, 14, 40);
    putLittleEndian32(bytes, 18, quint32(width));
    putLittleEndian32(bytes, 22, quint32(height));
    bytes[26] = 1;
    bytes[28] = char(bitsPerPixel);
    return bytes;
}

// A marker segment: FF, the code, the big-endian length (which counts itself), the payload.
QByteArray segment(quint8 code, const QByteArray& payload)
{
    const int length = int(payload.size()) + 2;
    QByteArray bytes;
    bytes += char(0xFF);
    bytes += char(code);
    bytes += char(length >> 8);
    bytes += char(length & 0xFF);
    return bytes + payload;
}

QByteArray frame(quint8 code, int width, int height, int components)
{
    QByteArray payload;
    payload += char(8);
    payload += char(height >> 8);
    payload += char(height & 0xFF);
    payload += char(width >> 8);
    payload += char(width & 0xFF);
    payload += char(components);
    for (int i = 0; i < components; ++i)
        payload += QByteArray::fromHex("011100");
    return segment(code, payload);
}

const QByteArray soi = QByteArray::fromHex("ffd8");

QByteArray jpeg(quint8 code, int width, int height, int components)
{
    return soi + segment(0xE0, QByteArray("JFIF\0\1\1\0\0\1\0\1\0\0", 14)) +
           frame(code, width, height, components) + QByteArray::fromHex("ffd9");
}

// A DHT segment whose bytes, read as a frame header, would give another size.
QByteArray dht()
{
    return segment(0xC4, QByteArray::fromHex("00010500000000000000000000000000000000000102"));
}

// FF D8 at 0, a two-byte APP1 segment, zeros, and a 96 x 96 SOF0 whose FF is at `at`.
QByteArray frameFfAt(int at)
{
    QByteArray bytes = soi + QByteArray::fromHex("ffe10002");
    bytes.resize(at, '\0');
    return bytes + frame(0xC0, 96, 96, 3);
}

// Zeros up to `at`, then FF D8 and a 96 x 96 SOF0 right after it.
QByteArray startOfImageAt(int at)
{
    QByteArray bytes(at, '\0');
    return bytes + soi + frame(0xC0, 96, 96, 3);
}

struct Expected
{
    int type;
    int width;
    int height;
    int depth;
};

void checkResults(const ImageHeaderReader& reader, const Expected& e)
{
    QCOMPARE(reader.ImageType(), e.type);
    QCOMPARE(reader.ImageWidth(), e.width);
    QCOMPARE(reader.ImageHeight(), e.height);
    QCOMPARE(int(reader.Depth()), e.depth);
}

} // namespace

class TestImageHeaderReader : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void headers_data();
    void headers();
    void staleBytesFromEarlierCall_data();
    void staleBytesFromEarlierCall();
    void unreadablePath_data();
    void unreadablePath();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestImageHeaderReader::headers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("depth");

    using R = ImageHeaderReader;
    QTest::newRow("empty file") << QByteArray() << true << 0 << 0 << 0 << 0;
    QTest::newRow("short and unknown") << QByteArray("abc") << true << 0 << 0 << 0 << 0;
    QTest::newRow("text") << QByteArray(5000, 'x') << true << 0 << 0 << 0 << 0;

    // PNG: depth from colour type and bit depth, size from the low 16 bits, big-endian.
    QTest::newRow("png rgba 8") << png(96, 96, 8, 6) << true << int(R::Png) << 96 << 96 << 32;
    QTest::newRow("png big-endian")
        << png(0x0102, 0x0304, 8, 6) << true << int(R::Png) << 258 << 772 << 32;
    QTest::newRow("png grey 16") << png(1, 2, 16, 0) << true << int(R::Png) << 1 << 2 << 16;
    QTest::newRow("png rgb 8") << png(1, 2, 8, 2) << true << int(R::Png) << 1 << 2 << 24;
    QTest::newRow("png palette 4") << png(1, 2, 4, 3) << true << int(R::Png) << 1 << 2 << 8;
    QTest::newRow("png grey alpha 8") << png(1, 2, 8, 4) << true << int(R::Png) << 1 << 2 << 16;
    QTest::newRow("png 70000 x 96")
        << png(70000, 96, 8, 6) << true << int(R::Png) << 4464 << 96 << 32;
    QTest::newRow("png colour type 5") << png(96, 96, 8, 5) << true << 0 << 0 << 0 << 0;
    QTest::newRow("png colour type 5 holding a jpeg")
        << png(96, 96, 8, 5) + jpeg(0xC0, 40, 30, 3) << true << int(R::Jpeg) << 40 << 30 << 24;
    QTest::newRow("png signature only")
        << QByteArray::fromHex("89504e") << true << int(R::Png) << 0 << 0 << 0;
    QTest::newRow("png depth 255") << png(9, 9, 85, 2) << true << int(R::Png) << 9 << 9 << 255;
    QTest::newRow("png overflow rgb") << png(9, 9, 86, 2) << false << int(R::Png) << 0 << 0 << 0;
    QTest::newRow("png overflow rgba 64 x 4")
        << png(9, 9, 64, 6) << false << int(R::Png) << 0 << 0 << 0;

    // GIF: little-endian size, depth from the low three bits of byte 10.
    QTest::newRow("gif F7") << gif(96, 96, 0xF7) << true << int(R::Gif) << 96 << 96 << 8;
    QTest::newRow("gif FF") << gif(96, 96, 0xFF) << true << int(R::Gif) << 96 << 96 << 8;
    QTest::newRow("gif 80") << gif(96, 96, 0x80) << true << int(R::Gif) << 96 << 96 << 1;
    QTest::newRow("gif little-endian")
        << gif(0x0201, 0x0403, 0x00) << true << int(R::Gif) << 513 << 1027 << 1;

    // BMP: low 16 bits of the little-endian fields, depth from byte 28.
    QTest::newRow("bmp 24") << bmp(96, 96, 24) << true << int(R::Bmp) << 96 << 96 << 24;
    QTest::newRow("bmp top-down") << bmp(96, -96, 32) << true << int(R::Bmp) << 96 << 65440 << 32;
    QTest::newRow("bmp wide") << bmp(70000, 1, 8) << true << int(R::Bmp) << 4464 << 1 << 8;

    // JPEG.
    QTest::newRow("jpeg sof0") << jpeg(0xC0, 96, 64, 3) << true << int(R::Jpeg) << 96 << 64 << 24;
    QTest::newRow("jpeg big-endian")
        << jpeg(0xC0, 0x0102, 0x0304, 1) << true << int(R::Jpeg) << 258 << 772 << 8;
    QTest::newRow("jpeg sof2") << jpeg(0xC2, 96, 96, 3) << true << int(R::Jpeg) << 96 << 96 << 24;
    QTest::newRow("jpeg sof15") << jpeg(0xCF, 7, 5, 4) << true << int(R::Jpeg) << 7 << 5 << 32;
    QTest::newRow("jpeg dht before frame")
        << soi + dht() + frame(0xC1, 96, 96, 3) << true << int(R::Jpeg) << 96 << 96 << 24;
    QTest::newRow("jpeg jpg and dac skipped")
        << soi + segment(0xC8, "ab") + segment(0xCC, "cd") + frame(0xC3, 5, 6, 1) << true
        << int(R::Jpeg) << 5 << 6 << 8;
    // The skip lands on the segment's last byte, so a last byte FF starts the next marker.
    QTest::newRow("jpeg segment ending in FF")
        << soi + segment(0xE1, "ab\xff") + frame(0xC0, 3, 4, 3).mid(1) << true << int(R::Jpeg) << 3
        << 4 << 24;
    QTest::newRow("jpeg fill bytes") << soi + QByteArray(4, char(0xFF)) + frame(0xC0, 3, 4, 3)
                                     << true << int(R::Jpeg) << 3 << 4 << 24;
    QTest::newRow("jpeg zero-length segment")
        << soi + QByteArray::fromHex("ffe00000") + frame(0xC0, 3, 4, 3) << true << int(R::Jpeg) << 3
        << 4 << 24;
    QTest::newRow("jpeg after junk") << QByteArray("junk\xff\xd8junk") + jpeg(0xC0, 96, 96, 3)
                                     << true << int(R::Jpeg) << 96 << 96 << 24;
    QTest::newRow("jpeg no frame")
        << soi + dht() + QByteArray::fromHex("ffd9") << true << 0 << 0 << 0 << 0;
    QTest::newRow("jpeg segment past search end")
        << soi + QByteArray::fromHex("ffe1ffff") + frame(0xC0, 96, 96, 3) << true << 0 << 0 << 0
        << 0;
    QTest::newRow("jpeg frame FF at 65524")
        << frameFfAt(65524) << true << int(R::Jpeg) << 96 << 96 << 24;
    QTest::newRow("jpeg frame FF at 65525") << frameFfAt(65525) << true << 0 << 0 << 0 << 0;
    QTest::newRow("jpeg start of image at 65522")
        << startOfImageAt(65522) << true << int(R::Jpeg) << 96 << 96 << 24;
    QTest::newRow("jpeg start of image at 65523")
        << startOfImageAt(65523) << true << 0 << 0 << 0 << 0;
    QTest::newRow("jpeg frame past first 64 KiB") << frameFfAt(70000) << true << 0 << 0 << 0 << 0;
    QTest::newRow("jpeg 31 components")
        << jpeg(0xC0, 96, 64, 31) << true << int(R::Jpeg) << 96 << 64 << 248;
    QTest::newRow("jpeg overflow 32 components")
        << jpeg(0xC0, 96, 64, 32) << false << int(R::Jpeg) << 96 << 64 << 0;
}

void TestImageHeaderReader::headers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(int, type);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, depth);
    const Expected expected{type, width, height, depth};

    // Both entries, each on a reader that holds the results of another picture.
    ImageHeaderReader fromFile;
    QVERIFY(fromFile.readBuffer(bmp(1, 1, 1), nullptr));
    const QString path = m_env->writeFile(QStringLiteral("pictures/picture"), bytes);
    QString error = QStringLiteral("stale");
    QCOMPARE(fromFile.ReadImageInfo(path, &error), ok);
    QCOMPARE(error.isEmpty(), ok);
    checkResults(fromFile, expected);

    ImageHeaderReader fromBuffer;
    QVERIFY(fromBuffer.readBuffer(gif(2, 2, 0), nullptr));
    QCOMPARE(fromBuffer.readBuffer(bytes, &error), ok);
    QCOMPARE(error.isEmpty(), ok);
    checkResults(fromBuffer, expected);
}

void TestImageHeaderReader::staleBytesFromEarlierCall_data()
{
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("depth");

    using R = ImageHeaderReader;
    QTest::newRow("png signature after full png")
        << png(96, 96, 8, 6) << QByteArray::fromHex("89504e") << int(R::Png) << 0 << 0 << 0;
    QTest::newRow("bare frame marker after 64 KiB of FF")
        << QByteArray(R::HeaderSize, char(0xFF)) << QByteArray::fromHex("ffd8ffc0") << int(R::Jpeg)
        << 0 << 0 << 0;
    QTest::newRow("short bmp after long bmp") << bmp(96, 96, 24) + QByteArray(70000, char(0x55))
                                              << QByteArray("BM") << int(R::Bmp) << 0 << 0 << 0;
    QTest::newRow("frame near the end after longer file")
        << frameFfAt(65524) << frameFfAt(65524).left(65531) << int(R::Jpeg) << 0 << 96 << 0;
}

// The buffer is reused between calls; bytes of a longer earlier file must read as zeros.
void TestImageHeaderReader::staleBytesFromEarlierCall()
{
    QFETCH(QByteArray, earlier);
    QFETCH(QByteArray, bytes);
    QFETCH(int, type);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, depth);
    const Expected expected{type, width, height, depth};

    ImageHeaderReader fromFile;
    QVERIFY(fromFile.ReadImageInfo(m_env->writeFile(QStringLiteral("a"), earlier)));
    QVERIFY(fromFile.ReadImageInfo(m_env->writeFile(QStringLiteral("b"), bytes)));
    checkResults(fromFile, expected);

    ImageHeaderReader fromBuffer;
    QVERIFY(fromBuffer.readBuffer(earlier, nullptr));
    QVERIFY(fromBuffer.readBuffer(bytes, nullptr));
    checkResults(fromBuffer, expected);
}

void TestImageHeaderReader::unreadablePath_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing file") << QStringLiteral("pictures/none.png");
    QTest::newRow("missing folder") << QStringLiteral("nowhere/none.png");
    QTest::newRow("a folder") << QStringLiteral("pictures");
}

void TestImageHeaderReader::unreadablePath()
{
    QFETCH(QString, relative);
    m_env->makeDir(QStringLiteral("pictures"));
    ImageHeaderReader reader;
    QVERIFY(reader.readBuffer(png(96, 96, 8, 6), nullptr));

    QString error;
    QVERIFY(!reader.ReadImageInfo(m_env->root() + QLatin1Char('/') + relative, &error));
    QVERIFY(!error.isEmpty());
    checkResults(reader, Expected{0, 0, 0, 0});
    QVERIFY(!reader.ReadImageInfo(m_env->root() + QLatin1Char('/') + relative));
}

QTEST_GUILESS_MAIN(TestImageHeaderReader)
#include "tst_imageheaderreader.moc"
