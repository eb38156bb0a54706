// Which entries of a folder are listed, in which order, and the list box showing them.
#include "Table.h"
#include "TestEnvironment.h"
#include "core/rotation/Rotation.h"
#include "ui/widgets/FileListBox.h"
#include <sys/stat.h>

class TestFileList : public QObject
{
    Q_OBJECT
private slots:
    void listing_data()
    {
        // Entries ("name/": a folder, "name|": a FIFO) listed ("=": all, in the reference order).
        columns<QString, QString>("entries", "listed");
        row("picture kinds, any case, only at the end",
            "a.JPG b.jpeg c.PNG d.jpge e.txt x.bmp y.Gif Été.JPG ñ.Png a.png.txt b.pngx png",
            "a.JPG c.PNG d.jpge x.bmp y.Gif Été.JPG ñ.Png");
        row("hidden, folders, FIFOs, broken links left out; links followed",
            ".h.png sub.png/ p.png| r.png link.png->r.png bad.png->no.png dir.png->sub.png",
            "link.png r.png");
        row("case folded, Z after a, ties by exact text", "Zoo.png b.png a.png A.png C.png", "=");
        row("long shared beginnings",
            "IMG_20230512_10.png img_20230512_1.png IMG_20230512_1a.png img_20230512_1B.png", "=");
        row("accented", "Été.png ete.png éTÉ.png Eta.png eté.png", "=");
        row("beyond a byte", "李a.png 李b.png Li.png 伟.png li.png Σa.png σb.png ā.png", "=");
    }
    void listing()
    {
        const auto [entries, listed] = fetch<QString, QString>("entries", "listed");
        TestEnvironment env;
        const QString folder = env.makeDir("pics") + '/';
        for (const QString& entry : entries.split(' ')) {
            if (const QStringList link = entry.split("->"); link.size() == 2)
                QFile::link(link[1], folder + link[0]);
            else if (entry.endsWith('/'))
                env.makeDir("pics/" + entry);
            else if (entry.endsWith('|'))
                mkfifo(QFile::encodeName(folder + entry.chopped(1)).constData(), 0600);
            else
                env.writeFile("pics/" + entry, "x");
        }
        QStringList expected = (listed == "=" ? entries : listed).split(' ');
        std::ranges::sort(expected, {},
                          [](const QString& a) { return std::pair(a.toCaseFolded(), a); });
        FileList files(Rotation::PicturePattern);
        files.setPath(folder);
        QCOMPARE(files.names(), expected);
        QVERIFY(FileList::list(folder, "*.*").size() >= expected.size()); // every file
        // A copy is a list of its own; the box's rows follow the list it shows.
        FileList copy = files;
        copy.removeAt(0);
        FileListBox box;
        box.setFiles(copy);
        box.removeRow(box.count() - 1);
        const QStringList shown = expected.mid(1, expected.size() - 2);
        QCOMPARE(box.files().names() + files.names(), shown + expected);
        QCOMPARE(box.model()->index(0, 0).data().toString(), shown.value(0));
    }
};

QTEST_MAIN(TestFileList)
#include "tst_filelist.moc"
