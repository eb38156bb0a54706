#include "common/ImageControl.h"
#include "common/TestEnvironment.h"
#include "common/TestPictures.h"
#include "picture/PictureLoader.h"
#include "picture/ShowPictureFile.h"

#include <QImageReader>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <variant>

using namespace TestPictures;

namespace {

constexpr QRgb Red = 0xffff0000;
constexpr QRgb Green = 0xff00ff00;
constexpr QRgb Blue = 0xff0000ff;
constexpr QRgb Yellow = 0xffffff00;
constexpr QRgb White = 0xffffffff;

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// Left third red, right third blue, the middle green above yellow: every edge of the picture
// has its own colour, so cropping on any side shows.
QImage quarters(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width, height / 2, Green);
    painter.fillRect(0, height / 2, width, height - height / 2, Yellow);
    painter.fillRect(0, 0, width / 3, height, Red);
    painter.fillRect(width - width / 3, 0, width / 3, height, Blue);
    return image;
}

void appendBigEndian(QByteArray& out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xff));
}

void appendChunk(QByteArray& out, const char* type, const QByteArray& data)
{
    appendBigEndian(out, quint32(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    out.append(typed);
    appendBigEndian(out, pngCrc(typed));
}

// A 1-bit grey PNG of the given size with valid chunks, whose pixel data holds `rows` rows
// of zeros: a whole picture compresses to almost nothing.
QByteArray greyPng(quint32 width, quint32 height, quint32 rows)
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    header.append("\x01\x00\x00\x00\x00", 5);
    appendChunk(png, "IHDR", header);
    const QByteArray raw(qsizetype(rows) * (1 + (width + 7) / 8), '\0');
    appendChunk(png, "IDAT", qCompress(raw).mid(4)); // without Qt's length prefix
    appendChunk(png, "IEND", {});
    return png;
}

// The pixels of a frame of the given size, all of one palette index.
QByteArray framePixels(int width, int height, char index)
{
    return QByteArray(qsizetype(width) * height, index);
}

// A GIF of 8-bit palette frames. Codes are written as plain 9-bit literals with a clear code
// every 100 pixels, which any decoder reads without the encoder building a dictionary.
QByteArray gif(int width, int height, const QList<QRgb>& palette, const QList<QByteArray>& frames,
               int transparentIndex = -1)
{
    QByteArray out("GIF89a");
    const auto word = [&out](int value) {
        out.append(char(value & 0xff));
        out.append(char(value >> 8));
    };
    word(width);
    word(height);
    out.append("\xf7\x00\x00", 3);
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : 0;
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    for (const QByteArray& pixels : frames) {
        out.append("\x21\xf9\x04", 3);
        out.append(char(transparentIndex >= 0 ? 0x01 : 0x00));
        word(10);
        out.append(char(std::max(transparentIndex, 0)));
        out.append('\0');
        out.append('\x2c');
        word(0);
        word(0);
        word(width);
        word(height);
        out.append('\0');
        out.append('\x08');
        QByteArray codes;
        quint32 bits = 0;
        int count = 0;
        const auto put = [&](int code) {
            bits |= quint32(code) << count;
            for (count += 9; count >= 8; count -= 8, bits >>= 8)
                codes.append(char(bits & 0xff));
        };
        for (int i = 0; i < pixels.size(); ++i) {
            if (i % 100 == 0)
                put(256);
            put(quint8(pixels[i]));
        }
        put(257);
        if (count > 0)
            codes.append(char(bits & 0xff));
        for (qsizetype at = 0; at < codes.size(); at += 255) {
            const qsizetype n = std::min<qsizetype>(255, codes.size() - at);
            out.append(char(n));
            out.append(codes.mid(at, n));
        }
        out.append('\0');
    }
    out.append('\x3b');
    return out;
}

QImage loaded(const QString& path, int width, int height)
{
    auto result = PictureLoader::LoadScaledPicture(path, width, height, Qt::white);
    if (const auto* error = std::get_if<PictureError>(&result))
        qWarning() << error->description;
    return std::holds_alternative<QImage>(result) ? std::get<QImage>(result) : QImage();
}

} // namespace

