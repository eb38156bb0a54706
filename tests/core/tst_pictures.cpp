// Sizes and depths from the first 64 KiB (read after a longer picture); pictures shown whole over
// white, or refused, and avatars fitted into their box, as the reference resampling gives them.
#include "Pictures.h"
#include "Table.h"
#include "TestEnvironment.h"
#include "core/picture/Avatar.h"
#include "core/picture/ImageHeaderReader.h"
#include "ui/widgets/ImageControl.h"
#include "ui/widgets/ShowPictureFile.h"
#include <QCryptographicHash>
#include <QPainter>
#include <QSignalSpy>

class TestPictures : public QObject
{
    Q_OBJECT
private slots:
    void headers_data()
    {
        // The bytes ("<folder>": a folder in their place) read as "ok|failed type WxH depth".
        columns<QByteArray, QString>("bytes", "read");
        using namespace Pictures;
        const QImage red = filled(300, 200, Qt::red);
        const QByteArray jpeg = encoded(red, "jpeg");
        const qsizetype frame = jpeg.indexOf("\xff\xc0");
        const QByteArray components32 = QByteArray(jpeg).replace(frame + 9, 1, QByteArray(1, 32));
        // The frame header moved to `at` by a comment segment right after the start.
        const auto frameAt = [&](qsizetype at) {
            const int length = int(at - frame - 2);
            return jpeg.first(2) + "\xff\xfe" + char(length >> 8) + char(length) +
                   QByteArray(length - 2, '\0') + jpeg.sliced(2);
        };
        row("text", QByteArray(5000, 'x'), "ok none 0x0 0");
        row("a folder", QByteArray("<folder>"), "failed none 0x0 0");
        row("png signature only", QByteArray("\x89PN"), "ok png 0x0 0");
        row("png", pngDeclaring(300, 200), "ok png 300x200 32");
        row("png depth overflow", pngDeclaring(9, 9, 86, 2), "failed png 0x0 0");
        row("gif", gif({red}), "ok gif 300x200 1");
        row("bmp", encoded(red, "bmp"), "ok bmp 300x200 24");
        row("jpeg", jpeg, "ok jpeg 300x200 24");
        row("jpeg depth overflow", components32, "failed jpeg 300x200 0");
        row("jpeg frame at 65524", frameAt(65524), "ok jpeg 300x200 24");
        row("jpeg frame at 65525", frameAt(65525), "ok none 0x0 0");
    }
    void headers()
    {
        const auto [bytes, read] = fetch<QByteArray, QString>("bytes", "read");
        TestEnvironment env;
        ImageHeaderReader reader;
        QVERIFY(reader.ReadImageInfo(
            env.writeFile("earlier", Pictures::pngDeclaring(96, 96) + QByteArray(70000, 'U'))));
        const Result<void> got =
            reader.ReadImageInfo(bytes == "<folder>" ? env.root() : env.writeFile("p", bytes));
        QCOMPARE(got.error().isEmpty(), got.ok());
        const char* types[] = {"none", "gif", "jpeg", "png", "bmp"};
        QCOMPARE(QString::asprintf("%s %s %dx%d %d", got ? "ok" : "failed",
                                   types[reader.ImageType()], reader.ImageWidth(),
                                   reader.ImageHeight(), int(reader.Depth())),
                 read);
    }
    // Without Qt's own allocation guard (read at the first picture) the program's check decides.
    void initTestCase() { qputenv("QT_IMAGEIO_MAXALLOC", "4096"); }
    void shown_data()
    {
        // Shown within a tolerance (in levels, from the reference), or -1: refused.
        columns<QByteArray, int>("file", "tolerance");
        using namespace Pictures;
        // Left half red, the right half clear over a hidden green, its top half half-covered.
        QImage clear = filled(64, 64, QColor(0, 255, 0, 0));
        QPainter(&clear).fillRect(0, 0, 32, 64, Qt::red);
        QPainter(&clear).fillRect(32, 0, 32, 32, QColor(255, 0, 0, 128));
        QImage huge(8200, 8200, QImage::Format_Mono);
        huge.fill(0);
        row("png photo into the preview, stretched", png(scenery(1200, 900)), 1);
        row("bmp", encoded(scenery(200, 100), "bmp"), 1);
        row("gif, first frame", gif({scenery(200, 100), filled(200, 100, Qt::black)}), 1);
        row("jpeg reduced while decoding", encoded(scenery(1600, 800), "jpeg"), 2);
        row("a large picture is allowed", png(scenery(2100, 2000)), 1);
        row("transparency over white", png(clear), 1);
        row("16-bit transparency", png(clear.convertToFormat(QImage::Format_RGBA64)), 1);
        row("not a picture", QByteArray("just some text\n"), -1);
        row("8200 x 8200 in a few bytes", png(huge), -1);
    }
    void shown()
    {
        const auto [file, tolerance] = fetch<QByteArray, int>("file", "tolerance");
        TestEnvironment env;
        const QString path = env.writeFile("p", file);
        ImageControl control;
        const QImage previous = Pictures::filled(10, 10, Qt::magenta);
        control.setPicture(previous);
        QSignalSpy failed(&control, &ImageControl::failed);
        // 907.5 x 1342.5 twips at 15 a pixel: 60 x 90 pixels, halves to even.
        control.showFile(path, pictureTargetSize(907.5, 1342.5, 15, 15));
        QTRY_VERIFY(!control.isLoading());
        QCOMPARE(failed.isEmpty(), tolerance >= 0);
        QCOMPARE(control.picture() == previous, tolerance < 0); // a failure keeps the picture
        QVERIFY(tolerance >= 0 || failed.value(0).value(0).toString().contains(path));
        if (tolerance < 0)
            return;
        const QImage reference =
            Pictures::referenceResample(overWhite(QImage::fromData(file)), {60, 90});
        QCOMPARE(control.picture().size(), reference.size());
        QCOMPARE_LE(largestDifference(control.picture(), reference), tolerance);
    }
    void avatars_data()
    {
        // The avatar's size, and its tolerance (in levels) from the reference; -1: refused.
        columns<QByteArray, QSize, int>("file", "size", "tolerance");
        using namespace Pictures;
        QImage clear = filled(300, 200, Qt::transparent);
        QPainter(&clear).fillRect(0, 0, 150, 200, QColor(0, 0, 255, 160));
        row("wide", png(scenery(400, 100)), QSize(96, 24), 1);
        row("tall jpeg, reduced decoding", encoded(scenery(300, 1200), "jpeg"), QSize(24, 96), 3);
        row("square", encoded(scenery(500, 500), "bmp"), QSize(96, 96), 1);
        row("small, not enlarged", png(scenery(40, 30)), QSize(40, 30), 0);
        row("transparency kept", png(clear), QSize(96, 64), 1);
        row("not a picture", QByteArray("just some text\n"), QSize(), -1);
    }
    void avatars()
    {
        const auto [file, size, tolerance] =
            fetch<QByteArray, QSize, int>("file", "size", "tolerance");
        TestEnvironment env;
        const QString path = env.writeFile("p", file);
        const Result<Avatar> avatar = Avatar::fromFile(path);
        QCOMPARE(avatar.ok(), tolerance >= 0);
        QVERIFY(avatar || avatar.error().contains(path));
        if (!avatar)
            return;
        QCOMPARE(avatar->sha1Hex,
                 QCryptographicHash::hash(avatar->png, QCryptographicHash::Sha1).toHex());
        const QImage got = QImage::fromData(avatar->png, "png");
        QCOMPARE(QList({got.size(), QSize(avatar->width, avatar->height)}), QList({size, size}));
        const QImage source = QImage::fromData(file);
        const auto cornerAlphas = [](const QImage& picture) {
            return QList{qAlpha(picture.pixel(0, 0)),
                         qAlpha(picture.pixel(picture.width() - 1, picture.height() - 1))};
        };
        QCOMPARE(cornerAlphas(got), cornerAlphas(source));
        QCOMPARE_LE(
            largestDifference(overWhite(got), Pictures::referenceResample(overWhite(source), size)),
            tolerance);
    }

private:
    static QImage overWhite(const QImage& picture)
    {
        QImage canvas = Pictures::filled(picture.width(), picture.height(), Qt::white);
        QPainter(&canvas).drawImage(0, 0, picture.convertToFormat(QImage::Format_ARGB32));
        return canvas;
    }
    // The largest difference in any colour channel of two pictures of one size.
    static int largestDifference(const QImage& a, const QImage& b)
    {
        int largest = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                for (const int bits : {0, 8, 16})
                    largest = std::max(largest, std::abs(int(a.pixel(x, y) >> bits & 255) -
                                                         int(b.pixel(x, y) >> bits & 255)));
        return largest;
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
