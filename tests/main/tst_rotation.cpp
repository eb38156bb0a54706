#include "common/MainFixture.h"

#include "common/AppPaths.h"
#include "main/RotationTimer.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using Entry = Settings::Entry;

namespace {

QStringList pictureNames(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0')));
    return names;
}

QString fileName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// The file names the next `ticks` ticks send.
QStringList tick(MainFixture& f, int ticks)
{
    const qsizetype from = f.messenger->sentPictures.size();
    for (int i = 0; i < ticks; ++i)
        f.window->TimerTick();
    QStringList names;
    for (qsizetype i = from; i < f.messenger->sentPictures.size(); ++i)
        names.append(fileName(f.messenger->sentPictures.at(i)));
    return names;
}

QStringList randomRun(const QStringList& names, int ticks)
{
    MainFixture f;
    if (!f.start({.pictures = names, .rotation = true, .random = true}))
        return {};
    return tick(f, ticks);
}

QString autostartEntry(const QString& dir)
{
    return dir + QStringLiteral("/autostart/") + AppPaths::executableName() +
           QStringLiteral(".desktop");
}

} // namespace

class TestRotation : public QObject
{
    Q_OBJECT
private slots:
    void freshStartRotatesEveryThirtySeconds();
    void sequential_data();
    void sequential();
    void randomIsRepeatableAndInsideTheList();
    void randomWithOnePicture();
    void modeIsReadAtEachTick_data();
    void modeIsReadAtEachTick();
    void timerDrivesTheTicks();
    void apply_data();
    void apply();
    void applyTwice();
    void folderDialog_data();
    void folderDialog();
    void emptyFolderKeepsTheTimerAndSendsNothing();
    void autostartEntryFollowsTheCheckBox();
};

void TestRotation::freshStartRotatesEveryThirtySeconds()
{
    MainFixture f;
    f.makePictureFolder(QStringLiteral("app/images"), pictureNames(4));
    QVERIFY(f.load());
    FrmMine* w = f.window.get();
    QVERIFY(w->rotationTimer()->isActive());
    QCOMPARE(w->rotationTimer()->intervalMs(), 30000);
    // The first picture at once, then random picks (the first start turns random on).
    QCOMPARE(f.messenger->sentPictures, QStringList{w->picturePath(QStringLiteral("p00.png"))});
    QCOMPARE(f.stored(Entry::Random), QStringLiteral("1"));
    QCOMPARE(tick(f, 4).size(), 4);
}

void TestRotation::sequential_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("B selected wraps past C")
        << 1 << QStringList{"C.png", "A.png", "B.png", "C.png"};
    QTest::newRow("nothing selected starts at A") << -1 << QStringList{"A.png", "B.png", "C.png"};
    QTest::newRow("last selected goes to the first") << 2 << QStringList{"A.png", "B.png"};
}

void TestRotation::sequential()
{
    QFETCH(int, selected);
    QFETCH(QStringList, sent);
    MainFixture f;
    FrmMine* w = f.start({.pictures = {"A.png", "B.png", "C.png"}});
    QVERIFY(w);
    w->lstimages->setCurrentRow(selected);
    for (const QString& expected : sent) {
        QCOMPARE(tick(f, 1), QStringList{expected});
        // The selection is the rotation's position and follows what was sent.
        QCOMPARE(w->lstimages->currentText(), expected);
    }
}

void TestRotation::randomIsRepeatableAndInsideTheList()
{
    const QStringList names = pictureNames(5);
    const QStringList first = randomRun(names, 200);
    const QStringList second = randomRun(names, 200);
    QCOMPARE(first.size(), 200);
    QCOMPARE(second, first);
    // Every picture of the list comes up, and nothing outside it.
    QCOMPARE(QSet<QString>(first.begin(), first.end()), QSet<QString>(names.begin(), names.end()));
    // Not the list order in disguise.
    QVERIFY(first.mid(0, 10) != QStringList(names + names).mid(1, 10));
}

void TestRotation::randomWithOnePicture()
{
    MainFixture f;
    QVERIFY(f.start({.pictures = {"only.png"}, .rotation = true, .random = true}));
    QCOMPARE(tick(f, 5), QStringList(5, QStringLiteral("only.png")));
}

void TestRotation::modeIsReadAtEachTick_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("random");
    QTest::newRow("1 is random") << "1" << true;
    QTest::newRow("1.0 is random") << "1.0" << true;
    QTest::newRow("0 is list order") << "0" << false;
    QTest::newRow("2 is list order") << "2" << false;
    QTest::newRow("-1 is list order") << "-1" << false;
    QTest::newRow("text is list order") << "yes" << false;
}

void TestRotation::modeIsReadAtEachTick()
{
    QFETCH(QString, stored);
    QFETCH(bool, random);
    MainFixture f;
    const QStringList names = pictureNames(8);
    FrmMine* w = f.start({.pictures = names, .rotation = true});
    QVERIFY(w);
    QCOMPARE(w->lstimages->currentRow(), 0);
    // Changed in the store behind the window's back, without Apply.
    f.settings->write(Entry::Random, stored);
    const QStringList sent = tick(f, 16);
    const QStringList inOrder = (names + names + names).mid(1, 16);
    QCOMPARE(sent != inOrder, random);
}

