#include "common/MainFixture.h"
#include "common/PidginHarness.h"

#include "main/PidginMessengerClient.h"
#include "main/SessionMessengerClient.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <algorithm>

using Entry = Settings::Entry;

// Against the real Pidgin, started by the harness for each test with the fixture profile.
class TestPidgin : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void runningFollowsTheNameOwner();
    void rotationSetsTheEnabledAccountsIcon();
    void unreadablePictureLeavesTheIcon_data();
    void unreadablePictureLeavesTheIcon();
    void samePathAgainTakesTheChangedFile();
    void contactsWithTheirAliases();
    void cacheFolderHoldsTheCachedIcons();
    void iconChangeRoundTrip();

private:
    // A picture Pidgin stores as it is (PNG, within XMPP's 32..96 pixel limits), so that the
    // account's buddy_icon is the SHA-1 of the file followed by ".png".
    static void drawPicture(const QString& path, int seed);
    static QString storedName(const QString& path);
    int alice() const { return m_pidgin->account(PidginHarness::EnabledJabber); }

    std::unique_ptr<PidginHarness> m_pidgin;
    std::unique_ptr<TestEnvironment> m_env;
};

void TestPidgin::initTestCase()
{
    const QString reason = PidginHarness::unavailableReason();
    if (!reason.isEmpty())
        QSKIP(qPrintable(reason));
    m_pidgin = std::make_unique<PidginHarness>();
    QString error;
    QVERIFY2(m_pidgin->startDisplay(&error), qPrintable(error));
}

void TestPidgin::init()
{
    m_env = std::make_unique<TestEnvironment>();
    QString error;
    QVERIFY2(m_pidgin->startPidgin(&error), qPrintable(error));
    // Pidgin owns its name a moment before it has loaded the profile; its first answer counts.
    QTRY_VERIFY2_WITH_TIMEOUT(m_pidgin->answers(), qPrintable(m_pidgin->log()), 30000);
    QVERIFY(alice() != 0);
}

void TestPidgin::cleanup()
{
    m_pidgin->stopPidgin();
    m_env.reset();
}

void TestPidgin::cleanupTestCase()
{
    m_pidgin.reset();
}

void TestPidgin::drawPicture(const QString& path, int seed)
{
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((seed * 67) % 360, 160, 230));
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawLine(0, seed % 64, 63, 63 - seed % 64);
    painter.end();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(image.save(path, "PNG"));
}

QString TestPidgin::storedName(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(
               QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".png");
}

void TestPidgin::runningFollowsTheNameOwner()
{
    // Made once, as the main window does; the owner is looked up at each call.
    auto client = SessionMessengerClient::create(nullptr);
    QVERIFY(client);
    QVERIFY(client->isRunning());
    auto* session = static_cast<SessionMessengerClient*>(client.get());
    QVERIFY(dynamic_cast<PidginMessengerClient*>(session->current()));

    m_pidgin->stopPidgin();
    QTRY_VERIFY(!client->isRunning());
    QString error;
    QVERIFY(!client->myContacts(&error));

    QVERIFY2(m_pidgin->startPidgin(&error), qPrintable(error));
    QTRY_VERIFY_WITH_TIMEOUT(m_pidgin->answers(), 30000);
    QVERIFY(client->isRunning());
    QVERIFY2(client->myContacts(&error), qPrintable(error));
}

