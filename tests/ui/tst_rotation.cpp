// Start-up, the rotation, Apply and the folder dialog, as the user meets them.
#include "MainWindowFixture.h"

#include "core/rotation/RotationTimer.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using Entry = Settings::Entry;

namespace {

QStringList numbered(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0')));
    return names;
}

QStringList randomRun(const QStringList& names, int ticks)
{
    MainWindowFixture f;
    return f.start({.pictures = names, .rotation = true, .random = true}) ? f.tick(ticks)
                                                                           : QStringList();
}

} // namespace

class TestRotation : public QObject
{
    Q_OBJECT
private slots:
    void firstStart();
    void laterStartShowsTheStore();
    void folderAtStart_data();
    void folderAtStart();
    void startBesideAClientThatDoesNotAnswer_data();
    void startBesideAClientThatDoesNotAnswer();
    void inListOrder_data();
    void inListOrder();
    void randomIsInsideTheListAndRepeatable();
    void modeIsReadAtEachTick_data();
    void modeIsReadAtEachTick();
    void timerDrivesTheTicks();
    void apply_data();
    void apply();
    void folderDialog_data();
    void folderDialog();
    void logOnEntryFollowsTheCheckBox();
};

void TestRotation::firstStart()
{
    MainWindowFixture f;
    f.pictureFolder({"p0.png", "p1.png"}, QStringLiteral("app/images"));
    QVERIFY(f.start({.firstRun = true}));

    QCOMPARE(f.text("txtm"), QStringLiteral("0"));
    QCOMPARE(f.text("txts"), QStringLiteral("30"));
    for (const char* box : {"chkrun", "chkwin", "chkran"})
        QVERIFY2(f.widget<QCheckBox>(box)->isChecked(), box);
    QVERIFY(!f.widget<QCheckBox>("chkmwin")->isChecked());
    QCOMPARE(f.window->palette().color(QPalette::Window), QColor(248, 248, 244));
    for (Entry entry : {Entry::FirstRun, Entry::AutoRun, Entry::Random, Entry::Control})
        QCOMPARE(f.stored(entry), QStringLiteral("1"));
    // The pictures beside the program are shown, not stored; the colour was never chosen.
    QCOMPARE(f.stored(Entry::ImagePath), QStringLiteral("<absent>"));
    QCOMPARE(f.stored(Entry::Color), QStringLiteral("<absent>"));
    // Apply ran: the first picture at once, then every 30 seconds.
    QCOMPARE(f.sent(), QStringList{"p0.png"});
    QCOMPARE(f.timer()->intervalMs(), 30000);
    QVERIFY(f.timer()->isActive());
    QVERIFY(f.dialogs.messages.isEmpty());

    // The notice: a page in the temporary folder, readable by its owner only, that posts
    // itself to the vendor site.
    QCOMPARE(f.browser.opened.size(), 1);
    const QString page = f.browser.opened.first().toLocalFile();
    QVERIFY(page.startsWith(f.env.temp() + QLatin1Char('/')));
    QCOMPARE(QFile::permissions(page) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
    const QString html = QString::fromUtf8(TestEnvironment::read(page));
    for (const char* part :
         {"method=\"post\"", "action=\"https://dorvane.example/dvn/start.php\"",
          "enctype=\"application/x-www-form-urlencoded\"", "name=\"newuser\" value=\"1\"",
          "submit()"})
        QVERIFY2(html.contains(QLatin1String(part)), part);
}

void TestRotation::laterStartShowsTheStore()
{
    MainWindowFixture f;
    f.store(Entry::TimerMinutes, QStringLiteral("2"));
    f.store(Entry::TimerSeconds, QStringLiteral("45"));
    f.store(Entry::WinMode, QStringLiteral("1"));
    QVERIFY(f.start({.pictures = {"a.png"}, .random = true}));
    QVERIFY(f.browser.opened.isEmpty());
    QCOMPARE(f.text("txtm"), QStringLiteral("2"));
    QCOMPARE(f.text("txts"), QStringLiteral("45"));
    QVERIFY(f.widget<QCheckBox>("chkran")->isChecked());
    QVERIFY(f.widget<QCheckBox>("chkmwin")->isChecked());
    QVERIFY(!f.widget<QCheckBox>("chkrun")->isChecked());
    QVERIFY(!f.widget<QCheckBox>("chkwin")->isChecked());
    QVERIFY(!f.timer()->isActive());
}

void TestRotation::folderAtStart_data()
{
    QTest::addColumn<bool>("savedExists");
    QTest::addColumn<bool>("imagesExist");
    QTest::addColumn<QString>("shown"); // relative to the temporary root; empty: none
    QTest::addColumn<int>("listed");
    QTest::newRow("the stored folder") << true << true << "saved" << 2;
    QTest::newRow("stored one gone: images beside the program") << false << true << "app/images"
                                                                 << 3;
    QTest::newRow("neither") << false << false << "" << 0;
}

void TestRotation::folderAtStart()
{
    QFETCH(bool, savedExists);
    QFETCH(bool, imagesExist);
    QFETCH(QString, shown);
    QFETCH(int, listed);
    MainWindowFixture f;
    const QString saved = f.env.path(QStringLiteral("saved"));
    if (savedExists)
        f.pictureFolder({"a.png", "b.png"}, QStringLiteral("saved"));
    if (imagesExist)
        f.pictureFolder({"x.png", "y.png", "z.png"}, QStringLiteral("app/images"));
    QVERIFY(f.start({.folder = saved}));

    QCOMPARE(f.folder(), shown.isEmpty() ? QString() : f.env.path(shown));
    QCOMPARE(f.listed().size(), listed);
    QCOMPARE(f.stored(Entry::ImagePath), saved);
    // Without a folder Apply does not run (it would store the times) and there is no banner.
    QCOMPARE(f.stored(Entry::TimerMinutes),
             shown.isEmpty() ? QStringLiteral("<absent>") : QStringLiteral("0"));
    QCOMPARE(f.widget<QLabel>("ShockwaveFlash1")->text(),
             shown.isEmpty() ? QString() : QStringLiteral("https://dorvane.example/dvn/dvnads.swf"));
}

void TestRotation::startBesideAClientThatDoesNotAnswer_data()
{
    QTest::addColumn<bool>("canCreate");
    QTest::addColumn<bool>("running");
    QTest::newRow("no session bus") << false << false;
    QTest::newRow("no client") << true << false;
    QTest::newRow("nobody signed in") << true << true;
}

void TestRotation::startBesideAClientThatDoesNotAnswer()
{
    QFETCH(bool, canCreate);
    QFETCH(bool, running);
    MainWindowFixture f;
    f.messenger->canCreate = canCreate;
    f.messenger->running = running;
    f.messenger->signedIn = false;
    QVERIFY(f.start({.pictures = {"a.png"}, .rotation = true}));
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(f.listed().size(), 1);
    // The rotation starts beside a running client, signed in or not.
    QCOMPARE(f.timer()->isActive(), running);
}

void TestRotation::inListOrder_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("from B, wrapping past C") << 1 << QStringList{"C.png", "A.png", "B.png"};
    QTest::newRow("nothing selected starts at A") << -1 << QStringList{"A.png", "B.png", "C.png"};
    QTest::newRow("from the last to the first") << 2 << QStringList{"A.png", "B.png"};
}

