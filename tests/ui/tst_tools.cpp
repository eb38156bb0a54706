// The contact tools window: contacts, nicknames, the harvest of cached pictures, Add.
#include "MainWindowFixture.h"

#include "Pictures.h"

#include <QClipboard>
#include <QListWidget>

namespace {
// A picture in the Messenger client's cache, of a colour of its own; its bytes.
QByteArray cache(const MainWindowFixture& f, const QString& name, int width, int height)
{
    const QColor colour = QColor::fromHsv(name.at(0).unicode() * 37 % 360, 255, 200);
    QByteArray bytes = Pictures::png(Pictures::filled(width, height, colour));
    f.env.writeFile("tmp/MessengerCache/" + name, bytes);
    return bytes;
}
} // namespace

class TestTools : public QObject
{
    Q_OBJECT
public:
    // Two screens side by side, where no display of its own is given.
    static void initMain()
    {
        if (qgetenv("QT_QPA_PLATFORM") == "offscreen")
            qputenv("QT_QPA_PLATFORM",
                    "offscreen:configfile=" DORVANE_TEST_DATA "/two-screens.json");
    }

private slots:
    // The tools window opens over the main window, within the screen that shows it.
    void placement_data()
    {
        columns<int, QString>("screen", "corner");
        row("left screen, middle", 0, "middle");
        row("right screen, top left corner", 1, "top left");
        row("right screen, hanging over its bottom right corner", 1, "over the corner");
    }
    void placement()
    {
        const auto [screen, corner] = fetch<int, QString>("screen", "corner");
        if (QGuiApplication::screens().size() < 2)
            QSKIP("one screen only");
        QScreen* const expected = QGuiApplication::screens().at(screen);
        const QRect area = expected->availableGeometry();
        MainWindowFixture f;
        QVERIFY(f.start({.shown = true}));
        QRect at(area.topLeft(), f.window->frameGeometry().size());
        if (corner != "top left")
            at.moveCenter(corner == "middle" ? area.center() : area.bottomRight());
        f.window->move(at.topLeft());
        QTRY_COMPARE(f.window->frameGeometry(), at);
        QRect placed;
        QScreen* shownOn = nullptr;
        QTimer::singleShot(0, f.window.get(), [&] {
            if (QWidget* tools = QApplication::activeModalWidget()) {
                placed = tools->frameGeometry();
                shownOn = tools->screen();
                tools->close();
            }
        });
        f.widget<QPushButton>("cmdtools")->click();
        QCOMPARE(shownOn, expected);
        QVERIFY(area.contains(placed));
        QVERIFY(corner != "middle" || (placed.center() - at.center()).manhattanLength() <= 2);
    }
    // Whoever is signed in, the cached pictures are copied as dvn2.jpg ... over older copies.
    // Without a session bus no client can be made: the main window starts all the same.
    void opening_data()
    {
        columns<QString>("client");
        row("signed in; main window right to left", "signed in");
        row("no client object", "none");
        row("signed out", "signed out");
    }
    void opening()
    {
        const auto [client] = fetch<QString>("client");
        const bool signedIn = client == "signed in";
        MainWindowFixture f;
        f.messenger->contacts = {{"ann@x.org", "Ann"}, {"cid@x.org", "Cid"}};
        f.messenger->canCreate = client != "none";
        QVERIFY(f.start());
        f.messenger->signedIn = signedIn;
        f.setText("txtrtl", signedIn ? "0" : "1");
        const QByteArray a = cache(f, "a.png", 96, 96);
        f.env.writeFile("tmp/dvn/dvn2.jpg", "an earlier opening's copy");
        f.env.writeFile("tmp/dvn/dvn7.jpg", Pictures::png(Pictures::filled(96, 96, Qt::red)));
        const QString notACopy = f.env.writeFile("tmp/dvn/dvn7.jpg.txt", "");
        const int created = f.messenger->created;
        auto tools = f.openTools();
        QCOMPARE(f.messenger->created, created + (client != "none")); // a client of its own
        const auto texts = [&](const char* name) {
            QStringList all;
            for (const auto* item :
                 tools->widget<QListWidget>(name)->findItems("*", Qt::MatchWildcard))
                all.append(item->text());
            return all;
        };
        QCOMPARE(texts("lstemails") + texts("lstnick"),
                 signedIn ? QStringList({"ann@x.org", "cid@x.org", "Ann", "Cid"}) : QStringList());
        QCOMPARE(QList<int>({int(f.dialogs.messages.size()), tools->formRightToLeft()}),
                 QList<int>({!signedIn, signedIn}));
        QCOMPARE(texts("lstimages"), QStringList{"dvn2.jpg"});
        QCOMPARE(TestEnvironment::read(f.env.temp() + "/dvn/dvn2.jpg"), a);
        QVERIFY(!QFile::exists(f.env.temp() + "/dvn/dvn7.jpg") && QFile::exists(notACopy));
    }
    // A nickname selects its e-mail, switches away from US English and copies the nickname.
    // Names no one could read whole are shown cut, and copied whole; long lists fill in full.
    void nicknames()
    {
        MainWindowFixture f;
        const QString huge(1 << 20, u'x');
        f.messenger->contacts = {{"ann@x.org", "Ann"}, {"cid@x.org", "Cid"}, {"h@x.org", huge}};
        for (int i = 0; i < 100000; ++i)
            f.messenger->contacts.append({QString("c%1@x.org").arg(i), "N"});
        QVERIFY(f.start());
        auto tools = f.openTools();
        tools->show();
        QVERIFY(QTest::qWaitForWindowExposed(tools.get()));
        QCOMPARE(tools->grab().toImage().pixelColor(2, 2), QColor(255, 219, 255)); // pink top
        QClipboard* clipboard = QGuiApplication::clipboard();
        const auto click = [](QListWidget* list, int row) {
            const QPoint at = list->visualItemRect(list->item(row)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        };
        auto *emails = tools->widget<QListWidget>("lstemails"),
             *nicks = tools->widget<QListWidget>("lstnick");
        click(nicks, 1);
        QCOMPARE(QVariantList({emails->currentRow(), clipboard->text()}), QVariantList({1, "Cid"}));
        clipboard->setText("before");
        click(nicks, 1);
        QCOMPARE(QVariantList({clipboard->text(), f.keyboard.switches}),
                 QVariantList({"Cid", 1})); // away from US English only
        f.keyboard.currentIndex = 0;
        click(emails, 0);
        QCOMPARE(QVariantList({nicks->currentRow(), clipboard->text()}), QVariantList({0, "Cid"}));
        tools->widget<QPushButton>("ccmdCopy")->click();
        QCOMPARE(QVariantList({clipboard->text(), f.keyboard.switches}), QVariantList({"Ann", 2}));
        QTRY_COMPARE(nicks->count(), 100003);
        QCOMPARE(nicks->item(2)->text(), huge.left(199) + QChar(0x2026));
        nicks->setCurrentRow(2);
        QCOMPARE(clipboard->text().size(), huge.size());
    }
    void add_data()
    {
        // dir: the picture folder is there; listed: the folder and the main list afterwards;
        // added -1: "select first", no count; before: the folder's dvn5.jpg ("same": the copy's)
        columns<QString, bool, QString, int, QString>("rows", "dir", "listed", "added", "before");
        row("rows 0 and 2 (dvn2.jpg is 96 x 50)", "0 2", true, "dvn3.jpg dvn5.jpg own.png", 2, "");
        row("nothing selected", "", true, "own.png", -1, "");
        row("no picture folder", "0", false, "own.png", 0, "");
        row("over another dvn5.jpg: both kept", "2", true, "dvn5-2.jpg dvn5.jpg own.png", 1, "b");
        row("over the same dvn5.jpg: counted once", "2", true, "dvn5.jpg own.png", 1, "same");
    }
    void add()
    {
        const auto [rows, dir, listed, added, before] =
            fetch<QString, bool, QString, int, QString>("rows", "dir", "listed", "added", "before");
        MainWindowFixture f;
        QVERIFY(f.start({.pictures = {"own.png"}}));
        QByteArray last;
        for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
            last = cache(f, name, 96, name[0] == 'a' ? 50 : 96);
        const QByteArray earlier = before == "same" ? last : before.toUtf8();
        if (!before.isEmpty())
            f.env.writeFile("pics/dvn5.jpg", earlier);
        auto tools = f.openTools();
        if (!dir)
            f.rotation().setFolder(f.env.path("gone"));
        for (const QString& row : rows.split(' ', Qt::SkipEmptyParts))
            tools->widget<QListWidget>("lstimages")->item(row.toInt())->setSelected(true);
        tools->widget<QPushButton>("cmdadd")->click();
        QCOMPARE(QDir(f.env.path("pics")).entryList(QDir::Files).join(' '), listed);
        QCOMPARE(f.listed().join(' '), dir ? listed : QString());
        QVERIFY(before.isEmpty() || TestEnvironment::read(f.env.path("pics/dvn5.jpg")) == earlier);
        QCOMPARE(f.dialogs.messages.size(), dir ? 1 : 2);
        QCOMPARE(f.dialogs.messages.last().text,
                 added < 0 ? f.language.GetLangString("0004")
                           : QString::number(added) + "  " + f.language.GetLangString("0002"));
    }
};

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