void TestPidgin::rotationSetsTheEnabledAccountsIcon()
{
    MainFixture f;
    const QString folder = f.env.makeDir(QStringLiteral("pictures"));
    drawPicture(folder + QStringLiteral("/a.png"), 1);
    drawPicture(folder + QStringLiteral("/b.png"), 2);
    f.settings->write(Entry::FirstRun, QStringLiteral("1"));
    f.settings->write(Entry::ImagePath, folder);
    f.settings->write(Entry::Random, QStringLiteral("0"));
    f.settings->write(Entry::Control, QStringLiteral("1"));
    f.settings->write(Entry::AutoRun, QStringLiteral("0"));
    // Long enough that only the ticks the test makes happen.
    f.settings->write(Entry::TimerMinutes, QStringLiteral("30"));
    f.settings->write(Entry::TimerSeconds, QStringLiteral("0"));

    MainServices services = f.services();
    services.messengerFactory = &SessionMessengerClient::create;
    f.window = std::make_unique<FrmMine>(services);
    FrmMine* w = f.window.get();
    QVERIFY(w->Form_Load());
    QVERIFY(w->MessengerRunning());
    QCOMPARE(w->lstimages->count(), 2);

    // Start-up ends with Apply, which sets the first picture at once.
    const int account = alice();
    const QString first = storedName(folder + QStringLiteral("/a.png"));
    QCOMPARE(m_pidgin->accountIcon(account), first);
    QVERIFY(m_pidgin->accountIconTimestamp(account) != 0);

    w->TimerTick();
    const QString second = storedName(folder + QStringLiteral("/b.png"));
    QCOMPARE(m_pidgin->accountIcon(account), second);
    QVERIFY(m_pidgin->accountIconTimestamp(account) != 0);
    // IRC has no buddy icons: its account is left alone.
    QCOMPARE(
        m_pidgin->accountIcon(m_pidgin->account(PidginHarness::Irc, QStringLiteral("prpl-irc"))),
        QString());

    // Pidgin writes accounts.xml a few seconds after a change.
    QTRY_COMPARE_WITH_TIMEOUT(
        m_pidgin->savedAccountSetting(PidginHarness::EnabledJabber, QStringLiteral("buddy_icon")),
        second, 20000);
    QVERIFY(QFile::exists(m_pidgin->profileDir() + QStringLiteral("/icons/") + second));
    qInfo("accounts.xml after a rotation: %s buddy_icon=%s buddy_icon_timestamp=%s; %s "
          "buddy_icon=%s; icons/ holds %s",
          qPrintable(PidginHarness::EnabledJabber),
          qPrintable(m_pidgin->savedAccountSetting(PidginHarness::EnabledJabber,
                                                   QStringLiteral("buddy_icon"))),
          qPrintable(m_pidgin->savedAccountSetting(PidginHarness::EnabledJabber,
                                                   QStringLiteral("buddy_icon_timestamp"))),
          qPrintable(PidginHarness::DisabledJabber),
          qPrintable(m_pidgin->savedAccountSetting(PidginHarness::DisabledJabber,
                                                   QStringLiteral("buddy_icon"))),
          qPrintable(QDir(m_pidgin->profileDir() + QStringLiteral("/icons"))
                         .entryList(QDir::Files)
                         .join(QLatin1Char(' '))));
}

void TestPidgin::unreadablePictureLeavesTheIcon_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("text named .png") << QStringLiteral("text.png") << QByteArray("hello\n");
    QTest::newRow("missing file") << QStringLiteral("gone.png") << QByteArray();
    QTest::newRow("truncated PNG") << QStringLiteral("cut.png") << QByteArray("cut");
}

