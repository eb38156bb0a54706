#include "common/TestEnvironment.h"
#include "language/LangFile.h"

#include <QFile>
#include <QTest>

namespace {

// Pads content with a trailing comment line to exactly size bytes.
QByteArray padded(QByteArray content, qsizetype size)
{
    content += "\r\n;";
    content += QByteArray(size - content.size(), 'x');
    return content;
}

QByteArray lineMode(const QByteArray& content)
{
    return padded(content, LangFile::IniSizeLimit + 1);
}

// The value, or a text no lookup gives, so that QCOMPARE shows both sides.
QString lookup(const QString& path, const char* section, const QString& key)
{
    return LangFile::ReadLangValue(path, QString::fromUtf8(section), key)
        .value_or(QStringLiteral("<no value>"));
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestLangFile : public QObject
{
    Q_OBJECT

private:
    QString file(const QByteArray& content)
    {
        return m_env.writeFile(QStringLiteral("lang/%1.lng").arg(++m_count), content);
    }

    TestEnvironment m_env;
    int m_count = 0;

private slots:
    void read_data();
    void read();
    void lineModeTooShort_data();
    void lineModeTooShort();
    void missingFile();
    void write_data();
    void write();
    void writeRefused_data();
    void writeRefused();
    void writeReadsBack_data();
    void writeReadsBack();
    void shippedFile_data();
    void shippedFile();
    void englishDesignedTexts();
};

void TestLangFile::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray two =
        "[frmMine]\r\nlstimages.Tag=\"one\"\r\n[frmTools]\r\nlstimages.Tag=\"two\"";
    const QByteArray apply = "[frmMine]\r\ncmdoptions.Caption=Apply\r\n";
    const QString a600(600, u'a');
    const QString pairAtCut = QString(510, u'a') + QStringLiteral("\U0001F600") + u'z';
    const QString pairBeforeCut = QString(509, u'a') + QStringLiteral("\U0001F600") + u'z';
    const auto row = [](const char* tag, const QByteArray& content, const char* section,
                        const char* key, const QString& expected) {
        QTest::newRow(tag) << content << QString::fromUtf8(section) << QString::fromUtf8(key)
                           << expected;
    };
    row("ini: unquoted", apply, "frmMine", "cmdoptions.Caption", "Apply");
    row("ini: quoted", "[frmMine]\r\ncmdoptions.Caption=\"Apply\"", "frmMine", "cmdoptions.Caption",
        "Apply");
    row("ini: names without case", "[FRMMINE]\r\nLBLPATH.caption=x", "frmMine", "lblpath.Caption",
        "x");
    row("ini: quoted blank kept", "[frmMine]\r\nfrmbackcolor.Caption=\"Background Color \"",
        "frmMine", "frmbackcolor.Caption", "Background Color ");
    row("ini: unquoted blank dropped", "[frmMine]\r\nfrmbackcolor.Caption=Background Color \t",
        "frmMine", "frmbackcolor.Caption", "Background Color");
    row("ini: blanks around names", " [ Strings ] \r\n  0001 =  \"hi\"  ", "Strings", "0001", "hi");
    row("ini: single quotes", "[S]\r\nk='x'", "S", "k", "x");
    row("ini: unmatched quotes kept", "[S]\r\nk=\"x'", "S", "k", "\"x'");
    row("ini: key of another section", two, "frmTools", "lstimages.Tag", "two");
    row("ini: first section of a name", "[S]\r\na=1\r\n[T]\r\n[s]\r\nb=2", "S", "b", "");
    row("ini: first key of a name", "[S]\r\nk=1\r\nK=2", "S", "k", "1");
    row("ini: comment", "[S]\r\n;k=1\r\nk=2", "S", "k", "2");
    row("ini: LF only", "[S]\na=1\nb=2\n", "S", "b", "2");
    row("ini: byte order mark", "\xEF\xBB\xBF[S]\r\nk=1", "S", "k", "1");
    row("ini: UTF-8", "[S]\r\nk=\"Fen\xC3\xAAtre\"", "S", "k", QStringLiteral("Fenêtre"));
    row("ini: Latin-1", "[S]\r\nk=\"Fen\xEAtre\"", "S", "k", QStringLiteral("Fenêtre"));
    row("ini: absent key", apply, "frmMine", "cmdtools.Caption", "");
    row("ini: 600 cut to 511", "[S]\r\nk=" + a600.toUtf8(), "S", "k", a600.first(511));
    row("ini: non-ASCII cut", "[S]\r\nk=" + QString(600, u'é').toUtf8(), "S", "k",
        QString(511, u'é'));
    row("ini: pair at the cut", "[S]\r\nk=" + pairAtCut.toUtf8(), "S", "k", pairAtCut.first(510));
    row("ini: pair before the cut", "[S]\r\nk=" + pairBeforeCut.toUtf8(), "S", "k",
        pairBeforeCut.first(511));
    row("ini: exactly 64000 bytes", padded(apply, 64000), "frmMine", "cmdoptions.Caption", "Apply");

    row("lines: 64001 bytes", padded(apply, 64001), "frmMine", "cmdoptions.Caption", "ppl");
    row("lines: first of two sections", lineMode(two), "frmTools", "lstimages.Tag", "one");
    row("lines: quoted", lineMode("[S]\r\nk=\"Apply\""), "S", "k", "Apply");
    row("lines: no trimming", lineMode("[S]\r\nk=\" a \" "), "S", "k", " a \"");
    row("lines: any separator", lineMode("k:[x]"), "S", "k", "x");
    row("lines: case-sensitive", lineMode("[S]\r\nK=\"1\"\r\nk=\"2\""), "S", "k", "2");
    row("lines: two characters", lineMode("[S]\r\nk=\"\""), "S", "k", "");
    row("lines: absent key", lineMode(apply), "frmMine", "cmdtools.Caption", "");
    row("lines: LF only", lineMode("[S]\nk=\"1\"\nj=\"2\"\n"), "S", "j", "2");
    row("lines: Latin-1", lineMode("k=\"Fen\xEAtre\""), "S", "k", QStringLiteral("Fenêtre"));
    row("lines: pair dropped whole",
        lineMode("k=" + QStringLiteral("\U0001F600ab\U0001F600").toUtf8()), "S", "k", "ab");
}

void TestLangFile::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(LangFile::ReadLangValue(file(content), section, key).value_or("<no value>"), expected);
}

