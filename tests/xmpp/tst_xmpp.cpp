// The XMPP client against a Prosody of the test's own: the avatars a contact reads back, and how
// the client takes a refused password and an untrusted certificate.
#include "ClientAnswers.h"
#include "Pictures.h"
#include "Prosody.h"
#include "Table.h"
#include "XmppReader.h"
#include "core/picture/Avatar.h"
#include "xmpp/XmppClient.h"

#include <QCryptographicHash>
#include <QDirIterator>

using State = XmppClient::State;

class TestXmpp : public QObject
{
    Q_OBJECT
    TestEnvironment m_env;
    std::unique_ptr<Prosody> m_prosody;

    static Result<void> publish(XmppClient& client, const QString& picture)
    {
        return Answer::of<void>([&](auto done) { client.setDisplayPicture(picture, done); });
    }
    // The owner's avatar as a contact sees it: the picture's own, by its SHA-1 where there is PEP.
    static void checkAvatar(XmppReader& contact, const QString& owner, const Avatar& expected)
    {
        if (owner.endsWith("@nopep.localhost")) {
            QCOMPARE(contact.vcardPhoto(owner), expected.png);
            return;
        }
        const XmppReader::Avatar seen = contact.pepAvatar(owner);
        QCOMPARE(seen.id, QCryptographicHash::hash(seen.png, QCryptographicHash::Sha1).toHex());
        QCOMPARE(seen.id, expected.sha1Hex);
        QCOMPARE(QImage::fromData(seen.png, "PNG").size(), QSize(seen.width, seen.height));
        QVERIFY(seen.width <= Avatar::MaxSide && seen.height <= Avatar::MaxSide);
    }

private slots:
    void initTestCase()
    {
        if (!Prosody::installed())
            QSKIP("needs prosody and openssl");
        m_prosody = std::make_unique<Prosody>(m_env);
        for (const QString host : {"localhost", "nopep.localhost", "untrusted.localhost"})
            QVERIFY(m_prosody->addUser("a@" + host, "a-secret") &&
                    m_prosody->addUser("b@" + host, "b-secret"));
        QVERIFY(m_prosody->start());
    }

    void publishes_data()
    {
        columns<QString>("host");
        row("User Avatar, read by a contact", "localhost");
        row("no PEP: the vCard photo", "nopep.localhost");
    }
    // Each picture in turn, read back as soon as the client says it is sent.
    void publishes()
    {
        const auto [host] = fetch<QString>("host");
        XmppClient client("a@" + host, m_prosody->server());
        client.signIn("a-secret");
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), State::Connected, 20000);
        XmppReader contact("b@" + host, "b-secret", m_prosody->server());
        const QStringList pictures{
            m_env.writeFile("wide.png", Pictures::png(Pictures::scenery(300, 200))),
            m_env.writeFile("tall.jpg", Pictures::encoded(Pictures::scenery(60, 150), "jpeg")),
            m_env.writeFile("small.gif", Pictures::gif({Pictures::filled(40, 30, Qt::red)}))};
        for (const QString& picture : pictures) {
            const Result<Avatar> expected = Avatar::fromFile(picture);
            const Result<void> sent = publish(client, picture);
            QVERIFY2(expected && sent, qPrintable(expected.error() + sent.error()));
            checkAvatar(contact, "a@" + host, *expected);
        }
    }

    void refused_data()
    {
        columns<QString, QString, State, QString>("address", "password", "state", "says");
        row("wrong password", "a@localhost", "not-a-secret", State::WrongPassword, "password");
        row("certificate not trusted", "a@untrusted.localhost", "a-secret",
            State::CertificateRefused, "certificate");
    }
    // One try, no more, and the password written nowhere.
    void refused()
    {
        const auto [address, password, says] =
            fetch<QString, QString, QString>("address", "password", "says");
        QFETCH(State, state);
        const int connections = m_prosody->connections();
        XmppClient client(address, m_prosody->server());
        client.signIn(password);
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), state, 20000);
        QVERIFY2(client.stateText().contains(says, Qt::CaseInsensitive),
                 qPrintable(client.stateText()));
        QCOMPARE(m_prosody->connections(), connections + 1);
        // Longer than the first back-off: a client that tries again would have done so.
        QVERIFY(!QTest::qWaitFor(
            [&] { return m_prosody->connections() > connections + 1 || client.state() != state; },
            3000));
        for (QDirIterator it(m_env.root(), QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();)
            if (const QString file = it.next(); !file.startsWith(m_prosody->folder()))
                QVERIFY2(!TestEnvironment::read(file).contains(password.toUtf8()),
                         qPrintable(file));
    }
};

QTEST_MAIN(TestXmpp)
#include "tst_xmpp.moc"