class TestPictureLoader : public QObject
{
    Q_OBJECT

private slots:
    void wholePictureStretched_data();
    void wholePictureStretched();
    void transparencyOverWhite_data();
    void transparencyOverWhite();
    void gifShowsFirstFrame();
    void targetSizeFromTwips_data();
    void targetSizeFromTwips();
    void failureKeepsPreviousPicture_data();
    void failureKeepsPreviousPicture();
    void resampleMatchesReference_data();
    void resampleMatchesReference();
    void jpegDecodeSize_data();
    void jpegDecodeSize();
    void reducedJpegMatchesFullDecode_data();
    void reducedJpegMatchesFullDecode();
    void manyPicturesInARow();

private:
    TestEnvironment m_env;
};

void TestPictureLoader::wholePictureStretched_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<int>("tolerance");

    QTest::newRow("png 200x100 squeezed")
        << QByteArray("png") << QSize(200, 100) << QSize(73, 73) << 2;
    QTest::newRow("png 100x200 squeezed")
        << QByteArray("png") << QSize(100, 200) << QSize(73, 73) << 2;
    QTest::newRow("png enlarged") << QByteArray("png") << QSize(30, 21) << QSize(120, 90) << 2;
    QTest::newRow("bmp") << QByteArray("bmp") << QSize(200, 100) << QSize(73, 73) << 2;
    QTest::newRow("jpeg") << QByteArray("jpeg") << QSize(200, 100) << QSize(73, 73) << 16;
    QTest::newRow("jpeg reduced while decoding")
        << QByteArray("jpeg") << QSize(1600, 800) << QSize(73, 73) << 16;
}

void TestPictureLoader::wholePictureStretched()
{
    QFETCH(QByteArray, format);
    QFETCH(QSize, source);
    QFETCH(QSize, target);
    QFETCH(int, tolerance);

    const QString path =
        m_env.writeFile(QStringLiteral("stretch.") + QString::fromLatin1(format),
                        encoded(quarters(source.width(), source.height()), format.constData(), 95));
    const QImage picture = loaded(path, target.width(), target.height());
    QCOMPARE(picture.size(), target);

    const int right = target.width() - 1;
    const int bottom = target.height() - 1;
    for (int y = 0; y < target.height(); ++y) {
        QVERIFY2(channelDistance(picture.pixel(0, y), Red) <= tolerance,
                 qPrintable(QString::number(y)));
        QVERIFY2(channelDistance(picture.pixel(right, y), Blue) <= tolerance,
                 qPrintable(QString::number(y)));
    }
    QVERIFY(channelDistance(picture.pixel(target.width() / 2, 0), Green) <= tolerance);
    QVERIFY(channelDistance(picture.pixel(target.width() / 2, bottom), Yellow) <= tolerance);
}

void TestPictureLoader::transparencyOverWhite_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QRgb>("expected");
    // Two channels that stay equal wherever the visible colour is mixed with white.
    QTest::addColumn<QPoint>("equalChannels");

    // Left half opaque red, right half fully transparent but hiding pure green, top-right
    // quarter red at half opacity.
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(qRgba(0, 255, 0, 0));
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(0, 0, 32, 64, Red);
    painter.fillRect(32, 0, 32, 32, QColor(255, 0, 0, 128));
    painter.end();
    const QByteArray png = encoded(image, "png");

    const QPoint greenBlue(1, 2);
    QTest::newRow("transparent area") << png << QPoint(40, 40) << White << greenBlue;
    QTest::newRow("opaque area") << png << QPoint(0, 40) << Red << greenBlue;
    QTest::newRow("half transparent") << png << QPoint(40, 0) << qRgb(255, 127, 127) << greenBlue;

    // The top half in the transparent index.
    const QByteArray framed = framePixels(32, 16, '\1') + framePixels(32, 16, '\0');
    const QByteArray transparentGif = gif(32, 32, {Green, Blue}, {framed}, 0);
    const QPoint redGreen(0, 1);
    QTest::newRow("gif transparent index") << transparentGif << QPoint(10, 40) << White << redGreen;
    QTest::newRow("gif opaque index") << transparentGif << QPoint(10, 0) << Blue << redGreen;
}

