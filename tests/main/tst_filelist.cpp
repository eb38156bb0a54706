#include "common/FileList.h"
#include "common/FileListBox.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <random>

// The listing's order against a plain reference: case-folded names, then the names themselves.
// The names are drawn so that the packed sort meets long shared beginnings, every ending of a
// key inside a packed word, units beyond one byte, and names that differ only in case.

namespace {

QStringList referenceOrder(QStringList names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const QString fa = a.toCaseFolded();
        const QString fb = b.toCaseFolded();
        return fa != fb ? fa < fb : a < b;
    });
    return names;
}

// count distinct names from stems and alphabet, each ending in ".png".
QStringList drawNames(int count, const QStringList& stems, const QString& alphabet, unsigned seed)
{
    std::mt19937 random(seed);
    QStringList names;
    while (names.size() < count) {
        QString name = stems.at(static_cast<qsizetype>(random() % stems.size()));
        const int extra = static_cast<int>(random() % 20);
        for (int i = 0; i < extra; ++i)
            name += alphabet.at(static_cast<qsizetype>(random() % alphabet.size()));
        name += QStringLiteral(".png");
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

bool makeFiles(const QString& folder, const QStringList& names)
{
    for (const QString& name : names) {
        QFile file(folder + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

} // namespace

class TestFileList : public QObject
{
    Q_OBJECT
private slots:
    void orderMatchesReference_data();
    void orderMatchesReference();
    void copiesAreIndependent();
    void boxRowsFollowTheList();
};

void TestFileList::orderMatchesReference_data()
{
    QTest::addColumn<QStringList>("names");
    const QString ascii = QStringLiteral("aAbB_ 09.-zZ");
    QTest::newRow("shared beginning longer than a packed word") << drawNames(
        600, {QStringLiteral("IMG_20230512_1"), QStringLiteral("img_20230512_1")}, ascii, 1);
    QStringList shared = drawNames(300, {QStringLiteral("photo")}, ascii, 2);
    shared.append(QStringLiteral("photo.png"));
    shared.removeDuplicates();
    QTest::newRow("one name is the shared beginning") << shared;
    QTest::newRow("short stems, keys ending inside a word") << drawNames(
        800, {QStringLiteral("a"), QStringLiteral("B"), QStringLiteral("ab")}, ascii, 3);
    QTest::newRow("accented letters fit a byte") << drawNames(
        500,
        {QStringLiteral("\u00C9t\u00E9"), QStringLiteral("ete"), QStringLiteral("\u00E9T\u00C9")},
        QStringLiteral("eE\u00E9\u00C9\u00E0\u00C0"), 4);
    // Their low bytes sort before ASCII letters, the whole units after.
    QTest::newRow("letters just beyond a byte")
        << drawNames(500, {QStringLiteral("\u0101"), QStringLiteral("a"), QStringLiteral("\u03A3")},
                     QStringLiteral("\u0100\u0101zZa\u0151\u03C3\u03C2"), 5);
    QTest::newRow("CJK and Latin")
        << drawNames(300, {QStringLiteral("\u674E"), QStringLiteral("Li")},
                     QStringLiteral("\u674E\u4F1FlLi"), 6);
    QTest::newRow("names differing only in case") << QStringList{
        QStringLiteral("Same.png"), QStringLiteral("same.png"), QStringLiteral("SAME.png"),
        QStringLiteral("sAmE.PNG"), QStringLiteral("same.pnG")};
}

void TestFileList::orderMatchesReference()
{
    QFETCH(QStringList, names);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(makeFiles(folder.path(), names));
    FileList files(QStringLiteral("*.png"));
    files.setPath(folder.path());
    const QStringList listed = files.names();
    QCOMPARE(listed.size(), names.size());
    QCOMPARE(listed, referenceOrder(names));
    // Listing the same folder twice gives the same order, ties included.
    files.refresh();
    QCOMPARE(files.names(), listed);
}

void TestFileList::copiesAreIndependent()
{
    QTemporaryDir folder;
    QVERIFY(makeFiles(folder.path(), {"a.png", "b.png", "c.png"}));
    FileList files(QStringLiteral("*.png"));
    files.setPath(folder.path());
    FileList copy = files;
    copy.removeAt(1);
    copy.removeAt(5);
    QCOMPARE(copy.names(), QStringList({"a.png", "c.png"}));
    QCOMPARE(files.names(), QStringList({"a.png", "b.png", "c.png"}));
    QCOMPARE(files.name(3), QString());
    QCOMPARE(files.name(-1), QString());
    // A folder that went away lists nothing.
    QVERIFY(folder.remove());
    files.refresh();
    QCOMPARE(files.count(), 0);
}

void TestFileList::boxRowsFollowTheList()
{
    QTemporaryDir folder;
    QVERIFY(makeFiles(folder.path(), {"a.png", "b.png", "c.png"}));
    FileList files(QStringLiteral("*.png"));
    files.setPath(folder.path());
    FileListBox box;
    QSignalSpy changed(&box, &FileListBox::currentRowChanged);
    box.setFiles(files);
    QCOMPARE(box.count(), 3);
    QCOMPARE(box.currentRow(), -1);
    QCOMPARE(box.currentText(), QString());
    QCOMPARE(changed.count(), 0);

    box.setCurrentRow(2);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.last().at(0).toInt(), 2);
    QCOMPARE(box.currentText(), QStringLiteral("c.png"));
    QCOMPARE(box.selectionModel()->selectedIndexes().size(), 1);

    box.removeRow(0);
    QCOMPARE(box.files().names(), QStringList({"b.png", "c.png"}));
    QCOMPARE(box.currentText(), QStringLiteral("c.png"));
    QCOMPARE(box.model()->data(box.model()->index(0, 0)).toString(), QStringLiteral("b.png"));

    // A new listing starts with nothing current, and says nothing.
    changed.clear();
    box.setFiles(files);
    QCOMPARE(box.count(), 3);
    QCOMPARE(box.currentRow(), -1);
    QCOMPARE(changed.count(), 0);
}

QTEST_MAIN(TestFileList)
#include "tst_filelist.moc"
