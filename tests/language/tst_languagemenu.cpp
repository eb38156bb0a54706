#include "common/MainFixture.h"

#include "common/Form.h"
#include "language/LangFile.h"
#include "tools/FrmTools.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QString langDir(const MainFixture& f)
{
    return f.env.appDir() + QStringLiteral("/lang");
}

QString settingFile(const MainFixture& f)
{
    return langDir(f) + QStringLiteral("/LangSetting.ini");
}

// The fixture installs the shipped files; some tests need a folder of their own.
void removeLanguages(const MainFixture& f)
{
    QDir(langDir(f)).removeRecursively();
}

void storeLanguage(const MainFixture& f, const QByteArray& name)
{
    f.env.writeFile(QStringLiteral("app/lang/LangSetting.ini"),
                    "[Language]\r\nCurrentLanguage=" + name + "\r\n");
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QString shipped(const QString& language, const QString& section, const QString& key)
{
    return LangFile::ReadLangValue(QStringLiteral(DORVANE_SOURCE_DIR "/lang/") + language +
                                       QStringLiteral(".lng"),
                                   section, key)
        .value_or(QStringLiteral("<none>"));
}

QStringList itemCaptions(const FrmMine* w)
{
    QStringList captions;
    for (QAction* action : w->languageItems())
        captions << action->text();
    return captions;
}

QStringList comboEntries(const FrmMine* w)
{
    QStringList entries;
    for (int i = 0; i < w->comblang->count(); ++i)
        entries << w->comblang->itemText(i);
    return entries;
}

QList<int> checkedItems(const FrmMine* w)
{
    QList<int> checked;
    const QList<QAction*> items = w->languageItems();
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i)->isChecked())
            checked << i;
    }
    return checked;
}

// Chooses an entry of the language combo box as the user does.
void chooseLanguage(FrmMine* w, const QString& name)
{
    const int index = w->comblang->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    QVERIFY2(index >= 0, qPrintable(name));
    w->comblang->setCurrentIndex(index);
    emit w->comblang->activated(index);
}

// Another window of the program, open beside the main one.
class OtherForm : public Form
{
public:
    OtherForm() : Form(QStringLiteral("frmTools"), QSizeF(4000, 2000))
    {
        setWindowTitle(QStringLiteral("Dorvane"));
        addButton(QStringLiteral("cmdadd"), QStringLiteral("Add"), {120, 120, 1215, 375});
    }
    QString addCaption() const { return control(QStringLiteral("cmdadd"))->caption(); }
};

} // namespace

class TestLanguageMenu : public QObject
{
    Q_OBJECT
private slots:
    void listAndCheckMark_data();
    void listAndCheckMark();
    void singleLanguageFile();
    void menuItemLookedUpWithIndex();
    void noLanguageFiles_data();
    void noLanguageFiles();
    void missingSettingFile();

    void choosingLanguage_data();
    void choosingLanguage();
    void choosingKeepsOtherSettingLines();
    void choosingReachesOpenWindows();
    void choosingWithoutLanguageFile();
    void choosingWhileChoosing();

    void toolsWindowFollowsLanguage_data();
    void toolsWindowFollowsLanguage();
};

void TestLanguageMenu::listAndCheckMark_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("checked");
    QTest::addColumn<QString>("applied");

    QTest::newRow("English") << QByteArray("English") << 1 << QStringLiteral("English");
    QTest::newRow("Arabic") << QByteArray("Arabic") << 0 << QStringLiteral("Arabic");
    QTest::newRow("French") << QByteArray("French") << 2 << QStringLiteral("French");
    // The file is found whatever the case, the check mark only for the exact name.
    QTest::newRow("english") << QByteArray("english") << -1 << QStringLiteral("English");
    QTest::newRow("FRENCH") << QByteArray("FRENCH") << -1 << QStringLiteral("French");
    QTest::newRow("no such language") << QByteArray("Klingon") << -1 << QString();
}

