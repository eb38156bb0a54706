// The installed program's files, read by a user who cannot write them and by root, who can: run
// by scripts/check-install.sh with DORVANE_INSTALLED_PREFIX set, skipped otherwise.
#include "MainWindowFixture.h"
#include "core/language/LangFile.h"
#include <QComboBox>

class TestInstalled : public QObject
{
    Q_OBJECT
private slots:
    void languagesFromThePrefixAndTheChoiceInTheUsersFolder()
    {
        const QString prefix = qEnvironmentVariable("DORVANE_INSTALLED_PREFIX");
        if (prefix.isEmpty())
            QSKIP("no installed copy named in DORVANE_INSTALLED_PREFIX");
        MainWindowFixture f;
        f.folders = AppFolders::find(prefix + "/bin");
        f.language = LanguageSupport(f.folders.langDir(), f.env.configHome() + "/Dorvane");
        QCOMPARE(f.folders.dataDir(), prefix + "/share/dorvane");
        QVERIFY(f.start({.folder = f.folders.imagesDir(), .rotation = true}));
        QCOMPARE(f.widget<QComboBox>("comblang")->count(), 3);
        QCOMPARE(f.listed().size(), 7);
        f.chooseLanguage("French");
        const auto caption = LangFile::ReadLangValue(f.folders.langDir() + "/French.lng", "frmMine",
                                                     "cmdchange.Caption");
        QCOMPARE(f.widget<QPushButton>("cmdchange")->text(), caption.value());
        QVERIFY(TestEnvironment::read(f.env.configHome() + "/Dorvane/LangSetting.ini")
                    .contains("CurrentLanguage=French"));
        // Not even root, who could, writes into the installed copy.
        QVERIFY(!QFileInfo::exists(f.folders.langDir() + "/LangSetting.ini"));
    }
};

QTEST_MAIN(TestInstalled)
#include "tst_installed.moc"
