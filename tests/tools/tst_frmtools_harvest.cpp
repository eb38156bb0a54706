#include "common/ListTexts.h"
#include "common/MainFixture.h"

#include "common/ImageControl.h"
#include "common/TestPictures.h"
#include "tools/FrmTools.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(int width, int height, const char* format, QColor colour = Qt::darkCyan)
{
    return TestPictures::encoded(TestPictures::filled(width, height, colour), format);
}

// A GIF of one colour: each pixel is coded as a clear code followed by index 0, so the code
// size stays at 3 bits and no table is ever built.
QByteArray gif(int width, int height)
{
    QByteArray bytes("GIF89a");
    auto word = [&](int value) {
        bytes.append(static_cast<char>(value & 0xFF));
        bytes.append(static_cast<char>((value >> 8) & 0xFF));
    };
    word(width);
    word(height);
    bytes.append("\x80\x00\x00", 3);             // two-colour global table
    bytes.append("\x00\x80\x80\xFF\xFF\xFF", 6); // the table
    bytes.append('\x2C');                        // image descriptor
    word(0);
    word(0);
    word(width);
    word(height);
    bytes.append('\x00');
    bytes.append('\x02'); // minimum code size
    QByteArray data;
    quint32 bits = 0;
    int count = 0;
    auto code = [&](quint32 value) {
        bits |= value << count;
        count += 3;
        while (count >= 8) {
            data.append(static_cast<char>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    for (int i = 0; i < width * height; ++i) {
        code(4);
        code(0);
    }
    code(5);
    if (count > 0)
        data.append(static_cast<char>(bits & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        bytes.append(static_cast<char>(block.size()));
        bytes.append(block);
    }
    bytes.append('\x00');
    bytes.append('\x3B');
    return bytes;
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The main window loaded with the shipped languages, its picture folder set, and helpers for
// the Messenger cache and the harvest folder under the temporary folder.
struct HarvestFixture
{
    MainFixture f;
    QString cache;
    QString harvest;
    QString pictures;

    HarvestFixture()
    {
        f.installLanguages();
        f.load();
        f.dialogs.clearMessages();
        cache = f.env.temp() + QStringLiteral("/MessengerCache");
        harvest = f.env.temp() + QStringLiteral("/dvn");
        pictures = f.makePictureFolder(QStringLiteral("pictures"), {QStringLiteral("own.png")});
        f.window->txtpath->setText(pictures);
        f.window->fillPictureList();
    }

    void cached(const QString& name, const QByteArray& bytes) const
    {
        f.env.writeFile(QStringLiteral("tmp/MessengerCache/") + name, bytes);
    }
    void clearCache() const { QDir(cache).removeRecursively(); }

    std::unique_ptr<FrmTools> open()
    {
        auto tools = std::make_unique<FrmTools>(f.window.get(), f.window->services());
        tools->Form_Load();
        return tools;
    }
};

} // namespace

class TestFrmToolsHarvest : public QObject
{
    Q_OBJECT
private slots:
    void twoOpenings();
    void listing_data();
    void listing();
    void missingCacheCountsAsEmpty();
    void failedCopyGoesOn();
    void previewFollowsTheClickedItem();
    void addNothingSelected();
    void addSelected_data();
    void addSelected();
    void addWithoutPictureFolder();
    void harvestFolderIsPrivate();
    void symbolicLinkRefused();
    void otherOwnerRefused();
};

void TestFrmToolsHarvest::twoOpenings()
{
    HarvestFixture h;
    for (int i = 0; i < 10; ++i)
        h.cached(QStringLiteral("first%1.png").arg(i),
                 encoded(96, 96, "PNG", QColor(i * 20, 0, 0)));
    h.open();
    QCOMPARE(QDir(h.harvest).entryList(QDir::Files).size(), 10);
    const QByteArray firstDvn5 = contentOf(h.harvest + QStringLiteral("/dvn5.jpg"));
    const QByteArray firstDvn11 = contentOf(h.harvest + QStringLiteral("/dvn11.jpg"));

    h.clearCache();
    for (int i = 0; i < 3; ++i)
        h.cached(QStringLiteral("second%1.bmp").arg(i),
                 encoded(96, 96, "BMP", QColor(0, i * 50, 0)));
    auto tools = h.open();

    // dvn2 to dvn4 overwritten by the second run, dvn5 to dvn11 left from the first.
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(contentOf(QStringLiteral("%1/dvn%2.jpg").arg(h.harvest).arg(i + 2)),
                 contentOf(QStringLiteral("%1/second%2.bmp").arg(h.cache).arg(i)));
    }
    QCOMPARE(contentOf(h.harvest + QStringLiteral("/dvn5.jpg")), firstDvn5);
    QCOMPARE(contentOf(h.harvest + QStringLiteral("/dvn11.jpg")), firstDvn11);
    // Sorted by name: dvn10.jpg before dvn2.jpg.
    const QStringList listed = listTexts(tools->lstimages);
    QCOMPARE(listed.size(), 10);
    QCOMPARE(listed.mid(0, 3),
             QStringList({QStringLiteral("dvn10.jpg"), QStringLiteral("dvn11.jpg"),
                          QStringLiteral("dvn2.jpg")}));
    QVERIFY(h.f.dialogs.messages().isEmpty());
}

void TestFrmToolsHarvest::listing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("listed");
    QTest::newRow("PNG 96 x 96") << encoded(96, 96, "PNG") << true;
    QTest::newRow("GIF 96 x 96") << gif(96, 96) << true;
    QTest::newRow("BMP 96 x 96") << encoded(96, 96, "BMP") << true;
    QTest::newRow("JPEG 96 x 96") << encoded(96, 96, "JPEG") << true;
    QTest::newRow("PNG 95 x 96") << encoded(95, 96, "PNG") << false;
    QTest::newRow("JPEG 96 x 97") << encoded(96, 97, "JPEG") << false;
    QTest::newRow("GIF 96 x 48") << gif(96, 48) << false;
    QTest::newRow("unknown format") << QByteArray("96 x 96, honestly") << false;
    QTest::newRow("empty file") << QByteArray() << false;
    // Bit depth 64 with four samples: a depth that does not fit in a byte.
    QByteArray overflow = encoded(96, 96, "PNG");
    overflow[24] = 64;
    overflow[25] = 6;
    QTest::newRow("depth overflow") << overflow << false;
}

void TestFrmToolsHarvest::listing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, listed);
    HarvestFixture h;
    h.cached(QStringLiteral("a"), bytes);
    h.cached(QStringLiteral("z.png"), encoded(96, 96, "PNG")); // read after the first
    auto tools = h.open();
    const QStringList expected =
        listed ? QStringList({QStringLiteral("dvn2.jpg"), QStringLiteral("dvn3.jpg")})
               : QStringList(QStringLiteral("dvn3.jpg"));
    QCOMPARE(listTexts(tools->lstimages), expected);
    QVERIFY(!tools->lstimages->isHidden());
    // Every file was copied, listed or not.
    QCOMPARE(contentOf(h.harvest + QStringLiteral("/dvn2.jpg")), bytes);
    QVERIFY(h.f.dialogs.messages().isEmpty());
}

