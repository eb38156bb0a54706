#include "common/TestEnvironment.h"
#include "standin/ContactList.h"
#include "standin/MessengerAccount.h"
#include "standin/MessengerCache.h"
#include "standin/PicturePainter.h"
#include "standin/SamplePictures.h"
#include "standin/StandinWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QSet>
#include <QTest>
#include <QTreeWidget>

using namespace standin;

namespace {

QStringList flatten(const QList<Contact>& contacts)
{
    QStringList out;
    for (const Contact& contact : contacts)
        out << contact.signinName + QLatin1Char('|') + contact.friendlyName;
    return out;
}

// Reads a picture by its content, as a harvest would, whatever its name says.
struct ReadPicture
{
    QByteArray format;
    QSize size;
};

ReadPicture readByContent(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format(); // must be asked before reading
    const QImage image = reader.read();
    return {image.isNull() ? QByteArray() : format, image.size()};
}

// The format a file name's extension claims.
QByteArray formatNamedBy(const QString& fileName)
{
    const QByteArray suffix = QFileInfo(fileName).suffix().toLower().toLatin1();
    return suffix == "jpg" ? QByteArray("jpeg") : suffix;
}

QStringList picturesIn(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    names.removeAll(QLatin1String(MessengerCache::IndexFileName));
    return names;
}

} // namespace

class TestStandinParts : public QObject
{
    Q_OBJECT

private slots:
    void parseContacts_data();
    void parseContacts();

    void refillRemovesOnlyItsOwnPictures();
    void tamperedIndexCannotReachOutside();
    void unwritableCacheIsReported();

    void samplePictures();
    void initials_data();
    void initials();

    void windowFollowsThePicture();
};

void TestStandinParts::parseContacts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("problems");

    QTest::newRow("plain") << QByteArray("a@x\tAnn\nb@x\tBob\n")
                           << QStringList{"a@x|Ann", "b@x|Bob"} << QStringList();
    QTest::newRow("no final newline")
        << QByteArray("a@x\tAnn") << QStringList{"a@x|Ann"} << QStringList();
    QTest::newRow("empty file") << QByteArray() << QStringList() << QStringList();
    QTest::newRow("byte-order mark and CR-LF")
        << QByteArray("\xEF\xBB\xBF"
                      "a@x\tZo\xC3\xAB\r\nb@x\tBob\r\n")
        << QStringList{QStringLiteral("a@x|Zoë"), "b@x|Bob"} << QStringList();
    QTest::newRow("blank lines ignored, numbering kept")
        << QByteArray("\n  \na@x\tAnn\n\nbroken\n") << QStringList{"a@x|Ann"}
        << QStringList{"line 5"};
    QTest::newRow("nickname keeps later tabs and spaces")
        << QByteArray(" a@x \t Ann\tthe second \n") << QStringList{"a@x| Ann\tthe second "}
        << QStringList();
    QTest::newRow("empty nickname kept")
        << QByteArray("a@x\t\n") << QStringList{"a@x|"} << QStringList();
    QTest::newRow("faulty lines left out, the rest kept")
        << QByteArray("no tab here\n\tNobody\nbad\xff\xfe@x\tX\nc@x\tCtl\x01\nd@x\tDee\n")
        << QStringList{"d@x|Dee"} << QStringList{"line 1", "line 2", "line 3", "line 4"};
    QTest::newRow("duplicate nicknames both kept")
        << QByteArray("a@x\tSam\nb@x\tSam\n") << QStringList{"a@x|Sam", "b@x|Sam"} << QStringList();
}

void TestStandinParts::parseContacts()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, problems);

    QStringList reported;
    const ContactList list = ContactList::parse(text, &reported);
    QCOMPARE(flatten(list.contacts()), expected);
    QCOMPARE(reported.size(), problems.size());
    for (qsizetype i = 0; i < problems.size(); ++i)
        QVERIFY2(reported.at(i).startsWith(problems.at(i) + QLatin1Char(':')),
                 qPrintable(reported.at(i)));
}

void TestStandinParts::refillRemovesOnlyItsOwnPictures()
{
    TestEnvironment env;
    const QString folder = env.makeDir(QStringLiteral("tmp/MessengerCache"));
    MessengerCache cache(folder);
    QVERIFY(cache.fill(ContactList::samples().contacts()));
    QCOMPARE(picturesIn(folder).size(), 8);
    env.writeFile(QStringLiteral("tmp/MessengerCache/not-ours.png"), "someone else's");

    const QList<Contact> two = ContactList::samples().contacts().first(2);
    QVERIFY(cache.fill(two));
    QStringList expected{QStringLiteral("not-ours.png")};
    for (const MessengerCache::Entry& entry : cache.entries())
        expected << entry.fileName;
    expected.sort();
    QCOMPARE(picturesIn(folder), expected);

    QVERIFY(cache.fill({}));
    QCOMPARE(picturesIn(folder), QStringList{QStringLiteral("not-ours.png")});
}

