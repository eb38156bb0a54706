#include "BadPictureFolder.h"
#include "common/MainFixture.h"
#include "common/StandinProcess.h"

#include "main/DBusMessengerClient.h"
#include "main/RotationTimer.h"
#include "main/SessionMessengerClient.h"
#include "tools/FrmTools.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using Entry = Settings::Entry;

namespace {

const QStringList NoCache{QStringLiteral("--no-cache")};

// What the Messenger client on the bus shows as the display picture now.
QString standinPicture()
{
    auto client = DBusMessengerClient::create(nullptr);
    QString error;
    const auto value =
        client ? client->myProperty(MessengerClient::DisplayPictureProperty, &error) : std::nullopt;
    return value ? value->toString() : QStringLiteral("<no answer: %1>").arg(error);
}

// The main window as the program builds it, on the session's Messenger client, started with
// rotation on over `folder` every `minutes` and `seconds`.
bool loadOnTheBus(MainFixture& f, const QString& folder, const QString& minutes,
                  const QString& seconds)
{
    f.settings->write(Entry::FirstRun, QStringLiteral("1"));
    f.settings->write(Entry::Control, QStringLiteral("1"));
    f.settings->write(Entry::Random, QStringLiteral("0"));
    f.settings->write(Entry::ImagePath, folder);
    f.settings->write(Entry::TimerMinutes, minutes);
    f.settings->write(Entry::TimerSeconds, seconds);
    MainServices services = f.services();
    services.messengerFactory = &SessionMessengerClient::create;
    f.window = std::make_unique<FrmMine>(services);
    return f.window->Form_Load();
}

// An interval long enough that only the test's own ticks happen.
bool loadOnTheBus(MainFixture& f, const QString& folder)
{
    return loadOnTheBus(f, folder, QStringLiteral("60"), QStringLiteral("0"));
}

QString currentPath(const MainFixture& f)
{
    const int row = f.window->lstimages->currentRow();
    return row >= 0 ? f.window->picturePath(f.window->lstimages->text(row)) : QString();
}

QStringList pictureNames()
{
    return {QStringLiteral("a.png"), QStringLiteral("b.png"), QStringLiteral("c.png"),
            QStringLiteral("d.png")};
}

} // namespace

class TestMessengerFaults : public QObject
{
    Q_OBJECT
private slots:
    void killedAndRestarted();
    void timerRotationResumesAfterARestart();
    void signedOutRefusalsAreQuiet();
    void hungClientCostsOneTimeoutATick();
    void awkwardNamesReachTheClientIntact();
    void toolsWindowBesideAFaultyClient_data();
    void toolsWindowBesideAFaultyClient();
};

