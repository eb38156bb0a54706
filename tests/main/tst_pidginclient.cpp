#include "common/TestEnvironment.h"
#include "main/PidginMessengerClient.h"
#include "main/SessionMessengerClient.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

#include <map>

// Pidgin's interface as far as the client uses it, answered inside the test process. Calls
// that the test process makes to a name it owns itself are delivered directly, so no second
// process is needed.
class FakePurple : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "im.pidgin.purple.PurpleInterface")
public:
    QStringList calls;
    QString iconPath;
    QList<int> accounts;
    std::map<int, QList<int>> buddies;
    std::map<int, std::pair<QString, QString>> names;
    QList<int> vanished;

public slots:
    QString PurplePrefsGetPath(const QString& name)
    {
        calls.append(QStringLiteral("get ") + name);
        return iconPath;
    }
    void PurplePrefsSetPath(const QString& name, const QString& value)
    {
        calls.append(QStringLiteral("set ") + name + QLatin1Char('=') + value);
        iconPath = value;
    }
    QList<int> PurpleAccountsGetAllActive() { return accounts; }
    QList<int> PurpleFindBuddies(int account, const QString&) { return buddies[account]; }
    QString PurpleBuddyGetName(int buddy) { return lookup(buddy).first; }
    QString PurpleBuddyGetAlias(int buddy) { return lookup(buddy).second; }
    QString PurpleBuddyIconsGetCacheDir() { return QStringLiteral("/pidgin/icons"); }

private:
    std::pair<QString, QString> lookup(int buddy)
    {
        if (vanished.contains(buddy)) {
            sendErrorReply(PidginMessengerClient::InvalidHandleError,
                           QStringLiteral("PurpleBuddy object with ID = %1 not found").arg(buddy));
            return {};
        }
        return names[buddy];
    }
};

// The MessengerAPI client's interface, only to see which client a call reaches.
class FakeMessengerApi : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "MessengerAPI.IMessenger")
public:
    QStringList pictures;

public slots:
    void SetMyProperty(int, const QDBusVariant& value)
    {
        pictures.append(value.variant().toString());
    }
};

class TestPidginClient : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void unreadablePicturesNeverReachPidgin_data();
    void unreadablePicturesNeverReachPidgin();
    void pictureBecomesTheGlobalIcon();
    void samePathAgainIsClearedFirst();
    void relativePathIsMadeAbsolute();
    void contactsSortedPerAccount();
    void vanishedBuddiesAreLeftOut();
    void cacheFolderIsPidgins();
    void sessionClientChoice_data();
    void sessionClientChoice();

private:
    QString picture(const QString& name, int size = 48) const;
    void own(bool api, bool pidgin);

    std::unique_ptr<TestEnvironment> m_env;
    QDBusConnection m_bus = QDBusConnection::sessionBus();
    FakePurple m_purple;
    FakeMessengerApi m_api;
};

void TestPidginClient::initTestCase()
{
    if (!m_bus.isConnected())
        QSKIP("no session bus (run the tests under dbus-run-session)");
    if (m_bus.interface()->isServiceRegistered(PidginMessengerClient::ServiceName).value())
        QSKIP("Pidgin already runs on this session bus");
    m_env = std::make_unique<TestEnvironment>();
    QVERIFY(m_bus.registerObject(PidginMessengerClient::ObjectPath, &m_purple,
                                 QDBusConnection::ExportAllSlots));
    QVERIFY(m_bus.registerObject(DBusMessengerClient::ObjectPath, &m_api,
                                 QDBusConnection::ExportAllSlots));
}

void TestPidginClient::cleanup()
{
    own(false, false);
    m_purple.calls.clear();
    m_purple.iconPath.clear();
    m_api.pictures.clear();
}

QString TestPidginClient::picture(const QString& name, int size) const
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QString path = m_env->makeDir(QStringLiteral("pictures")) + QLatin1Char('/') + name;
    image.save(path, "PNG");
    return path;
}

void TestPidginClient::own(bool api, bool pidgin)
{
    const auto set = [this](const QString& name, bool owned) {
        if (owned)
            QVERIFY(m_bus.registerService(name));
        else
            m_bus.unregisterService(name);
    };
    set(DBusMessengerClient::ServiceName, api);
    set(PidginMessengerClient::ServiceName, pidgin);
}