void TestFrmToolsHarvest::missingCacheCountsAsEmpty()
{
    HarvestFixture h;
    auto tools = h.open();
    QVERIFY(h.f.dialogs.messages().isEmpty());
    QVERIFY(QFileInfo(h.harvest).isDir());
    QCOMPARE(tools->lstimages->count(), 0);
    QVERIFY(!tools->lstimages->isHidden());
}

void TestFrmToolsHarvest::failedCopyGoesOn()
{
    HarvestFixture h;
    h.cached(QStringLiteral("a.png"), encoded(96, 96, "PNG"));
    h.cached(QStringLiteral("b.png"), encoded(96, 96, "PNG"));
    h.cached(QStringLiteral("c.png"), encoded(96, 96, "PNG"));
    // A folder in the way of the second copy.
    QVERIFY(QDir().mkpath(h.harvest + QStringLiteral("/dvn3.jpg")));
    auto tools = h.open();
    QCOMPARE(h.f.dialogs.messages().size(), 1);
    QVERIFY(h.f.dialogs.messages().first().text.contains(QStringLiteral("b.png")));
    QVERIFY(!h.f.dialogs.messages().first().text.contains(QStringLiteral("a.png")));
    QCOMPARE(listTexts(tools->lstimages),
             QStringList({QStringLiteral("dvn2.jpg"), QStringLiteral("dvn4.jpg")}));
}

