// The Pidgin client and the session client's choice, against fakes answering in-process.
#include "ClientAnswers.h"
#include "FakeMessengerClient.h"
#include "Fifo.h"
#include "Pictures.h"
#include "StuckFile.h"
#include "Table.h"
#include "TestEnvironment.h"
#include "messenger/PidginCalls.h"
#include "messenger/PidginMessengerClient.h"
#include "messenger/SessionMessengerClient.h"
#include <QDBusContext>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QThreadPool>

// Pidgin's calls the client makes, and MessengerAPI's SetMyProperty. "gone": a buddy just removed.
class FakeClients : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "im.pidgin.purple.PurpleInterface")
public:
    QStringList icons, api; // every value of Pidgin's global icon; every MessengerAPI picture
    QList<int> accounts;
    QMap<int, QList<int>> buddies;
    QMap<int, QStringList> names; // name, alias
public slots:
    void SetMyProperty(int, const QDBusVariant& value) { api << value.variant().toString(); }
    QString PurplePrefsGetPath(const QString&) { return icons.last(); }
    void PurplePrefsSetPath(const QString&, const QString& path) { icons << path; }
    QList<int> PurpleAccountsGetAllActive() { return accounts; }
    QList<int> PurpleFindBuddies(int account, const QString&) { return buddies[account]; }
    QString PurpleBuddyGetName(int buddy) { return answer(names[buddy].value(0)); }
    QString PurpleBuddyGetAlias(int buddy) { return answer(names[buddy].value(1)); }
    QString PurpleBuddyIconsGetCacheDir() { return "/pidgin/icons"; }

private:
    QString answer(const QString& text)
    {
        if (text == QLatin1String("gone"))
            sendErrorReply(PidginCalls::InvalidHandleError, text);
        return text;
    }
};

class TestPidginclient : public QObject
{
    Q_OBJECT
    TestEnvironment m_env;
    QDBusConnection m_bus = QDBusConnection::sessionBus();
    FakeClients m_fake;
    PidginMessengerClient m_pidgin{m_bus};
    Fifo m_fifo{m_env.path("fifo.png")};
private slots:
    void initTestCase()
    {
        const auto all = QDBusConnection::ExportAllSlots;
        QVERIFY(m_bus.registerObject(PidginCalls::ObjectPath, &m_fake, all));
        QVERIFY(m_bus.registerObject(MessengerApi::ObjectPath, MessengerApi::InterfaceName, &m_fake,
                                     all));
        QVERIFY(m_bus.registerService(PidginCalls::ServiceName));
        // Names are given relative to this folder; Pidgin would look for them in its own.
        QVERIFY(QDir::setCurrent(m_env.root()) && m_fifo.isValid());
        const QByteArray png = Pictures::png(Pictures::scenery(48, 48));
        m_env.writeFile("a.png", png);
        m_env.writeFile("b.png", png);
        m_env.writeFile("text.png", "not a picture\n");
        m_env.writeFile("truncated.png", png.left(png.size() / 2));
    }
    void init() { m_fake.icons = {""}; }
    void cleanupTestCase() { QVERIFY2(!m_fifo.wasRead(), "the FIFO was read"); }
    void pictures_data()
    {
        columns<QString, QString>("sent", "icons"); // the global icon's values; "~": this folder
        row("made absolute; the same path cleared first, or Pidgin would ignore it",
            "a.png a.png b.png", "|~/a.png||~/a.png|~/b.png");
        // Pidgin would clear the user's icon on every account: it is not even asked.
        for (const char* name : {"missing.png", "text.png", "truncated.png", "fifo.png"})
            row(name, QString(name), "");
    }
    void pictures()
    {
        auto [sent, icons] = fetch<QString, QString>("sent", "icons");
        for (const QString& name : sent.split(' '))
            QCOMPARE(Answer::sent(m_pidgin, name).ok(), !icons.isEmpty());
        QCOMPARE(m_fake.icons.join('|'), icons.replace("~", QDir::currentPath()));
    }
    // A picture on a share whose reads never end fails after a while, as a bus call would; the
    // next picture goes on, and nothing the program's end waits for is held.
    void stuckPictureHoldsNoOtherBack()
    {
        StuckFile stuck(m_env.path("share"));
        if (!stuck.isMounted())
            QSKIP("FUSE cannot be mounted here");
        const QDeadlineTimer deadline(5000);
        const Result<void> refused = Answer::sent(m_pidgin, stuck.path());
        QVERIFY(!refused && refused.error().contains("could not be read within 2 seconds"));
        QVERIFY(!deadline.hasExpired() && Answer::sent(m_pidgin, "b.png"));
        QCOMPARE(m_fake.icons, QStringList({"", QDir::currentPath() + "/b.png"}));
        QVERIFY(QThreadPool::globalInstance()->waitForDone(0));
    }
    void contactsSortedPerAccount()
    {
        m_fake.accounts = {7, 3, 9};
        m_fake.buddies = {{7, {71, 72, 73, 74, 75}}, {3, {31}}, {9, {}}};
        m_fake.names = {{71, {"zed", "Zed"}},   {72, {"Bjork", "Bjørk"}}, {73, {"amy", "Sam"}},
                        {74, {"bjork", "Sam"}}, {75, {"al", "gone"}},     {31, {"heidi", "Heidi"}}};
        // Pidgin's account order, buddies by name (case folded), those removed meanwhile left out.
        QCOMPARE(FakeMessengerClient::pairs(Answer::myContacts(m_pidgin)),
                 QStringList({"amy|Sam", "Bjork|Bjørk", "bjork|Sam", "zed|Zed", "heidi|Heidi"}));
    }
    void sessionClientChoiceAtEachCall()
    {
        m_bus.unregisterService(PidginCalls::ServiceName);
        auto client = SessionMessengerClient::create().value();
        QVERIFY(!client->isAvailable() && !Answer::sent(*client, "a.png"));
        QCOMPARE(Answer::cacheFolder(*client), m_env.temp() + "/MessengerCache");
        m_bus.registerService(PidginCalls::ServiceName);
        QTRY_VERIFY(client->isAvailable()); // told by the bus, never asked while waiting
        QVERIFY(Answer::sent(*client, "a.png"));
        QCOMPARE(Answer::cacheFolder(*client), "/pidgin/icons");
        m_bus.registerService(MessengerApi::ServiceName); // both: MessengerAPI first
        QTRY_COMPARE(client->name(), "MessengerAPI");
        QVERIFY(Answer::sent(*client, "b.png"));
        m_bus.unregisterService(PidginCalls::ServiceName);
        QVERIFY(client->isAvailable() && Answer::sent(*client, "a.png"));
        QCOMPARE(m_fake.icons + m_fake.api,
                 QStringList({"", QDir::currentPath() + "/a.png", "b.png", "a.png"}));
    }
};

QTEST_MAIN(TestPidginclient)
#include "tst_pidginclient.moc"
