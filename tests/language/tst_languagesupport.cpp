#include "common/MainFixture.h"

#include "common/Form.h"
#include "language/LangFile.h"
#include "language/LanguageSupport.h"
#include "tools/FrmTools.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

namespace {

// A window with one control of each kind the language routines meet, ending with a control
// array of menu items.
class TextForm : public Form
{
public:
    explicit TextForm(const QString& title = QStringLiteral("Designed"))
        : Form(QStringLiteral("frmTest"), QSizeF(6000, 4000))
    {
        setWindowTitle(title);
        addLabel(QStringLiteral("lblone"), QStringLiteral("One"), {120, 120, 1500, 255});
        addButton(QStringLiteral("cmdtwo"), QStringLiteral("Two"), {120, 480, 1500, 375});
        addFrame(QStringLiteral("frmbox"), QStringLiteral("Box"), {2000, 120, 3000, 1500});
        addCheckBox(QStringLiteral("chkthree"), QStringLiteral("Three"), {120, 360, 2000, 255},
                    control(QStringLiteral("frmbox")));
        addTextBox(QStringLiteral("txtfour"), QStringLiteral("four"), {120, 1000, 1500, 300});
        addListBox(QStringLiteral("lstfive"), {120, 1500, 1500, 1500});
        addMenu(QStringLiteral("mnuItems"), QStringLiteral("Items"));
        for (int i = 0; i < 3; ++i)
            addMenuItem(QStringLiteral("mnuItems"), QStringLiteral("mnuItem"),
                        QStringLiteral("Item %1").arg(i), i);
    }

    QString captionOf(const QString& name, int index = -1) const
    {
        return control(name, index)->caption();
    }
};

// A language folder of its own with the current language "Test".
struct LanguageFolder
{
    TestEnvironment env;
    LanguageSupport language{env.appDir() + QStringLiteral("/lang")};

    LanguageFolder() { language.setCurrentLang(QStringLiteral("Test")); }

    void write(const QString& name, const QByteArray& content) const
    {
        env.writeFile(QStringLiteral("app/lang/") + name, content);
    }
    void writeLanguage(const QByteArray& body, const QString& name = QStringLiteral("Test")) const
    {
        write(name + QStringLiteral(".lng"), body + "1");
    }
    void storeLanguage(const QByteArray& name) const
    {
        write(QStringLiteral("LangSetting.ini"), "[Language]\r\nCurrentLanguage=" + name + "\r\n");
    }
};

// The keys of one section of a language file, in file order.
QStringList sectionKeys(const QString& file, const QString& section)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList keys;
    bool inSection = false;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inSection = line == QLatin1Char('[') + section + QLatin1Char(']');
        else if (inSection && line.contains(QLatin1Char('=')))
            keys.append(line.section(QLatin1Char('='), 0, 0));
    }
    return keys;
}

} // namespace

class TestLanguageSupport : public QObject
{
    Q_OBJECT
private slots:
    void title_data();
    void title();
    void emptyValuesLeaveProperties_data();
    void emptyValuesLeaveProperties();
    void propertiesOfEachControl();
    void textOfEarlierLanguageStays();
    void arrayMembersUseTheirIndex();
    void missingFileLeavesWindow();
    void eightBitFileStillRead_data();
    void eightBitFileStillRead();
    void fileFoundWhateverItsCase();
    void pendingEventsRunAfterEachControl();
    void windowClosedWhileApplying();
    void shippedFilesCoverMainWindow_data();
    void shippedFilesCoverMainWindow();
    void shippedCaptionsFitTheirControls_data();
    void shippedCaptionsFitTheirControls();

    void getLangString_data();
    void getLangString();
    void getLangStringLoadsStoredLanguageOnce();
    void getLangStringRetriesAfterAbsentSetting();
    void getLangStringWithoutSettingFile();
};

