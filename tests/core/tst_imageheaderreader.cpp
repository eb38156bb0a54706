// Sizes and depths from the first 64 KiB of pictures, read after a longer picture.
#include "Pictures.h"
#include "Table.h"
#include "TestEnvironment.h"
#include "core/picture/ImageHeaderReader.h"

#include <QTest>

class TestImageHeaderReader : public QObject
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
        QByteArray components32 = jpeg;
        components32[frame + 9] = 32;
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
        const Result<void> read_ =
            reader.ReadImageInfo(bytes == "<folder>" ? env.root() : env.writeFile("p", bytes));
        const bool ok = read_.ok();
        QCOMPARE(read_.error().isEmpty(), ok);
        const char* types[] = {"none", "gif", "jpeg", "png", "bmp"};
        const QString size =
            QString(" %1x%2 %3").arg(reader.ImageWidth()).arg(reader.ImageHeight());
        QCOMPARE((ok ? "ok " : "failed ") +
                     (types[reader.ImageType()] + size.arg(int(reader.Depth()))),
                 read);
    }
};

QTEST_MAIN(TestImageHeaderReader)
#include "tst_imageheaderreader.moc"
