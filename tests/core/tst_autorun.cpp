// The log-on entry: where it goes, what removing it leaves, what a launcher reads from it.
#include "Table.h"
#include "TestEnvironment.h"
#include "core/settings/AutoRun.h"

#include <QRegularExpression>
#include <QTest>

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

class TestAutoRun : public QObject
{
    Q_OBJECT
private slots:
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

QTEST_MAIN(TestAutoRun)
#include "tst_autorun.moc"