void TestPidginClient::unreadablePicturesNeverReachPidgin_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QVariant>("value");

    QFile good(picture(QStringLiteral("good.png")));
    QVERIFY(good.open(QIODevice::ReadOnly));
    const QByteArray png = good.readAll();
    const QVariant pathGiven; // the written file's path is used

    QTest::newRow("text named .png")
        << QStringLiteral("bad/text.png") << QByteArray("not a picture\n") << pathGiven;
    QTest::newRow("empty file") << QStringLiteral("bad/empty.png") << QByteArray() << pathGiven;
    QTest::newRow("truncated PNG")
        << QStringLiteral("bad/cut.png") << png.left(png.size() / 2) << pathGiven;
    QTest::newRow("header only") << QStringLiteral("bad/header.png") << png.left(33) << pathGiven;
    QTest::newRow("missing file") << QString() << QByteArray()
                                  << QVariant(QStringLiteral("/no/such.png"));
    QTest::newRow("folder") << QString() << QByteArray() << QVariant(QStringLiteral("/"));
    QTest::newRow("empty path") << QString() << QByteArray() << QVariant(QString());
    QTest::newRow("not a text") << QString() << QByteArray() << QVariant(42);
}

void TestPidginClient::unreadablePicturesNeverReachPidgin()
{
    QFETCH(QString, relative);
    QFETCH(QByteArray, content);
    QFETCH(QVariant, value);
    if (!relative.isEmpty())
        value = m_env->writeFile(relative, content);
    own(false, true);

    PidginMessengerClient client(m_bus);
    QString error;
    QVERIFY(!client.setMyProperty(MessengerClient::DisplayPictureProperty, value, &error));
    QVERIFY(!error.isEmpty());
    // Pidgin would have cleared the user's icon: it must not even be asked.
    QCOMPARE(m_purple.calls, QStringList());
}

void TestPidginClient::pictureBecomesTheGlobalIcon()
{
    own(false, true);
    const QString path = picture(QStringLiteral("a.png"));
    PidginMessengerClient client(m_bus);
    QString error;
    QVERIFY2(client.setMyProperty(2, path, &error), qPrintable(error));
    QCOMPARE(m_purple.iconPath, path);
    const auto current = client.myProperty(2, &error);
    QVERIFY2(current, qPrintable(error));
    QCOMPARE(current->toString(), path);
    // Other property codes mean nothing to Pidgin.
    QVERIFY(!client.setMyProperty(3, path, &error));
    QVERIFY(!client.myProperty(3, &error));
}

void TestPidginClient::samePathAgainIsClearedFirst()
{
    own(false, true);
    const QString a = picture(QStringLiteral("a.png"));
    const QString b = picture(QStringLiteral("b.png"));
    PidginMessengerClient client(m_bus);
    const QString pref = PidginMessengerClient::BuddyIconPref;
    QVERIFY(client.setMyProperty(2, a, nullptr));
    QVERIFY(client.setMyProperty(2, a, nullptr));
    QVERIFY(client.setMyProperty(2, b, nullptr));
    QCOMPARE(m_purple.calls, QStringList({
                                 QStringLiteral("get ") + pref,
                                 QStringLiteral("set ") + pref + QLatin1Char('=') + a,
                                 QStringLiteral("get ") + pref,
                                 QStringLiteral("set ") + pref + QLatin1Char('='),
                                 QStringLiteral("set ") + pref + QLatin1Char('=') + a,
                                 QStringLiteral("get ") + pref,
                                 QStringLiteral("set ") + pref + QLatin1Char('=') + b,
                             }));
}

void TestPidginClient::relativePathIsMadeAbsolute()
{
    own(false, true);
    const QString path = picture(QStringLiteral("rel.png"));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_env->root()));
    PidginMessengerClient client(m_bus);
    QString error;
    const bool sent = client.setMyProperty(2, QStringLiteral("pictures/rel.png"), &error);
    QDir::setCurrent(before);
    QVERIFY2(sent, qPrintable(error));
    QCOMPARE(QFileInfo(m_purple.iconPath).canonicalFilePath(), QFileInfo(path).canonicalFilePath());
    QVERIFY(QFileInfo(m_purple.iconPath).isAbsolute());
}