void TestPictureLoader::transparencyOverWhite()
{
    QFETCH(QByteArray, file);
    QFETCH(QPoint, probe);
    QFETCH(QRgb, expected);
    QFETCH(QPoint, equalChannels);

    const QString path = m_env.writeFile(QStringLiteral("alpha.png"), file);
    // Shrunk, so that the filter mixes the visible part with the transparent one.
    const QImage picture = loaded(path, 41, 41);
    QCOMPARE(picture.size(), QSize(41, 41));
    QVERIFY2(channelDistance(picture.pixel(probe), expected) <= 2,
             qPrintable(QString::number(picture.pixel(probe), 16)));

    // The colour hidden under full transparency never shows, not even where the filter mixes
    // the visible part with it: every pixel is the visible colour over white.
    const auto channel = [](QRgb p, int index) {
        return index == 0 ? qRed(p) : index == 1 ? qGreen(p) : qBlue(p);
    };
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            QVERIFY2(std::abs(channel(p, equalChannels.x()) - channel(p, equalChannels.y())) <= 1,
                     qPrintable(QStringLiteral("%1,%2: %3").arg(x).arg(y).arg(p, 0, 16)));
        }
}

void TestPictureLoader::gifShowsFirstFrame()
{
    const QByteArray first = framePixels(40, 20, '\0');
    const QByteArray second = framePixels(40, 20, '\1');
    const QString path =
        m_env.writeFile(QStringLiteral("frames.gif"), gif(40, 20, {Red, Blue}, {first, second}));
    QImageReader reader(path);
    QCOMPARE(reader.imageCount(), 2);

    const QImage picture = loaded(path, 73, 73);
    QCOMPARE(picture.size(), QSize(73, 73));
    QCOMPARE(picture.pixel(36, 36), Red);
}

void TestPictureLoader::targetSizeFromTwips_data()
{
    QTest::addColumn<QSizeF>("twips");
    QTest::addColumn<double>("twipsPerPixel");
    QTest::addColumn<QSize>("pixels");

    QTest::newRow("1095 at 96 dpi") << QSizeF(1095, 1095) << 15.0 << QSize(73, 73);
    QTest::newRow("halves go to even") << QSizeF(1102.5, 1087.5) << 15.0 << QSize(74, 72);
    QTest::newRow("halves the other way") << QSizeF(1087.5, 1102.5) << 15.0 << QSize(72, 74);
    QTest::newRow("120 dpi") << QSizeF(1095, 1440) << 12.0 << QSize(91, 120);
}

void TestPictureLoader::targetSizeFromTwips()
{
    QFETCH(QSizeF, twips);
    QFETCH(double, twipsPerPixel);
    QFETCH(QSize, pixels);

    QCOMPARE(pictureTargetSize(twips.width(), twips.height(), twipsPerPixel, twipsPerPixel),
             pixels);

    const QString path =
        m_env.writeFile(QStringLiteral("size.png"), encoded(quarters(20, 20), "png"));
    ImageControl control;
    control.setDesignSize(twips.width(), twips.height());
    PictureError error;
    QVERIFY(ShowPictureFile(path, &control, twipsPerPixel, twipsPerPixel, &error));
    QCOMPARE(control.picture().size(), pixels);

    // Without a design size the control's own pixel size counts.
    ImageControl bare;
    bare.resize(pixels);
    QVERIFY(ShowPictureFile(path, &bare, twipsPerPixel, twipsPerPixel));
    QCOMPARE(bare.picture().size(), pixels);
}

