// The language list, the texts a language file gives the windows, and their direction.
#include "MainWindowFixture.h"
#include "core/language/LangFile.h"
#include "core/language/Texts.h"
#include "ui/forms/FormLanguage.h"

namespace {
const QByteArray Setting = "; chosen last\r\n[Other]\r\nCurrentLanguage=Keep\r\n"
                           "[Language]\r\nCurrentLanguage=English\r\nExtra=1\r\n";

// The language items, the checked one in brackets.
QStringList items(const MainWindowFixture& f)
{
    QStringList captions;
    for (const QAction* item : f.window->control("mnuLanguages")->menu()->actions())
        captions.append(item->isChecked() ? "[" + item->text() + "]" : item->text());
    return captions;
}

// The title and each control's caption, tooltip and tag are the file's, or else as designed.
void verifyTexts(const MainWindowFixture& f, const Form& shown, const Form& designed,
                 const QString& language)
{
    const QString file = f.language.langDir() + "/" + language + ".lng";
    const auto text = [&](const QString& key, const QString& designedText) {
        const auto value = LangFile::ReadLangValue(file, designed.formName(), key);
        return value.valueOr(QString()).isEmpty() ? designedText : *value;
    };
    QCOMPARE(shown.windowTitle(), text(designed.formName() + ".Caption", designed.windowTitle()));
    for (const NamedControl* c : designed.controls()) {
        const NamedControl* s = shown.control(c->name(), c->index());
        static const QStringList ownTexts = {"mnuLanguage", "mnunext",   "mnuprevious",
                                             "mnupause",    "mnustatus", "lblstate"};
        if (ownTexts.contains(c->name()))
            continue; // named after the files, or after the rotation's state
        QCOMPARE(s->caption(), text(c->keyBase() + ".Caption", c->caption()));
        QCOMPARE(s->toolTip(), text(c->keyBase() + ".ToolTipText", c->toolTip()));
        QCOMPARE(s->tag(), text(c->keyBase() + ".Tag", c->tag()));
    }
}
} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT
private slots:
    // Before any choice the session's language (by POSIX's order of the variables) when its
    // file ships, else English; a choice made earlier wins.
    void atStart_data()
    {
        // stored: empty for no LangSetting.ini; locale: variables set; file: whose texts
        columns<QString, QString, QString, QStringList>("stored", "locale", "file", "items");
        const QStringList names = {"العربية", "English", "Français", "Test"}; // each in its own
        const auto on = [&](const QString& name) {
            return QStringList(names).replaceInStrings(name, "[" + name + "]");
        };
        row("arabic, in any case", "arabic", "", "Arabic", names);
        row("no such file: as designed", "Klingon", "", "", names);
        row("no language files", "", "", "", QStringList{"mnuLanguage 0"});
        row("tags and array members by index", "Test", "", "Test",
            QStringList{"العربية", "English", "Third", "[Test]"});
        row("first start under LANG=fr_FR.UTF-8", "", "LANG=fr_FR.UTF-8", "French", on("Français"));
        row("first start: LC_ALL before LC_MESSAGES before LANG", "",
            "LC_ALL=ar_EG.UTF-8 LC_MESSAGES=fr_FR.UTF-8 LANG=fr_FR.UTF-8", "Arabic", on("العربية"));
        row("first start: LC_MESSAGES before LANG", "", "LC_MESSAGES=fr_CA LANG=ar_EG.UTF-8",
            "French", on("Français"));
        row("first start, language not shipped", "", "LANG=de_DE.UTF-8", "English", on("English"));
        row("an earlier choice wins", "English", "LANG=fr_FR.UTF-8", "English", on("English"));
    }
    void atStart()
    {
        const auto [stored, locale, file, items] =
            fetch<QString, QString, QString, QStringList>("stored", "locale", "file", "items");
        MainWindowFixture f;
        for (const QString& v : locale.split(' ', Qt::SkipEmptyParts))
            f.env.setVar(qPrintable(v.section('=', 0, 0)), v.section('=', 1).toUtf8());
        f.env.writeFile("app/lang/Test.lng", "[frmMine]\r\nfrmMine.Caption=Title\r\n"
                                             "lblpath.Tag=no\r\nmnuLanguage(2).Caption=Third\r\n1");
        if (!stored.isEmpty())
            f.env.writeFile("app/lang/LangSetting.ini",
                            "[Language]\r\nCurrentLanguage=" + stored.toUtf8() + "\r\n");
        else if (file.isEmpty())
            QVERIFY(QDir(f.language.langDir()).removeRecursively());
        QVERIFY(f.start());
        QCOMPARE(::items(f), items);
        verifyTexts(f, *f.window, FrmMine(f.services()), file);
        QCOMPARE(f.window->formRightToLeft(), file == QLatin1String("Arabic"));
        QCOMPARE(f.dialogs.messages.value(0).text,
                 stored.isEmpty() && file.isEmpty() ? "there are no languages files !" : QString());
        // Only a choice of the user's is kept.
        QCOMPARE(QFileInfo::exists(f.language.langDir() + "/LangSetting.ini"), !stored.isEmpty());
    }
    // A right-to-left language (its file ends in 0) mirrors the window exactly once. Each
    // shipped file has every message the program shows; one a file lacks is in English.
    void choosing_data()
    {
        // chosen: the second while the first is being applied
        columns<QByteArray, QStringList>("from", "chosen");
        row("English to French", QByteArray("English"), QStringList{"French"});
        row("Arabic back to English", QByteArray("Arabic"), QStringList{"English"});
        row("Arabic to Urdu", QByteArray("Arabic"), QStringList{"Urdu"});
        row("the last wins", QByteArray("English"), QStringList{"French", "Arabic"});
    }
    void choosing()
    {
        const auto [from, chosen] = fetch<QByteArray, QStringList>("from", "chosen");
        MainWindowFixture f;
        f.env.writeFile(
            "app/lang/Urdu.lng", // Arabic without one message
            TestEnvironment::read(f.language.langFilePath("Arabic")).replace("0041", "-"));
        f.env.writeFile("app/lang/LangSetting.ini", QByteArray(Setting).replace("English", from));
        QVERIFY(f.start());
        auto tools = f.openTools();
        tools->show();
        const QString to = chosen.last();
        if (chosen.size() > 1)
            QTimer::singleShot(0, f.window.get(), [&] { f.chooseLanguage(to); });
        f.chooseLanguage(chosen.first());
        QCOMPARE(items(f).filter("["), QStringList{"[" + f.language.displayName(to) + "]"});
        verifyTexts(f, *f.window, FrmMine(f.services()), to);
        verifyTexts(f, *tools, FrmTools(*f.window, f.services()), to);
        for (const Texts::Entry& entry : Texts::all()) { // every message, else its English
            const QString own = f.language.text("Strings", entry.id).valueOr("");
            QVERIFY2(to == "Urdu" || !own.isEmpty(), entry.id);
            QCOMPARE(Texts::text(entry.text), own.isEmpty() ? Texts::english(entry.text) : own);
        }
        QCOMPARE(TestEnvironment::read(f.language.langDir() + "/LangSetting.ini"),
                 QByteArray(Setting).replace("English", to.toUtf8()));
        const bool rtl = to == "Arabic" || to == "Urdu";
        QCOMPARE(f.window->formRightToLeft(), rtl);
        const NamedControl* apply = f.window->control("cmdoptions"); // designed at 4680
        QCOMPARE(apply->left(),
                 rtl ? f.window->control("frmoptions")->width() - apply->width() - 4680 : 4680.0);
        QCOMPARE(f.window->control("lblpath")->alignment(), rtl ? 1 : 0);
        QCOMPARE(f.window->control("txtpath")->alignment(), 0);
        // The notification area's menu and the list's menu read in the language's direction.
        for (const char* menu : {"mnuTray", "mnuimglst"})
            QCOMPARE(f.window->control(menu)->menu()->layoutDirection(),
                     rtl ? Qt::RightToLeft : Qt::LeftToRight);
        // A window closed while its language is applied.
        QTimer::singleShot(0, f.window.get(), [&] { tools.reset(); });
        FormLanguage::ApplyLanguage(f.language, tools.get());
    }
};

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
