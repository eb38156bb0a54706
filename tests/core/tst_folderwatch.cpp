// The picture folder watched by its path: changes inside it, the folder replaced under the
// program, and no file watch left.
#include "Table.h"
#include "TestEnvironment.h"
#include "core/fs/FolderWatch.h"
#include <QSignalSpy>
#include <cstdio>
#include <sys/resource.h>

class TestFolderWatch : public QObject
{
    Q_OBJECT
private slots:
    // replace: renamed away, another put there; remake: deleted and made again; repoint: a link
    // turned. No inotify: made while no file can be opened, as when the user's instances run out.
    void followsThePath_data()
    {
        columns<QString, bool>("change", "inotify");
        for (const char* change : {"add", "replace", "remake", "repoint"}) {
            row(change, QString(change), true);
            row(qPrintable(QString(change) + ", no inotify left"), QString(change), false);
        }
    }
    void followsThePath()
    {
        const auto [change, inotify] = fetch<QString, bool>("change", "inotify");
        TestEnvironment env;
        const QString folder = env.path("pics");
        env.writeFile("a/one.png", "x");
        QVERIFY(change == "repoint" ? QFile::link(env.path("a"), folder)
                                    : QDir(env.root()).rename("a", "pics"));
        rlimit saved{};
        getrlimit(RLIMIT_NOFILE, &saved);
        const rlimit none{inotify ? saved.rlim_cur : 0, saved.rlim_max};
        setrlimit(RLIMIT_NOFILE, &none);
        FolderWatch watch;
        setrlimit(RLIMIT_NOFILE, &saved);
        QSignalSpy watching(&watch, &FolderWatch::watchingChanged);
        watch.watch(folder);
        QCOMPARE(watch.isWatching() + watching.count(), 1); // or told it is not
        QSignalSpy changed(&watch, &FolderWatch::changed);
        // A watch tells at once; a look every few seconds within two looks.
        const int within = inotify ? 1500 : FolderWatch::PollMs * 2 + FolderWatch::SettleMs;
        const int expected = change == "remake" ? 2 : 1; // told gone first
        QVERIFY(change != "replace" || QDir(env.root()).rename("pics", "pics.old"));
        QVERIFY(change != "remake" || QDir(folder).removeRecursively());
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), expected - 1, within);
        QVERIFY(change != "repoint" ||
                (QFile::link(env.makeDir("b"), env.path("pics.new")) &&
                 std::rename(qPrintable(env.path("pics.new")), qPrintable(folder)) == 0));
        env.writeFile("pics/two.png", "x");
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), expected, within);
        // The folder now at the path is the one watched.
        env.writeFile("pics/three.png", "x");
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), expected + 1, within);
        QCOMPARE(watch.isWatching(), inotify);
    }
};

QTEST_GUILESS_MAIN(TestFolderWatch)
#include "tst_folderwatch.moc"