void TestPidgin::unreadablePictureLeavesTheIcon()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString good = m_env->root() + QStringLiteral("/pictures/good.png");
    drawPicture(good, 3);
    const QString bad = m_env->root() + QStringLiteral("/pictures/") + name;
    if (content == "cut") {
        QFile source(good);
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray png = source.readAll();
        m_env->writeFile(QStringLiteral("pictures/") + name, png.left(png.size() - 40));
    } else if (!content.isEmpty()) {
        m_env->writeFile(QStringLiteral("pictures/") + name, content);
    }

    auto client = SessionMessengerClient::create(nullptr);
    QString error;
    QVERIFY2(client->setMyProperty(2, good, &error), qPrintable(error));
    const int account = alice();
    QCOMPARE(m_pidgin->accountIcon(account), storedName(good));
    const int stamp = m_pidgin->accountIconTimestamp(account);

    QVERIFY(!client->setMyProperty(2, bad, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(m_pidgin->accountIcon(account), storedName(good));
    QCOMPARE(m_pidgin->accountIconTimestamp(account), stamp);
    QCOMPARE(client->myProperty(2, &error).value_or(QVariant()).toString(), good);
}

void TestPidgin::samePathAgainTakesTheChangedFile()
{
    const QString path = m_env->root() + QStringLiteral("/pictures/same.png");
    drawPicture(path, 4);
    auto client = SessionMessengerClient::create(nullptr);
    QString error;
    QVERIFY2(client->setMyProperty(2, path, &error), qPrintable(error));
    const QString before = storedName(path);
    QCOMPARE(m_pidgin->accountIcon(alice()), before);

    drawPicture(path, 5);
    const QString after = storedName(path);
    QVERIFY(after != before);
    QVERIFY2(client->setMyProperty(2, path, &error), qPrintable(error));
    QCOMPARE(m_pidgin->accountIcon(alice()), after);
}

void TestPidgin::contactsWithTheirAliases()
{
    auto client = SessionMessengerClient::create(nullptr);
    QString error;
    const auto contacts = client->myContacts(&error);
    QVERIFY2(contacts, qPrintable(error));
    QStringList got;
    for (const MessengerContact& c : *contacts)
        got.append(c.signinName + QLatin1Char('|') + c.friendlyName);
    // The enabled accounts in Pidgin's order, buddies by name; the disabled account's buddy
    // (grace) is not listed; a buddy without an alias shows its name.
    QCOMPARE(got, QStringList({
                      QStringLiteral("anna@xmpp.invalid|anna@xmpp.invalid"),
                      QStringLiteral("bjork@xmpp.invalid|Bjørk Ødegård 日本"),
                      QStringLiteral("sam.one@xmpp.invalid|Sam"),
                      QStringLiteral("sam.two@xmpp.invalid|Sam"),
                      QStringLiteral("heidi|Heidi"),
                  }));
}

void TestPidgin::cacheFolderHoldsTheCachedIcons()
{
    auto client = SessionMessengerClient::create(nullptr);
    const QString folder = client->cacheFolder();
    QCOMPARE(QFileInfo(folder).canonicalFilePath(),
             QFileInfo(m_pidgin->profileDir() + QStringLiteral("/icons")).canonicalFilePath());
    const QStringList icons = QDir(folder).entryList(QDir::Files, QDir::Name);
    QCOMPARE(icons, QStringList({QStringLiteral("d91406cebf0f5b153b2def688853c5dd1eaacb15.png"),
                                 QStringLiteral("df54817c0a447f1b29bae81813b61c59627f6408.png")}));
    for (const QString& icon : icons)
        QVERIFY(!QImage(folder + QLatin1Char('/') + icon).isNull());
}

void TestPidgin::iconChangeRoundTrip()
{
    // From the request to the account's buddy_icon having changed, alternating two pictures.
    const QString a = m_env->root() + QStringLiteral("/pictures/a.png");
    const QString b = m_env->root() + QStringLiteral("/pictures/b.png");
    drawPicture(a, 6);
    drawPicture(b, 7);
    auto client = SessionMessengerClient::create(nullptr);
    const int account = alice();
    QList<qint64> times;
    for (int i = 0; i < 20; ++i) {
        const QString& path = i % 2 ? b : a;
        const QString expected = storedName(path);
        QElapsedTimer timer;
        timer.start();
        QString error;
        QVERIFY2(client->setMyProperty(2, path, &error), qPrintable(error));
        QTRY_COMPARE(m_pidgin->accountIcon(account), expected);
        times.append(timer.nsecsElapsed());
    }
    std::sort(times.begin(), times.end());
    qInfo("icon change round trip over %lld changes: min %.2f ms, median %.2f ms, max %.2f ms",
          static_cast<long long>(times.size()), times.first() / 1e6,
          times.at(times.size() / 2) / 1e6, times.last() / 1e6);
}

QTEST_MAIN(TestPidgin)
#include "tst_pidgin.moc"
