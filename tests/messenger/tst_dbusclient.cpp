// The main window beside the stand-in gone and back, signed out or hung; and its answers.
#include "MainWindowFixture.h"
#include "StandinProcess.h"
#include "core/rotation/RotationTimer.h"
#include "messenger/SessionMessengerClient.h"

#include <QDeadlineTimer>
#include <QTest>

class TestDbusclient : public QObject
{
    Q_OBJECT
    DBusMessengerClient m_client{QDBusConnection::sessionBus()};

private slots:
    void windowBesideTheClient_data()
    {
        QTest::addColumn<QString>("mode");   // "restart": killed after start-up, back after a tick
        QTest::addColumn<QString>("reason"); // why a call fails after the first tick
        QTest::newRow("killed and restarted") << QString("restart") << "client is not running";
        QTest::newRow("signed out") << QString("--signed-out") << "Nobody is signed in";
        QTest::newRow("hung: one 2 s timeout a call") << QString("--hang") << "within 2 seconds";
    }
    void windowBesideTheClient()
    {
        QFETCH(QString, mode);
        QFETCH(QString, reason);
        const bool restart = mode == QLatin1String("restart");
        MainWindowFixture f;
        f.messengerFactory = &SessionMessengerClient::create;
        const QStringList args{"--no-cache", "--contacts",
                               f.env.writeFile("c.txt", "z@x\tZo\xC3\xAB\na@x\tSame\n")};
        StandinProcess standin;
        QVERIFY(standin.start(restart ? args : args + QStringList{mode}));
        // The client runs, so the rotation starts; its refusals go unremarked.
        QVERIFY(f.start({.pictures = {"a.png", "b.png", "c.png"}, .rotation = true}));
        if (restart)
            standin.kill();
        const QDeadlineTimer deadline(10000); // far below the bus's own 25 s default
        f.tick();
        QVERIFY(!deadline.hasExpired());
        // In words the user can act on, not the bus's.
        const Result<void> refused = m_client.setMyProperty(2, f.path("a.png"));
        QVERIFY2(!refused && refused.error().contains(reason), qPrintable(refused.error()));
        if (restart)
            QVERIFY(standin.start(args));
        f.tick();
        QCOMPARE(f.currentRow(), 2);
        QVERIFY(f.timer()->isActive());
        QVERIFY(f.dialogs.messages.isEmpty());
        if (restart) // the picture as set, the contacts as listed
            QCOMPARE(m_client.myProperty(2).valueOr(QVariant()).toString(), f.path("c.png"));
        QCOMPARE(FakeMessengerClient::pairs(m_client.myContacts()),
                 restart ? QStringList({"z@x|Zoë", "a@x|Same"}) : QStringList{"<refused>"});
    }
};

QTEST_MAIN(TestDbusclient)
#include "tst_dbusclient.moc"