void TestLanguageSupport::title_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("designed");
    QTest::addColumn<QString>("expected");

    const QString designed = QStringLiteral("Designed");
    QTest::newRow("key given") << true << QByteArray("[frmTest]\r\nfrmTest.Caption=\"New\"\r\n")
                               << designed << QStringLiteral("New");
    QTest::newRow("key of any case") << true << QByteArray("[FRMTEST]\r\nFRMTEST.CAPTION=New\r\n")
                                     << designed << QStringLiteral("New");
    // Unlike a control's caption, the title takes an absent or empty value.
    QTest::newRow("key absent") << true << QByteArray("[frmTest]\r\nlblone.Caption=\"x\"\r\n")
                                << designed << QString();
    QTest::newRow("empty value") << true << QByteArray("[frmTest]\r\nfrmTest.Caption=\"\"\r\n")
                                 << designed << QString();
    QTest::newRow("only in another section")
        << true << QByteArray("[frmOther]\r\nfrmTest.Caption=\"New\"\r\n") << designed << QString();
    QTest::newRow("no file") << false << QByteArray() << designed << designed;
    QTest::newRow("empty title skipped")
        << true << QByteArray("[frmTest]\r\nfrmTest.Caption=\"New\"\r\n") << QString() << QString();
}

void TestLanguageSupport::title()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, body);
    QFETCH(QString, designed);
    QFETCH(QString, expected);

    LanguageFolder folder;
    if (fileExists)
        folder.writeLanguage(body);
    TextForm form(designed);
    folder.language.ApplyLanguage(&form);
    QCOMPARE(form.windowTitle(), expected);
}

void TestLanguageSupport::emptyValuesLeaveProperties_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("nothing") << QByteArray();
    QTest::newRow("two quotes") << QByteArray("\"\"");
    QTest::newRow("blanks") << QByteArray("   ");
}

void TestLanguageSupport::emptyValuesLeaveProperties()
{
    QFETCH(QByteArray, value);

    LanguageFolder folder;
    folder.writeLanguage("[frmTest]\r\nlblone.Caption=" + value + "\r\nlblone.ToolTipText=" +
                         value + "\r\nlblone.Tag=" + value + "\r\ncmdtwo.Caption=\"Set\"\r\n");
    TextForm form;
    NamedControl* one = form.control(QStringLiteral("lblone"));
    one->setToolTip(QStringLiteral("Tip"));
    one->setTag(QStringLiteral("no"));

    folder.language.ApplyLanguage(&form);
    QCOMPARE(one->caption(), QStringLiteral("One"));
    QCOMPARE(one->toolTip(), QStringLiteral("Tip"));
    QCOMPARE(one->tag(), QStringLiteral("no"));
    QCOMPARE(form.captionOf(QStringLiteral("cmdtwo")), QStringLiteral("Set"));
}

void TestLanguageSupport::propertiesOfEachControl()
{
    LanguageFolder folder;
    folder.writeLanguage("[frmTest]\r\n"
                         "lblone.Caption=\"Label\"\r\n"
                         "lblone.ToolTipText=\"Label tip\"\r\n"
                         "CMDTWO.caption=\"Button\"\r\n"
                         "frmbox.Caption=\"Frame \"\r\n"
                         "chkthree.Caption=\"Check\"\r\n"
                         "chkthree.Tag=\"-1\"\r\n"
                         // Properties a control lacks are passed over.
                         "txtfour.Caption=\"ignored\"\r\n"
                         "txtfour.ToolTipText=\"Text tip\"\r\n"
                         "lstfive.Caption=\"ignored\"\r\n"
                         "mnuItems.Caption=\"Menu\"\r\n"
                         "[Strings]\r\n"
                         "lblone.Caption=\"wrong section\"\r\n");
    TextForm form;
    folder.language.ApplyLanguage(&form);

    QCOMPARE(form.captionOf(QStringLiteral("lblone")), QStringLiteral("Label"));
    QCOMPARE(form.control(QStringLiteral("lblone"))->toolTip(), QStringLiteral("Label tip"));
    QCOMPARE(form.captionOf(QStringLiteral("cmdtwo")), QStringLiteral("Button"));
    QCOMPARE(form.captionOf(QStringLiteral("frmbox")), QStringLiteral("Frame "));
    QCOMPARE(form.captionOf(QStringLiteral("chkthree")), QStringLiteral("Check"));
    QCOMPARE(form.control(QStringLiteral("chkthree"))->tag(), QStringLiteral("-1"));
    QCOMPARE(form.control(QStringLiteral("txtfour"))->toolTip(), QStringLiteral("Text tip"));
    QCOMPARE(qobject_cast<QLineEdit*>(form.control(QStringLiteral("txtfour"))->widget())->text(),
             QStringLiteral("four"));
    QCOMPARE(form.captionOf(QStringLiteral("mnuItems")), QStringLiteral("Menu"));
}

