#include "common/MainFixture.h"

#include "tools/FrmTools.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPixmapCache>
#include <QPushButton>
#include <QTest>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DORVANE_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define DORVANE_UNDER_ASAN 1
#endif

#ifdef DORVANE_UNDER_ASAN
// From the sanitizer runtime (sanitizer/allocator_interface.h, which GCC does not install).
extern "C" size_t __sanitizer_get_current_allocated_bytes();

// AddressSanitizer keeps up to 256 MiB of freed blocks aside to catch late uses, and the
// resident memory grows with that store over the run (by about 440 MiB here; still by 9 MiB with
// a 16 MiB store, close to the bound checked below). A 4 MiB store still catches a use soon
// after the free, which is where this run's objects would be misused. ASAN_OPTIONS overrides it.
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=4";
}
#endif

using Entry = Settings::Entry;

namespace {

constexpr int Ticks = 10000;
constexpr int BaselineTicks = 100;
constexpr int ToolsOpenings = 200;
constexpr int LanguageSwitches = 200;
constexpr qint64 AllowedGrowthKiB = qint64{10} * 1024;
// The heap itself, once Qt's pixmap cache is emptied, may grow by this much at most.
constexpr qint64 AllowedHeapGrowthKiB = qint64{2} * 1024;

// The heap in use as AddressSanitizer counts it, in KiB; -1 without it.
qint64 heapKiB()
{
#ifdef DORVANE_UNDER_ASAN
    return qint64(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return -1;
#endif
}

// VmRSS from /proc/self/status, in KiB; -1 when it cannot be read.
qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // /proc files report a size of 0: read to the end rather than up to the size.
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Small pictures with some detail, half PNG and half JPEG, of a few sizes.
QStringList makePictures(const QString& folder, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const int side = 24 + (i % 5) * 10;
        QImage image(side, side + (i % 3) * 6, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((i * 37) % 360, 200, 220));
        QPainter painter(&image);
        painter.setPen(QColor::fromHsv((i * 53) % 360, 255, 90));
        for (int line = 0; line < side; line += 4)
            painter.drawLine(0, line, side - line, side);
        painter.end();
        const bool png = i % 2 == 0;
        const QString name =
            QStringLiteral("pic%1.%2").arg(i, 4, 10, QLatin1Char('0')).arg(png ? "png" : "jpg");
        image.save(folder + QLatin1Char('/') + name, png ? "PNG" : "JPEG", 85);
        names.append(name);
    }
    return names;
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void ticks();
    void toolsWindowOpenings();
    void languageSwitches();
    void residentMemoryStaysClose();
    void cleanupTestCase();

private:
    std::unique_ptr<MainFixture> m_f;
    QString m_folder;
    qint64 m_baselineKiB = -1;
    qint64 m_baselineHeapKiB = -1;
};

void TestSoak::initTestCase()
{
    m_f = std::make_unique<MainFixture>();
    MainFixture& f = *m_f;
    m_folder = f.env.makeDir(QStringLiteral("pictures"));
    QCOMPARE(makePictures(m_folder, 300).size(), 300);

    // A Messenger cache for the contact tools window to harvest, and some contacts.
    for (int i = 0; i < 8; ++i) {
        QImage picture(FrmTools::PictureSize, FrmTools::PictureSize, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(i * 40, 180, 200));
        picture.save(f.env.makeDir(QStringLiteral("tmp/MessengerCache")) +
                         QStringLiteral("/cached%1.png").arg(i),
                     "PNG");
    }
    for (int i = 0; i < 5; ++i) {
        f.messenger->contacts.append({QStringLiteral("friend%1@example.org").arg(i),
                                      QStringLiteral("Ami n°%1 صديق").arg(i)});
    }

    QVERIFY(f.start({.folder = m_folder, .rotation = true}));
    QCOMPARE(f.window->lstimages->count(), 300);
    QVERIFY(f.dialogs.messages().isEmpty());
    // Start-up's Apply sent the first picture.
    f.messenger->sentPictures.clear();
}

void TestSoak::ticks()
{
    MainFixture& f = *m_f;
    FrmMine* w = f.window.get();
    QElapsedTimer clock;
    clock.start();
    qint64 baselineMs = 0;
    for (int i = 1; i <= Ticks; ++i) {
        // Sequential and random in turns of 500 ticks; the mode is read at each tick.
        if (i % 500 == 1)
            f.settings->write(Entry::Random,
                              (i / 500) % 2 ? QStringLiteral("1") : QStringLiteral("0"));
        w->TimerTick();
        QCOMPARE(f.messenger->sentPictures.size(), 1);
        QCOMPARE(f.messenger->sentPictures.last(),
                 m_folder + QLatin1Char('/') + w->lstimages->currentText());
        f.messenger->sentPictures.clear();
        if (i % 100 == 0)
            settle();
        if (i == BaselineTicks) {
            baselineMs = clock.elapsed();
            m_baselineKiB = residentKiB();
            m_baselineHeapKiB = heapKiB();
        }
    }
    const qint64 ms = clock.elapsed();
    qInfo("%d ticks in %lld ms: %.1f ticks per second (%.1f after the first %d)", Ticks, ms,
          Ticks * 1000.0 / std::max<qint64>(ms, 1),
          (Ticks - BaselineTicks) * 1000.0 / std::max<qint64>(ms - baselineMs, 1), BaselineTicks);
    qInfo("resident memory after the first %d ticks: %lld KiB", BaselineTicks, m_baselineKiB);
    QVERIFY(m_baselineKiB > 0);
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestSoak::toolsWindowOpenings()
{
    MainFixture& f = *m_f;
    for (int i = 0; i < ToolsOpenings; ++i) {
        auto* tools = new FrmTools(f.window.get(), f.window->services());
        tools->Form_Load();
        tools->show();
        QCOMPARE(tools->lstemails->count(), 5);
        QCOMPARE(tools->lstimages->count(), 8);
        tools->close();
        delete tools;
        if (i % 20 == 0)
            settle();
    }
    settle();
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestSoak::languageSwitches()
{
    MainFixture& f = *m_f;
    FrmMine* w = f.window.get();
    const QStringList languages{QStringLiteral("English"), QStringLiteral("French"),
                                QStringLiteral("Arabic")};
    // "Get Data" in each, as the shipped files say it.
    const QStringList getData{QStringLiteral("Get Data"), QStringLiteral("Obtenir les données"),
                              QStringLiteral("جلب البيانات")};
    for (const QString& language : languages)
        QVERIFY2(w->comblang->findText(language) >= 0, qPrintable(language));
    for (int i = 0; i < LanguageSwitches; ++i) {
        const QString& language = languages.at(i % languages.size());
        const int index = w->comblang->findText(language);
        // Now and then with the contact tools window open, which takes the language too.
        std::unique_ptr<FrmTools> tools;
        if (i % 10 == 5) {
            tools = std::make_unique<FrmTools>(w, w->services());
            tools->Form_Load();
            tools->show();
        }
        // The list and the menu in turns; both are in the language files' order.
        if (i % 2 == 0) {
            w->comblang->setCurrentIndex(index);
            w->comblang_Click();
        } else {
            w->mnuLanguage_Click(index);
        }
        QCOMPARE(f.language->CurrentLang(), language);
        if (tools) {
            QCOMPARE(tools->cmdGetdata->text(), getData.at(i % languages.size()));
            tools->close();
        }
        if (i % 20 == 0)
            settle();
    }
    settle();
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestSoak::residentMemoryStaysClose()
{
    const qint64 after = residentKiB();
    qInfo("resident memory: %lld KiB after the first %d ticks, %lld KiB after the run "
          "(%+lld KiB)",
          m_baselineKiB, BaselineTicks, after, after - m_baselineKiB);
    if (heapKiB() >= 0) {
        // The windows painted during the run leave the style's drawings in Qt's pixmap cache,
        // which keeps up to 10 MiB of them. That cache is bounded; what is left beyond it would
        // be memory that nothing ever gives back.
        const qint64 withCache = heapKiB();
        QPixmapCache::clear();
        const qint64 heap = heapKiB();
        qInfo("heap in use (AddressSanitizer's count): %lld KiB after the first %d ticks, %lld "
              "KiB after the run (%lld KiB with Qt's pixmap cache)",
              m_baselineHeapKiB, BaselineTicks, heap, withCache);
        QVERIFY2(heap - m_baselineHeapKiB <= AllowedHeapGrowthKiB,
                 qPrintable(QStringLiteral("heap grew by %1 KiB").arg(heap - m_baselineHeapKiB)));
    }
    QVERIFY(m_baselineKiB > 0 && after > 0);
    QVERIFY2(after - m_baselineKiB <= AllowedGrowthKiB,
             qPrintable(QStringLiteral("grew by %1 KiB").arg(after - m_baselineKiB)));
}

void TestSoak::cleanupTestCase()
{
    m_f.reset();
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
