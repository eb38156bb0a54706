// The settings store (names in any case, one spelling, odd texts, files it must not rewrite) and
// the log-on entry (where it goes, what removing it leaves, what a launcher reads from it).
#include "Table.h"
#include "TestEnvironment.h"
#include "core/settings/AutoRun.h"
#include "core/settings/Settings.h"

using namespace Qt::StringLiterals;
using Entry = Settings::Entry;

// A launcher's reading of an Exec value of one argument, written apart from the program: string
// escapes, then one double-quoted word (\ escapes " ` $ \ in it), %% for %; or "<refused>".
static QString execArgument(const QString& value)
{
    QString text = QString(value).replace("\\\\", "\x01").replace("\\s", " ").replace("\\n", "\n");
    if (text.replace("\\t", "\t").replace("\\r", "\r").contains('\\'))
        return "<refused>"; // an escape strings do not have
    text.replace('\x01', '\\');
    static const QRegularExpression quotedWord(R"re(^"((?:[^"`$\\]|\\["`$\\])*)"$)re");
    const QRegularExpressionMatch word = quotedWord.match(text);
    QString arg = word.captured(1).replace(QRegularExpression(R"re(\\(.))re"), "\\1");
    if (!word.hasMatch() || QString(arg).remove("%%").contains('%'))
        return "<refused>"; // split, unquoted, or a field code where a plain path was meant
    return arg.replace("%%", "%");
}

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
        row("not numbers", "[timer]\ntimes=1e999\n[color]\ncode=1.5"_ba, "1e999|30|16054520");
        row("negative: a system colour", "[color]\ncode=-2147483640"_ba, "30|30|2147483656");
        row("a NUL byte", QByteArray("[timer]\ntimes=45\0\n", 18), kept);
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
        const quint32 colour = settings.chosenColor().value_or(16054520); // the default
        const QString seen = u"%1|%2|%3"_s.arg(settings.read(Entry::TimerSeconds))
                                 .arg(settings.readNumber(Entry::TimerSeconds))
                                 .arg(colour);
        const Result<void> write = settings.write(Entry::TimerSeconds, "10");
        QCOMPARE(seen + (write ? "" : " kept"), read);
        QCOMPARE(settings.chosenColor().value_or(16054520), colour);
        // A file that could not be read whole is never rewritten; others keep one spelling.
        const QByteArray after = TestEnvironment::read(path);
        QVERIFY(write ? after.toLower().count("times=") == 1 && after.toLower().contains("times=10")
                      : after == file && write.error().contains(path));
    }
    void awkwardFolders_data()
    {
        columns<QString>("folder");
        for (const char* folder :
             {"/opt/my  apps", " x", "/opt/say \"hi\"", "/opt/it's", "/opt/$HOME", "/opt/`id`",
              "/opt/a\\b", "/opt/a\\n", "/opt/a\\", "/opt/100%", "/opt/%f%%u", "/opt/a\tb",
              "/opt/a;b|c&d>e<f*?#~()", "/opt/Données العربية 李"})
            row(folder, QString(folder));
    }
    void awkwardFolders()
    {
        const auto [folder] = fetch<QString>("folder");
        TestEnvironment env;
        AutoRun autoRun;
        const QString data = AutoRun::runEntryData(folder, "dvn");
        QVERIFY(autoRun.AddRunEntry("dvn", data));
        // Refused: a name leading out of the folder, data that would add lines of its own.
        QVERIFY(!autoRun.AddRunEntry("../a", data) && !autoRun.AddRunEntry("a", data + "\nX"));
        const QByteArray entry = TestEnvironment::read(autoRun.machineDir() + "/dvn.desktop");
        QCOMPARE(entry.count('\n'), 6); // the data stays on its one line
        QCOMPARE(execArgument(QString(entry.trimmed()).section("\nExec=", 1)), folder + "/dvn");
    }
    // "per-machine entry|per-user entry" by their last lines; "stuck": a folder in the entry's
    // place (not removable), "file": a file in place of the per-machine folder (not writable).
    void placement_data()
    {
        columns<QString, bool, QString>("before", "add", "after");
        row("add: the old per-user one goes", "|Exec=old", true, "Exec=\"/new/dvn\"|");
        row("add: per-user as a fallback", "file|", true, "|Exec=\"/new/dvn\"");
        row("add replaces a mask", "stuck|Hidden=true", true, "|Exec=\"/new/dvn\"");
        row("remove from both", "Exec=old|Exec=old", false, "|");
        row("remove: mask a stuck one", "stuck|", false, "|Hidden=true");
    }
    void placement()
    {
        const auto [before, add, after] = fetch<QString, bool, QString>("before", "add", "after");
        TestEnvironment env;
        env.setVar("XDG_CONFIG_DIRS", (env.configDirs() + ":" + env.path("other")).toUtf8());
        const QString machine = before.section('|', 0, 0), user = before.section('|', 1);
        if (machine == "stuck")
            env.makeDir("xdg/autostart/dvn.desktop/x");
        else if (machine == "file")
            env.writeFile("xdg/autostart", "x");
        else if (!machine.isEmpty())
            env.writeFile("xdg/autostart/dvn.desktop", ("[Desktop Entry]\n" + machine).toUtf8());
        if (!user.isEmpty())
            env.writeFile("config/autostart/dvn.desktop", ("[Desktop Entry]\n" + user).toUtf8());
        AutoRun autoRun;
        QVERIFY(add ? autoRun.AddRunEntry("dvn", "\"/new/dvn\"") : autoRun.RemoveRunEntry("dvn"));
        const auto last = [](const QString& dir) { // the entry's last line
            return QString(TestEnvironment::read(dir + "/dvn.desktop")).trimmed().section('\n', -1);
        };
        QCOMPARE(last(autoRun.machineDir()) + '|' + last(autoRun.userDir()), after);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
