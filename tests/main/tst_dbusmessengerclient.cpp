#include "common/StandinProcess.h"
#include "common/TestEnvironment.h"
#include "main/DBusMessengerClient.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>

class TestDBusMessengerClient : public QObject
{
    Q_OBJECT
private slots:
    void runningFollowsTheNameOwner();
    void callsWithNobodyOnTheBusFail();
    void talksToTheStandin();
    void signedOutRefusesQuietly();
    void hungClientTimesOut();
};

void TestDBusMessengerClient::runningFollowsTheNameOwner()
{
    auto client = DBusMessengerClient::create(nullptr);
    QVERIFY(client);
    QVERIFY(!client->isRunning());
    // Whatever program owns the name counts as the client; here the test itself.
    QDBusConnection bus = QDBusConnection::sessionBus();
    QVERIFY(bus.registerService(DBusMessengerClient::ServiceName));
    QVERIFY(client->isRunning());
    QVERIFY(bus.unregisterService(DBusMessengerClient::ServiceName));
    QVERIFY(!client->isRunning());
}

void TestDBusMessengerClient::callsWithNobodyOnTheBusFail()
{
    auto client = DBusMessengerClient::create(nullptr);
    QString error;
    QVERIFY(!client->setMyProperty(2, QStringLiteral("/tmp/a.png"), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!client->myContacts(&error));
    QVERIFY(!client->myProperty(2, &error));
}

void TestDBusMessengerClient::talksToTheStandin()
{
    TestEnvironment env;
    StandinProcess standin;
    QVERIFY(standin.start({QStringLiteral("--no-cache")}));
    auto client = DBusMessengerClient::create(nullptr);
    QVERIFY(client->isRunning());

    QString error;
    const auto contacts = client->myContacts(&error);
    QVERIFY2(contacts, qPrintable(error));
    QVERIFY(contacts->size() >= 3);
    bool nonAscii = false;
    for (const MessengerContact& c : *contacts) {
        QVERIFY(c.signinName.contains(QLatin1Char('@')));
        for (QChar ch : c.friendlyName)
            nonAscii = nonAscii || ch.unicode() > 127;
    }
    QVERIFY(nonAscii);

    const QString picture = env.root() + QStringLiteral("/pictures/a b.png");
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    env.makeDir(QStringLiteral("pictures"));
    QVERIFY(image.save(picture, "PNG"));
    QVERIFY2(client->setMyProperty(2, picture, &error), qPrintable(error));
    const auto current = client->myProperty(2, &error);
    QVERIFY2(current, qPrintable(error));
    QCOMPARE(current->toString(), picture);
}

void TestDBusMessengerClient::signedOutRefusesQuietly()
{
    TestEnvironment env;
    StandinProcess standin;
    QVERIFY(standin.start({QStringLiteral("--signed-out"), QStringLiteral("--no-cache")}));
    auto client = DBusMessengerClient::create(nullptr);
    QVERIFY(client->isRunning());
    QString error;
    QVERIFY(!client->myContacts(&error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!client->setMyProperty(2, QStringLiteral("/tmp/a.png"), &error));
}

void TestDBusMessengerClient::hungClientTimesOut()
{
    TestEnvironment env;
    StandinProcess standin;
    QVERIFY(standin.start({QStringLiteral("--hang"), QStringLiteral("--no-cache")}));
    auto client = DBusMessengerClient::create(nullptr);
    QElapsedTimer timer;
    timer.start();
    QString error;
    QVERIFY(!client->setMyProperty(2, QStringLiteral("/tmp/a.png"), &error));
    // The call gives up after its own timeout instead of waiting for the bus's 25 s default.
    QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestDBusMessengerClient)
#include "tst_dbusmessengerclient.moc"