void TestLangFile::lineModeTooShort_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("one character") << QByteArray("k=x");
    QTest::newRow("separator only") << QByteArray("k=");
    QTest::newRow("key only") << QByteArray("k");
}

void TestLangFile::lineModeTooShort()
{
    QFETCH(QByteArray, line);
    const QString path = file(lineMode("[S]\r\n" + line + "\r\nk=\"later\""));
    QVERIFY(!LangFile::ReadLangValue(path, "S", "k"));
}

void TestLangFile::missingFile()
{
    QVERIFY(!LangFile::ReadLangValue(m_env.root() + "/lang/none.lng", "S", "k"));
    QVERIFY(!LangFile::ReadLangValue(m_env.makeDir("lang/dir.lng"), "S", "k"));
    QCOMPARE(lookup(file(""), "S", "k"), QString());
}

void TestLangFile::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QByteArray ini = "; chosen language \r\n[Language]\r\n  CurrentLanguage = English\r\n"
                           "Other=\"x\"\r\n\r\n[More]\r\nk=1\r\n";
    const auto row = [](const char* tag, const QByteArray& before, const char* section,
                        const char* key, const char* value, const QByteArray& after) {
        QTest::newRow(tag) << before << QString::fromUtf8(section) << QString::fromUtf8(key)
                           << QString::fromUtf8(value) << after;
    };
    row("replace in place", ini, "language", "currentlanguage", "French",
        "; chosen language \r\n[Language]\r\nCurrentLanguage=French\r\nOther=\"x\"\r\n\r\n"
        "[More]\r\nk=1\r\n");
    row("append key to section", ini, "Language", "New", "1",
        "; chosen language \r\n[Language]\r\n  CurrentLanguage = English\r\nOther=\"x\"\r\n"
        "New=1\r\n\r\n[More]\r\nk=1\r\n");
    row("append section", ini, "Extra", "k", "v", ini + "[Extra]\r\nk=v\r\n");
    row("append section, LF file", "[A]\nk=1\n", "B", "k", "v", "[A]\nk=1\n[B]\nk=v\n");
    row("append section, no last line end", "[A]\r\nk=1", "B", "k", "v",
        "[A]\r\nk=1\r\n[B]\r\nk=v\r\n");
    row("append key, no last line end", "[A]\nk=1", "A", "j", "v", "[A]\nk=1\nj=v");
    row("key before the direction digit", "[Strings]\r\n0001=\"a\"\r\n1", "Strings", "0002", "b",
        "[Strings]\r\n0001=\"a\"\r\n0002=b\r\n1");
    row("first of two sections", "[A]\r\n[B]\r\n[A]\r\n", "A", "k", "v",
        "[A]\r\nk=v\r\n[B]\r\n[A]\r\n");
    row("Latin-1 line kept", "[A]\r\nx=\xE9\r\nk=1\r\n", "A", "k", "é",
        "[A]\r\nx=\xE9\r\nk=\xC3\xA9\r\n");
    row("byte order mark kept", "\xEF\xBB\xBFk=0\r\n[A]\r\n", "A", "k", "v",
        "\xEF\xBB\xBFk=0\r\n[A]\r\nk=v\r\n");
    row("create file", "", "Language", "CurrentLanguage", "English",
        "[Language]\r\nCurrentLanguage=English\r\n");
    row("blanks quoted", "", "A", "k", " v ", "[A]\r\nk=\" v \"\r\n");
}

void TestLangFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    // An empty "before" stands for a file that does not exist yet.
    const QString path = before.isEmpty()
                             ? m_env.root() + QStringLiteral("/lang/new%1.ini").arg(++m_count)
                             : file(before);
    QVERIFY(LangFile::WriteLangValue(path, section, key, value));
    QCOMPARE(readAll(path), after);
}

