// The settings store: names in any case, one spelling, odd texts, files it must not rewrite.
#include "Table.h"
#include "TestEnvironment.h"
#include "core/settings/Settings.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Entry = Settings::Entry;

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    // A file (none: a folder) read as "seconds|as a number|colour", " kept" if it is not written.
    void file_data()
    {
        columns<QByteArray, QString>("file", "read");
        const char* kept = "30|30|16054520 kept"; // the defaults, the file as it was
        row("names in another case", "[TIMER]\nTimes=45\n[Color]\ncode=255\n"_ba, "45|45|255");
        row("own spelling first", "[Timer]\ntimes=1\n[timer]\ntimes=2\n"_ba, "2|2|16054520");
        row("a list is one text", "[timer]\ntimes=4, 5\n"_ba, "4, 5|30|16054520");
        row("not a number; a fraction is no colour", "[timer]\ntimes=1e999\n[color]\ncode=1.5"_ba,
            "1e999|30|16054520");
        row("a negative colour is the system's", "[color]\ncode=-2147483640"_ba,
            "30|30|2147483656");
        row("binary", QByteArray("\0\1garbage\xff[[=]]\n", 16), kept);
        row("not UTF-8", "[imagepath]\npath=/caf\xe9\n[timer]\ntimes=45\n"_ba, kept);
        row("a line without =", "[timer]\ntimes=45\nnonsense\n"_ba, kept);
        row("an open section", "[timer\ntimes=45\n"_ba, kept);
        row("a folder", ""_ba, kept);
    }
    void file()
    {
        const auto [file, read] = fetch<QByteArray, QString>("file", "read");
        TestEnvironment env;
        const QString path = file.isEmpty() ? env.makeDir("config/Dorvane/Dorvane.ini")
                                            : env.writeFile("config/Dorvane/Dorvane.ini", file);
        Settings settings;
        QCOMPARE(settings.filePath(), path);
        const quint32 colour = settings.readColor();
        const QString seen = u"%1|%2|%3"_s.arg(settings.read(Entry::TimerSeconds))
                                 .arg(settings.readNumber(Entry::TimerSeconds))
                                 .arg(colour);
        const Result<void> write = settings.write(Entry::TimerSeconds, "10");
        const bool written = write.ok();
        QCOMPARE(seen + (written ? "" : " kept"), read);
        // A file that could not be read whole is never rewritten; others keep one spelling.
        QCOMPARE(TestEnvironment::read(path) == file, !written);
        QCOMPARE(write.error().contains(path), !written);
        QCOMPARE(settings.readColor(), colour);
        QCOMPARE(TestEnvironment::read(path).toLower().count("times=10"), int(written));
        QVERIFY(!written || TestEnvironment::read(path).toLower().count("times=") == 1);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