void TestFrmToolsHarvest::previewFollowsTheClickedItem()
{
    HarvestFixture h;
    h.cached(QStringLiteral("a.png"), encoded(96, 96, "PNG", Qt::red));
    h.cached(QStringLiteral("b.gif"), gif(96, 96));
    auto tools = h.open();
    // A freshly filled list has no current item: nothing previewed.
    QVERIFY(tools->imgshow->picture().isNull());
    tools->show();
    QVERIFY(QTest::qWaitForWindowExposed(tools.get()));
    QListWidget* list = tools->lstimages;
    const QPoint first = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    QVERIFY(list->item(0)->isSelected());
    QVERIFY(!tools->imgshow->picture().isNull());
    const QSize shown = tools->imgshow->picture().size();
    QCOMPARE(QColor(tools->imgshow->picture().pixel(shown.width() / 2, shown.height() / 2)),
             QColor(Qt::red));

    // The same item again: deselected, yet previewed again.
    tools->imgshow->clearPicture();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    QVERIFY(!list->item(0)->isSelected());
    QVERIFY(!tools->imgshow->picture().isNull());

    // The GIF written here is one the picture loader decodes too.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QCOMPARE(QColor(tools->imgshow->picture().pixel(shown.width() / 2, shown.height() / 2)),
             QColor(0, 0x80, 0x80));
}

void TestFrmToolsHarvest::addNothingSelected()
{
    HarvestFixture h;
    h.cached(QStringLiteral("a.png"), encoded(96, 96, "PNG"));
    auto tools = h.open();
    // Added behind the main window's back: the list is rebuilt from the folder.
    h.f.env.writeFile(QStringLiteral("pictures/later.jpg"), encoded(8, 8, "JPEG"));
    tools->cmdadd->click();
    QCOMPARE(h.f.dialogs.messages().size(), 1);
    const FakeDialogs::Message message = h.f.dialogs.messages().first();
    QCOMPARE(message.icon, Dialogs::Icon::None);
    QCOMPARE(message.title, QStringLiteral("Dorvane"));
    QCOMPARE(message.text, h.f.language->GetLangString(QStringLiteral("0004")));
    QVERIFY(!message.text.isEmpty());
    QCOMPARE(h.f.window->lstimages->files().names(),
             QStringList({QStringLiteral("later.jpg"), QStringLiteral("own.png")}));
    QCOMPARE(QDir(h.pictures).entryList(QDir::Files).size(), 2);
}

void TestFrmToolsHarvest::addSelected_data()
{
    QTest::addColumn<QString>("inTheWay"); // "": nothing, "file": an older dvn3.jpg, "folder"
    QTest::addColumn<int>("copied");
    QTest::newRow("three new pictures") << "" << 3;
    QTest::newRow("over an existing name") << "file" << 3;
    QTest::newRow("one copy fails") << "folder" << 2;
}

void TestFrmToolsHarvest::addSelected()
{
    QFETCH(QString, inTheWay);
    QFETCH(int, copied);
    HarvestFixture h;
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
        h.cached(QString::fromLatin1(name), encoded(96, 96, "PNG", QColor(name[0], 10, 10)));
    auto tools = h.open();
    const QString inFolder = h.pictures + QStringLiteral("/dvn3.jpg");
    if (inTheWay == QLatin1String("file"))
        h.f.env.writeFile(QStringLiteral("pictures/dvn3.jpg"), "added on an earlier day");
    else if (inTheWay == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(inFolder));
    // dvn2, dvn3 and dvn5 of dvn2..dvn5.
    for (int row : {0, 1, 3})
        tools->lstimages->item(row)->setSelected(true);

    tools->cmdadd->click();

    const QList<FakeDialogs::Message> messages = h.f.dialogs.messages();
    QCOMPARE(messages.size(), copied == 3 ? 1 : 2);
    if (copied != 3) {
        QVERIFY(messages.first().text.contains(QStringLiteral("dvn3.jpg")));
        QVERIFY(QFileInfo(inFolder).isDir());
    } else {
        QCOMPARE(contentOf(inFolder), contentOf(h.harvest + QStringLiteral("/dvn3.jpg")));
    }
    const FakeDialogs::Message& count = messages.last();
    QCOMPARE(count.icon, Dialogs::Icon::Information);
    QCOMPARE(count.title, h.f.language->GetLangString(QStringLiteral("0003")));
    QCOMPARE(count.text, QString::number(copied) + QStringLiteral("  ") +
                             h.f.language->GetLangString(QStringLiteral("0002")));
    QVERIFY(count.text.startsWith(QStringLiteral("%1  p").arg(copied)));
    for (const char* name : {"dvn2.jpg", "dvn5.jpg"}) {
        QCOMPARE(contentOf(h.pictures + QLatin1Char('/') + QLatin1String(name)),
                 contentOf(h.harvest + QLatin1Char('/') + QLatin1String(name)));
    }
    QVERIFY(!QFile::exists(h.pictures + QStringLiteral("/dvn4.jpg")));
    // The main window's list shows the pictures of the folder.
    QStringList expected = {QStringLiteral("dvn2.jpg"), QStringLiteral("dvn5.jpg"),
                            QStringLiteral("own.png")};
    if (copied == 3)
        expected.insert(1, QStringLiteral("dvn3.jpg"));
    QCOMPARE(h.f.window->lstimages->files().names(), expected);
}