void TestLangFile::writeRefused_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    const auto row = [](const char* tag, const char* section, const char* key, const char* value) {
        QTest::newRow(tag) << QString::fromUtf8(section) << QString::fromUtf8(key)
                           << QString::fromUtf8(value);
    };
    row("line break in value", "Language", "k", "a\r\n[Evil]");
    row("equals in key", "Language", "a=b", "v");
    row("empty key", "Language", " ", "v");
    row("bracket in section", "a]b", "k", "v");
    row("comment key", "Language", ";k", "v");
}

void TestLangFile::writeRefused()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QByteArray before = "[Language]\r\nk=1\r\n";
    const QString path = file(before);
    QVERIFY(!LangFile::WriteLangValue(path, section, key, value));
    QCOMPARE(readAll(path), before);
    QVERIFY(!LangFile::WriteLangValue(path + "/below-a-file.ini", "S", "k", "v"));
}

void TestLangFile::writeReadsBack_data()
{
    QTest::addColumn<QString>("value");
    for (const char* value : {"French", "", " spaced ", "\"quoted\"", "'x'", "Fran\u00e7ais"})
        QTest::newRow(value) << QString::fromUtf8(value);
}

void TestLangFile::writeReadsBack()
{
    QFETCH(QString, value);
    const QString path = file("[Language]\r\nCurrentLanguage=English\r\n");
    QVERIFY(LangFile::WriteLangValue(path, "Language", "CurrentLanguage", value));
    QCOMPARE(lookup(path, "Language", "CurrentLanguage"), value);
}

void TestLangFile::shippedFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<char>("direction");
    QTest::newRow("English") << QStringLiteral("English.lng") << '1';
    QTest::newRow("French") << QStringLiteral("French.lng") << '1';
    QTest::newRow("Arabic") << QStringLiteral("Arabic.lng") << '0';
    QTest::newRow("LangSetting") << QStringLiteral("LangSetting.ini") << '\n';
}

static const char* const MineKeys[] = {
    "frmMine", "frmbackcolor", "cmdchange",  "lblbackcolor", "cmdtools", "frmpath",
    "cmdPath", "lblpath",      "frmoptions", "cmdoptions",   "chkmwin",  "chkran",
    "chkrun",  "chkwin",       "lblinfo1",   "lblmtime",     "lblstime", "lblmt",
    "lblst",   "frmlang",      "lblhelp",    "lblsupport",   "lbldvnr",  "lbllstfile",
    "lblpic",  "mnuopen",      "mnuweb",     "mnuexit",      "mnudel"};
static const char* const ToolsKeys[] = {"frmTools", "cmdadd",    "cmdGetdata", "cmdGetimg",
                                        "ccmdCopy", "lblemails", "lblNackName"};

void TestLangFile::shippedFile()
{
    QFETCH(QString, name);
    QFETCH(char, direction);
    const QString path = QStringLiteral(DORVANE_SOURCE_DIR "/lang/") + name;
    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes.back(), direction);
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QVERIFY(QString::fromUtf8(bytes).toUtf8() == bytes);
    if (direction == '\n') {
        QCOMPARE(lookup(path, "Language", "CurrentLanguage"), "English");
        return;
    }
    QVERIFY(bytes.endsWith(QByteArray("\r\n") + direction));
    const auto has = [&](const char* section, const QString& key) {
        const QString value = lookup(path, section, key);
        return !value.isEmpty() && value != QStringLiteral("<no value>");
    };
    for (const char* control : MineKeys)
        QVERIFY2(has("frmMine", QString::fromUtf8(control) + ".Caption"), control);
    for (const char* control : ToolsKeys)
        QVERIFY2(has("frmTools", QString::fromUtf8(control) + ".Caption"), control);
    for (const char* id : {"0001", "0002", "0003", "0004"})
        QVERIFY2(has("Strings", QString::fromUtf8(id)), id);
    QVERIFY(!bytes.contains("mnuLanguage") && !bytes.contains("lblsite"));
}

void TestLangFile::englishDesignedTexts()
{
    const QString path = QStringLiteral(DORVANE_SOURCE_DIR "/lang/English.lng");
    const QList<std::pair<const char*, const char*>> designed = {
        {"frmMine.Caption", "Dorvane 4.0"},
        {"frmbackcolor.Caption", "Background Color "},
        {"lblbackcolor.Caption", "Change Your Applaction Background Color ."},
        {"frmpath.Caption", "Images Folder Path "},
        {"lbldvnr.Caption", "Dorvane "},
        {"lbllstfile.Caption", "List Images:"},
    };
    for (const auto& [key, text] : designed)
        QCOMPARE(lookup(path, "frmMine", QString::fromUtf8(key)), QString::fromUtf8(text));
    QCOMPARE(lookup(path, "frmTools", "frmTools.Caption"), "Dorvane");
    QCOMPARE(lookup(path, "frmTools", "lblNackName.Caption"), "Nick Names  :");
}

QTEST_GUILESS_MAIN(TestLangFile)
#include "tst_langfile.moc"
