// The installed program's files, read by a user who cannot write them: run by
// scripts/check-install.sh with DORVANE_INSTALLED_PREFIX set, skipped otherwise.
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
        const QByteArray shipped = TestEnvironment::read(f.folders.langDir() + "/LangSetting.ini");
        QVERIFY(f.start({.folder = f.folders.imagesDir(), .rotation = true}));
        auto* list = f.widget<QComboBox>("comblang");
        QCOMPARE(list->count(), 3);
        QCOMPARE(f.listed().size(), 7);
        f.chooseLanguage("French");
        const auto title = LangFile::ReadLangValue(f.folders.langDir() + "/French.lng", "frmMine",
                                                   "frmMine.Caption");
        QCOMPARE(f.window->windowTitle(), title.value());
        QVERIFY(TestEnvironment::read(f.env.configHome() + "/Dorvane/LangSetting.ini")
                    .contains("CurrentLanguage=French"));
        QCOMPARE(TestEnvironment::read(f.folders.langDir() + "/LangSetting.ini"), shipped);
    }
};

QTEST_MAIN(TestInstalled)
#include "tst_installed.moc"
