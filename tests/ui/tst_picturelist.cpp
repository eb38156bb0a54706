// The picture list as the user meets it: clicks, the list's menu, Delete and the preview.
#include "MainWindowFixture.h"

#include "Pictures.h"
#include "StandinProcess.h"
#include "StuckFile.h"

namespace {
const QStringList ABC = {"A.png", "B.png", "C.png"};
const auto centre = [](const QImage& image) { return image.pixelColor(image.rect().center()); };
} // namespace

class TestPictureList : public QObject
{
    Q_OBJECT
private slots:
    // A click previews; a double-click sends; Delete in the right button's menu takes the selected.
    void clicks()
    {
        MainWindowFixture f;
        QVERIFY(f.start({.pictures = ABC, .rotation = true, .shown = true}));
        const QStringList sent = f.sent();
        f.clickRow(2);
        QCOMPARE(centre(f.preview()), centre(QImage(f.path("C.png"))));
        f.clickRow(2, Qt::LeftButton, true);
        f.tick(); // on from the row sent
        QCOMPARE(f.sent(), sent + QStringList({"C.png", "A.png"}));
        // The right button selects the row it points at; a tick while the menu is open moves the
        // selection, and "Delete" still takes the row the menu was opened on, and only it.
        const int other = (f.currentRow() + 1) % 3;
        f.clickRow(other, Qt::RightButton);
        QCOMPARE(f.currentRow(), other);
        QTRY_VERIFY(f.window->control("mnuimglst")->menu()->isVisible());
        f.tick();
        f.action("mnudel")->trigger();
        f.window->control("mnuimglst")->menu()->close();
        QVERIFY(f.listed().size() == 2 && !f.listed().contains(ABC.at(other)) &&
                !QFile::exists(f.path(ABC.at(other))));
    }
    void deleteSelected_data()
    {
        // selected -1: none; rest all the names: it fails
        columns<QStringList, int, bool, QStringList>("names", "selected", "rotation", "rest");
        row("middle, rotation on", ABC, 1, true, QStringList{"A.png", "C.png"});
        row("first, rotation off", ABC, 0, false, QStringList{"B.png", "C.png"});
        row("only one, rotation on", QStringList{"A.png"}, 0, true, QStringList());
        row("fails: file already gone", ABC, 1, true, ABC);
        row("fails: nothing selected", ABC, -1, true, ABC);
    }
    void deleteSelected()
    {
        const auto [names, selected, rotation, rest] =
            fetch<QStringList, int, bool, QStringList>("names", "selected", "rotation", "rest");
        MainWindowFixture f;
        QVERIFY(f.start({.pictures = names, .rotation = rotation}));
        const bool fails = rest == names;
        selected < 0 ? f.rotation().fillPictureList() : f.select(selected); // fresh: none selected
        if (fails && selected >= 0)
            QVERIFY(QFile::remove(f.path(names.at(selected))));
        QSignalSpy started(f.timer(), &RotationTimer::started);
        const QStringList sent = f.sent();
        f.deleteSelected();
        QCOMPARE(f.listed() + f.sent(), rest + sent + (fails ? QStringList() : rest.mid(0, 1)));
        QCOMPARE(f.dialogs.messages.size(), fails ? 1 : 0);
        QVERIFY(fails || !QFile::exists(f.path(names.at(selected))));
        // A refusal before anything was deleted leaves the timer alone.
        const bool running = rotation && !rest.isEmpty();
        QVERIFY(f.timer()->isActive() == running && started.count() == (running && selected >= 0));
    }
    // The keys a list answers: Delete takes the selected picture (and the first goes out, as after
    // any Delete), Enter sends it, the Menu key and Shift+F10 open the list's menu on it.
    void keys_data()
    {
        columns<int, int, QString>("key", "modifiers", "does");
        row("Delete", int(Qt::Key_Delete), 0, "deleted");
        row("Enter", int(Qt::Key_Return), 0, "sent");
        row("Menu", int(Qt::Key_Menu), 0, "menu");
        row("Shift+F10", int(Qt::Key_F10), int(Qt::ShiftModifier), "menu");
        row("F10 alone", int(Qt::Key_F10), 0, "");
    }
    void keys()
    {
        const auto [key, modifiers, does] = fetch<int, int, QString>("key", "modifiers", "does");
        MainWindowFixture f;
        QVERIFY(f.start({.pictures = ABC, .shown = true}));
        f.select(1);
        QTest::keyClick(f.list(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QMenu* menu = f.window->control("mnuimglst")->menu();
        QTRY_COMPARE(menu->isVisible(), does == "menu");
        menu->close();
        QCOMPARE(f.sent().join(' '), does == "deleted" ? "A.png" : does == "sent" ? "B.png" : "");
        QCOMPARE(f.listed(), does == "deleted" ? QStringList({"A.png", "C.png"}) : ABC);
    }
    // A picture the preview cannot show leaves it as it was, quietly; the next tick goes on.
    void preview_data()
    {
        // content: of B.png; shown invalid: the preview stays as it was
        columns<QByteArray, QColor>("content", "shown");
        row("transparent picture over white",
            Pictures::png(Pictures::filled(16, 16, Qt::transparent)), QColor(Qt::white));
        const QColor blue(20, 90, 200); // 8000 x 8000: 256,000,000 bytes decoded, allowed
        row("large but allowed picture", Pictures::png(Pictures::filled(8000, 8000, blue)), blue);
        row("refused bomb", Pictures::pngDeclaring(100000, 100000), QColor());
    }
    void preview()
    {
        const auto [content, shown] = fetch<QByteArray, QColor>("content", "shown");
        MainWindowFixture f;
        QVERIFY(f.start({.pictures = ABC, .rotation = true}));
        f.env.writeFile("pics/B.png", content);
        const QColor before = centre(f.preview());
        QCOMPARE(f.tick(), QStringList{"B.png"});
        QCOMPARE(centre(f.preview()), shown.isValid() ? shown : before);
        QVERIFY(f.dialogs.messages.isEmpty() && f.tick() == QStringList{"C.png"});
    }
    // A picture on a share whose reads never end holds its own reader only: the next click is
    // previewed, and nothing the program's end waits for is held.
    void stuckPictureHoldsNoOtherPreview()
    {
        MainWindowFixture f;
        StuckFile stuck(f.env.path("share"));
        if (!stuck.isMounted())
            QSKIP("FUSE cannot be mounted here");
        QVERIFY(f.start({.pictures = ABC, .rotation = true, .shown = true}));
        QVERIFY(QFile::link(stuck.path(), f.folder() + "/D.png"));
        f.rotation().fillPictureList();
        f.clickRow(2);
        QCOMPARE(centre(f.preview()), centre(QImage(f.path("C.png"))));
        auto* preview = f.widget<ImageControl>("imgnow");
        f.clickRow(3);
        QVERIFY(preview->isLoading());
        f.clickRow(1);
        QTRY_VERIFY(!preview->isLoading());
        QCOMPARE(centre(preview->picture()), centre(QImage(f.path("B.png"))));
        QVERIFY(QThreadPool::globalInstance()->waitForDone(0));
    }
    // Ended while its first preview reads such a file, the program ends at once.
    void endsWhileAReadIsStuck()
    {
        TestEnvironment env;
        StandinProcess standin; // it reads the picture too: it ends after the reads are let go
        StuckFile stuck(env.path("share"));
        if (!stuck.isMounted())
            QSKIP("FUSE cannot be mounted here");
        QVERIFY(QFile::link(stuck.path(), env.makeDir("pics") + "/a.png"));
        env.writeFile("config/Dorvane/Dorvane.ini",
                      "[firstrun]\nstate=1\n[control]\nstate=1\n[imagepath]\npath=" +
                          env.path("pics").toUtf8() + "\n");
        QVERIFY(standin.start({"--no-cache"}));
        QProcess dvn;
        dvn.start(DORVANE_PROGRAM_PATH);
        QTRY_VERIFY_WITH_TIMEOUT(stuck.readBegun(), 20000);
        dvn.terminate();
        QVERIFY(dvn.waitForFinished(1000));
    }
};

QTEST_MAIN(TestPictureList)
#include "tst_picturelist.moc"
