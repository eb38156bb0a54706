#include "common/MainFixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <unistd.h>

using Entry = Settings::Entry;

// A settings file the program cannot use: it starts with the defaults, says so where the user
// acted, and never rewrites what it could not read.
class TestSettingsFaults : public QObject
{
    Q_OBJECT
private slots:
    void unreadableFileIsLeftAlone_data();
    void unreadableFileIsLeftAlone();
    void directoryInPlaceOfTheFile();
    void readOnlyFile();
    void startsWithDefaultsAndNoticeOnce();
};

static QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestSettingsFaults::unreadableFileIsLeftAlone_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("binary garbage") << QByteArray("\x00\x01\x02garbage\xff\xfe[[[=]]\n\x80", 20);
    QTest::newRow("not UTF-8") << QByteArray("[imagepath]\npath=/caf\xe9\n[timer]\ntimes=45\n");
    QTest::newRow("line without =") << QByteArray("[timer]\ntimes=45\nnonsense\n");
    QTest::newRow("open section") << QByteArray("[timer\ntimes=45\n");
}

void TestSettingsFaults::unreadableFileIsLeftAlone()
{
    QFETCH(QByteArray, content);
    TestEnvironment env;
    const QString path = env.writeFile(QStringLiteral("config/Dorvane/Dorvane.ini"), content);
    Settings settings(path);
    QVERIFY(!settings.isSound());
    QCOMPARE(settings.read(Entry::TimerSeconds), QStringLiteral("30"));
    QVERIFY(!settings.write(Entry::TimerSeconds, QStringLiteral("10")));
    QVERIFY(settings.lastError().contains(path));
    QCOMPARE(readAll(path), content);
}

void TestSettingsFaults::directoryInPlaceOfTheFile()
{
    TestEnvironment env;
    const QString path = env.makeDir(QStringLiteral("config/Dorvane/Dorvane.ini"));
    Settings settings(path);
    QCOMPARE(settings.read(Entry::TimerSeconds), QStringLiteral("30"));
    QVERIFY(!settings.write(Entry::TimerSeconds, QStringLiteral("10")));
    QVERIFY(!settings.lastError().isEmpty());
    QVERIFY(QFileInfo(path).isDir());
}

void TestSettingsFaults::readOnlyFile()
{
    if (geteuid() == 0)
        QSKIP("running as root: a read-only file is still writable by root");
    TestEnvironment env;
    const QByteArray content("[timer]\ntimes=45\n");
    const QString path = env.writeFile(QStringLiteral("config/Dorvane/Dorvane.ini"), content);
    QFile::setPermissions(path, QFile::ReadOwner);
    QFile::setPermissions(QFileInfo(path).absolutePath(), QFile::ReadOwner | QFile::ExeOwner);
    Settings settings(path);
    QCOMPARE(settings.read(Entry::TimerSeconds), QStringLiteral("45"));
    QVERIFY(!settings.write(Entry::TimerSeconds, QStringLiteral("10")));
    QVERIFY(!settings.lastError().isEmpty());
    QCOMPARE(readAll(path), content);
    QFile::setPermissions(QFileInfo(path).absolutePath(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestSettingsFaults::startsWithDefaultsAndNoticeOnce()
{
    MainFixture f;
    const QByteArray content("[timer]\ntimes=45\nnonsense\n");
    f.env.writeFile(QStringLiteral("config/Dorvane/Dorvane.ini"), content);
    f.makePictureFolder(QStringLiteral("app/images"), {QStringLiteral("a.png")});
    QVERIFY(f.load());
    QCOMPARE(f.window->txts->text(), QStringLiteral("30"));
    // No notice that could not be recorded as sent.
    QVERIFY(f.browser.opened().isEmpty());
    QCOMPARE(readAll(f.env.settingsFile()), content);
    // Apply at the end of start-up could not store the options, and said so.
    QVERIFY(!f.dialogs.messages().isEmpty());
    QVERIFY(f.dialogs.messages().last().text.contains(f.env.settingsFile()));
}

QTEST_MAIN(TestSettingsFaults)
#include "tst_settingsfaults.moc"