void TestFrmToolsHarvest::addWithoutPictureFolder()
{
    HarvestFixture h;
    h.cached(QStringLiteral("a.png"), encoded(96, 96, "PNG"));
    auto tools = h.open();
    h.f.window->txtpath->setText(h.f.env.root() + QStringLiteral("/gone"));
    tools->lstimages->item(0)->setSelected(true);
    tools->cmdadd->click();
    const QList<FakeDialogs::Message> messages = h.f.dialogs.messages();
    QCOMPARE(messages.size(), 2);
    QVERIFY(messages.first().text.contains(QStringLiteral("/gone")));
    QVERIFY(messages.last().text.startsWith(QStringLiteral("0  ")));
    QVERIFY(!QFile::exists(h.f.env.root() + QStringLiteral("/gone")));
    QCOMPARE(h.f.window->lstimages->files().names(), QStringList(QStringLiteral("own.png")));
}

void TestFrmToolsHarvest::harvestFolderIsPrivate()
{
    HarvestFixture h;
    h.cached(QStringLiteral("a.png"), encoded(96, 96, "PNG"));
    h.open();
    struct stat info = {};
    QCOMPARE(::lstat(QFile::encodeName(h.harvest).constData(), &info), 0);
    QVERIFY(S_ISDIR(info.st_mode));
    QCOMPARE(info.st_mode & 0777, mode_t(0700));
}

void TestFrmToolsHarvest::symbolicLinkRefused()
{
    HarvestFixture h;
    h.cached(QStringLiteral("a.png"), encoded(96, 96, "PNG"));
    const QString elsewhere = h.f.env.makeDir(QStringLiteral("elsewhere"));
    // A picture already there must not be listed from the link either.
    h.f.env.writeFile(QStringLiteral("elsewhere/dvn9.jpg"), encoded(96, 96, "PNG"));
    QVERIFY(QFile::link(elsewhere, h.harvest));
    auto tools = h.open();
    QCOMPARE(h.f.dialogs.messages().size(), 1);
    QVERIFY(h.f.dialogs.messages().first().text.contains(QStringLiteral("symbolic link")));
    QCOMPARE(QDir(elsewhere).entryList(QDir::Files), QStringList(QStringLiteral("dvn9.jpg")));
    QCOMPARE(tools->lstimages->count(), 0);
    QVERIFY(!tools->lstimages->isHidden());
}

void TestFrmToolsHarvest::otherOwnerRefused()
{
    if (::geteuid() != 0)
        QSKIP("Handing a folder to another user needs root (chown); this test runs as a user.");
    HarvestFixture h;
    h.cached(QStringLiteral("a.png"), encoded(96, 96, "PNG"));
    QVERIFY(QDir().mkpath(h.harvest));
    h.f.env.writeFile(QStringLiteral("tmp/dvn/dvn9.jpg"), encoded(96, 96, "PNG"));
    QCOMPARE(::chown(QFile::encodeName(h.harvest).constData(), 65534, 65534), 0);
    auto tools = h.open();
    QCOMPARE(h.f.dialogs.messages().size(), 1);
    QVERIFY(h.f.dialogs.messages().first().text.contains(QStringLiteral("another user")));
    QCOMPARE(QDir(h.harvest).entryList(QDir::Files), QStringList(QStringLiteral("dvn9.jpg")));
    QCOMPARE(tools->lstimages->count(), 0);
}

QTEST_MAIN(TestFrmToolsHarvest)
#include "tst_frmtools_harvest.moc"