void TestMessengerFaults::killedAndRestarted()
{
    MainFixture f;
    const QString folder = f.makePictureFolder(QStringLiteral("pics"), pictureNames());
    StandinProcess standin;
    QVERIFY(standin.start(NoCache));
    QVERIFY(loadOnTheBus(f, folder));
    QVERIFY(f.window->rotationTimer()->isActive());
    QCOMPARE(standinPicture(), folder + QStringLiteral("/a.png"));
    f.window->TimerTick();
    QCOMPARE(standinPicture(), folder + QStringLiteral("/b.png"));

    standin.kill();
    // Nobody to take the pictures: the rotation moves on without a word.
    f.window->TimerTick();
    f.window->TimerTick();
    QCOMPARE(currentPath(f), folder + QStringLiteral("/d.png"));
    QVERIFY(f.window->rotationTimer()->isActive());

    QVERIFY(standin.start(NoCache));
    f.window->TimerTick();
    QCOMPARE(standinPicture(), folder + QStringLiteral("/a.png"));
    f.window->TimerTick();
    QCOMPARE(standinPicture(), folder + QStringLiteral("/b.png"));
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestMessengerFaults::timerRotationResumesAfterARestart()
{
    MainFixture f;
    const QString folder = f.makePictureFolder(QStringLiteral("pics"), pictureNames());
    StandinProcess standin;
    QVERIFY(standin.start(NoCache));
    QVERIFY(loadOnTheBus(f, folder, QStringLiteral("0"), QStringLiteral("1")));
    QSignalSpy ticks(f.window->rotationTimer(), &RotationTimer::tick);

    standin.kill();
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 2, 20000);
    QVERIFY(standin.start(NoCache));
    QCOMPARE(standinPicture(), QString());
    // The timer's own ticks reach the new client.
    QTRY_VERIFY_WITH_TIMEOUT(pictureNames().contains(QFileInfo(standinPicture()).fileName()),
                             20000);
    QVERIFY(f.window->rotationTimer()->isActive());
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestMessengerFaults::signedOutRefusalsAreQuiet()
{
    MainFixture f;
    const QString folder = f.makePictureFolder(QStringLiteral("pics"), pictureNames());
    StandinProcess standin;
    QVERIFY(standin.start({QStringLiteral("--signed-out"), QStringLiteral("--no-cache")}));
    QVERIFY(loadOnTheBus(f, folder));
    // The client runs, so the rotation starts; its refusals go unremarked.
    QVERIFY(f.window->rotationTimer()->isActive());
    for (const QString& name : {QStringLiteral("b.png"), QStringLiteral("c.png")}) {
        f.window->TimerTick();
        QCOMPARE(currentPath(f), folder + QLatin1Char('/') + name);
    }
    QCOMPARE(standinPicture(), QString());
    QVERIFY(f.window->rotationTimer()->isActive());
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestMessengerFaults::hungClientCostsOneTimeoutATick()
{
    MainFixture f;
    const QString folder = f.makePictureFolder(QStringLiteral("pics"), pictureNames());
    StandinProcess standin;
    QVERIFY(standin.start({QStringLiteral("--hang"), QStringLiteral("--no-cache")}));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(loadOnTheBus(f, folder));
    qInfo("start-up beside a client that never answers: %lld ms", clock.elapsed());

    for (const QString& name : {QStringLiteral("b.png"), QStringLiteral("c.png")}) {
        bool answered = false;
        QTimer::singleShot(0, f.window.get(), [&answered] { answered = true; });
        clock.restart();
        f.window->TimerTick();
        const qint64 took = clock.elapsed();
        qInfo("tick beside a client that never answers: %lld ms", took);
        // The call gives up after its timeout (2 s); the margin is for slow machines.
        QVERIFY2(took < 10000, qPrintable(QString::number(took)));
        QCOMPARE(currentPath(f), folder + QLatin1Char('/') + name);
        // The window handles what waited meanwhile.
        QTRY_VERIFY(answered);
    }
    QVERIFY(f.window->rotationTimer()->isActive());
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestMessengerFaults::awkwardNamesReachTheClientIntact()
{
    MainFixture f;
    const BadPictureFolder pictures(f.env.makeDir(QStringLiteral("pictures/odd 'folder' ü")));
    StandinProcess standin;
    QVERIFY(standin.start(NoCache));
    QVERIFY(loadOnTheBus(f, pictures.path()));
    QVERIFY(pictures.removeVanishing());

    QString shown = standinPicture();
    for (int i = 0; i < f.window->lstimages->count(); ++i) {
        f.window->TimerTick();
        const QString name = f.window->lstimages->currentText();
        const QString path = pictures.filePath(name);
        const QString now = standinPicture();
        const bool exists = QFileInfo::exists(path);
        switch (pictures.file(name)->kind) {
        case BadPictureFolder::Kind::Picture:
            // Spaces, quotes, a newline, a dash and other scripts arrive unchanged.
            if (exists)
                QCOMPARE(now, path);
            else
                QCOMPARE(now, shown);
            break;
        case BadPictureFolder::Kind::Broken:
            // The client refuses what it cannot read and keeps its picture.
            QCOMPARE(now, shown);
            break;
        case BadPictureFolder::Kind::Partial:
            QVERIFY(now == shown || now == path);
            break;
        }
        shown = now;
    }
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestMessengerFaults::toolsWindowBesideAFaultyClient_data()
{
    QTest::addColumn<QStringList>("standin"); // empty: none runs
    QTest::addColumn<QString>("message");
    QTest::newRow("no client") << QStringList()
                               << QStringLiteral("The Messenger client is not running.");
    QTest::newRow("signed out") << QStringList{QStringLiteral("--signed-out")}
                                << QStringLiteral("Nobody is signed in.");
    QTest::newRow("hung") << QStringList{QStringLiteral("--hang")}
                          << QStringLiteral(
                                 "The Messenger client did not answer within 2 seconds.");
}

void TestMessengerFaults::toolsWindowBesideAFaultyClient()
{
    QFETCH(QStringList, standin);
    QFETCH(QString, message);
    MainFixture f;
    const QString folder = f.makePictureFolder(QStringLiteral("pics"), pictureNames());
    // A cached picture to harvest whatever the client does.
    QImage cached(FrmTools::PictureSize, FrmTools::PictureSize, QImage::Format_RGB32);
    cached.fill(Qt::darkGreen);
    QVERIFY(cached.save(
        f.env.makeDir(QStringLiteral("tmp/MessengerCache")) + QStringLiteral("/a.png"), "PNG"));
    StandinProcess process;
    if (!standin.isEmpty())
        QVERIFY(process.start(standin + NoCache));
    QVERIFY(loadOnTheBus(f, folder));
    f.dialogs.clearMessages();

    QElapsedTimer clock;
    clock.start();
    FrmTools tools(f.window.get(), f.window->services());
    tools.Form_Load();
    qInfo("contact tools window loaded in %lld ms", clock.elapsed());
    // The user opened it: one message says why there are no contacts; the rest still works.
    QCOMPARE(f.dialogs.messages().size(), 1);
    // In words the user can act on, not the bus's.
    QCOMPARE(f.dialogs.messages().first().text, message);
    QCOMPARE(tools.lstemails->count(), 0);
    QVERIFY(!tools.lstemails->isHidden());
    QVERIFY(!tools.lstnick->isHidden());
    QCOMPARE(tools.lstimages->count(), 1);
    tools.close();
}

QTEST_MAIN(TestMessengerFaults)
#include "tst_messengerfaults.moc"
