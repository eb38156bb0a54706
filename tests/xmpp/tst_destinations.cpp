// The window's rotation sends each picture to two XMPP accounts on a Prosody of the test's own and
// to the Messenger stand-in at once, through a hung client and a restarted server; a contact
// reads the accounts' avatars back.
#include "MainWindowFixture.h"
#include "Prosody.h"
#include "StandinProcess.h"
#include "XmppReader.h"
#include "core/picture/Avatar.h"
#include "messenger/SessionMessengerClient.h"
#include "xmpp/XmppAccounts.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>

#include <csignal>
#include <optional>

class TestDestinations : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!Prosody::installed())
            QSKIP("needs prosody and openssl");
        std::signal(SIGPIPE, SIG_IGN); // as the program does: a server gone is no reason to end
    }
    void twoAccountsAndTheStandin_data()
    {
        columns<QString>("mode");
        row("each receives each picture", "");
        row("the stand-in hung: the accounts never wait for it", "--hang");
        row("the server restarted mid-rotation: publishing resumes by itself", "restart");
    }
    void twoAccountsAndTheStandin()
    {
        const auto [mode] = fetch<QString>("mode");
        const bool hung = mode == "--hang";
        MainWindowFixture f;
        f.messengerFactory = &SessionMessengerClient::create;
        Prosody prosody(f.env);
        for (const QString user : {"a", "b", "c"})
            QVERIFY(prosody.addUser(user + "@localhost", user + "-secret"));
        QVERIFY(prosody.start());
        StandinProcess standin;
        QVERIFY(standin.start(QStringList{"--no-cache"} + QStringList(hung, mode)));
        const QStringList names{"a.png", "b.png", "c.png"};
        QVERIFY(f.start({.pictures = names, .rotation = true}));
        auto* accounts = f.window->findChild<XmppAccounts*>();
        for (const QString user : {"a", "c"})
            accounts->add({user + "@localhost", prosody.server(), true}, user + "-secret",
                          [](const Result<void>& added) { QVERIFY(added); });
        // Every destination takes pictures: the two accounts signed in beside the client.
        QTRY_COMPARE_WITH_TIMEOUT(received(f).size(), 3, 20000);

        std::optional<XmppReader> contact(std::in_place, "b@localhost", "b-secret",
                                          prosody.server());
        for (const QString& name : names.mid(1) + names.mid(0, 1)) {
            const bool restart = mode == "restart" && name == names.last();
            if (restart) {       // the picture goes to the accounts once they are back
                contact.reset(); // signed out while it can be
                prosody.stop();
                QTRY_COMPARE_WITH_TIMEOUT(received(f).size(), 1, 10000);
            }
            const QDeadlineTimer beforeAHungClientIsGivenUp(1500);
            f.rotation().TimerTick();
            if (restart) {
                QVERIFY(prosody.start());
                // Signed in once the accounts are: two libstrophe sign-ins at once can collide.
                QTRY_COMPARE_WITH_TIMEOUT(received(f).size(), 3, 20000);
                contact.emplace("b@localhost", "b-secret", prosody.server());
            }
            // What a contact reads: the metadata's id, the SHA-1 of the data and of Dorvane's PNG.
            const QByteArray id = Avatar::fromFile(f.path(name)).valueOr({}).sha1Hex;
            for (const QString account : {"a@localhost", "c@localhost"}) {
                QTRY_COMPARE_WITH_TIMEOUT(contact->pepAvatar(account).id, id, 20000);
                const QByteArray png = contact->pepAvatar(account).png;
                QCOMPARE(QCryptographicHash::hash(png, QCryptographicHash::Sha1).toHex(), id);
            }
            if (hung)
                QVERIFY(!beforeAHungClientIsGivenUp.hasExpired());
            else
                QTRY_COMPARE(StandinProcess::displayPicture(), f.path(name));
        }
        // The hung client is named as the one that failed, and the accounts still receive.
        QTRY_COMPARE_WITH_TIMEOUT(received(f).size(), hung ? 2 : 3, 10000);
        QCOMPARE(f.rotation().lastError().startsWith("MessengerAPI: "), hung);
        QVERIFY(!TestEnvironment::read(f.env.settingsFile()).contains("secret"));
    }

private:
    // The destinations that receive the pictures now.
    static QStringList received(const MainWindowFixture& f)
    {
        QStringList names;
        for (const Destinations::Status& each : f.rotation().destinations())
            if (each.failure.isEmpty())
                names.append(each.name);
        return names;
    }
};

QTEST_MAIN(TestDestinations)
#include "tst_destinations.moc"