void TestLanguageMenu::listAndCheckMark()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, checked);
    QFETCH(QString, applied);

    MainFixture f;
    storeLanguage(f, stored);
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    const QStringList names = {QStringLiteral("Arabic"), QStringLiteral("English"),
                               QStringLiteral("French")};
    QCOMPARE(itemCaptions(w), names);
    QCOMPARE(comboEntries(w), names);
    for (QAction* item : w->languageItems())
        QVERIFY(item->isVisible());
    QCOMPARE(checkedItems(w), checked < 0 ? QList<int>() : QList<int>{checked});
    QCOMPARE(f.language->CurrentLang(), QString::fromUtf8(stored));
    QCOMPARE(w->comblang->currentText(), QString::fromUtf8(stored));
    if (checked >= 0)
        QCOMPARE(w->comblang->currentIndex(), checked);

    // English's captions are the designed ones; its tooltips show that the file was applied.
    const QString tip = applied.isEmpty() ? QString()
                                          : shipped(applied, QStringLiteral("frmMine"),
                                                    QStringLiteral("cmdoptions.ToolTipText"));
    QCOMPARE(w->cmdoptions->toolTip(), tip);
    if (!applied.isEmpty())
        QCOMPARE(w->cmdtools->text(),
                 shipped(applied, QStringLiteral("frmMine"), QStringLiteral("cmdtools.Caption")));
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestLanguageMenu::singleLanguageFile()
{
    MainFixture f;
    removeLanguages(f);
    f.env.writeFile(QStringLiteral("app/lang/English.lng"),
                    "[frmMine]\r\ncmdoptions.Caption=\"Go\"\r\n1");
    storeLanguage(f, "English");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    QCOMPARE(itemCaptions(w), QStringList({QStringLiteral("English")}));
    QCOMPARE(checkedItems(w), QList<int>({0}));
    QCOMPARE(comboEntries(w), QStringList({QStringLiteral("English")}));
    QCOMPARE(w->cmdoptions->text(), QStringLiteral("Go"));
}

void TestLanguageMenu::menuItemLookedUpWithIndex()
{
    MainFixture f;
    removeLanguages(f);
    for (const char* name : {"A", "B", "C"})
        f.env.writeFile(QStringLiteral("app/lang/%1.lng").arg(QLatin1String(name)),
                        "[frmMine]\r\nmnuLanguage(2).Caption=\"Third\"\r\n"
                        "mnuLanguage(1).ToolTipText=\"Second\"\r\n1");
    storeLanguage(f, "A");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    // The items made while the list was built are members of the array, with their index.
    QCOMPARE(itemCaptions(w),
             QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("Third")}));
    QCOMPARE(w->control(QStringLiteral("mnuLanguage"), 2)->keyBase(),
             QStringLiteral("mnuLanguage(2)"));
    QCOMPARE(checkedItems(w), QList<int>({0}));
}

void TestLanguageMenu::noLanguageFiles_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("folder");

    QTest::newRow("no folder") << QStringList() << false;
    QTest::newRow("empty folder") << QStringList() << true;
    QTest::newRow("other files only")
        << QStringList({QStringLiteral("LangSetting.ini"), QStringLiteral("English.lng.bak"),
                        QStringLiteral("notes.txt")})
        << true;
}

