#include "common/TestEnvironment.h"
#include "settings/Settings.h"

#include <QFile>
#include <QTest>

using Entry = Settings::Entry;

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void defaults_data();
    void defaults();
    void namesMatchWhateverTheirCase_data();
    void namesMatchWhateverTheirCase();
    void writeLeavesOneSpelling();
    void numbersAndFlags_data();
    void numbersAndFlags();
    void colour_data();
    void colour();
    void fileUnderConfigHome();
    void otherEntriesSurviveAWrite();
};

void TestSettings::defaults_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("expected");
    QTest::newRow("firstrun") << int(Entry::FirstRun) << "0";
    QTest::newRow("autorun") << int(Entry::AutoRun) << "0";
    QTest::newRow("random") << int(Entry::Random) << "0";
    QTest::newRow("control") << int(Entry::Control) << "0";
    QTest::newRow("winmode") << int(Entry::WinMode) << "0";
    QTest::newRow("timem") << int(Entry::TimerMinutes) << "0";
    QTest::newRow("times") << int(Entry::TimerSeconds) << "30";
    QTest::newRow("path") << int(Entry::ImagePath) << "";
    QTest::newRow("color") << int(Entry::Color) << "16054520";
}

void TestSettings::defaults()
{
    QFETCH(int, entry);
    QFETCH(QString, expected);
    TestEnvironment env;
    Settings settings(env.settingsFile());
    QCOMPARE(settings.read(Entry(entry)), expected);
    QVERIFY(!QFile::exists(env.settingsFile()));
}

void TestSettings::namesMatchWhateverTheirCase_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Timer/timem") << QByteArray("[Timer]\ntimem=2\n") << int(Entry::TimerMinutes)
                                 << "2";
    QTest::newRow("TIMER/TIMES") << QByteArray("[TIMER]\nTIMES=45\n") << int(Entry::TimerSeconds)
                                 << "45";
    QTest::newRow("imagepath/Path")
        << QByteArray("[imagepath]\nPath=/pictures\n") << int(Entry::ImagePath) << "/pictures";
    QTest::newRow("Random/State") << QByteArray("[Random]\nState=2\n") << int(Entry::Random) << "2";
}

void TestSettings::namesMatchWhateverTheirCase()
{
    QFETCH(QByteArray, file);
    QFETCH(int, entry);
    QFETCH(QString, expected);
    TestEnvironment env;
    env.writeFile(QStringLiteral("config/Dorvane/Dorvane.ini"), file);
    Settings settings(env.settingsFile());
    QCOMPARE(settings.read(Entry(entry)), expected);
}

void TestSettings::writeLeavesOneSpelling()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("config/Dorvane/Dorvane.ini"), "[Timer]\ntimem=2\nTimes=9\n");
    Settings settings(env.settingsFile());
    QVERIFY(settings.SaveSetting(QStringLiteral("Timer"), QStringLiteral("times"),
                                 QStringLiteral("45")));
    QCOMPARE(settings.read(Entry::TimerSeconds), QStringLiteral("45"));
    QCOMPARE(settings.read(Entry::TimerMinutes), QStringLiteral("2"));
    QFile file(env.settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QCOMPARE(content.count("times="), 1);
    QVERIFY(!content.contains("Times="));
}

void TestSettings::numbersAndFlags_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("flag");
    QTest::addColumn<double>("number");
    QTest::newRow("0") << "0" << false << 0.0;
    QTest::newRow("1") << "1" << true << 1.0;
    QTest::newRow("2") << "2" << true << 2.0;
    QTest::newRow("blanks") << " 1 " << true << 1.0;
    QTest::newRow("not a number") << "yes" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
}

void TestSettings::numbersAndFlags()
{
    QFETCH(QString, stored);
    QFETCH(bool, flag);
    QFETCH(double, number);
    TestEnvironment env;
    Settings settings(env.settingsFile());
    QVERIFY(settings.write(Entry::Random, stored));
    QCOMPARE(settings.readFlag(Entry::Random), flag);
    QCOMPARE(settings.readNumber(Entry::Random), number);
}

void TestSettings::colour_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<quint32>("expected");
    QTest::newRow("default colour") << "16054520" << 16054520u;
    QTest::newRow("white") << "16777215" << 16777215u;
    QTest::newRow("negative is the system colour") << "-2147483640" << 0x80000008u;
    QTest::newRow("garbage gives the default") << "blue" << 16054520u;
    QTest::newRow("too large gives the default") << "99999999999" << 16054520u;
    QTest::newRow("fraction gives the default") << "1.5" << 16054520u;
}

void TestSettings::colour()
{
    QFETCH(QString, stored);
    QFETCH(quint32, expected);
    TestEnvironment env;
    Settings settings(env.settingsFile());
    settings.write(Entry::Color, stored);
    QCOMPARE(settings.readColor(), expected);
}

void TestSettings::fileUnderConfigHome()
{
    TestEnvironment env;
    QCOMPARE(Settings::defaultFilePath(), env.settingsFile());
    Settings settings;
    QVERIFY(settings.write(Entry::FirstRun, QStringLiteral("1")));
    QFile file(env.settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("[firstrun]\nstate=1"));
}

void TestSettings::otherEntriesSurviveAWrite()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("config/Dorvane/Dorvane.ini"),
                  "[color]\ncode=255\n\n[imagepath]\npath=/a b/c\n");
    Settings settings(env.settingsFile());
    QVERIFY(settings.write(Entry::WinMode, QStringLiteral("1")));
    QCOMPARE(settings.readColor(), 255u);
    QCOMPARE(settings.read(Entry::ImagePath), QStringLiteral("/a b/c"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
