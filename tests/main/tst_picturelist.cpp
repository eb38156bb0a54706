#include "common/MainFixture.h"

#include "common/ImageControl.h"
#include "common/NamedControl.h"
#include "main/RotationTimer.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>

namespace {

const QStringList ABC = {QStringLiteral("A.png"), QStringLiteral("B.png"), QStringLiteral("C.png")};

QString fileName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QPoint itemCentre(const FileListBox* list, int row)
{
    return list->visualRect(list->model()->index(row, 0)).center();
}

void showAndWait(QWidget* window)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

} // namespace

class TestPictureList : public QObject
{
    Q_OBJECT
private slots:
    void listing_data();
    void listing();
    void clickPreviewsThatPicture_data();
    void clickPreviewsThatPicture();
    void undecodablePreview_data();
    void undecodablePreview();
    void doubleClickSendsAtOnce();
    void rightButtonOpensMenuAndKeepsSelection();
    void deleteItem_data();
    void deleteItem();
    void deleteFails_data();
    void deleteFails();
    void deleteOnEmptyListDoesNothing();
};

void TestPictureList::listing_data()
{
    // "name/" is made as a folder, "name|" as a FIFO, "name->target" as a link to target.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("pattern and order") << QStringList{"e.txt", "d.jpge", "c.png", "b.jpeg", "a.JPG"}
                                       << QStringList{"a.JPG", "c.png", "d.jpge"};
    QTest::newRow("every listed kind")
        << QStringList{"x.bmp", "y.GIF", "z.jpg"} << QStringList{"x.bmp", "y.GIF", "z.jpg"};
    QTest::newRow("order ignores case") << QStringList{"b.png", "C.png", "a.png", "D.png"}
                                        << QStringList{"a.png", "b.png", "C.png", "D.png"};
    QTest::newRow("long shared beginnings")
        << QStringList{"picture_b.png", "PICTURE_a.png", "picture_A2.png", "pic.png"}
        << QStringList{"pic.png", "PICTURE_a.png", "picture_A2.png", "picture_b.png"};
    QTest::newRow("accented names fold too")
        << QStringList{"\u00C9t\u00E9.png", "ete.PNG", "\u00E9a.JPG"}
        << QStringList{"ete.PNG", "\u00E9a.JPG", "\u00C9t\u00E9.png"};
    QTest::newRow("digits sort as text")
        << QStringList{"10.png", "2.png", "1.png"} << QStringList{"1.png", "10.png", "2.png"};
    QTest::newRow("hidden files and sub-folders left out")
        << QStringList{".hidden.png", "sub.png/", "seen.png"} << QStringList{"seen.png"};
    QTest::newRow("links count as what they point to")
        << QStringList{"real.png", "link.png->real.png", "broken.png->gone.png", "dir.png/",
                       "dirlink.png->dir.png"}
        << QStringList{"link.png", "real.png"};
    QTest::newRow("special files left out")
        << QStringList{"pipe.png|", "file.png"} << QStringList{"file.png"};
    QTest::newRow("the suffix must end the name")
        << QStringList{"a.png.txt", "b.pngx", "png", "c.jpg.bak"} << QStringList{};
}

void TestPictureList::listing()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, expected);
    MainFixture f;
    const QString folder = f.env.makeDir(QStringLiteral("pics"));
    for (const QString& entry : entries) {
        const QStringList link = entry.split(QStringLiteral("->"));
        if (link.size() == 2)
            QVERIFY(QFile::link(link.at(1), folder + QLatin1Char('/') + link.at(0)));
        else if (entry.endsWith(QLatin1Char('/')))
            QVERIFY(QDir(folder).mkdir(entry.chopped(1)));
        else if (entry.endsWith(QLatin1Char('|')))
            QCOMPARE(mkfifo(QFile::encodeName(folder + QLatin1Char('/') + entry.chopped(1)), 0600),
                     0);
        else
            f.env.writeFile(QStringLiteral("pics/") + entry, "x");
    }
    QVERIFY(f.start({.folder = folder}));
    QCOMPARE(f.window->lstimages->files().names(), expected);
    // A fresh list has no selection: the first tick starts at the first picture.
    QCOMPARE(f.window->lstimages->currentRow(), -1);
}

void TestPictureList::clickPreviewsThatPicture_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("first") << 0;
    QTest::newRow("last") << 2;
}

