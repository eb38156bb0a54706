// Reading language files (INI rules to 64000 bytes, line by line above) and writing into them,
// and names put into their sentences.
#include "Table.h"
#include "TestEnvironment.h"
#include "core/language/BidiIsolate.h"
#include "core/language/LangFile.h"

using namespace Qt::StringLiterals;

// The content padded with a last comment line to exactly size bytes: line by line by default.
static QByteArray padded(const QByteArray& content, qsizetype size = LangFile::IniSizeLimit + 1)
{
    return content + "\r\n;" + QByteArray(size - content.size() - 3, 'x');
}

class TestLangFile : public QObject
{
    Q_OBJECT
private slots:
    void read_data() // the value of k in section S
    {
        columns<QByteArray, QString>("content", "value");
        const QString a600(600, 'a');
        row("ini: names in any case, quotes dropped", "[s]\r\nK=\"x\""_ba, "x");
        row("ini: blanks dropped, quoted ones kept", " [ S ] \r\n k = \" a \" \t"_ba, " a ");
        row("ini: the first section of a name only", "[S]\r\nj=1\r\n[T]\r\n[s]\r\nk=2"_ba, "");
        row("ini: the first key, comments skipped", "[S]\r\n;k=0\r\nk=1\r\nK=2"_ba, "1");
        row("ini: byte order mark", "\xEF\xBB\xBF[S]\r\nk=1"_ba, "1");
        row("ini: Latin-1", "[S]\r\nk=Fen\xEAtre"_ba, "Fenêtre");
        row("ini: cut to 511", "[S]\r\nk=" + a600.toUtf8(), a600.first(511));
        row("ini: 64000 bytes", padded("[S]\r\nk=Apply", 64000), "Apply");
        row("lines: 64001 bytes", padded("[S]\r\nk=Apply"), "ppl");
        row("lines: the first match, case-sensitive, sections ignored",
            padded("[A]\nK=\"0\"\nk=\"1\"\n[S]\nk=\"2\""), "1");
        row("lines: too short, no value", padded("k=x\r\nk=\"later\""), "<none>");
    }
    void read()
    {
        const auto [content, value] = fetch<QByteArray, QString>("content", "value");
        TestEnvironment env;
        QCOMPARE(LangFile::ReadLangValue(env.writeFile("x", content), "S", "k").valueOr("<none>"),
                 value);
    }
    // Before (empty: no file), "section|key|value" written, after ("<refused>": left alone).
    void write_data()
    {
        columns<QByteArray, QString, QByteArray>("before", "written", "after");
        const QByteArray ini = "[L]\r\n C = E\r\nO=1\r\n\r\n[M]\r\n";
        row("replace in place", ini, "l|c|F", "[L]\r\nC=F\r\nO=1\r\n\r\n[M]\r\n"_ba);
        row("add to the section", ini, "L|N|1", "[L]\r\n C = E\r\nO=1\r\nN=1\r\n\r\n[M]\r\n"_ba);
        row("add a section (LF, no last end)", "[A]\nk=1"_ba, "B|k|v", "[A]\nk=1\n[B]\nk=v\n"_ba);
        row("a key before the digit", "[S]\r\n1=a\r\n1"_ba, "S|2|b", "[S]\r\n1=a\r\n2=b\r\n1"_ba);
        row("create the file", ""_ba, "L|Current|English", "[L]\r\nCurrent=English\r\n"_ba);
        row("quote when needed", "[A]\r\nk=1\r\n;"_ba, "A|k| 'v' ", "[A]\r\nk=\" 'v' \"\r\n;"_ba);
        row("refused: a line break in the value", ini, "L|k|a\r\n[Evil]", "<refused>"_ba);
        row("refused: = in the key", ini, "L|a=b|v", "<refused>"_ba);
    }
    void write()
    {
        const auto [before, written, after] =
            fetch<QByteArray, QString, QByteArray>("before", "written", "after");
        TestEnvironment env;
        const QString path = before.isEmpty() ? env.path("new") : env.writeFile("old", before);
        const QStringList names = written.split('|');
        QCOMPARE(LangFile::WriteLangValue(path, names[0], names[1], names[2]).ok(),
                 after != "<refused>");
        QCOMPARE(TestEnvironment::read(path), after == "<refused>" ? before : after);
    }
    void isolate_data()
    {
        columns<QString, QString>("name", "inserted");
        row("Latin name", "Pidgin 2", ">Pidgin 2<");
        row("empty name: no marks", "", "");
        row("its own isolate kept", "a^b<c", ">a^b<c<");
        row("an isolate it leaves open is closed", "Pid^gin", ">Pid^gin<<");
        row("an end it did not open cannot close the isolate early", "Pid<gin<", ">Pidgin<");
    }
    void isolate()
    {
        const auto [name, inserted] = fetch<QString, QString>("name", "inserted");
        const auto marked = [](QString text) { // > first-strong, ^ right-to-left, < an end
            return text.replace('>', u'\u2068').replace('^', u'\u2067').replace('<', u'\u2069');
        };
        QCOMPARE(bidiIsolated(marked(name)), marked(inserted));
    }
};

QTEST_MAIN(TestLangFile)
#include "tst_langfile.moc"