void TestRotation::timerDrivesTheTicks()
{
    MainFixture f;
    // A hand-edited 1 s interval keeps the wait short.
    f.settings->write(Entry::TimerSeconds, QStringLiteral("1"));
    FrmMine* w = f.start({.pictures = {"A.png", "B.png"}, .rotation = true});
    QVERIFY(w);
    QCOMPARE(w->rotationTimer()->intervalMs(), 1000);
    QCOMPARE(f.messenger->sentPictures.size(), 1);
    QSignalSpy ticks(w->rotationTimer(), &RotationTimer::tick);
    QVERIFY(ticks.wait(10000));
    QCOMPARE(fileName(f.messenger->sentPictures.value(1)), QStringLiteral("B.png"));
}

void TestRotation::apply_data()
{
    QTest::addColumn<QString>("folder"); // "pictures", "empty" or "missing"
    QTest::addColumn<bool>("rotation");
    QTest::addColumn<bool>("clientRunning");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("timer"); // "restarted", "untouched" or "stopped"
    QTest::addColumn<QString>("control");
    QTest::newRow("pictures, client running") << "pictures" << true << true << true << "restarted"
                                              << "1";
    QTest::newRow("empty list") << "empty" << true << true << true << "untouched"
                                << "keep";
    QTest::newRow("no client") << "pictures" << true << false << true << "untouched"
                               << "keep";
    QTest::newRow("missing folder") << "missing" << true << true << false << "untouched"
                                    << "keep";
    QTest::newRow("rotation off") << "pictures" << false << true << true << "stopped"
                                  << "0";
    QTest::newRow("rotation off, empty list") << "empty" << false << false << true << "stopped"
                                              << "0";
    QTest::newRow("rotation off, missing folder")
        << "missing" << false << true << false << "untouched"
        << "keep";
}

void TestRotation::apply()
{
    QFETCH(QString, folder);
    QFETCH(bool, rotation);
    QFETCH(bool, clientRunning);
    QFETCH(bool, stored);
    QFETCH(QString, timer);
    QFETCH(QString, control);
    MainFixture f;
    FrmMine* w = f.start({.pictures = {"A.png", "B.png"}, .rotation = true});
    QVERIFY(w);
    QVERIFY(w->rotationTimer()->isActive());
    QCOMPARE(w->rotationTimer()->intervalMs(), 30000);
    const quint32 timerId = w->TimerID();

    if (folder == QLatin1String("pictures"))
        w->txtpath->setText(f.makePictureFolder(QStringLiteral("next"), {"X.png", "Y.png"}));
    else if (folder == QLatin1String("empty"))
        w->txtpath->setText(f.env.makeDir(QStringLiteral("empty")));
    else
        w->txtpath->setText(f.env.root() + QStringLiteral("/missing"));
    w->fillPictureList();
    w->txts->setText(QStringLiteral("45"));
    w->chkrun->setChecked(rotation);
    w->chkran->setChecked(true);
    w->chkwin->setChecked(false);
    w->chkmwin->setChecked(true);
    f.messenger->running = clientRunning;
    const QList<Entry> entries = {Entry::TimerMinutes, Entry::TimerSeconds, Entry::AutoRun,
                                  Entry::Random,       Entry::WinMode,      Entry::Control};
    for (Entry entry : entries)
        f.settings->write(entry, QStringLiteral("keep"));
    const qsizetype sent = f.messenger->sentPictures.size();

    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::mouseClick(w->cmdoptions, Qt::LeftButton);

    if (stored) {
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
        QVERIFY(w->rotationTimer()->isActive());
        QCOMPARE(w->rotationTimer()->intervalMs(), 45000);
        QCOMPARE(w->TimerID(), timerId + 1);
        QCOMPARE(w->lstimages->currentRow(), 0);
        QCOMPARE(f.messenger->sentPictures.size(), sent + 1);
        QCOMPARE(fileName(f.messenger->sentPictures.last()), QStringLiteral("X.png"));
    } else {
        QCOMPARE(w->rotationTimer()->isActive(), timer == QLatin1String("untouched"));
        QCOMPARE(w->rotationTimer()->intervalMs(), 30000);
        QCOMPARE(w->TimerID(), timerId);
        QCOMPARE(f.messenger->sentPictures.size(), sent);
    }
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestRotation::applyTwice()
{
    MainFixture f;
    FrmMine* w = f.start({.pictures = {"A.png", "B.png"}, .rotation = true});
    QVERIFY(w);
    const quint32 timerId = w->TimerID();
    w->txts->setText(QStringLiteral("10"));
    w->cmdoptions_Click();
    w->txts->setText(QStringLiteral("20"));
    w->cmdoptions_Click();
    QVERIFY(w->rotationTimer()->isActive());
    QCOMPARE(w->rotationTimer()->intervalMs(), 20000);
    QCOMPARE(w->TimerID(), timerId + 2);
    QCOMPARE(f.stored(Entry::TimerSeconds), QStringLiteral("20"));
    // Each Apply sets the first picture at once.
    QCOMPARE(f.messenger->sentPictures.size(), 3);
}

void TestRotation::folderDialog_data()
{
    QTest::addColumn<QString>("answer"); // "cancel", "new" or "same"
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("cancelled") << "cancel" << QStringList{"A.png", "B.png"};
    QTest::newRow("another folder") << "new" << QStringList{"X.png", "Y.png", "Z.png"};
    QTest::newRow("the folder already shown") << "same" << QStringList{"A.png", "B.png"};
}

void TestRotation::folderDialog()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, listed);
    MainFixture f;
    FrmMine* w = f.start({.pictures = {"A.png", "B.png"}, .rotation = true});
    QVERIFY(w);
    const QString before = w->txtpath->text();
    const QString other = f.makePictureFolder(QStringLiteral("other"), {"Y.png", "X.png", "Z.png"});
    f.settings->write(Entry::ImagePath, QStringLiteral("keep"));
    f.settings->write(Entry::TimerSeconds, QStringLiteral("keep"));
    w->lstimages->setCurrentRow(1);
    const quint32 timerId = w->TimerID();
    const qsizetype sent = f.messenger->sentPictures.size();
    const QString chosen = answer == QLatin1String("new")    ? other
                           : answer == QLatin1String("same") ? before
                                                             : QString();
    f.dialogs.setNextFolder(chosen);

    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::mouseClick(w->cmdPath, Qt::LeftButton);

    QCOMPARE(f.dialogs.folderDialogs(), 1);
    QCOMPARE(f.dialogs.lastFolderTitle(), QStringLiteral("Select Images Folder"));
    QStringList names;
    for (int row = 0; row < w->lstimages->count(); ++row)
        names.append(w->lstimages->text(row));
    QCOMPARE(names, listed);
    if (chosen.isEmpty()) {
        QCOMPARE(w->txtpath->text(), before);
        QCOMPARE(w->lstimages->currentRow(), 1);
        QCOMPARE(f.stored(Entry::ImagePath), QStringLiteral("keep"));
        QCOMPARE(f.stored(Entry::TimerSeconds), QStringLiteral("keep"));
        QCOMPARE(w->TimerID(), timerId);
        QCOMPARE(f.messenger->sentPictures.size(), sent);
        return;
    }
    QCOMPARE(w->txtpath->text(), chosen);
    QCOMPARE(f.stored(Entry::ImagePath), chosen);
    // Apply ran: options stored, timer restarted, first picture of the folder sent.
    QCOMPARE(f.stored(Entry::TimerSeconds), QStringLiteral("30"));
    QCOMPARE(w->TimerID(), timerId + 1);
    QCOMPARE(w->lstimages->currentRow(), 0);
    QCOMPARE(f.messenger->sentPictures.size(), sent + 1);
    QCOMPARE(f.messenger->sentPictures.last(), AppPaths::join(chosen, listed.first()));
}