void TestPictureLoader::failureKeepsPreviousPicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");

    const QByteArray png = encoded(scenery(120, 90), "png");
    QTest::newRow("not a picture") << "notes.png" << QByteArray("just some text\n");
    QTest::newRow("empty file") << "empty.png" << QByteArray();
    QTest::newRow("missing file") << "missing.png" << QByteArray();
    QTest::newRow("truncated png") << "cut.png" << png.left(png.size() / 2);
    QTest::newRow("header only") << "head.png" << png.left(33);
    QTest::newRow("other picture kind") << "icon.png"
                                        << QByteArray("/* XPM */\nstatic const char* i[] = {\n"
                                                      "\"1 1 1 1\",\n\". c #ff0000\",\n\".\"};\n");
    QTest::newRow("bomb: png header 30000 x 30000") << "bomb.png" << greyPng(30000, 30000, 1);
    QTest::newRow("bomb: png 8200 x 8200 of 1 bit") << "deflated.png" << greyPng(8200, 8200, 8200);
    QByteArray gifBomb = gif(1, 1, {Red}, {QByteArray(1, '\0')});
    gifBomb[6] = gifBomb[7] = gifBomb[8] = gifBomb[9] = '\xff';
    QTest::newRow("bomb: gif screen 65535 x 65535") << "bomb.gif" << gifBomb;
}

void TestPictureLoader::failureKeepsPreviousPicture()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);

    const QString path = QTest::currentDataTag() == QByteArray("missing file")
                             ? m_env.root() + QStringLiteral("/nowhere/") + name
                             : m_env.writeFile(name, content);
    if (name == QLatin1String("deflated.png") || name == QLatin1String("bomb.png")) {
        // The header must be readable, or this would only test a broken file.
        QVERIFY(QImageReader(path).size().width() >= 8200);
    }

    ImageControl control;
    control.setDesignSize(1095, 1095);
    QImage previous(10, 10, QImage::Format_RGB32);
    previous.fill(Qt::magenta);
    control.setPicture(previous);

    PictureError error;
    QVERIFY(!ShowPictureFile(path, &control, 15, 15, &error));
    QCOMPARE(error.number, 999);
    QCOMPARE(error.source, QStringLiteral("GDI+ Module"));
    QCOMPARE(error.description, QStringLiteral("Error loading picture ") + path);
    QCOMPARE(control.picture(), previous);

    QVERIFY(!ShowPictureFile(path, &control, 15, 15));
    QCOMPARE(control.picture(), previous);
}

void TestPictureLoader::resampleMatchesReference_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("target");

    QTest::newRow("photo into preview") << QSize(1200, 900) << QSize(73, 73);
    QTest::newRow("squeezed one way") << QSize(200, 100) << QSize(73, 73);
    QTest::newRow("enlarged") << QSize(30, 21) << QSize(120, 90);
    QTest::newRow("enlarged one way, shrunk the other") << QSize(97, 13) << QSize(13, 97);
    QTest::newRow("same size") << QSize(64, 48) << QSize(64, 48);
    QTest::newRow("one pixel") << QSize(1, 1) << QSize(5, 3);
    QTest::newRow("one row") << QSize(300, 1) << QSize(73, 73);
    QTest::newRow("into one pixel") << QSize(40, 40) << QSize(1, 1);
}

void TestPictureLoader::resampleMatchesReference()
{
    QFETCH(QSize, source);
    QFETCH(QSize, target);

    const QImage image = scenery(source.width(), source.height());
    QImage canvas = PictureLoader::CreateCanvas(target.width(), target.height(), Qt::black);
    QVERIFY(PictureLoader::DrawPictureOnCanvas(image, canvas, target.width(), target.height()));

    const QImage reference = referenceResample(image, target);
    QVERIFY(!reference.isNull());
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            QVERIFY2(channelDistance(canvas.pixel(x, y), reference.pixel(x, y)) <= 1,
                     qPrintable(QStringLiteral("%1,%2: %3 against %4")
                                    .arg(x)
                                    .arg(y)
                                    .arg(canvas.pixel(x, y), 0, 16)
                                    .arg(reference.pixel(x, y), 0, 16)));
}