void TestRotation::inListOrder()
{
    QFETCH(int, selected);
    QFETCH(QStringList, sent);
    MainWindowFixture f;
    QVERIFY(f.start({.pictures = {"A.png", "B.png", "C.png"}}));
    f.select(selected);
    for (const QString& expected : sent) {
        QCOMPARE(f.tick(), QStringList{expected});
        // The selection is the rotation's position.
        QCOMPARE(f.listed().value(f.currentRow()), expected);
    }
}

void TestRotation::randomIsInsideTheListAndRepeatable()
{
    const QStringList names = numbered(5);
    const QStringList first = randomRun(names, 200);
    QCOMPARE(first.size(), 200);
    QCOMPARE(randomRun(names, 200), first);
    // Every picture comes up, nothing outside the list, and not in list order.
    QCOMPARE(QSet<QString>(first.begin(), first.end()), QSet<QString>(names.begin(), names.end()));
    QVERIFY(first.mid(0, 10) != (names + names).mid(1, 10));
}

void TestRotation::modeIsReadAtEachTick_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("random");
    QTest::newRow("1 is random") << "1" << true;
    QTest::newRow("1.0 is random") << "1.0" << true;
    QTest::newRow("0 is list order") << "0" << false;
    QTest::newRow("2 is list order") << "2" << false;
    QTest::newRow("a word is list order") << "yes" << false;
}

