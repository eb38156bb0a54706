// Where the program finds its files and keeps the language choice, and what its command line asks.
#include "Table.h"
#include "TestEnvironment.h"
#include "core/CommandLine.h"
#include "core/fs/AppFolders.h"
#include "core/language/LanguageSupport.h"
#include "messenger/MessengerApi.h"

class TestInstallation : public QObject
{
    Q_OBJECT
private slots:
    void filesBesideTheProgramFirst_data()
    {
        columns<QStringList, QString>("langFolders", "found"); // relative to the temporary root
        row("a build tree", QStringList{"bin/lang"}, "bin");
        row("installed", QStringList{"share/dorvane/lang"}, "share/dorvane");
        row("both: beside the program first", QStringList{"bin/lang", "share/dorvane/lang"}, "bin");
        row("neither: beside the program", QStringList{}, "bin");
    }
    void filesBesideTheProgramFirst()
    {
        const auto [langFolders, found] = fetch<QStringList, QString>("langFolders", "found");
        TestEnvironment env;
        for (const QString& folder : langFolders)
            env.makeDir(folder);
        const AppFolders at = AppFolders::find(env.makeDir("bin"));
        const QString dir = env.path(found);
        QCOMPARE(QStringList({at.dataDir(), at.langDir(), at.imagesDir()}),
                 QStringList({dir, dir + "/lang", dir + "/images"}));
    }
    // The choice: beside a build tree's language files, else (not writable, an installed copy's
    // even if writable, the user's own there already) the user's; an installed copy's is no one's.
    void languageChoice_data()
    {
        columns<QString, bool, QString, QString>("lang", "userFileBefore", "readFirst", "keptIn");
        row("build tree, language folder writable", "lang", false, "English", "lang");
        row("build tree, language folder read-only", "", false, "", "user");
        row("the user's own choice is read and kept first", "lang", true, "Arabic", "user");
        row("installed, the prefix writable", "share/dorvane/lang", false, "", "user");
        row("installed, the user's own choice", "share/dorvane/lang", true, "Arabic", "user");
    }
    void languageChoice()
    {
        const auto [langFolder, userFileBefore, readFirst, keptIn] =
            fetch<QString, bool, QString, QString>("lang", "userFileBefore", "readFirst", "keptIn");
        TestEnvironment env;
        // Even for root a folder under a file cannot be written.
        const QString lang =
            langFolder.isEmpty() ? env.writeFile("file", "") + "/lang" : env.makeDir(langFolder);
        const QString shipped =
            env.writeFile((langFolder.isEmpty() ? "lang" : langFolder) + "/LangSetting.ini",
                          "[Language]\nCurrentLanguage=English\n");
        if (userFileBefore)
            env.writeFile("user/LangSetting.ini", "[Language]\nCurrentLanguage=Arabic\n");
        LanguageSupport language(lang, env.path("user"));
        QCOMPARE(language.storedLanguage(), readFirst);
        QVERIFY(language.storeLanguage("French"));
        QCOMPARE(LanguageSupport(lang, env.path("user")).storedLanguage(), "French"); // next start
        const QString kept = keptIn == "user" ? env.path("user/LangSetting.ini") : shipped;
        QVERIFY(TestEnvironment::read(kept).contains("CurrentLanguage=French"));
        if (keptIn == "user") // what lies beside the language files is left as it was
            QCOMPARE(TestEnvironment::read(shipped), "[Language]\nCurrentLanguage=English\n");
    }
    // TEMP: the first of these variables that is set, else a folder of the user's own, made for
    // the user alone (never the shared /tmp, where another user could have taken the names).
    void temporaryFolder_data()
    {
        columns<QString, QString>("set", "used"); // variables set to root/NAME; TEMP there
        row("Temp first", "TMPDIR TEMP Temp", "Temp");
        row("TEMP next", "TMPDIR TEMP", "TEMP");
        row("TMPDIR last", "TMPDIR", "TMPDIR");
        row("none: the user's cache", "XDG_CACHE_HOME", "XDG_CACHE_HOME/Dorvane/Temp");
        row("none, nor a cache folder: the home's", "HOME", "HOME/.cache/Dorvane/Temp");
    }
    void temporaryFolder()
    {
        const auto [set, used] = fetch<QString, QString>("set", "used");
        TestEnvironment env;
        for (const char* name : {"Temp", "TEMP", "TMPDIR", "XDG_CACHE_HOME"})
            env.unsetVar(name);
        for (const QString& name : set.split(' '))
            env.setVar(qPrintable(name), QFile::encodeName(env.path(name)));
        QCOMPARE(MessengerApi::cacheFolder(), env.path(used) + "/MessengerCache");
        const QFileInfo made(env.path(used)); // made with the folders above it, if it was missing
        QVERIFY(!used.endsWith("/Temp") ||
                (made.isDir() && made.permissions() == QFile::Permissions(0x7700)));
    }
    void commandLine_data()
    {
        columns<QString, int>("arguments", "action");
        using A = CommandLine::Action;
        row("nothing: the window", "", int(A::Start));
        row("-h", "-h", int(A::Help));
        row("Qt's own options are Qt's", "-style fusion -session x", int(A::Start));
        row("Qt's own with \"=\" and without a value", "-style=fusion -reverse", int(A::Start));
        row("-next is --next", "-next", int(A::Next));
        row("-status after Qt's own", "-platform xcb -status", int(A::Status));
        row("-version", "-version", int(A::Version));
        row("an unknown option with one dash", "-nxt", int(A::Invalid));
        row("an unknown option", "--anything", int(A::Invalid));
        row("a stray word", "picture.png", int(A::Invalid));
        row("two requests", "--help --version", int(A::Invalid));
    }
    void commandLine()
    {
        const auto [arguments, action] = fetch<QString, int>("arguments", "action");
        const auto line = CommandLine::parse(("dvn " + arguments).split(' ', Qt::SkipEmptyParts));
        QCOMPARE(int(line.action()), action);
        QCOMPARE(line.error().isEmpty(), action != int(CommandLine::Action::Invalid));
    }
};

QTEST_MAIN(TestInstallation)
#include "tst_installation.moc"