void TestPictureLoader::jpegDecodeSize_data()
{
    QTest::addColumn<QSize>("full");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<QSize>("decoded");

    QTest::newRow("photo into preview") << QSize(4000, 3000) << QSize(73, 73) << QSize(500, 375);
    QTest::newRow("odd sizes round down") << QSize(4001, 2999) << QSize(73, 73) << QSize(500, 374);
    QTest::newRow("height decides") << QSize(1200, 300) << QSize(73, 73) << QSize(600, 150);
    QTest::newRow("stretched target") << QSize(800, 800) << QSize(300, 50) << QSize(600, 600);
    QTest::newRow("too small to reduce") << QSize(146, 146) << QSize(73, 73) << QSize(146, 146);
    QTest::newRow("enlarged") << QSize(40, 30) << QSize(73, 73) << QSize(40, 30);
}

void TestPictureLoader::jpegDecodeSize()
{
    QFETCH(QSize, full);
    QFETCH(QSize, target);
    QFETCH(QSize, decoded);

    QCOMPARE(PictureLoader::jpegDecodeSize(full, target), decoded);
}

void TestPictureLoader::reducedJpegMatchesFullDecode_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("target");

    QTest::newRow("2000x1500 into 73x73") << QSize(2000, 1500) << QSize(73, 73);
    QTest::newRow("odd 1999x1001 into 74x72") << QSize(1999, 1001) << QSize(74, 72);
    QTest::newRow("portrait into 96x96") << QSize(900, 1600) << QSize(96, 96);
}

void TestPictureLoader::reducedJpegMatchesFullDecode()
{
    QFETCH(QSize, source);
    QFETCH(QSize, target);

    const QString path = m_env.writeFile(
        QStringLiteral("photo.jpg"), encoded(scenery(source.width(), source.height()), "jpeg", 90));
    QVERIFY(PictureLoader::jpegDecodeSize(source, target) != source);

    const QImage fast = loaded(path, target.width(), target.height());
    QImage plain = PictureLoader::CreateCanvas(target.width(), target.height(), Qt::white);
    QImageReader reader(path);
    QVERIFY(
        PictureLoader::DrawPictureOnCanvas(reader.read(), plain, target.width(), target.height()));
    QCOMPARE(fast.size(), target);
    const double difference = meanDifference(fast, plain);
    QVERIFY2(difference <= 2.0, qPrintable(QString::number(difference)));
}

void TestPictureLoader::manyPicturesInARow()
{
    const QString red =
        m_env.writeFile(QStringLiteral("red.png"), encoded(quarters(90, 60), "png"));
    const QString photo =
        m_env.writeFile(QStringLiteral("photo.jpg"), encoded(scenery(640, 480), "jpeg"));
    const QString broken = m_env.writeFile(QStringLiteral("broken.png"), QByteArray("PNG?"));
    const QString animated = m_env.writeFile(
        QStringLiteral("two.gif"),
        gif(16, 16, {Blue, Red}, {QByteArray(256, '\0'), QByteArray(256, '\1')}, 1));

    ImageControl control;
    control.setDesignSize(1095, 1095);
    const QStringList paths{red, photo, broken, animated};
    for (int i = 0; i < 200; ++i) {
        const QString& path = paths[i % paths.size()];
        PictureError error;
        const bool shown = ShowPictureFile(path, &control, 15, 15, &error);
        QCOMPARE(shown, path != broken);
        QCOMPARE(control.picture().size(), QSize(73, 73));
    }
    QCOMPARE(control.picture().pixel(36, 36), Blue);
}

QTEST_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