void TestPidginClient::contactsSortedPerAccount()
{
    own(false, true);
    m_purple.accounts = {7, 3, 9};
    m_purple.buddies = {{7, {71, 72, 73, 74}}, {3, {31}}, {9, {}}};
    m_purple.names = {{71, {"zed@x.invalid", "Zed"}},
                      {72, {"Bjork@x.invalid", "Bjørk Ødegård"}},
                      {73, {"amy@x.invalid", "Sam"}},
                      {74, {"bjork@x.invalid", "Sam"}},
                      {31, {"heidi", "Heidi"}}};
    PidginMessengerClient client(m_bus);
    QString error;
    const auto contacts = client.myContacts(&error);
    QVERIFY2(contacts, qPrintable(error));
    QStringList got;
    for (const MessengerContact& c : *contacts)
        got.append(c.signinName + QLatin1Char('|') + c.friendlyName);
    // Pidgin's account order, buddies by name within each account.
    QCOMPARE(got,
             QStringList({QStringLiteral("amy@x.invalid|Sam"),
                          QStringLiteral("Bjork@x.invalid|Bjørk Ødegård"),
                          QStringLiteral("bjork@x.invalid|Sam"),
                          QStringLiteral("zed@x.invalid|Zed"), QStringLiteral("heidi|Heidi")}));
}

void TestPidginClient::vanishedBuddiesAreLeftOut()
{
    own(false, true);
    m_purple.accounts = {1};
    m_purple.buddies = {{1, {11, 12}}};
    m_purple.names = {{11, {"a@x.invalid", "A"}}, {12, {"b@x.invalid", "B"}}};
    m_purple.vanished = {11};
    PidginMessengerClient client(m_bus);
    QString error;
    const auto contacts = client.myContacts(&error);
    m_purple.vanished.clear();
    QVERIFY2(contacts, qPrintable(error));
    QCOMPARE(contacts->size(), 1);
    QCOMPARE(contacts->first().signinName, QStringLiteral("b@x.invalid"));
}

void TestPidginClient::cacheFolderIsPidgins()
{
    PidginMessengerClient client(m_bus);
    // Without Pidgin there is no folder to name.
    QCOMPARE(client.cacheFolder(), QString());
    own(false, true);
    QCOMPARE(client.cacheFolder(), QStringLiteral("/pidgin/icons"));
}

void TestPidginClient::sessionClientChoice_data()
{
    QTest::addColumn<bool>("api");
    QTest::addColumn<bool>("pidgin");
    QTest::addColumn<QString>("reached");

    QTest::newRow("nobody") << false << false << QString();
    QTest::newRow("MessengerAPI only") << true << false << QStringLiteral("api");
    QTest::newRow("Pidgin only") << false << true << QStringLiteral("pidgin");
    QTest::newRow("both: MessengerAPI first") << true << true << QStringLiteral("api");
}

void TestPidginClient::sessionClientChoice()
{
    QFETCH(bool, api);
    QFETCH(bool, pidgin);
    QFETCH(QString, reached);
    const QString path = picture(QStringLiteral("s.png"));

    // The client is made before anybody owns a name: the choice is made at each call.
    auto client = SessionMessengerClient::create(nullptr);
    QVERIFY(client);
    QVERIFY(!client->isRunning());
    own(api, pidgin);
    QCOMPARE(client->isRunning(), api || pidgin);

    QString error;
    QCOMPARE(client->setMyProperty(2, path, &error), !reached.isEmpty());
    QCOMPARE(m_api.pictures, reached == QLatin1String("api") ? QStringList{path} : QStringList());
    QCOMPARE(m_purple.iconPath, reached == QLatin1String("pidgin") ? path : QString());
    QCOMPARE(client->cacheFolder(), reached == QLatin1String("pidgin")
                                        ? QStringLiteral("/pidgin/icons")
                                        : m_env->temp() + QStringLiteral("/MessengerCache"));

    own(false, false);
    QVERIFY(!client->isRunning());
}

QTEST_GUILESS_MAIN(TestPidginClient)
#include "tst_pidginclient.moc"