void TestLanguageSupport::textOfEarlierLanguageStays()
{
    LanguageFolder folder;
    folder.writeLanguage("[frmTest]\r\nlblone.Caption=\"First one\"\r\n"
                         "cmdtwo.Caption=\"First two\"\r\n",
                         QStringLiteral("First"));
    folder.writeLanguage("[frmTest]\r\ncmdtwo.Caption=\"Second two\"\r\n",
                         QStringLiteral("Second"));
    TextForm form;

    folder.language.setCurrentLang(QStringLiteral("First"));
    folder.language.ApplyLanguage(&form);
    folder.language.setCurrentLang(QStringLiteral("Second"));
    folder.language.ApplyLanguage(&form);

    QCOMPARE(form.captionOf(QStringLiteral("lblone")), QStringLiteral("First one"));
    QCOMPARE(form.captionOf(QStringLiteral("cmdtwo")), QStringLiteral("Second two"));
}

void TestLanguageSupport::arrayMembersUseTheirIndex()
{
    LanguageFolder folder;
    folder.writeLanguage("[frmTest]\r\n"
                         "mnuItem.Caption=\"No index\"\r\n"
                         "mnuItem(02).Caption=\"Leading zero\"\r\n"
                         "mnuItem(2).Caption=\"Third\"\r\n"
                         "mnuItem(0).Tag=\"no\"\r\n");
    TextForm form;
    folder.language.ApplyLanguage(&form);

    QCOMPARE(form.captionOf(QStringLiteral("mnuItem"), 0), QStringLiteral("Item 0"));
    QCOMPARE(form.control(QStringLiteral("mnuItem"), 0)->tag(), QStringLiteral("no"));
    QCOMPARE(form.captionOf(QStringLiteral("mnuItem"), 1), QStringLiteral("Item 1"));
    QCOMPARE(form.captionOf(QStringLiteral("mnuItem"), 2), QStringLiteral("Third"));
}

void TestLanguageSupport::missingFileLeavesWindow()
{
    LanguageFolder folder;
    folder.writeLanguage("[frmTest]\r\nlblone.Caption=\"x\"\r\n[Strings]\r\n0001=\"x\"\r\n",
                         QStringLiteral("Other"));
    folder.language.setCurrentLang(QStringLiteral("Missing"));
    TextForm form;
    form.control(QStringLiteral("lblone"))->setToolTip(QStringLiteral("Tip"));

    folder.language.ApplyLanguage(&form);
    QCOMPARE(form.windowTitle(), QStringLiteral("Designed"));
    QCOMPARE(form.captionOf(QStringLiteral("lblone")), QStringLiteral("One"));
    QCOMPARE(form.control(QStringLiteral("lblone"))->toolTip(), QStringLiteral("Tip"));
    QCOMPARE(form.captionOf(QStringLiteral("mnuItem"), 2), QStringLiteral("Item 2"));
    QCOMPARE(folder.language.GetLangString(QStringLiteral("0001")), QString());
    QCOMPARE(folder.language.CurrentLang(), QStringLiteral("Missing"));
}

void TestLanguageSupport::eightBitFileStillRead_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("UTF-8") << QByteArray("Caf\xc3\xa9 \xd8\xb9") << QStringLiteral("Café ع");
    QTest::newRow("Latin-1") << QByteArray("Caf\xe9 d\xe9j\xe0") << QStringLiteral("Café déjà");
    QTest::newRow("cut UTF-8 sequence") << QByteArray("ab\xc3") << QStringLiteral("abÃ");
}

void TestLanguageSupport::eightBitFileStillRead()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, expected);

    LanguageFolder folder;
    folder.writeLanguage("[frmTest]\r\nfrmTest.Caption=\"" + value + "\"\r\nlblone.Caption=\"" +
                         value + "\"\r\n[Strings]\r\n0002=\"" + value + "\"\r\n");
    TextForm form;
    folder.language.ApplyLanguage(&form);
    QCOMPARE(form.windowTitle(), expected);
    QCOMPARE(form.captionOf(QStringLiteral("lblone")), expected);
    QCOMPARE(folder.language.GetLangString(QStringLiteral("0002")), expected);
}

