#include "common/MainFixture.h"

#include "common/AppPaths.h"
#include "main/FirstRunNotice.h"
#include "main/FolderExists.h"
#include "main/RotationTimer.h"
#include "main/SysTray.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using Entry = Settings::Entry;

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void emptyStore();
    void firstRunNoticeGoesThroughTheBrowser();
    void laterRunsSendNoNotice();
    void folderFallback_data();
    void folderFallback();
    void startsInTheNotificationArea_data();
    void startsInTheNotificationArea();
    void secondCopyIsRefused();
    void startsWithoutAnsweringClient_data();
    void startsWithoutAnsweringClient();
    void storedTimesShownUnchanged();
    void stringToBytes_data();
    void stringToBytes();
    void folderExists_data();
    void folderExists();
};

void TestStartup::emptyStore()
{
    MainFixture f;
    QStringList journal;
    f.settings->setJournal(&journal);
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    QCOMPARE(w->txtm->text(), QStringLiteral("0"));
    QCOMPARE(w->txts->text(), QStringLiteral("30"));
    QVERIFY(w->chkran->isChecked());
    QVERIFY(w->chkrun->isChecked());
    QVERIFY(w->chkwin->isChecked());
    QVERIFY(!w->chkmwin->isChecked());
    QCOMPARE(w->backColor(), 16054520u);
    QCOMPARE(w->palette().color(QPalette::Window), QColor(248, 248, 244));
    // The first-run writes come first, in this order; no folder is stored.
    QCOMPARE(journal.mid(0, 4),
             QStringList({QStringLiteral("firstrun/state=1"), QStringLiteral("autorun/state=1"),
                          QStringLiteral("random/state=1"), QStringLiteral("control/state=1")}));
    QVERIFY(!f.isStored(Entry::ImagePath));
    QVERIFY(!f.isStored(Entry::Color));
    QCOMPARE(f.stored(Entry::FirstRun), QStringLiteral("1"));
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestStartup::firstRunNoticeGoesThroughTheBrowser()
{
    MainFixture f;
    QVERIFY(f.load());
    QCOMPARE(f.browser.opened().size(), 1);
    const QUrl page = f.browser.opened().first();
    QVERIFY(page.isLocalFile());
    QVERIFY(page.toLocalFile().startsWith(f.env.temp() + QLatin1Char('/')));
    QFile file(page.toLocalFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.contains(QStringLiteral("method=\"post\"")));
    QVERIFY(html.contains(QStringLiteral("action=\"https://dorvane.example/dvn/start.php\"")));
    QVERIFY(html.contains(QStringLiteral("enctype=\"application/x-www-form-urlencoded\"")));
    QVERIFY(html.contains(QStringLiteral("name=\"newuser\" value=\"1\"")));
    QVERIFY(html.contains(QStringLiteral("submit()")));
    // Only its owner may read a file left in a shared temporary folder.
    QCOMPARE(file.permissions() & (QFile::ReadOther | QFile::WriteOther), QFile::Permissions());
}

void TestStartup::laterRunsSendNoNotice()
{
    MainFixture f;
    f.settings->write(Entry::FirstRun, QStringLiteral("1"));
    QVERIFY(f.load());
    QVERIFY(f.browser.opened().isEmpty());
    QVERIFY(!f.window->chkrun->isChecked());
    QVERIFY(!f.window->chkwin->isChecked());
}

void TestStartup::folderFallback_data()
{
    QTest::addColumn<bool>("savedExists");
    QTest::addColumn<bool>("imagesExists");
    QTest::addColumn<QString>("expectedFolder"); // relative to the temporary root
    QTest::addColumn<int>("expectedCount");
    QTest::newRow("saved folder") << true << true << "saved" << 2;
    QTest::newRow("images beside the program") << false << true << "app/images" << 3;
    QTest::newRow("neither") << false << false << "" << 0;
}

void TestStartup::folderFallback()
{
    QFETCH(bool, savedExists);
    QFETCH(bool, imagesExists);
    QFETCH(QString, expectedFolder);
    QFETCH(int, expectedCount);
    MainFixture f;
    f.settings->write(Entry::FirstRun, QStringLiteral("1"));
    const QString saved = f.env.root() + QStringLiteral("/saved");
    f.settings->write(Entry::ImagePath, saved);
    if (savedExists)
        f.makePictureFolder(QStringLiteral("saved"),
                            {QStringLiteral("a.png"), QStringLiteral("b.png")});
    if (imagesExists)
        f.makePictureFolder(
            QStringLiteral("app/images"),
            {QStringLiteral("x.png"), QStringLiteral("y.png"), QStringLiteral("z.png")});
    f.settings->write(Entry::AutoRun, QStringLiteral("1"));
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    const QString expected =
        expectedFolder.isEmpty() ? QString() : f.env.root() + QLatin1Char('/') + expectedFolder;
    QCOMPARE(w->txtpath->text(), expected);
    QCOMPARE(w->lstimages->count(), expectedCount);
    // The fallback is shown, never stored.
    QCOMPARE(f.stored(Entry::ImagePath), saved);
    if (expectedFolder.isEmpty()) {
        // No folder: Apply did not run (it would have stored the times) and no banner.
        QVERIFY(!f.isStored(Entry::TimerMinutes));
        QVERIFY(w->ShockwaveFlash1->text().isEmpty());
    } else {
        QCOMPARE(f.stored(Entry::TimerMinutes), QStringLiteral("0"));
        QCOMPARE(w->ShockwaveFlash1->text(),
                 QStringLiteral("https://dorvane.example/dvn/dvnads.swf"));
    }
}

void TestStartup::startsInTheNotificationArea_data()
{
    QTest::addColumn<bool>("trayAvailable");
    QTest::newRow("with a notification area") << true;
    QTest::newRow("without one") << false;
}

void TestStartup::startsInTheNotificationArea()
{
    QFETCH(bool, trayAvailable);
    MainFixture f;
    f.tray.available = trayAvailable;
    f.settings->write(Entry::FirstRun, QStringLiteral("1"));
    f.settings->write(Entry::WinMode, QStringLiteral("1"));
    QVERIFY(f.load());
    f.window->showAtStart();
    QVERIFY(f.window->chkmwin->isChecked());
    if (trayAvailable) {
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.tray.shows, 1);
        QCOMPARE(f.tray.toolTip, QStringLiteral("Dorvane V 4.0"));
        QCOMPARE(f.window->sysTray()->data().szTip, QStringLiteral("Dorvane V 4.0"));
    } else {
        // Never hidden with nothing to bring it back.
        QVERIFY(f.window->isVisible());
        QVERIFY(f.window->isMinimized());
        QCOMPARE(f.tray.shows, 0);
    }
}

