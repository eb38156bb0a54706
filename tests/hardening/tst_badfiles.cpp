// Files and folders as hostile surroundings leave them, met by the main and tools windows.
#include "Fifo.h"
#include "MainWindowFixture.h"
#include "Pictures.h"
#include "core/fs/FileCopy.h"

#include <QListWidget>
#include <QStorageInfo>
#include <sys/mount.h>

class TestBadfiles : public QObject
{
    Q_OBJECT
private slots:
    // A FIFO in place of a language file or of the language choice never holds start-up either.
    void strayFilesNeverStopTheWindow_data()
    {
        columns<int, QString>("fifo", "lang"); // 0: just gone; 1: a FIFO with a writer; 2: without
        row("listed picture gone", 0, "");
        row("FIFO with an endless writer in place of a listed picture", 1, "");
        row("FIFO nobody writes to in place of a listed picture", 2, "");
        row("FIFO in place of the current language's file", 0, "English.lng");
        row("FIFO in place of the language choice", 0, "LangSetting.ini");
    }
    void strayFilesNeverStopTheWindow()
    {
        const auto [fifo, lang] = fetch<int, QString>("fifo", "lang");
        MainWindowFixture f;
        std::optional<Fifo> listed, cached, langFifo; // the cache's is never listed to be copied
        const QString langFile = f.env.appDir() + "/lang/" + lang;
        QFile::remove(langFile);
        QVERIFY(lang.isEmpty() || langFifo.emplace(langFile, false).isValid());
        QVERIFY(f.start({.pictures = {"a.png", "b.png", "c.png"}, .rotation = true}));
        f.env.writeFile("tmp/MessengerCache/a.png", Pictures::png(Pictures::scenery(96, 96)));
        QVERIFY(QFile::remove(f.path("b.png")));
        QVERIFY(!fifo || (listed.emplace(f.path("b.png"), fifo == 1).isValid() &&
                          cached.emplace(f.env.path("tmp/MessengerCache/b.png")).isValid()));
        QCOMPARE(f.tick(3).size(), 3); // each previewed and sent in turn
        QCOMPARE(f.openTools()->widget<QListWidget>("lstimages")->count(), 1);
        f.rotation().fillPictureList();
        QCOMPARE(f.listed(), QStringList({"a.png", "c.png"}));
        QVERIFY(f.timer()->isActive() && f.dialogs.messages.isEmpty());
        for (auto* unread : {&listed, &cached, &langFifo})
            QVERIFY2(!*unread || !(*unread)->wasRead(), "a FIFO was waited for");
    }
    // Whatever others leave where a lock might go, this copy runs, and a second one does not.
    void plantedLock_data()
    {
        columns<QString>("planted");
        row("no runtime folder; junk at the old shared name", "unset");
        row("the runtime folder a file", "file");
        row("junk of the user's own in the lock's place", "junk");
        if (::geteuid() == 0) // only root can give a file to another user
            row("another user's file in the lock's place", "other");
    }
    void plantedLock()
    {
        const auto [planted] = fetch<QString>("planted");
        TestEnvironment env;
        const QString shared = env.temp() + "/dorvane-" + QString::number(::getuid()) + ".lock";
        env.writeFile("tmp/" + QFileInfo(shared).fileName(), "junk");
        if (planted == "unset")
            env.unsetVar("XDG_RUNTIME_DIR");
        if (planted == "file")
            env.setVar("XDG_RUNTIME_DIR", QFile::encodeName(shared));
        const QString lock = LockFileInstance::defaultLockPath();
        QVERIFY(planted != "junk" || env.writeFile("runtime/dorvane.lock", "?").endsWith(".lock"));
        QVERIFY(planted != "other" ||
                (env.writeFile("runtime/dorvane.lock", "1\nx\nhost\n") == lock &&
                 ::chown(QFile::encodeName(lock), 65534, 65534) == 0));
        const QFileInfo dir(QFileInfo(lock).absolutePath());
        QVERIFY2(dir.filePath() != env.temp() && dir.ownerId() == ::geteuid(), qPrintable(lock));
        LockFileInstance first(lock), second(lock);
        QVERIFY(first.acquire() && !second.acquire());
    }
    void nameOutsideUtf8DeletesTheRightFile()
    {
        MainWindowFixture f;
        // "café.png" in Latin-1 is no UTF-8: it reads as the name of the file beside it.
        const QByteArray latin1 = QFile::encodeName(f.env.makeDir("pics")) + "/caf\xE9.png";
        QVERIFY(::close(::open(latin1.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600)) == 0);
        QVERIFY(f.start({.pictures = {"caf\uFFFD.png"}}));
        f.select(0);
        f.deleteSelected();
        QCOMPARE(f.listed(), QStringList());       // the file gone, as the row
        QCOMPARE(::unlink(latin1.constData()), 0); // Qt could not name it to remove it
    }
    void harvestFolderGuard_data()
    {
        columns<QString>("planted"); // at $Temp/dvn before the tools window opens
        row("none: made for its owner alone", QString());
        row("a symbolic link: refused", "link");
        row("a folder in place of a copy: reported", "blocked");
        row("open to all, a link planted: closed, the link replaced", "open");
        if (::geteuid() != 0) // only root can hand a folder to another user
            return;
        row("another user's, of the same group: refused, saying what to do", "other");
        row("another user's in the shared folder, no TEMP set: the user's own used", "shared");
    }
    void harvestFolderGuard()
    {
        const auto [planted] = fetch<QString>("planted");
        MainWindowFixture f;
        QVERIFY(f.start());
        const bool shared = planted == "shared"; // TEMP unset: a folder of the user's own
        for (const char* variable : {"Temp", "TMPDIR"})
            shared ? f.env.unsetVar(variable) : void();
        const QString temp = shared ? "cache/Dorvane/Temp" : "tmp", own = f.env.path(temp + "/dvn");
        f.env.writeFile(temp + "/MessengerCache/a.png", Pictures::png(Pictures::scenery(96, 96)));
        const QString harvest = f.env.path("tmp/dvn"), folder = f.env.makeDir("elsewhere");
        QVERIFY(planted != "link" || QFile::link(folder, harvest));
        QVERIFY(planted != "blocked" || QDir().mkpath(harvest + "/dvn2.jpg"));
        const QString victim = f.env.writeFile("victim", "the user's own");
        QVERIFY(planted != "open" ||
                (QDir().mkpath(harvest) && QFile::link(victim, harvest + "/dvn2.jpg") &&
                 ::chmod(QFile::encodeName(harvest), 0777) == 0));
        QVERIFY((planted != "other" && !shared) ||
                (QDir().rename(folder, harvest) &&
                 ::chown(QFile::encodeName(harvest), 65534, getegid()) == 0));
        const int used = planted.isEmpty() || planted == "open" || shared; // else reported
        QCOMPARE(f.openTools()->widget<QListWidget>("lstimages")->count(), used);
        QCOMPARE(QDir(own).entryList(QDir::Files).size(), used);
        QCOMPARE(f.dialogs.messages.size(), 1 - used);
        QVERIFY(planted != "other" || f.dialogs.messages.value(0).text.contains("TMPDIR"));
        QVERIFY(!used || !(QFile::permissions(own) & QFile::Permissions(0x77))); // owner only
        QCOMPARE(TestEnvironment::read(victim), "the user's own");
    }
    // A copy that meets a full disk fails whole: what had the name keeps it, nothing half made is
    // left behind, and the user is told.
    void fullDisk_data()
    {
        columns<QString, QString>("copy", "left"); // left: the small disk's files afterwards
        row("a copy over the user's dvn2.jpg", "replace", "dvn2.jpg filler own.png");
        row("Add beside the user's dvn2.jpg", "add", "dvn2.jpg filler own.png");
        row("a harvest: the earlier copy removed, no half copy", "harvest", "filler");
    }
    void fullDisk()
    {
        const auto [copy, left] = fetch<QString, QString>("copy", "left");
        MainWindowFixture f;
        const QString small = copy == "harvest" ? "tmp/dvn" : "pics", disk = f.env.makeDir(small);
        if (::mount("tmpfs", QFile::encodeName(disk), "tmpfs", 0, "size=64k") != 0)
            QSKIP(qPrintable("Cannot mount a small file system: " + qt_error_string(errno)));
        const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(disk), MNT_DETACH); });
        QVERIFY(f.start({.pictures = {"own.png"}}));
        const QString cached = f.env.writeFile(
            "tmp/MessengerCache/big.png", Pictures::pngDeclaring(96, 96) + QByteArray(60000, 'x'));
        const QByteArray own(28007, 'o'); // 12 KiB left beside it
        f.env.writeFile(small + "/dvn2.jpg", own);
        f.env.writeFile(small + "/filler",
                        QByteArray(QStorageInfo(disk).bytesAvailable() - 12288, 0));
        const auto tools = copy == "replace" ? nullptr : f.openTools();
        if (copy == "add") {
            tools->widget<QListWidget>("lstimages")->item(0)->setSelected(true);
            tools->widget<QPushButton>("cmdadd")->click();
            QCOMPARE(f.dialogs.messages.value(1).text.left(3), "0  "); // none added
        }
        const QString said = tools ? f.dialogs.messages.value(0).text
                                   : FileCopy::replace(cached, disk + "/dvn2.jpg").error();
        QVERIFY2(said.contains(qt_error_string(ENOSPC)), qPrintable(said));
        QCOMPARE(QDir(disk).entryList(QDir::Files | QDir::Hidden | QDir::System).join(' '), left);
        QVERIFY(!left.contains("dvn2.jpg") || TestEnvironment::read(disk + "/dvn2.jpg") == own);
    }
    // Which files are damaged is the store's to say; the window starts on defaults beside one.
    void damagedSettingsFileIsNeverRewritten()
    {
        const QByteArray content = "[timer]\ntimes=45\n" + QByteArray(2 << 20, ';') + '\n';
        MainWindowFixture f;
        f.env.writeFile("config/Dorvane/Dorvane.ini", content);
        f.pictureFolder({"a.png"}, "app/images"); // so that start-up ends with Apply
        QVERIFY(f.start({.firstRun = true}));     // start-up's Apply included
        QVERIFY(f.text("txts") == "30" && f.browser.opened.isEmpty()); // defaults, no notice
        QCOMPARE(TestEnvironment::read(f.env.settingsFile()), content);
        QVERIFY(f.dialogs.messages.value(0).text.contains(f.env.settingsFile()));
    }
};

QTEST_MAIN(TestBadfiles)
#include "tst_badfiles.moc"
