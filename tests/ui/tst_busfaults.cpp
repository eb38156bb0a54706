// The session bus misbehaving: its daemon stalled, at the start or while the rotation runs, and
// Dorvane's name held by another program. Each is made from outside, as a desktop would make it.
#include "RunningCopy.h"
#include "StandinProcess.h"
#include "StoppedBus.h"

#include "messenger/SessionMessengerClient.h"

class TestBusFaults : public QObject
{
    Q_OBJECT
private slots:
    // The bus daemon stalls while the rotation runs: the window answers at once, a copy started
    // meanwhile gets on with its start-up, the command line gives up after a few seconds.
    void stalledBus()
    {
        const pid_t daemon = StoppedBus::ownDaemon();
        if (daemon == 0)
            QSKIP("the bus daemon is not the test's own (run the tests under dbus-run-session)");
        StandinProcess standin;
        QVERIFY(standin.start({"--no-cache"}));
        RunningCopy f;
        f.messengerFactory = &SessionMessengerClient::create;
        QVERIFY(f.run({.pictures = {"a.png", "b.png", "c.png"}, .rotation = true, .shown = true}));
        QTRY_COMPARE(f.rotation().client(), "MessengerAPI");
        {
            const StoppedBus stopped(daemon);
            const QDeadlineTimer eightSeconds(8000);
            const TestEnvironment elsewhere; // the other copy's folders
            QProcess status, other;
            status.start(DORVANE_PROGRAM_PATH, {"--status"});
            other.start(DORVANE_PROGRAM_PATH);
            for (int row : {2, 0, 1, 2}) {
                f.tick();
                const QDeadlineTimer click(500);
                f.clickRow(row);
                QTest::qWait(20); // whatever the click left for the event loop runs too
                QVERIFY(!click.hasExpired());
                QCOMPARE(f.currentRow(), row);
            }
            // As far as its first run, which comes after its Messenger client is made.
            QTRY_VERIFY_WITH_TIMEOUT(
                TestEnvironment::read(elsewhere.settingsFile()).contains("[firstrun]"), 10000);
            QTRY_COMPARE_WITH_TIMEOUT(status.state(), QProcess::NotRunning, 15000);
            QVERIFY(!eightSeconds.hasExpired());
            QCOMPARE(status.readAllStandardError() + QByteArray::number(status.exitCode()),
                     "The session bus did not answer within 5 seconds.\n1");
        }
        QCOMPARE(runDvn({"--status"}).exitCode, 0);
    }
    // Another program holds Dorvane's name first: the running copy says so and waits for it, the
    // command line refuses the other program's answers; once it lets go the copy takes the name.
    void nameHeldByAnotherProgram()
    {
        TestEnvironment env;
        env.writeFile("config/Dorvane/Dorvane.ini", "[firstrun]\nstate=1\n[autorun]\nstate=0\n");
        auto squatter = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "squatter");
        QVERIFY(squatter.registerService(ControlBus::ServiceName));
        QProcess running;
        running.start(DORVANE_PROGRAM_PATH);
        const auto cleanUp = qScopeGuard([&] {
            running.terminate();
            running.waitForFinished(10000);
            QDBusConnection::disconnectFromBus("squatter");
        });
        const QString held = "Another program holds Dorvane's name on the session bus (process " +
                             QString::number(QCoreApplication::applicationPid()) + ')';
        QString told;
        QTRY_VERIFY_WITH_TIMEOUT(
            (told += running.readAllStandardError()).contains(held, Qt::CaseInsensitive), 20000);
        const DvnRun next = runDvn({"--next"});
        QCOMPARE(next.errors + QString::number(next.exitCode),
                 held + "; Dorvane is not answering.\n1");
        QVERIFY(squatter.unregisterService(ControlBus::ServiceName));
        QTRY_VERIFY_WITH_TIMEOUT((told += running.readAllStandardError()).contains("now its own"),
                                 10000);
        QCOMPARE(told.count(held, Qt::CaseInsensitive), 1);
        QCOMPARE(runDvn({"--status"}).exitCode, 0);
    }
};

QTEST_MAIN(TestBusFaults)
#include "tst_busfaults.moc"