void TestRotation::modeIsReadAtEachTick()
{
    QFETCH(QString, stored);
    QFETCH(bool, random);
    MainWindowFixture f;
    const QStringList names = numbered(8);
    QVERIFY(f.start({.pictures = names, .rotation = true}));
    // Changed in the store behind the window's back, without Apply.
    f.store(Entry::Random, stored);
    QCOMPARE(f.tick(16) != (names + names + names).mid(1, 16), random);
}

void TestRotation::timerDrivesTheTicks()
{
    MainWindowFixture f;
    // A hand-edited 1 s interval keeps the wait short.
    f.store(Entry::TimerSeconds, QStringLiteral("1"));
    QVERIFY(f.start({.pictures = {"A.png", "B.png"}, .rotation = true}));
    QCOMPARE(f.timer()->intervalMs(), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(f.sent(), QStringList({"A.png", "B.png"}), 10000);
}

void TestRotation::apply_data()
{
    QTest::addColumn<QString>("folder"); // "pictures", "empty" or "missing"
    QTest::addColumn<bool>("rotation");
    QTest::addColumn<bool>("clientRunning");
    QTest::addColumn<QString>("timer"); // "restarted", "untouched" or "stopped"
    QTest::addColumn<QString>("control");
    QTest::newRow("pictures, client running") << "pictures" << true << true << "restarted"
                                              << "1";
    QTest::newRow("empty folder") << "empty" << true << true << "untouched"
                                  << "keep";
    QTest::newRow("no client") << "pictures" << true << false << "untouched"
                               << "keep";
    QTest::newRow("missing folder: nothing stored") << "missing" << true << true << "untouched"
                                                    << "keep";
    QTest::newRow("rotation off") << "pictures" << false << true << "stopped"
                                  << "0";
    QTest::newRow("rotation off, missing folder") << "missing" << false << true << "untouched"
                                                  << "keep";
}

void TestRotation::apply()
{
    QFETCH(QString, folder);
    QFETCH(bool, rotation);
    QFETCH(bool, clientRunning);
    QFETCH(QString, timer);
    QFETCH(QString, control);
    MainWindowFixture f;
    QVERIFY(f.start({.pictures = {"A.png", "B.png"}, .rotation = true}));
    const quint32 timerId = f.timer()->timerId();
    if (folder == QLatin1String("pictures"))
        f.setText("txtpath", f.pictureFolder({"X.png", "Y.png"}, QStringLiteral("next")));
    else
        f.setText("txtpath", f.env.makeDir(QStringLiteral("empty")) +
                                 (folder == QLatin1String("missing") ? "/missing" : ""));
    f.window->fillPictureList();
    f.setText("txts", QStringLiteral("45"));
    f.check("chkrun", rotation);
    f.check("chkran", true);
    f.check("chkwin", false);
    f.check("chkmwin", true);
    f.messenger->running = clientRunning;
    const QList<Entry> entries = {Entry::TimerMinutes, Entry::TimerSeconds, Entry::AutoRun,
                                  Entry::Random,       Entry::WinMode,      Entry::Control};
    for (Entry entry : entries)
        f.store(entry, QStringLiteral("keep"));
    const QStringList sentBefore = f.sent();

    f.apply();

    if (folder != QLatin1String("missing")) {
        QCOMPARE(f.stored(Entry::TimerMinutes), QStringLiteral("0"));
        QCOMPARE(f.stored(Entry::TimerSeconds), QStringLiteral("45"));
        QCOMPARE(f.stored(Entry::AutoRun), QStringLiteral("0"));
        QCOMPARE(f.stored(Entry::Random), QStringLiteral("1"));
        QCOMPARE(f.stored(Entry::WinMode), QStringLiteral("1"));
    } else {
        for (Entry entry : entries)
            QCOMPARE(f.stored(entry), QStringLiteral("keep"));
    }
    QCOMPARE(f.stored(Entry::Control), control);
    if (timer == QLatin1String("restarted")) {
        // The typed interval runs, from the first picture, sent at once.
        QVERIFY(f.timer()->isActive());
        QCOMPARE(f.timer()->intervalMs(), 45000);
        QCOMPARE(f.timer()->timerId(), timerId + 1);
        QCOMPARE(f.currentRow(), 0);
        QCOMPARE(f.sent(), sentBefore + QStringList{"X.png"});
    } else {
        QCOMPARE(f.timer()->isActive(), timer == QLatin1String("untouched"));
        QCOMPARE(f.timer()->intervalMs(), 30000);
        QCOMPARE(f.timer()->timerId(), timerId);
        QCOMPARE(f.sent(), sentBefore);
    }
    QVERIFY(f.dialogs.messages.isEmpty());
    // Ticks on an empty list send nothing and stop nothing.
    if (folder == QLatin1String("empty"))
        QCOMPARE(f.tick(2), QStringList());
}

void TestRotation::folderDialog_data()
{
    QTest::addColumn<QString>("answer"); // "cancel", "other" or "same"
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("cancelled") << "cancel" << QStringList{"A.png", "B.png"};
    QTest::newRow("another folder") << "other" << QStringList{"X.png", "Y.png", "Z.png"};
    QTest::newRow("the folder already shown") << "same" << QStringList{"A.png", "B.png"};
}

void TestRotation::folderDialog()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, listed);
    MainWindowFixture f;
    QVERIFY(f.start({.pictures = {"A.png", "B.png"}, .rotation = true}));
    const QString before = f.folder();
    const QString other = f.pictureFolder({"Y.png", "X.png", "Z.png"}, QStringLiteral("other"));
    f.store(Entry::ImagePath, QStringLiteral("keep"));
    f.store(Entry::TimerSeconds, QStringLiteral("keep"));
    f.select(1);
    const quint32 timerId = f.timer()->timerId();
    const QStringList sentBefore = f.sent();
    const QString chosen = answer == QLatin1String("other")  ? other
                           : answer == QLatin1String("same") ? before
                                                             : QString();
    f.chooseFolder(chosen);

    QCOMPARE(f.dialogs.folderTitles, QStringList{"Select Images Folder"});
    QCOMPARE(f.listed(), listed);
    if (chosen.isEmpty()) {
        QCOMPARE(f.folder(), before);
        QCOMPARE(f.currentRow(), 1);
        QCOMPARE(f.stored(Entry::ImagePath), QStringLiteral("keep"));
        QCOMPARE(f.stored(Entry::TimerSeconds), QStringLiteral("keep"));
        QCOMPARE(f.timer()->timerId(), timerId);
        QCOMPARE(f.sent(), sentBefore);
        return;
    }
    QCOMPARE(f.folder(), chosen);
    QCOMPARE(f.stored(Entry::ImagePath), chosen);
    // Apply ran: options stored, timer restarted, first picture of the folder sent.
    QCOMPARE(f.stored(Entry::TimerSeconds), QStringLiteral("30"));
    QCOMPARE(f.timer()->timerId(), timerId + 1);
    QCOMPARE(f.messenger->sentPictures.last(), f.path(listed.first()));
}

void TestRotation::logOnEntryFollowsTheCheckBox()
{
    MainWindowFixture f;
    f.store(Entry::AutoRun, QStringLiteral("1"));
    QVERIFY(f.start({.pictures = {"A.png"}}));
    const QString name = QStringLiteral("/autostart/tst_rotation.desktop");
    const QString machine = f.env.configDirs() + name;
    const QString user = f.env.configHome() + name;
    // Start-up's Apply wrote it, starting the program from its own folder.
    const QString entry = QString::fromUtf8(TestEnvironment::read(machine));
    QVERIFY2(entry.contains(QStringLiteral("Exec=\"%1/tst_rotation\"").arg(f.env.appDir())),
             qPrintable(entry));
    QVERIFY(!QFile::exists(user));

    f.check("chkwin", false);
    f.apply();
    QVERIFY(!QFile::exists(machine));
    QVERIFY(!QFile::exists(user));
    QCOMPARE(f.stored(Entry::AutoRun), QStringLiteral("0"));
    QVERIFY(f.dialogs.messages.isEmpty());
}

QTEST_MAIN(TestRotation)
#include "tst_rotation.moc"