void TestPictureList::clickPreviewsThatPicture()
{
    QFETCH(int, row);
    MainFixture f;
    FrmMine* w = f.start({.pictures = ABC});
    QVERIFY(w);
    showAndWait(w);
    QTest::mouseClick(w->lstimages->viewport(), Qt::LeftButton, {}, itemCentre(w->lstimages, row));
    QCOMPARE(w->lstimages->currentRow(), row);

    const QImage shown = w->imgnow->picture();
    QVERIFY(!shown.isNull());
    QCOMPARE(shown.size(), w->imgnow->size());
    const QImage file(w->picturePath(ABC.at(row)));
    QCOMPARE(shown.pixelColor(shown.rect().center()), file.pixelColor(file.rect().center()));
    // A click previews; it sends nothing.
    QVERIFY(f.messenger->sentPictures.isEmpty());
}

void TestPictureList::undecodablePreview_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: the file is gone by the time it is shown
    QTest::addColumn<bool>("byTick");
    QTest::newRow("damaged, by a tick") << QByteArray("\x89PNG\r\n\x1a\n garbage") << true;
    QTest::newRow("damaged, by a click") << QByteArray("\x89PNG\r\n\x1a\n garbage") << false;
    QTest::newRow("not a picture, by a tick") << QByteArray("plain text") << true;
    QTest::newRow("gone, by a tick") << QByteArray() << true;
    QTest::newRow("gone, by a click") << QByteArray() << false;
}

void TestPictureList::undecodablePreview()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, byTick);
    MainFixture f;
    FrmMine* w = f.start({.pictures = ABC, .rotation = true});
    QVERIFY(w);
    showAndWait(w);
    const QString bad = w->picturePath(QStringLiteral("B.png"));
    if (content.isEmpty())
        QVERIFY(QFile::remove(bad));
    else
        f.env.writeFile(QStringLiteral("pics/B.png"), content);

    // Start-up's Apply selected and previewed A.
    QCOMPARE(w->lstimages->currentRow(), 0);
    const QImage before = w->imgnow->picture();
    QVERIFY(!before.isNull());
    const qsizetype sent = f.messenger->sentPictures.size();

    if (byTick) {
        w->TimerTick();
        // The tick still sends the path; the client decides what to make of it.
        QCOMPARE(f.messenger->sentPictures.size(), sent + 1);
        QCOMPARE(f.messenger->sentPictures.last(), bad);
    } else {
        QTest::mouseClick(w->lstimages->viewport(), Qt::LeftButton, {},
                          itemCentre(w->lstimages, 1));
    }
    QCOMPARE(w->lstimages->currentRow(), 1);
    QCOMPARE(w->imgnow->picture(), before);
    QVERIFY(f.dialogs.messages().isEmpty());
    QVERIFY(w->isVisible());
    QVERIFY(w->rotationTimer()->isActive());

    // The next tick goes on past it.
    w->TimerTick();
    QCOMPARE(fileName(f.messenger->sentPictures.last()), QStringLiteral("C.png"));
    QVERIFY(w->imgnow->picture() != before);
}

void TestPictureList::doubleClickSendsAtOnce()
{
    MainFixture f;
    FrmMine* w = f.start({.pictures = ABC, .rotation = true});
    QVERIFY(w);
    showAndWait(w);
    const quint32 timerId = w->TimerID();
    const qsizetype sent = f.messenger->sentPictures.size();

    const QPoint b = itemCentre(w->lstimages, 1);
    QTest::mouseClick(w->lstimages->viewport(), Qt::LeftButton, {}, b);
    QCOMPARE(f.messenger->sentPictures.size(), sent);
    QTest::mouseDClick(w->lstimages->viewport(), Qt::LeftButton, {}, b);
    QCOMPARE(f.messenger->sentPictures.size(), sent + 1);
    QCOMPARE(f.messenger->sentPictures.last(), w->picturePath(QStringLiteral("B.png")));
    // The timer runs on untouched and goes on from the double-clicked picture.
    QCOMPARE(w->TimerID(), timerId);
    QVERIFY(w->rotationTimer()->isActive());
    w->TimerTick();
    QCOMPARE(f.messenger->sentPictures.last(), w->picturePath(QStringLiteral("C.png")));
}

void TestPictureList::rightButtonOpensMenuAndKeepsSelection()
{
    MainFixture f;
    FrmMine* w = f.start({.pictures = ABC});
    QVERIFY(w);
    showAndWait(w);
    QTest::mouseClick(w->lstimages->viewport(), Qt::LeftButton, {}, itemCentre(w->lstimages, 1));
    QTest::mouseClick(w->lstimages->viewport(), Qt::RightButton, {}, itemCentre(w->lstimages, 2));
    QTRY_VERIFY(w->mnuimglst->isVisible());
    QCOMPARE(w->lstimages->currentRow(), 1);
    w->mnuimglst->close();

    // "Delete" acts on the selected picture, not the one under the pointer.
    w->control(QStringLiteral("mnudel"))->action()->trigger();
    QCOMPARE(w->lstimages->files().names(), QStringList({"A.png", "C.png"}));
    QVERIFY(!QFile::exists(w->picturePath(QStringLiteral("B.png"))));
    QVERIFY(QFile::exists(w->picturePath(QStringLiteral("C.png"))));
}

