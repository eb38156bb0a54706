// A long run: memory does not grow over many ticks, tools window openings and language switches.
#include "MainWindowFixture.h"
#include "Pictures.h"
#include <QListWidget>
#include <QPixmapCache>
#include <malloc.h>

class TestSoak : public QObject
{
    Q_OBJECT
    // The heap in use in KiB, with Qt's pixmap cache (the style's drawings, bounded) emptied.
    static qint64 heapKiB()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QPixmapCache::clear();
        const struct mallinfo2 heap = mallinfo2();
        return qint64((heap.uordblks + heap.hblkhd) / 1024);
    }
private slots:
    void memoryStaysFlat()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("the sanitizers keep their own heap; LeakSanitizer watches this build");
#endif
        MainWindowFixture f;
        QStringList names;
        for (int i = 0; i < 300; ++i)
            names << QStringLiteral("p%1.png").arg(i);
        for (int i = 0; i < 8; ++i)
            f.env.writeFile("tmp/MessengerCache/" + names[i],
                            Pictures::png(Pictures::scenery(96, 96)));
        f.messenger->contacts = {{"ami@x", "Ami n°1 صديق"}, {"bob@x", "Bob"}};
        QVERIFY(f.start({.pictures = names, .rotation = true, .shown = true}));
        qint64 before = 0;
        for (int i = 1; i <= 10000; ++i) {
            QCOMPARE(f.tick().size(), 1);
            f.messenger->sentPictures.clear(); // the fake's record would grow
            // Every 50 ticks the tools window opens, in the next language, and closes again.
            if (i % 50 == 0) {
                const auto tools = f.openTools();
                tools->show();
                f.chooseLanguage(QStringList{"English", "French", "Arabic"}.at(i / 50 % 3));
                QCOMPARE(tools->widget<QListWidget>("lstimages")->count(), 8);
            }
            if (i == 500)
                before = heapKiB();
        }
        const qint64 growth = heapKiB() - before;
        QVERIFY2(before > 0 && growth < 2048, qPrintable(QString::number(growth) + " KiB more"));
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
