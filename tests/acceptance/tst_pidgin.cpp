// Against the real Pidgin, what only it can show: which accounts take the icon, what it keeps.
#include "ClientAnswers.h"
#include "MainWindowFixture.h"
#include "Pictures.h"
#include "messenger/PidginCalls.h"
#include "messenger/SessionMessengerClient.h"
#include <QCryptographicHash>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QtDBus>

// The real Pidgin on the test's bus and folders, offline: a copy of tests/data/pidgin (accounts
// at unreachable .invalid addresses) for its profile, on the test's X display.
class TestPidgin : public QObject
{
    Q_OBJECT
    TestEnvironment m_env;
    QProcess m_pidgin;
    std::unique_ptr<MessengerClient> m_client = SessionMessengerClient::create().value();
    const QString m_profile = m_env.path("profile");
    // A picture Pidgin keeps as it is (a PNG within XMPP's 32 to 96 pixels), under the SHA-1 of
    // its bytes: the name the account's buddy_icon then holds.
    QString write(const QString& name, const QColor& colour) const
    {
        const QByteArray png = Pictures::png(Pictures::filled(64, 64, colour));
        m_env.writeFile(name, png);
        return QCryptographicHash::hash(png, QCryptographicHash::Sha1).toHex() + ".png";
    }
    // The answer to a call on Pidgin's interface; invalid when there is none.
    static QVariant call(const QString& method, const QVariantList& args = {})
    {
        QDBusInterface purple(PidginCalls::ServiceName, PidginCalls::ObjectPath,
                              PidginCalls::InterfaceName);
        const QDBusMessage reply = purple.callWithArgumentList(QDBus::Block, method, args);
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0) : QVariant();
    }
    // The account's "buddy_icon" setting: the file name Pidgin stored its picture under.
    static QString alice()
    {
        const auto id = call("PurpleAccountsFind", {"alice@xmpp.invalid/Dorvane", "prpl-jabber"});
        return call("PurpleAccountGetString", {id, "buddy_icon", ""}).toString();
    }
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("pidgin").isEmpty() || qgetenv("DISPLAY").isEmpty())
            QSKIP("pidgin is not installed, or there is no X display (xvfb-run)");
        const QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || bus.interface()->isServiceRegistered(PidginCalls::ServiceName))
            QSKIP("no session bus of its own (dbus-run-session), or Pidgin runs on it already");
        const QString data = QStringLiteral(DORVANE_TEST_DATA "/pidgin");
        for (QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString file = it.next();
            m_env.writeFile("profile" + file.mid(data.size()), TestEnvironment::read(file));
        }
        // No accessibility bus and no settings daemon to wait for.
        m_pidgin.start("env", {"NO_AT_BRIDGE=1", "GSETTINGS_BACKEND=memory", "pidgin",
                               "--config=" + m_profile, "--nologin"});
        // Pidgin owns its name a moment before it has read the profile; its first answer counts.
        QVERIFY(QTest::qWaitFor([] { return call("PurpleAccountsGetAll").isValid(); }, 30000));
        // The bus tells the client that Pidgin came; it never asks while a caller waits.
        QTRY_COMPARE(m_client->name(), "Pidgin");
    }
    void cleanupTestCase()
    {
        m_pidgin.kill();
        m_pidgin.waitForFinished();
    }
    void contactsAndCachedIconsForTheToolsWindow()
    {
        // The enabled accounts in Pidgin's order, buddies by name; no alias: the name.
        QCOMPARE(FakeMessengerClient::pairs(Answer::myContacts(*m_client)),
                 QStringList({"anna@xmpp.invalid|anna@xmpp.invalid",
                              "bjork@xmpp.invalid|Bjørk Ødegård 日本", "sam.one@xmpp.invalid|Sam",
                              "sam.two@xmpp.invalid|Sam", "heidi|Heidi"}));
        QCOMPARE(QDir(Answer::cacheFolder(*m_client)).canonicalPath(),
                 QDir(m_profile + "/icons").canonicalPath());
    }
    void rotationSetsTheEnabledAccountsIcon()
    {
        MainWindowFixture f;
        f.messengerFactory = &SessionMessengerClient::create;
        const QString a = write("pics/a.png", Qt::red), b = write("pics/b.png", Qt::blue);
        QVERIFY(f.start({.folder = m_env.path("pics"), .rotation = true}));
        QTRY_COMPARE(alice(), a); // the client answers later; the window never waits
        f.tick();
        QTRY_COMPARE(alice(), b);
        QVERIFY(QFile::exists(m_profile + "/icons/" + b));
        const QString changed = write("pics/b.png", Qt::cyan); // the same path, another picture
        QVERIFY(Answer::sent(*m_client, m_env.path("pics/b.png")));
        QCOMPARE(alice(), changed);
    }
};

QTEST_MAIN(TestPidgin)
#include "tst_pidgin.moc"
