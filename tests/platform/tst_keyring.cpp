// The desktop's keyring: a password kept by a Secret Service (GNOME Keyring) and in no file, and
// a prompt answer when none is on the bus.
#include "Table.h"
#include "TestEnvironment.h"
#include "platform/KeychainPasswordStore.h"
#include <QDBusConnectionInterface>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>

using Outcome = PasswordStore::Lookup::Outcome;

class TestKeyring : public QObject
{
    Q_OBJECT
    TestEnvironment m_env;
    QProcess m_bus;
    QProcess m_keyring;
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("gnome-keyring-daemon").isEmpty())
            QSKIP("gnome-keyring-daemon is not installed");
        // A bus of the test's own that starts nothing by itself: the run's session bus would
        // start the desktop's keyring from its service file, in the real home.
        const QString config = m_env.writeFile(
            "bus.conf",
            "<busconfig><type>session</type><listen>unix:tmpdir=" + m_env.temp().toUtf8() +
                "</listen><auth>EXTERNAL</auth><policy context='default'><allow "
                "send_destination='*'/><allow receive_sender='*'/><allow "
                "own='*'/></policy></busconfig>");
        m_bus.start("dbus-daemon", {"--config-file=" + config, "--nofork", "--print-address=1"});
        QVERIFY(m_bus.waitForReadyRead());
        m_env.setVar("DBUS_SESSION_BUS_ADDRESS", m_bus.readLine().trimmed());
        m_env.setVar("XDG_DATA_HOME", m_env.makeDir("data").toUtf8());
    }
    void keeps_data()
    {
        columns<bool>("keyring");
        row("no secret service on the bus", false);
        row("gnome keyring", true);
    }
    void keeps()
    {
        const auto [keyring] = fetch<bool>("keyring");
        if (keyring) {
            // Creates the login keyring, the default collection, with these words and unlocks it.
            m_keyring.start("gnome-keyring-daemon",
                            {"--foreground", "--unlock", "--components=secrets"});
            m_keyring.write("keyring words");
            m_keyring.closeWriteChannel();
            QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(
                "org.freedesktop.secrets"));
        }
        const QString account = "someone@example.org", password = "pw-3f9c-never-in-a-file";
        KeychainPasswordStore store;
        const auto lookUp = [&] {
            std::optional<PasswordStore::Lookup> got;
            store.read(account, [&](const PasswordStore::Lookup& lookup) { got = lookup; });
            return QTest::qWaitFor([&] { return bool(got); }) ? *got : PasswordStore::Lookup{};
        };
        std::optional<Result<void>> wrote;
        store.write(account, password, [&](const Result<void>& result) { wrote = result; });
        QVERIFY(!wrote); // from the event loop, never while the window waits
        QTRY_VERIFY(wrote);
        QCOMPARE(wrote->ok(), keyring);
        const PasswordStore::Lookup read = lookUp();
        QCOMPARE(read.outcome, keyring ? Outcome::Found : Outcome::NoKeyring);
        QCOMPARE(read.password, keyring ? password : QString());
        QCOMPARE(read.error.isEmpty(), keyring);
        QVERIFY(!wrote->error().contains(password) && !read.error.contains(password));
        if (keyring && !QStandardPaths::findExecutable("secret-tool").isEmpty()) {
            QProcess lookup;
            lookup.start("secret-tool", {"lookup", "server", "Dorvane", "user", account});
            QVERIFY(lookup.waitForFinished());
            QCOMPARE(lookup.readAllStandardOutput(), password.toUtf8());
        }
        for (QDirIterator file(m_env.root(), QDir::Files, QDirIterator::Subdirectories);
             file.hasNext();)
            QVERIFY2(!TestEnvironment::read(file.next()).contains(password.toUtf8()),
                     qPrintable(file.filePath()));
        std::optional<Result<void>> removed;
        store.remove(account, [&](const Result<void>& result) { removed = result; });
        QTRY_VERIFY(removed);
        QCOMPARE(removed->ok(), keyring);
        QCOMPARE(lookUp().outcome, keyring ? Outcome::NotStored : Outcome::NoKeyring);
    }
};

QTEST_GUILESS_MAIN(TestKeyring)
#include "tst_keyring.moc"