void TestStandinParts::tamperedIndexCannotReachOutside()
{
    TestEnvironment env;
    const QString victim = env.writeFile(QStringLiteral("tmp/victim.png"), "keep me");
    const QString absoluteVictim = env.writeFile(QStringLiteral("elsewhere.png"), "keep me");
    env.writeFile(QStringLiteral("tmp/MessengerCache/index.dat"),
                  "../victim.png\tx\n" + absoluteVictim.toUtf8() + "\tx\n..\tx\n\tx\n");

    MessengerCache cache(env.temp() + QStringLiteral("/MessengerCache"));
    QVERIFY(cache.fill(ContactList::samples().contacts().first(1)));
    QVERIFY(QFileInfo::exists(victim));
    QVERIFY(QFileInfo::exists(absoluteVictim));
}

void TestStandinParts::unwritableCacheIsReported()
{
    TestEnvironment env;
    // A file where the folder should be: the folder cannot be made.
    const QString blocker = env.writeFile(QStringLiteral("tmp/MessengerCache"), "a file");
    MessengerCache cache(blocker);
    QStringList problems;
    QVERIFY(!cache.fill(ContactList::samples().contacts(), &problems));
    QVERIFY(!problems.isEmpty());
    QVERIFY(cache.entries().isEmpty());
}

void TestStandinParts::samplePictures()
{
    TestEnvironment env;
    const QString folder = env.root() + QStringLiteral("/images");
    QStringList problems;
    QVERIFY2(SamplePictures::writeAll(folder, &problems),
             qPrintable(problems.join(QLatin1Char('\n'))));

    const QStringList names = QDir(folder).entryList(QDir::Files);
    QVERIFY(names.size() >= 6 && names.size() <= 8);
    QSet<QByteArray> formats;
    for (const QString& name : names) {
        const ReadPicture read = readByContent(QDir(folder).filePath(name));
        QVERIFY2(!read.format.isEmpty(), qPrintable(name));
        // The program's folder listing goes by extension, so it must tell the truth here.
        QCOMPARE(formatNamedBy(name), read.format);
        QVERIFY2(read.size.width() >= 96 && read.size.width() <= 256 && read.size.height() >= 96 &&
                     read.size.height() <= 256,
                 qPrintable(name));
        formats.insert(read.format);
    }
    QCOMPARE(formats, (QSet<QByteArray>{"png", "gif", "bmp", "jpeg"}));
}

void TestStandinParts::initials_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("initial");

    QTest::newRow("plain") << QStringLiteral("ada") << QStringLiteral("A");
    QTest::newRow("accented") << QStringLiteral("Ångström") << QStringLiteral("Å");
    QTest::newRow("combining accent stays with its letter")
        << QStringLiteral("e\u0301mile") << QStringLiteral("E\u0301");
    QTest::newRow("leading punctuation skipped")
        << QStringLiteral("(away) Noor") << QStringLiteral("A");
    QTest::newRow("Arabic") << QStringLiteral("كريم") << QStringLiteral("ك");
    QTest::newRow("Han") << QStringLiteral("李伟") << QStringLiteral("李");
    QTest::newRow("no letters") << QStringLiteral("-- !") << QStringLiteral("?");
    QTest::newRow("empty") << QString() << QStringLiteral("?");
}

void TestStandinParts::initials()
{
    QFETCH(QString, name);
    QFETCH(QString, initial);
    QCOMPARE(PicturePainter::initialOf(name), initial);
}

void TestStandinParts::windowFollowsThePicture()
{
    TestEnvironment env;
    const QString big = env.root() + QStringLiteral("/big.png");
    QVERIFY(
        PicturePainter::paint(QStringLiteral("b"), QStringLiteral("B"), QSize(600, 300)).save(big));

    MessengerAccount account(QStringLiteral("you@x"), true, ContactList::samples());
    StandinWindow window(&account);
    QCOMPARE(window.windowTitle(), QStringLiteral("Messenger stand-in"));
    QCOMPARE(window.contactView()->topLevelItemCount(), 8);
    QCOMPARE(window.contactView()->topLevelItem(1)->text(1), QStringLiteral("Zoë Ångström"));

    QVERIFY(account.setDisplayPicture(big));
    QCOMPARE(window.pathLabel()->text(), big);
    QCOMPARE(window.counterLabel()->text(), QStringLiteral("Changes: 1"));
    const QPixmap shown = window.pictureLabel()->pixmap();
    QCOMPARE(shown.size(), QSize(192, 96));

    MessengerAccount signedOut(QStringLiteral("you@x"), false, ContactList::samples());
    StandinWindow empty(&signedOut);
    QCOMPARE(empty.contactView()->topLevelItemCount(), 0);
}

QTEST_MAIN(TestStandinParts)
#include "tst_standin_parts.moc"
