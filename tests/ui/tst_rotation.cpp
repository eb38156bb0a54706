// Start-up, Apply and the folder dialog as the user meets them: the window's part of the
// rotation, whose rules the model's own tests hold.
#include "MainWindowFixture.h"

#include <QLabel>

using Entry = Settings::Entry;

namespace {
// The minutes, the seconds and the check boxes as 1/0; whether the timer runs, and its interval.
QString options(const MainWindowFixture& f)
{
    QString marks = f.text("txtm") + ' ' + f.text("txts") + ' ';
    for (const char* box : {"chkrun", "chkwin", "chkran", "chkmwin"})
        marks += f.widget<QCheckBox>(QLatin1String(box))->isChecked() ? u'1' : u'0';
    return marks;
}
const auto ticking = [](const MainWindowFixture& f) {
    return QString("%1 %2").arg(f.timer()->isActive()).arg(f.timer()->intervalMs());
};
} // namespace

class TestRotation : public QObject
{
    Q_OBJECT
private slots:
    void firstStart()
    {
        MainWindowFixture f;
        f.pictureFolder({"p0.png", "p1.png"}, QStringLiteral("app/images"));
        QVERIFY(f.start({.firstRun = true}));
        QCOMPARE(options(f), "0 30 1110");
        // No colour chosen: the desktop's palette; the pictures beside the program not stored.
        QCOMPARE(f.window->palette().window(), QApplication::palette().window());
        QCOMPARE(f.stored({Entry::FirstRun, Entry::AutoRun, Entry::Random, Entry::Control,
                           Entry::ImagePath, Entry::Color}),
                 "1 1 1 1 <absent> <absent>");
        QVERIFY(TestEnvironment::read(f.env.configDirs() + "/autostart/tst_rotation.desktop")
                    .contains(QString("Exec=\"%1/tst_rotation\"").arg(f.env.appDir()).toUtf8()));
        QCOMPARE(f.sent().join(' ') + ' ' + ticking(f), "p0.png 1 30000");
        QVERIFY(f.dialogs.messages.isEmpty());
        // The notice: a page in the temporary folder, for its owner only, posting itself.
        const QString page = f.browser.opened.value(0).toLocalFile();
        QVERIFY(f.browser.opened.size() == 1 && page.startsWith(f.env.temp() + '/'));
        QVERIFY(!(QFile::permissions(page) & (QFile::ReadOther | QFile::ReadGroup)));
        for (const char* part : {"action=\"https://dorvane.example/dvn/start.php\"",
                                 "name=\"newuser\" value=\"1\"", "submit()"})
            QVERIFY2(TestEnvironment::read(page).contains(part), part);
    }
    void folderAtStart_data()
    {
        columns<bool, bool, QString>("saved", "images", "shown");
        row("the stored folder", true, true, "saved");
        row("stored one gone: images beside the program", false, true, "app/images");
        row("neither", false, false, "");
    }
    void folderAtStart()
    {
        const auto [saved, images, shown] = fetch<bool, bool, QString>("saved", "images", "shown");
        MainWindowFixture f;
        if (saved)
            f.pictureFolder({"a.png", "b.png"}, QStringLiteral("saved"));
        if (images)
            f.pictureFolder({"x.png", "y.png", "z.png"}, QStringLiteral("app/images"));
        f.store(Entry::TimerMinutes, QStringLiteral("2"));
        f.store(Entry::TimerSeconds, QStringLiteral("45"));
        f.store(Entry::WinMode, QStringLiteral("1"));
        QVERIFY(f.start({.folder = f.env.path("saved"), .random = true}));
        QCOMPARE(options(f), "2 45 0011");
        QVERIFY(f.browser.opened.isEmpty() && !f.timer()->isActive());
        QCOMPARE(f.folder() + ' ' + QString::number(f.listed().size()),
                 (shown.isEmpty() ? " 0" : f.env.path(shown) + (saved ? " 2" : " 3")));
        // Without a folder Apply does not run (it would store the choices) and there is no banner.
        QCOMPARE(f.stored({Entry::ImagePath, Entry::AutoRun}),
                 f.env.path("saved") + (shown.isEmpty() ? " <absent>" : " 0"));
        QCOMPARE(f.widget<QLabel>("ShockwaveFlash1")->text(),
                 shown.isEmpty() ? "" : "https://dorvane.example/dvn/dvnads.swf");
    }
    // Apply stores the options and (re)starts the rotation from the first picture.
    void apply_data()
    {
        // folder: "next" (two pictures), "empty" or "missing"; timer: restarted, untouched, stopped
        columns<QString, bool, QString, QString>("folder", "rotation", "timer", "control");
        row("pictures", "next", true, "restarted", "1");
        row("pictures; a stuck log-on entry told", "next", true, "restarted", "1");
        row("empty folder", "empty", true, "untouched", "keep");
        row("missing folder: nothing stored", "missing", true, "untouched", "keep");
        row("rotation off", "next", false, "stopped", "0");
        row("rotation off, missing folder", "missing", false, "untouched", "keep");
    }
    void apply()
    {
        const auto [folder, rotation, timer, control] =
            fetch<QString, bool, QString, QString>("folder", "rotation", "timer", "control");
        MainWindowFixture f;
        f.store(Entry::AutoRun, QStringLiteral("1")); // the log-on entry written at start
        QVERIFY(f.start({.pictures = {"A.png", "B.png"}, .rotation = true}));
        QSignalSpy started(f.timer(), &RotationTimer::started);
        f.pictureFolder({"X.png", "Y.png"}, QStringLiteral("next"));
        f.env.makeDir(QStringLiteral("empty"));
        f.setText("txtpath", f.env.path(folder));
        f.rotation().fillPictureList();
        f.setText("txts", "45");
        f.check("chkrun", rotation);
        f.check("chkran", true);
        f.check("chkwin", false);
        f.check("chkmwin", true);
        const auto entries = {Entry::TimerMinutes, Entry::TimerSeconds, Entry::AutoRun,
                              Entry::Random,       Entry::WinMode,      Entry::Control};
        for (Entry entry : entries)
            f.store(entry, QStringLiteral("keep"));
        const QStringList sentBefore = f.sent();
        const QString entry = f.env.configDirs() + "/autostart/tst_rotation.desktop";
        const bool stuck = QByteArray(QTest::currentDataTag()).contains("stuck");
        // Stuck: a folder in the entry's place, a file in that of the user's autostart folder.
        QVERIFY(!stuck || (QFile::remove(entry) && QDir().mkpath(entry + "/x") &&
                           !f.env.writeFile("config/autostart", "").isEmpty()));
        f.apply();
        const QString applied = folder == "missing" ? "keep keep keep keep keep" : "0 45 0 1 1";
        QCOMPARE(f.stored(entries), applied + ' ' + control);
        QCOMPARE(QFile::exists(entry), folder == "missing" || stuck); // the option cleared
        const bool restarted = timer == "restarted";
        QCOMPARE(ticking(f),
                 QString("%1 %2").arg(timer != "stopped").arg(restarted ? 45000 : 30000));
        QCOMPARE(f.sent(), restarted ? sentBefore + QStringList{"X.png"} : sentBefore);
        QCOMPARE(QList<qsizetype>({started.count(), f.currentRow(), f.dialogs.messages.size()}),
                 QList<qsizetype>({restarted, restarted ? 0 : -1, stuck}));
        if (folder == "empty")
            QCOMPARE(f.tick(2), QStringList());
    }
    void folderDialog_data()
    {
        columns<QString, QStringList>("answer", "listed"); // answer: cancel, other or same
        row("cancelled", "cancel", QStringList{"A.png", "B.png"});
        row("another folder", "other", QStringList{"X.png", "Y.png", "Z.png"});
        row("the folder already shown", "same", QStringList{"A.png", "B.png"});
        row("a 512-character folder: no Cancel", "long", QStringList{"X.png", "Y.png", "Z.png"});
    }
    void folderDialog()
    {
        const auto [answer, listed] = fetch<QString, QStringList>("answer", "listed");
        MainWindowFixture f;
        QVERIFY(f.start({.pictures = {"A.png", "B.png"}, .rotation = true}));
        QString relative = "other"; // "long": made 512 characters long
        while (answer == "long" && f.env.path(relative).size() < 512)
            relative += '/' + QString(qMin(100, 511 - int(f.env.path(relative).size())), 'd');
        const QString other = f.pictureFolder({"Y.png", "X.png", "Z.png"}, relative);
        const QString chosen = answer == "same" ? f.folder() : answer != "cancel" ? other : "";
        QVERIFY(answer != "long" || chosen.size() == 512);
        for (Entry entry : {Entry::ImagePath, Entry::TimerSeconds})
            f.store(entry, QStringLiteral("keep"));
        f.select(1);
        QSignalSpy started(f.timer(), &RotationTimer::started);
        const QStringList sentBefore = f.sent();
        f.chooseFolder(chosen);
        QCOMPARE(f.dialogs.folderTitles, QStringList{"Select Images Folder"});
        QCOMPARE(f.listed(), listed);
        const bool cancelled = chosen.isEmpty();
        QCOMPARE(f.folder(), cancelled ? f.env.path("pics") : chosen);
        // A chosen folder ends in Apply: options stored, timer restarted, first picture sent.
        QCOMPARE(f.stored({Entry::ImagePath, Entry::TimerSeconds}),
                 cancelled ? "keep keep" : chosen + " 30");
        QCOMPARE(f.sent(), cancelled ? sentBefore : sentBefore + listed.mid(0, 1));
        QVERIFY(started.count() == !cancelled && f.currentRow() == cancelled);
    }
};

QTEST_MAIN(TestRotation)
#include "tst_rotation.moc"