void TestStartup::secondCopyIsRefused()
{
    MainFixture first;
    QVERIFY(first.load());

    // The second copy shares the user's runtime folder and so the lock.
    SingleInstance secondLock(first.env.runtimeDir() + QStringLiteral("/dorvane.lock"));
    MainServices services = first.services();
    FakeDialogs secondDialogs;
    services.dialogs = &secondDialogs;
    services.instance = &secondLock;
    FrmMine second(services);
    QVERIFY(!second.Form_Load());
    QCOMPARE(secondDialogs.messages().size(), 1);
    QCOMPARE(secondDialogs.messages().first().title, QStringLiteral("Dorvane"));
    QCOMPARE(secondDialogs.messages().first().icon, Dialogs::Icon::Warning);
    // The first copy still holds the lock.
    QVERIFY(first.instance->isHeld());
    QVERIFY(!secondLock.acquire());
}

void TestStartup::startsWithoutAnsweringClient_data()
{
    QTest::addColumn<bool>("canCreate");
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("signedIn");
    QTest::newRow("no session bus") << false << false << false;
    QTest::newRow("no client") << true << false << false;
    QTest::newRow("nobody signed in") << true << true << false;
}

void TestStartup::startsWithoutAnsweringClient()
{
    QFETCH(bool, canCreate);
    QFETCH(bool, running);
    QFETCH(bool, signedIn);
    MainFixture f;
    f.messenger->canCreate = canCreate;
    f.messenger->running = running;
    f.messenger->signedIn = signedIn;
    f.makePictureFolder(QStringLiteral("app/images"), {QStringLiteral("a.png")});
    QVERIFY(f.load());
    QVERIFY(f.dialogs.messages().isEmpty());
    QCOMPARE(f.window->lstimages->count(), 1);
    // Apply ran; the rotation starts only beside a running client, signed in or not.
    QCOMPARE(f.window->rotationTimer()->isActive(), running);
    QCOMPARE(f.messenger->contactReads, canCreate ? 1 : 0);
}

void TestStartup::storedTimesShownUnchanged()
{
    MainFixture f;
    f.settings->write(Entry::FirstRun, QStringLiteral("1"));
    f.settings->write(Entry::TimerMinutes, QStringLiteral("2"));
    f.settings->write(Entry::TimerSeconds, QStringLiteral("45"));
    QVERIFY(f.load());
    QCOMPARE(f.window->txtm->text(), QStringLiteral("2"));
    QCOMPARE(f.window->txts->text(), QStringLiteral("45"));
}

void TestStartup::stringToBytes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("notice") << QByteArray() << "newuser=1" << QByteArray("newuser=1");
    QTest::newRow("space becomes plus") << QByteArray() << "a b" << QByteArray("a+b");
    QTest::newRow("nothing else escaped") << QByteArray() << "a&b=c%" << QByteArray("a&b=c%");
    QTest::newRow("empty leaves the array") << QByteArray("keep") << "" << QByteArray("keep");
    QTest::newRow("resized to the text") << QByteArray("longer text") << "ab" << QByteArray("ab");
}

void TestStartup::stringToBytes()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, text);
    QFETCH(QByteArray, after);
    QByteArray bytes = before;
    FirstRunNotice::StringToBytes(bytes, text);
    QCOMPARE(bytes, after);
}

void TestStartup::folderExists_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("expected");
    QTest::newRow("empty text") << "<empty>" << false;
    QTest::newRow("missing path") << "missing" << false;
    QTest::newRow("a file") << "file.txt" << false;
    QTest::newRow("a folder") << "folder" << true;
    QTest::newRow("a folder with a slash") << "folder/" << true;
}

void TestStartup::folderExists()
{
    QFETCH(QString, relative);
    QFETCH(bool, expected);
    TestEnvironment env;
    env.writeFile(QStringLiteral("file.txt"), "x");
    env.makeDir(QStringLiteral("folder"));
    const QString path =
        relative == QLatin1String("<empty>") ? QString() : env.root() + QLatin1Char('/') + relative;
    QCOMPARE(FolderExists(path), expected);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
