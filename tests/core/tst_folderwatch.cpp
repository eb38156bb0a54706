// The picture folder watched by its path: changes inside it, the folder replaced under the
// program, and no file watch left.
#include "Table.h"
#include "TestEnvironment.h"
#include "core/fs/FolderWatch.h"

#include <QSignalSpy>
#include <QTest>

#include <sys/resource.h>

#include <cstdio>
#include <memory>

namespace {

enum class Change { AddFile, RenameAndReplace, DeleteAndRemake, RepointLink };

// A watch made while this process can open no file, as when the user's inotify instances are
// used up; the limit is this process's own and is put back at once.
std::unique_ptr<FolderWatch> watchWithoutInotify()
{
    rlimit saved{};
    getrlimit(RLIMIT_NOFILE, &saved);
    rlimit none = saved;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_NOFILE, &none);
    auto watch = std::make_unique<FolderWatch>();
    setrlimit(RLIMIT_NOFILE, &saved);
    return watch;
}

} // namespace

class TestFolderWatch : public QObject
{
    Q_OBJECT
private slots:
    void followsThePath_data()
    {
        columns<Change, bool>("change", "inotify");
        row("file added", Change::AddFile, true);
        row("folder renamed away, another put in its place", Change::RenameAndReplace, true);
        row("folder deleted and made again", Change::DeleteAndRemake, true);
        row("link pointed at another folder", Change::RepointLink, true);
        row("no inotify left: file added", Change::AddFile, false);
        row("no inotify left: folder renamed away and replaced", Change::RenameAndReplace, false);
        row("no inotify left: link pointed at another folder", Change::RepointLink, false);
    }
    void followsThePath()
    {
        const auto [change, inotify] = fetch<Change, bool>("change", "inotify");
        TestEnvironment env;
        const QString folder = env.path("pics");
        env.writeFile("a/one.png", "x");
        if (change == Change::RepointLink)
            QVERIFY(QFile::link(env.path("a"), folder));
        else
            QVERIFY(QDir(env.root()).rename("a", "pics"));
        const std::unique_ptr<FolderWatch> watch =
            inotify ? std::make_unique<FolderWatch>() : watchWithoutInotify();
        QSignalSpy watching(watch.get(), &FolderWatch::watchingChanged);
        watch->watch(folder);
        QCOMPARE(watch->isWatching(), inotify);
        QCOMPARE(watching.count(), inotify ? 0 : 1);
        QSignalSpy changed(watch.get(), &FolderWatch::changed);
        // Polling finds a change within a few seconds, a watch at once.
        const int within = inotify ? 1500 : FolderWatch::PollMs * 2 + FolderWatch::SettleMs;

        switch (change) {
        case Change::AddFile:
            env.writeFile("pics/two.png", "x");
            break;
        case Change::RenameAndReplace:
            QVERIFY(QDir(env.root()).rename("pics", "pics.old"));
            env.writeFile("pics/two.png", "x");
            break;
        case Change::DeleteAndRemake:
            QVERIFY(QDir(folder).removeRecursively());
            // Told gone before it is made again, so that the making is a change of its own.
            QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, within);
            env.writeFile("pics/two.png", "x");
            break;
        case Change::RepointLink:
            env.writeFile("b/two.png", "x");
            QVERIFY(QFile::link(env.path("b"), env.path("pics.new")));
            QVERIFY(std::rename(QFile::encodeName(env.path("pics.new")).constData(),
                                QFile::encodeName(folder).constData()) == 0);
            break;
        }
        const int expected = change == Change::DeleteAndRemake ? 2 : 1;
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), expected, within);

        // The folder now at the path is the one watched.
        env.writeFile("pics/three.png", "x");
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), expected + 1, within);
        QCOMPARE(watch->isWatching(), inotify);
    }
};

QTEST_GUILESS_MAIN(TestFolderWatch)
#include "tst_folderwatch.moc"