void TestRotation::emptyFolderKeepsTheTimerAndSendsNothing()
{
    MainFixture f;
    FrmMine* w = f.start({.pictures = {"A.png", "B.png"}, .rotation = true});
    QVERIFY(w);
    const quint32 timerId = w->TimerID();
    f.dialogs.setNextFolder(f.env.makeDir(QStringLiteral("empty")));
    w->cmdPath_Click();
    QCOMPARE(w->lstimages->count(), 0);
    QVERIFY(w->rotationTimer()->isActive());
    QCOMPARE(w->TimerID(), timerId);
    QVERIFY(tick(f, 3).isEmpty());
}

void TestRotation::autostartEntryFollowsTheCheckBox()
{
    MainFixture f;
    f.settings->write(Entry::AutoRun, QStringLiteral("1"));
    FrmMine* w = f.start({.pictures = {"A.png"}});
    QVERIFY(w);
    const QString machine = autostartEntry(f.env.configDirs());
    const QString user = autostartEntry(f.env.configHome());

    // Start-up's Apply wrote it; a second Apply rewrites the same one entry.
    QVERIFY(QFile::exists(machine));
    w->cmdoptions_Click();
    QVERIFY(QFile::exists(machine));
    QCOMPARE(QDir(f.env.configDirs() + QStringLiteral("/autostart")).entryList(QDir::Files).size(),
             1);
    QFile file(machine);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY2(text.contains(QStringLiteral("Exec=\"") + f.env.appDir() + QLatin1Char('/') +
                           AppPaths::executableName() + QLatin1Char('"')),
             qPrintable(text));
    QCOMPARE(f.stored(Entry::AutoRun), QStringLiteral("1"));

    w->chkwin->setChecked(false);
    w->cmdoptions_Click();
    QVERIFY(!QFile::exists(machine));
    QVERIFY(!QFile::exists(user));
    QCOMPARE(f.stored(Entry::AutoRun), QStringLiteral("0"));
    // Clearing it again when nothing is there is harmless.
    w->cmdoptions_Click();
    QVERIFY(f.dialogs.messages().isEmpty());
}

QTEST_MAIN(TestRotation)
#include "tst_rotation.moc"