void TestLanguageMenu::noLanguageFiles()
{
    QFETCH(QStringList, files);
    QFETCH(bool, folder);

    MainFixture f;
    removeLanguages(f);
    if (folder)
        f.env.makeDir(QStringLiteral("app/lang"));
    for (const QString& name : files)
        f.env.writeFile(QStringLiteral("app/lang/") + name,
                        "[Language]\r\nCurrentLanguage=English\r\n[frmMine]\r\n"
                        "cmdoptions.Caption=\"x\"\r\n0");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    QCOMPARE(f.dialogs.messages().size(), 1);
    const FakeDialogs::Message message = f.dialogs.messages().first();
    QCOMPARE(message.text, QStringLiteral("there are no languages files !"));
    QCOMPARE(message.title, QStringLiteral("Dorvane"));
    QCOMPARE(message.icon, Dialogs::Icon::None);

    QCOMPARE(itemCaptions(w), QStringList({QStringLiteral("mnuLanguage 0")}));
    QCOMPARE(w->comblang->count(), 0);
    QCOMPARE(w->comblang->currentText(), QString());
    QCOMPARE(f.language->CurrentLang(), QString());
    QCOMPARE(w->cmdoptions->text(), QStringLiteral("Apply"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Dorvane 4.0"));
    QCOMPARE(w->control(QStringLiteral("cmdoptions"))->left(), FrmMine::DesignApplyLeft);
    QCOMPARE(w->txts->text(), QStringLiteral("30"));
}

void TestLanguageMenu::missingSettingFile()
{
    MainFixture f;
    QVERIFY(QFile::remove(settingFile(f)));
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    QVERIFY(f.dialogs.messages().isEmpty());
    QCOMPARE(itemCaptions(w).size(), 3);
    QVERIFY(checkedItems(w).isEmpty());
    QCOMPARE(f.language->CurrentLang(), QString());
    QCOMPARE(w->cmdoptions->toolTip(), QString());
    QCOMPARE(w->windowTitle(), QStringLiteral("Dorvane 4.0"));
    QCOMPARE(w->control(QStringLiteral("cmdoptions"))->left(), FrmMine::DesignApplyLeft);

    chooseLanguage(w, QStringLiteral("Arabic"));
    QCOMPARE(readAll(settingFile(f)), QByteArray("[Language]\r\nCurrentLanguage=Arabic\r\n"));
    QCOMPARE(w->control(QStringLiteral("cmdoptions"))->left(), 1560.0);
}

void TestLanguageMenu::choosingLanguage_data()
{
    QTest::addColumn<QByteArray>("startLanguage");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("applyLeft");

    QTest::newRow("English to French")
        << QByteArray("English") << QStringLiteral("French") << 2 << 4680.0;
    QTest::newRow("Arabic to French")
        << QByteArray("Arabic") << QStringLiteral("French") << 2 << 4680.0;
    QTest::newRow("French to Arabic")
        << QByteArray("French") << QStringLiteral("Arabic") << 0 << 1560.0;
    QTest::newRow("english to English")
        << QByteArray("english") << QStringLiteral("English") << 1 << 4680.0;
    QTest::newRow("no language to French")
        << QByteArray("Klingon") << QStringLiteral("French") << 2 << 4680.0;
}

void TestLanguageMenu::choosingLanguage()
{
    QFETCH(QByteArray, startLanguage);
    QFETCH(QString, chosen);
    QFETCH(int, index);
    QFETCH(double, applyLeft);

    MainFixture f;
    storeLanguage(f, startLanguage);
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    chooseLanguage(w, chosen);
    QCOMPARE(checkedItems(w), QList<int>({index}));
    QCOMPARE(f.language->CurrentLang(), chosen);
    QCOMPARE(w->comblang->currentText(), chosen);
    for (const char* name : {"cmdoptions", "frmoptions", "lblpath", "mnudel"}) {
        const QString key = QString::fromLatin1(name) + QStringLiteral(".Caption");
        QCOMPARE(w->control(QString::fromLatin1(name))->caption(),
                 shipped(chosen, QStringLiteral("frmMine"), key));
    }
    QCOMPARE(w->cmdoptions->toolTip(),
             shipped(chosen, QStringLiteral("frmMine"), QStringLiteral("cmdoptions.ToolTipText")));
    QCOMPARE(readAll(settingFile(f)), "[Language]\r\nCurrentLanguage=" + chosen.toUtf8() + "\r\n");
    QCOMPARE(w->control(QStringLiteral("cmdoptions"))->left(), applyLeft);
    QCOMPARE(w->txtrtl->text(), applyLeft == 1560.0 ? QStringLiteral("0") : QStringLiteral("1"));
    QCOMPARE(f.language->GetLangString(QStringLiteral("0003")),
             shipped(chosen, QStringLiteral("Strings"), QStringLiteral("0003")));
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestLanguageMenu::choosingKeepsOtherSettingLines()
{
    MainFixture f;
    const QByteArray before = "; the language chosen last\r\n"
                              "[Other]\r\n"
                              "CurrentLanguage=Keep\r\n"
                              "\r\n"
                              "[Language]\r\n"
                              "  Note = spaced  \r\n"
                              "CurrentLanguage=English\r\n"
                              "CurrentLanguage=Second\r\n"
                              "Extra=1\n"
                              "[Tail]\r\n"
                              "x=y";
    f.env.writeFile(QStringLiteral("app/lang/LangSetting.ini"), before);
    QVERIFY(f.load());
    FrmMine* w = f.window.get();
    QCOMPARE(f.language->CurrentLang(), QStringLiteral("English"));

    chooseLanguage(w, QStringLiteral("French"));
    QByteArray after = before;
    after.replace("CurrentLanguage=English", "CurrentLanguage=French");
    QCOMPARE(readAll(settingFile(f)), after);
}

void TestLanguageMenu::choosingReachesOpenWindows()
{
    MainFixture f;
    storeLanguage(f, "English");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();
    w->show();
    OtherForm open;
    open.show();
    OtherForm hidden;

    chooseLanguage(w, QStringLiteral("French"));
    const QString french = shipped(QStringLiteral("French"), QStringLiteral("frmTools"),
                                   QStringLiteral("cmdadd.Caption"));
    QCOMPARE(open.addCaption(), french);
    QCOMPARE(hidden.addCaption(), QStringLiteral("Add"));
}

void TestLanguageMenu::choosingWithoutLanguageFile()
{
    MainFixture f;
    storeLanguage(f, "Arabic");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();
    const QString arabicApply = w->cmdoptions->text();

    QVERIFY(QFile::remove(langDir(f) + QStringLiteral("/French.lng")));
    chooseLanguage(w, QStringLiteral("French"));
    QCOMPARE(checkedItems(w), QList<int>({2}));
    QCOMPARE(w->cmdoptions->text(), arabicApply);
    QCOMPARE(w->windowTitle(), QStringLiteral("Dorvane 4.0"));
    QCOMPARE(w->control(QStringLiteral("cmdoptions"))->left(), 1560.0);
    QVERIFY(f.dialogs.messages().isEmpty());
    QCOMPARE(f.language->GetLangString(QStringLiteral("0001")), QString());
}

void TestLanguageMenu::choosingWhileChoosing()
{
    MainFixture f;
    storeLanguage(f, "English");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    // The user picks Arabic while French is still being applied.
    QTimer::singleShot(0, w, [w] { chooseLanguage(w, QStringLiteral("Arabic")); });
    chooseLanguage(w, QStringLiteral("French"));

    // The last choice wins everywhere: texts, check mark, stored name and layout.
    QCOMPARE(f.language->CurrentLang(), QStringLiteral("Arabic"));
    QCOMPARE(checkedItems(w), QList<int>({0}));
    QCOMPARE(w->comblang->currentText(), QStringLiteral("Arabic"));
    for (NamedControl* c : w->controls()) {
        if (c->name() == QLatin1String("mnuLanguage") || !c->hasCaption())
            continue;
        const QString expected =
            LangFile::ReadLangValue(QStringLiteral(DORVANE_SOURCE_DIR "/lang/Arabic.lng"),
                                    QStringLiteral("frmMine"), c->keyBase() + ".Caption")
                .value_or(QString());
        if (!expected.isEmpty())
            QCOMPARE(c->caption(), expected);
    }
    QCOMPARE(readAll(settingFile(f)), QByteArray("[Language]\r\nCurrentLanguage=Arabic\r\n"));
    QCOMPARE(w->control(QStringLiteral("cmdoptions"))->left(), 1560.0);
}

void TestLanguageMenu::toolsWindowFollowsLanguage_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<bool>("mirrored");
    QTest::newRow("Arabic") << QByteArray("Arabic") << true;
    QTest::newRow("English") << QByteArray("English") << false;
}

void TestLanguageMenu::toolsWindowFollowsLanguage()
{
    QFETCH(QByteArray, language);
    QFETCH(bool, mirrored);

    MainFixture f;
    storeLanguage(f, language);
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    FrmTools tools(w, f.services());
    tools.Form_Load();
    const QString name = QString::fromUtf8(language);
    QCOMPARE(tools.cmdadd->text(),
             shipped(name, QStringLiteral("frmTools"), QStringLiteral("cmdadd.Caption")));
    QCOMPARE(tools.lblNackName->text(),
             shipped(name, QStringLiteral("frmTools"), QStringLiteral("lblNackName.Caption")));
    QCOMPARE(tools.cmdGetdata->toolTip(),
             shipped(name, QStringLiteral("frmTools"), QStringLiteral("cmdGetdata.ToolTipText")));
    QCOMPARE(tools.formRightToLeft(), mirrored);
    NamedControl* emails = tools.control(QStringLiteral("lstemails"));
    QCOMPARE(emails->left(), mirrored ? FrmTools::ClientWidth - 2295 - 120 : 120.0);
    QCOMPARE(emails->rightToLeft(), mirrored);
    QCOMPARE(tools.control(QStringLiteral("lblemails"))->alignment(), mirrored ? 1 : 0);
    QCOMPARE(w->comblang->currentText(), name);
}

QTEST_MAIN(TestLanguageMenu)
#include "tst_languagemenu.moc"
