// Pictures shown whole, stretched over white as the reference resampling gives them, or refused.
#include "Pictures.h"
#include "Table.h"
#include "TestEnvironment.h"
#include "ui/widgets/ImageControl.h"
#include "ui/widgets/ShowPictureFile.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

class TestPictureLoader : public QObject
{
    Q_OBJECT
private slots:
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
        const QImage source = QImage::fromData(file).convertToFormat(QImage::Format_ARGB32);
        QImage overWhite = Pictures::filled(source.width(), source.height(), Qt::white);
        QPainter(&overWhite).drawImage(0, 0, source);
        const QImage reference = Pictures::referenceResample(overWhite, {60, 90});
        const QImage shown = control.picture();
        QCOMPARE(shown.size(), reference.size());
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 60; ++x)
                for (const int bits : {0, 8, 16})
                    QVERIFY(std::abs(int(shown.pixel(x, y) >> bits & 255) -
                                     int(reference.pixel(x, y) >> bits & 255)) <= tolerance);
    }
};

QTEST_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