void TestLanguageSupport::fileFoundWhateverItsCase()
{
    LanguageFolder folder;
    folder.writeLanguage("[frmTest]\r\nlblone.Caption=\"Found\"\r\n[Strings]\r\n0003=\"Yes\"\r\n",
                         QStringLiteral("English"));
    folder.language.setCurrentLang(QStringLiteral("eNGLISH"));
    TextForm form;
    folder.language.ApplyLanguage(&form);
    QCOMPARE(form.captionOf(QStringLiteral("lblone")), QStringLiteral("Found"));
    QCOMPARE(folder.language.GetLangString(QStringLiteral("0003")), QStringLiteral("Yes"));
    // The name itself is kept as given.
    QCOMPARE(folder.language.CurrentLang(), QStringLiteral("eNGLISH"));
}

void TestLanguageSupport::pendingEventsRunAfterEachControl()
{
    LanguageFolder folder;
    folder.writeLanguage("[frmTest]\r\nlblone.Caption=\"New one\"\r\n"
                         "mnuItem(2).Caption=\"New last\"\r\n");
    TextForm form;
    QStringList seen;
    QTimer::singleShot(0, &form, [&] {
        seen << form.captionOf(QStringLiteral("lblone"))
             << form.captionOf(QStringLiteral("mnuItem"), 2);
    });

    folder.language.ApplyLanguage(&form);
    // The timer ran inside the routine, right after the first control.
    QCOMPARE(seen, QStringList({QStringLiteral("New one"), QStringLiteral("Item 2")}));
    QCOMPARE(form.captionOf(QStringLiteral("mnuItem"), 2), QStringLiteral("New last"));
}

void TestLanguageSupport::windowClosedWhileApplying()
{
    LanguageFolder folder;
    folder.writeLanguage("[frmTest]\r\nlblone.Caption=\"New one\"\r\ncmdtwo.Caption=\"x\"\r\n");
    QPointer<TextForm> form = new TextForm;
    QObject context;
    QTimer::singleShot(0, &context, [&] { delete form.data(); });

    folder.language.ApplyLanguage(form);
    QVERIFY(form.isNull());

    // The routine is usable again afterwards.
    TextForm next;
    folder.language.ApplyLanguage(&next);
    QCOMPARE(next.captionOf(QStringLiteral("cmdtwo")), QStringLiteral("x"));
}

void TestLanguageSupport::shippedFilesCoverMainWindow_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Arabic") << QStringLiteral("Arabic");
    QTest::newRow("English") << QStringLiteral("English");
    QTest::newRow("French") << QStringLiteral("French");
}

void TestLanguageSupport::shippedFilesCoverMainWindow()
{
    QFETCH(QString, name);

    MainFixture f;
    f.language->setCurrentLang(name);
    FrmMine* w = f.makeWindow();
    f.language->ApplyLanguage(w);

    const QString file = f.language->currentLangFile();
    const QStringList keys = sectionKeys(file, QStringLiteral("frmMine"));
    QVERIFY(keys.size() >= 29);
    for (const QString& key : keys) {
        const QString expected =
            LangFile::ReadLangValue(file, QStringLiteral("frmMine"), key).value_or(QString());
        QVERIFY2(!expected.isEmpty(), qPrintable(key));
        const QString control = key.section(QLatin1Char('.'), 0, 0);
        const QString property = key.section(QLatin1Char('.'), 1);
        if (control == QLatin1String("frmMine")) {
            QCOMPARE(w->windowTitle(), expected);
            continue;
        }
        NamedControl* c = w->control(control);
        QVERIFY2(c, qPrintable(QStringLiteral("no control for ") + key));
        if (property == QLatin1String("Caption"))
            QCOMPARE(c->caption(), expected);
        else if (property == QLatin1String("ToolTipText"))
            QCOMPARE(c->toolTip(), expected);
        else
            QFAIL(qPrintable(QStringLiteral("unexpected key ") + key));
    }
    for (const char* id : {"0001", "0002", "0003", "0004"})
        QVERIFY(!f.language->GetLangString(QString::fromLatin1(id)).isEmpty());
}

void TestLanguageSupport::shippedCaptionsFitTheirControls_data()
{
    shippedFilesCoverMainWindow_data();
}

