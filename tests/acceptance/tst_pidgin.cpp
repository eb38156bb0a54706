// Against the real Pidgin, what only it can show: which accounts take the icon, what it keeps.
#include "ClientAnswers.h"
#include "MainWindowFixture.h"
#include "Pictures.h"
#include "PidginHarness.h"
#include "messenger/SessionMessengerClient.h"

#include <QCryptographicHash>

class TestPidgin : public QObject
{
    Q_OBJECT
    TestEnvironment m_env;
    PidginHarness m_pidgin;
    std::unique_ptr<MessengerClient> m_client = SessionMessengerClient::create().value();

    // A picture Pidgin keeps as it is (a PNG within XMPP's 32 to 96 pixels), under the SHA-1 of
    // its bytes: the name the account's buddy_icon then holds.
    QString write(const QString& name, const QColor& colour) const
    {
        const QByteArray png = Pictures::png(Pictures::filled(64, 64, colour));
        m_env.writeFile(name, png);
        return QCryptographicHash::hash(png, QCryptographicHash::Sha1).toHex() + ".png";
    }
    QString alice() const { return m_pidgin.accountIcon("alice@xmpp.invalid/Dorvane"); }

private slots:
    void initTestCase()
    {
        if (const QString reason = PidginHarness::unavailableReason(); !reason.isEmpty())
            QSKIP(qPrintable(reason));
        QVERIFY(m_pidgin.start());
        // The bus tells the client that Pidgin came; it never asks while a caller waits.
        QTRY_COMPARE(m_client->name(), "Pidgin");
    }

    void contactsAndCachedIconsForTheToolsWindow()
    {
        // The enabled accounts in Pidgin's order, buddies by name; no alias: the name.
        QCOMPARE(FakeMessengerClient::pairs(Answer::myContacts(*m_client)),
                 QStringList({"anna@xmpp.invalid|anna@xmpp.invalid",
                              "bjork@xmpp.invalid|Bjørk Ødegård 日本", "sam.one@xmpp.invalid|Sam",
                              "sam.two@xmpp.invalid|Sam", "heidi|Heidi"}));
        QCOMPARE(QDir(Answer::cacheFolder(*m_client)).canonicalPath(),
                 QDir(m_pidgin.profile() + "/icons").canonicalPath());
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
        QVERIFY(QFile::exists(m_pidgin.profile() + "/icons/" + b));
    }
    void samePathWithAChangedFileIsTaken()
    {
        for (const Qt::GlobalColor colour : {Qt::cyan, Qt::magenta}) {
            const QString stored = write("same.png", colour);
            QVERIFY(Answer::sent(*m_client, m_env.path("same.png")));
            QCOMPARE(alice(), stored);
        }
    }
};

QTEST_MAIN(TestPidgin)
#include "tst_pidgin.moc"
