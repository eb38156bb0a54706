// The main window beside the stand-in gone and back, signed out or hung; and its answers.
#include "ClientAnswers.h"
#include "MainWindowFixture.h"
#include "StandinProcess.h"
#include "messenger/MessengerApiClient.h"
#include "messenger/SessionMessengerClient.h"
#include <QDeadlineTimer>
#include <QListWidget>

class TestDbusclient : public QObject
{
    Q_OBJECT
    MessengerApiClient m_client{QDBusConnection::sessionBus()};
private slots:
    void windowBesideTheClient_data()
    {
        // mode "restart": killed after start-up, back after a tick; reason: why a call then fails
        columns<QString, QString>("mode", "reason");
        row("killed and restarted", "restart", "client is not running");
        row("signed out", "--signed-out", "Nobody is signed in");
        row("hung: never waited for", "--hang", "within 2 seconds");
    }
    void windowBesideTheClient()
    {
        const auto [mode, reason] = fetch<QString, QString>("mode", "reason");
        const bool restart = mode == QLatin1String("restart");
        MainWindowFixture f;
        f.messengerFactory = &SessionMessengerClient::create;
        const QStringList args{"--no-cache", "--contacts",
                               f.env.writeFile("c.txt", "z@x\tZo\xC3\xAB\na@x\tSame\n")};
        StandinProcess standin;
        QVERIFY(standin.start(restart ? args : args + QStringList{mode}));
        // Start-up and a tick end well within the 2 s a silent client is given: never waited for.
        const QDeadlineTimer deadline(1000);
        QVERIFY(f.start({.pictures = {"a.png", "b.png", "c.png"}, .rotation = true}));
        QTRY_VERIFY(f.timer()->isActive());
        if (restart)
            standin.kill();
        f.tick();
        if (mode == "--hang") // the contact tools window opens at once, its lists waiting
            QVERIFY(f.openTools()->widget<QListWidget>("lstnick")->cursor().shape() ==
                    Qt::BusyCursor);
        QVERIFY(!deadline.hasExpired());
        // In words the user can act on, not the bus's.
        const Result<void> refused = Answer::sent(m_client, f.path("a.png"));
        QVERIFY2(!refused && refused.error().contains(reason), qPrintable(refused.error()));
        // A client that comes back starts the rotation again from the first picture.
        QVERIFY(!restart || standin.start(args));
        QTRY_COMPARE(f.currentRow(), restart ? 0 : 1);
        f.tick();
        QCOMPARE(f.currentRow(), restart ? 1 : 2);
        QVERIFY(f.timer()->isActive() && f.dialogs.messages.isEmpty());
        if (restart) // the picture as set, the contacts as listed
            QTRY_COMPARE(StandinProcess::displayPicture(), f.path("b.png"));
        QCOMPARE(FakeMessengerClient::pairs(Answer::myContacts(m_client)),
                 restart ? QStringList({"z@x|Zoë", "a@x|Same"}) : QStringList{"<refused>"});
    }
    // Where no TEMP is set, the stand-in and the program take the same folder of the user's own.
    void harvestOfTheStandinsCache()
    {
        MainWindowFixture f;
        f.env.unsetVar("Temp");
        f.env.unsetVar("TMPDIR");
        f.messengerFactory = &SessionMessengerClient::create;
        StandinProcess standin;
        QVERIFY(standin.start() && f.start());
        const auto tools = f.openTools();
        QTRY_VERIFY(tools->widget<QListWidget>("lstimages")->count() > 0);
        QVERIFY(QFile::exists(f.env.path("cache/Dorvane/Temp/dvn/dvn2.jpg")));
    }
};

QTEST_MAIN(TestDbusclient)
#include "tst_dbusclient.moc"