void TestLanguageSupport::shippedCaptionsFitTheirControls()
{
    QFETCH(QString, name);

    MainFixture f;
    f.language->setCurrentLang(name);
    FrmMine* w = f.makeWindow();
    if (QFontInfo(w->font()).family() != QLatin1String("DejaVu Sans"))
        QSKIP("The captions were fitted to DejaVu Sans, which this machine lacks.");
    FrmTools tools(w, f.services());
    f.language->ApplyLanguage(w);
    f.language->ApplyLanguage(&tools);

    for (Form* form : {static_cast<Form*>(w), static_cast<Form*>(&tools)}) {
        for (NamedControl* c : form->controls()) {
            QWidget* widget = c->widget();
            if (!widget || !widget->isVisibleTo(form) || !c->hasCaption())
                continue;
            QStyle* style = widget->style();
            int room = widget->width();
            if (qobject_cast<QCheckBox*>(widget))
                room -= style->pixelMetric(QStyle::PM_IndicatorWidth) +
                        style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            else if (qobject_cast<QPushButton*>(widget))
                room -= 2 * style->pixelMetric(QStyle::PM_ButtonMargin);
            else if (qobject_cast<QGroupBox*>(widget))
                room -= 16;
            else if (!qobject_cast<QLabel*>(widget))
                continue;
            const int needed = widget->fontMetrics().horizontalAdvance(c->caption());
            QVERIFY2(needed <= room,
                     qPrintable(QStringLiteral("%1 %2 \"%3\" needs %4 pixels of %5")
                                    .arg(form->formName(), c->keyBase(), c->caption())
                                    .arg(needed)
                                    .arg(room)));
        }
    }
}

void TestLanguageSupport::getLangString_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0001") << QStringLiteral("0001") << QStringLiteral("Already running");
    QTest::newRow("0004") << QStringLiteral("0004") << QStringLiteral("Select first");
    QTest::newRow("absent id") << QStringLiteral("0005") << QString();
    QTest::newRow("without leading zeros") << QStringLiteral("1") << QString();
    QTest::newRow("key of a window section") << QStringLiteral("lblone.Caption") << QString();
}

void TestLanguageSupport::getLangString()
{
    QFETCH(QString, id);
    QFETCH(QString, expected);

    LanguageFolder folder;
    folder.writeLanguage("[frmTest]\r\nlblone.Caption=\"x\"\r\n[Strings]\r\n"
                         "0001=\"Already running\"\r\n0004=\"Select first\"\r\n");
    QCOMPARE(folder.language.GetLangString(id), expected);
}

void TestLanguageSupport::getLangStringLoadsStoredLanguageOnce()
{
    LanguageFolder folder;
    folder.writeLanguage("[Strings]\r\n0001=\"Premier\"\r\n", QStringLiteral("French"));
    folder.writeLanguage("[Strings]\r\n0001=\"Second\"\r\n", QStringLiteral("Other"));
    folder.storeLanguage("French");
    folder.language.setCurrentLang(QString());

    QCOMPARE(folder.language.GetLangString(QStringLiteral("0001")), QStringLiteral("Premier"));
    QCOMPARE(folder.language.CurrentLang(), QStringLiteral("French"));

    folder.storeLanguage("Other");
    QCOMPARE(folder.language.GetLangString(QStringLiteral("0001")), QStringLiteral("Premier"));
    QCOMPARE(folder.language.CurrentLang(), QStringLiteral("French"));
}

void TestLanguageSupport::getLangStringRetriesAfterAbsentSetting()
{
    LanguageFolder folder;
    folder.writeLanguage("[Strings]\r\n0001=\"Premier\"\r\n", QStringLiteral("French"));
    folder.write(QStringLiteral("LangSetting.ini"), "[Language]\r\nOther=French\r\n");
    folder.language.setCurrentLang(QString());

    QCOMPARE(folder.language.GetLangString(QStringLiteral("0001")), QString());
    QCOMPARE(folder.language.CurrentLang(), QString());

    folder.storeLanguage("French");
    QCOMPARE(folder.language.GetLangString(QStringLiteral("0001")), QStringLiteral("Premier"));
    QCOMPARE(folder.language.CurrentLang(), QStringLiteral("French"));
}

void TestLanguageSupport::getLangStringWithoutSettingFile()
{
    LanguageFolder folder;
    folder.writeLanguage("[Strings]\r\n0001=\"Premier\"\r\n", QStringLiteral("French"));
    folder.language.setCurrentLang(QString());
    QCOMPARE(folder.language.GetLangString(QStringLiteral("0001")), QString());
    QCOMPARE(folder.language.CurrentLang(), QString());
}

QTEST_MAIN(TestLanguageSupport)
#include "tst_languagesupport.moc"