void TestPictureList::deleteItem_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("rotation");
    QTest::newRow("middle, rotation on") << ABC << 1 << true;
    QTest::newRow("middle, rotation off") << ABC << 1 << false;
    QTest::newRow("first, rotation on") << ABC << 0 << true;
    QTest::newRow("last, rotation off") << ABC << 2 << false;
    QTest::newRow("only item, rotation on") << QStringList{"A.png"} << 0 << true;
    QTest::newRow("only item, rotation off") << QStringList{"A.png"} << 0 << false;
}

void TestPictureList::deleteItem()
{
    QFETCH(QStringList, names);
    QFETCH(int, selected);
    QFETCH(bool, rotation);
    MainFixture f;
    FrmMine* w = f.start({.pictures = names, .rotation = rotation});
    QVERIFY(w);
    w->lstimages->setCurrentRow(selected);
    const quint32 timerId = w->TimerID();
    const qsizetype sent = f.messenger->sentPictures.size();
    const QString& victim = names.at(selected);

    w->control(QStringLiteral("mnudel"))->action()->trigger();

    QVERIFY(f.dialogs.messages().isEmpty());
    QVERIFY(!QFile::exists(w->picturePath(victim)));
    QStringList rest = names;
    rest.removeAt(selected);
    QCOMPARE(w->lstimages->files().names(), rest);
    if (rest.isEmpty()) {
        QVERIFY(!w->rotationTimer()->isActive());
        QCOMPARE(f.messenger->sentPictures.size(), sent);
        return;
    }
    // The first picture takes over at once, rotation or not.
    QCOMPARE(w->lstimages->currentRow(), 0);
    QCOMPARE(f.messenger->sentPictures.size(), sent + 1);
    QCOMPARE(f.messenger->sentPictures.last(), w->picturePath(rest.first()));
    QCOMPARE(w->rotationTimer()->isActive(), rotation);
    // A restart: the next tick comes one full interval after the deletion.
    if (rotation)
        QCOMPARE(w->TimerID(), timerId + 1);
}

void TestPictureList::deleteFails_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("rotation");
    QTest::addColumn<QString>("reason"); // empty: no picture is selected
    const QString gone = qt_error_string(ENOENT);
    QTest::newRow("file already gone, rotation on") << 1 << true << gone;
    QTest::newRow("file already gone, rotation off") << 1 << false << gone;
    QTest::newRow("nothing selected, rotation on") << -1 << true << QString();
    QTest::newRow("nothing selected, rotation off") << -1 << false << QString();
}

void TestPictureList::deleteFails()
{
    QFETCH(int, selected);
    QFETCH(bool, rotation);
    QFETCH(QString, reason);
    MainFixture f;
    FrmMine* w = f.start({.pictures = ABC, .rotation = rotation});
    QVERIFY(w);
    if (selected >= 0) {
        w->lstimages->setCurrentRow(selected);
        QVERIFY(QFile::remove(w->picturePath(ABC.at(selected))));
    } else {
        // A refill is the one way to no selection: the click rule selects the first otherwise.
        w->fillPictureList();
    }
    const qsizetype sent = f.messenger->sentPictures.size();

    w->control(QStringLiteral("mnudel"))->action()->trigger();

    QCOMPARE(f.dialogs.messages().size(), 1);
    const FakeDialogs::Message message = f.dialogs.messages().first();
    QCOMPARE(message.title, QStringLiteral("Dorvane"));
    if (!reason.isEmpty()) {
        QVERIFY2(message.text.contains(reason), qPrintable(message.text));
        QVERIFY2(message.text.contains(ABC.at(selected)), qPrintable(message.text));
    }
    QCOMPARE(w->lstimages->files().names(), ABC);
    QCOMPARE(w->lstimages->currentRow(), selected);
    QCOMPARE(f.messenger->sentPictures.size(), sent);
    // The timer was stopped for the deletion; it must not stay stopped.
    QCOMPARE(w->rotationTimer()->isActive(), rotation);
    QVERIFY(w->isEnabled());
}

void TestPictureList::deleteOnEmptyListDoesNothing()
{
    MainFixture f;
    FrmMine* w =
        f.start({.folder = f.makePictureFolder(QStringLiteral("pics"), {}), .rotation = true});
    QVERIFY(w);
    QCOMPARE(w->lstimages->count(), 0);
    w->mnudel_Click();
    QVERIFY(f.dialogs.messages().isEmpty());
    QVERIFY(QDir(w->txtpath->text()).exists());
}

QTEST_MAIN(TestPictureList)
#include "tst_picturelist.moc"
