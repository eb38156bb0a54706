#include "common/MainFixture.h"

#include "common/Form.h"
#include "language/Mirroring.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// A window of the designed main window's width with one control of each situation: directly on
// the window, inside a frame, a menu item (no position) between them, and a file list (no
// widget).
class MirrorForm : public Form
{
public:
    MirrorForm() : Form(QStringLiteral("frmTest"), QSizeF(7665, 3000))
    {
        addLabel(QStringLiteral("lblloose"), QStringLiteral("Loose"), {120, 120, 1000, 255});
        addMenu(QStringLiteral("mnuTop"), QStringLiteral("Top"));
        addMenuItem(QStringLiteral("mnuTop"), QStringLiteral("mnuitem"), QStringLiteral("Item"));
        addFrame(QStringLiteral("frmbox"), QStringLiteral("Box"), {120, 600, 7455, 2055});
        NamedControl* box = control(QStringLiteral("frmbox"));
        addButton(QStringLiteral("cmdin"), QStringLiteral("In"), {4680, 1150, 1215, 375}, box);
        addLabel(QStringLiteral("lblin"), QStringLiteral("In"), {200, 360, 660, 195}, box);
        addCheckBox(QStringLiteral("chkin"), QStringLiteral("Check"), {120, 760, 2535, 255}, box);
        addTextBox(QStringLiteral("txtin"), QString(), {960, 280, 4935, 300}, box);
        addFileList(QStringLiteral("Files"), {1080, 2640, 855, 300});
    }
};

QByteArray languageFile(const QByteArray& body, const QByteArray& tail)
{
    return "[frmMine]\r\n" + body + "[Strings]\r\n0001=\"x\"\r\n" + tail;
}

void storeLanguage(const MainFixture& f, const QByteArray& name)
{
    f.env.writeFile(QStringLiteral("app/lang/LangSetting.ini"),
                    "[Language]\r\nCurrentLanguage=" + name + "\r\n");
}

// Chooses an entry of the language combo box as the user does.
void chooseLanguage(FrmMine* w, const QString& name)
{
    const int index = w->comblang->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    QVERIFY2(index >= 0, qPrintable(name));
    w->comblang->setCurrentIndex(index);
    emit w->comblang->activated(index);
}

double leftOf(const Form* form, const char* name)
{
    return form->control(QString::fromLatin1(name))->left();
}

} // namespace

class TestMirroring : public QObject
{
    Q_OBJECT
private slots:
    void positionsTurnOverAndBack_data();
    void positionsTurnOverAndBack();
    void alignmentFollowsTag_data();
    void alignmentFollowsTag();

    void loadsMirroredWithArabic();
    void switchingBackRestoresDesign();
    void twoRightToLeftLanguagesMirrorOnce();
    void tagFromLanguageFileKeepsAlignment_data();
    void tagFromLanguageFileKeepsAlignment();
    void otherDigitsLeaveLayout();
    void unusableFlagAtStartKeepsDesign_data();
    void unusableFlagAtStartKeepsDesign();
    void unusableFlagAfterSwitchKeepsMirror_data();
    void unusableFlagAfterSwitchKeepsMirror();
};

void TestMirroring::positionsTurnOverAndBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("designed");
    QTest::addColumn<double>("mirrored");

    // Against the window's inner width 7665.
    QTest::newRow("on the window") << QStringLiteral("lblloose") << 120.0 << 6545.0;
    QTest::newRow("frame") << QStringLiteral("frmbox") << 120.0 << 90.0;
    // Against the frame's width 7455, not the window's.
    QTest::newRow("button in frame") << QStringLiteral("cmdin") << 4680.0 << 1560.0;
    QTest::newRow("label in frame") << QStringLiteral("lblin") << 200.0 << 6595.0;
    QTest::newRow("file list") << QStringLiteral("Files") << 1080.0 << 5730.0;
}

void TestMirroring::positionsTurnOverAndBack()
{
    QFETCH(QString, name);
    QFETCH(double, designed);
    QFETCH(double, mirrored);

    MirrorForm form;
    NamedControl* c = form.control(name);
    QCOMPARE(c->left(), designed);

    Mirroring::AlignToRight(&form);
    QCOMPARE(c->left(), mirrored);
    if (QWidget* w = c->widget())
        QCOMPARE(w->x(), qRound(mirrored / form.twipsPerPixelX()));

    Mirroring::AlignToLeft(&form);
    QCOMPARE(c->left(), designed);
    if (QWidget* w = c->widget())
        QCOMPARE(w->x(), qRound(designed / form.twipsPerPixelX()));
}

void TestMirroring::alignmentFollowsTag_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("mirroredAlignment");

    QTest::newRow("no tag") << QString() << 1;
    QTest::newRow("no") << QStringLiteral("no") << 0;
    QTest::newRow("-1") << QStringLiteral("-1") << 0;
    // The exceptions are matched exactly.
    QTest::newRow("No") << QStringLiteral("No") << 1;
    QTest::newRow("no ") << QStringLiteral("no ") << 1;
    QTest::newRow("other tag") << QStringLiteral("1") << 1;
}

void TestMirroring::alignmentFollowsTag()
{
    QFETCH(QString, tag);
    QFETCH(int, mirroredAlignment);

    MirrorForm form;
    for (const char* name : {"lblloose", "lblin", "chkin", "txtin"}) {
        NamedControl* c = form.control(QString::fromLatin1(name));
        c->setTag(tag);
        QCOMPARE(c->alignment(), 0);
    }
    Mirroring::AlignToRight(&form);
    for (const char* name : {"lblloose", "lblin", "chkin", "txtin"}) {
        NamedControl* c = form.control(QString::fromLatin1(name));
        QCOMPARE(c->alignment(), mirroredAlignment);
        // A kept alignment does not keep the control in place.
        QVERIFY(c->rightToLeft());
    }
    QCOMPARE(leftOf(&form, "lblloose"), 6545.0);

    auto* label = qobject_cast<QLabel*>(form.control(QStringLiteral("lblloose"))->widget());
    QCOMPARE(bool(label->alignment() & Qt::AlignRight), mirroredAlignment == 1);
    auto* edit = qobject_cast<QLineEdit*>(form.control(QStringLiteral("txtin"))->widget());
    QCOMPARE(bool(edit->alignment() & Qt::AlignRight), mirroredAlignment == 1);
    auto* check = qobject_cast<QCheckBox*>(form.control(QStringLiteral("chkin"))->widget());
    QCOMPARE(check->layoutDirection(), mirroredAlignment == 1 ? Qt::RightToLeft : Qt::LeftToRight);

    Mirroring::AlignToLeft(&form);
    for (const char* name : {"lblloose", "lblin", "chkin", "txtin"})
        QCOMPARE(form.control(QString::fromLatin1(name))->alignment(), 0);
    QVERIFY(!(label->alignment() & Qt::AlignRight));
}

void TestMirroring::loadsMirroredWithArabic()
{
    MainFixture f;
    storeLanguage(f, "Arabic");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    QCOMPARE(w->txtrtl->text(), QStringLiteral("0"));
    QVERIFY(w->formRightToLeft());
    QCOMPARE(leftOf(w, "cmdoptions"), 1560.0);
    // The language frame moves to the right-hand edge of the window.
    QCOMPARE(leftOf(w, "frmlang"), 7665.0 - 2535.0 - 120.0);
    QCOMPARE(w->control(QStringLiteral("lblpath"))->alignment(), 1);
    QCOMPARE(w->control(QStringLiteral("chkrun"))->alignment(), 1);
    for (const char* kept : {"txtpath", "txtm", "txts", "lblhelp", "lblsite", "lblsupport"})
        QCOMPARE(w->control(QString::fromLatin1(kept))->alignment(), 0);
    for (NamedControl* c : w->controls())
        QVERIFY2(c->rightToLeft(), qPrintable(c->keyBase()));
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestMirroring::switchingBackRestoresDesign()
{
    MainFixture f;
    storeLanguage(f, "Arabic");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    std::map<QString, double> mirrored;
    for (NamedControl* c : w->controls())
        mirrored[c->keyBase()] = c->left();

    chooseLanguage(w, QStringLiteral("English"));
    QCOMPARE(w->txtrtl->text(), QStringLiteral("1"));
    QVERIFY(!w->formRightToLeft());
    QCOMPARE(leftOf(w, "cmdoptions"), FrmMine::DesignApplyLeft);
    QCOMPARE(leftOf(w, "frmlang"), 120.0);
    QCOMPARE(leftOf(w, "lstimages"), 120.0);
    for (NamedControl* c : w->controls()) {
        QCOMPARE(c->alignment(), 0);
        QVERIFY(!c->rightToLeft());
    }

    // And over again: the same mirrored layout as at start.
    chooseLanguage(w, QStringLiteral("Arabic"));
    for (NamedControl* c : w->controls())
        QCOMPARE(c->left(), mirrored[c->keyBase()]);
}

void TestMirroring::twoRightToLeftLanguagesMirrorOnce()
{
    MainFixture f;
    QFile::copy(f.env.appDir() + QStringLiteral("/lang/Arabic.lng"),
                f.env.appDir() + QStringLiteral("/lang/Urdu.lng"));
    storeLanguage(f, "Arabic");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();
    QCOMPARE(leftOf(w, "cmdoptions"), 1560.0);

    chooseLanguage(w, QStringLiteral("Urdu"));
    QCOMPARE(leftOf(w, "cmdoptions"), 1560.0);
    QCOMPARE(leftOf(w, "lstimages"), 7665.0 - 2055.0 - 120.0);
    QVERIFY(w->formRightToLeft());
    QCOMPARE(w->control(QStringLiteral("lblpath"))->alignment(), 1);

    chooseLanguage(w, QStringLiteral("Arabic"));
    QCOMPARE(leftOf(w, "cmdoptions"), 1560.0);
}

void TestMirroring::tagFromLanguageFileKeepsAlignment_data()
{
    QTest::addColumn<QByteArray>("tag");
    QTest::newRow("no") << QByteArray("no");
    QTest::newRow("-1") << QByteArray("-1");
}

void TestMirroring::tagFromLanguageFileKeepsAlignment()
{
    QFETCH(QByteArray, tag);

    MainFixture f;
    f.env.writeFile(
        QStringLiteral("app/lang/Hebrew.lng"),
        languageFile("lblpath.Tag=\"" + tag + "\"\r\nchkrun.Tag=\"" + tag + "\"\r\n", "0"));
    storeLanguage(f, "Hebrew");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    QCOMPARE(w->control(QStringLiteral("lblpath"))->tag(), QString::fromLatin1(tag));
    QCOMPARE(w->control(QStringLiteral("lblpath"))->alignment(), 0);
    QCOMPARE(w->control(QStringLiteral("chkrun"))->alignment(), 0);
    QCOMPARE(w->chkrun->layoutDirection(), Qt::LeftToRight);
    // Still moved and still right-to-left; untagged neighbours are right-justified.
    QCOMPARE(leftOf(w, "lblpath"), 7455.0 - 660.0 - 200.0);
    QVERIFY(w->control(QStringLiteral("lblpath"))->rightToLeft());
    QCOMPARE(w->control(QStringLiteral("lbllstfile"))->alignment(), 1);
}

void TestMirroring::otherDigitsLeaveLayout()
{
    MainFixture f;
    f.env.writeFile(QStringLiteral("app/lang/Odd.lng"), languageFile({}, "7"));
    storeLanguage(f, "Arabic");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    chooseLanguage(w, QStringLiteral("Odd"));
    QCOMPARE(w->txtrtl->text(), QStringLiteral("7"));
    QCOMPARE(leftOf(w, "cmdoptions"), 1560.0);
    chooseLanguage(w, QStringLiteral("English"));
    chooseLanguage(w, QStringLiteral("Odd"));
    QCOMPARE(leftOf(w, "cmdoptions"), FrmMine::DesignApplyLeft);
}

void TestMirroring::unusableFlagAtStartKeepsDesign_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("missing") << false << QByteArray();
    QTest::newRow("empty") << true << QByteArray();
    QTest::newRow("line break at end") << true << languageFile({}, "0\r\n");
    QTest::newRow("letter at end") << true << languageFile({}, "0x");
    QTest::newRow("blank at end") << true << languageFile({}, "0 ");
}

void TestMirroring::unusableFlagAtStartKeepsDesign()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);

    MainFixture f;
    if (exists)
        f.env.writeFile(QStringLiteral("app/lang/Broken.lng"), content);
    storeLanguage(f, "Broken");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();

    QVERIFY(f.dialogs.messages().isEmpty());
    QCOMPARE(w->txtrtl->text(), QStringLiteral("Text1"));
    QVERIFY(!w->formRightToLeft());
    QCOMPARE(leftOf(w, "cmdoptions"), FrmMine::DesignApplyLeft);
    QCOMPARE(w->cmdoptions->text(), QStringLiteral("Apply"));
    // The start-up went on past the language steps.
    QCOMPARE(w->txts->text(), QStringLiteral("30"));
}

void TestMirroring::unusableFlagAfterSwitchKeepsMirror_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("removed") << false << QByteArray();
    QTest::newRow("emptied") << true << QByteArray();
    QTest::newRow("line break at end")
        << true << languageFile("cmdoptions.Caption=\"Go\"\r\n", "1\r\n");
    QTest::newRow("letter at end") << true << languageFile("cmdoptions.Caption=\"Go\"\r\n", "1a");
}

void TestMirroring::unusableFlagAfterSwitchKeepsMirror()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);

    MainFixture f;
    f.env.writeFile(QStringLiteral("app/lang/Broken.lng"), languageFile({}, "1"));
    storeLanguage(f, "Arabic");
    QVERIFY(f.load());
    FrmMine* w = f.window.get();
    const QString arabicTools = w->cmdtools->text();

    // The file changes after the list was built.
    const QString broken = f.env.appDir() + QStringLiteral("/lang/Broken.lng");
    QVERIFY(QFile::remove(broken));
    if (exists)
        f.env.writeFile(QStringLiteral("app/lang/Broken.lng"), content);

    chooseLanguage(w, QStringLiteral("Broken"));
    QVERIFY(f.dialogs.messages().isEmpty());
    QCOMPARE(w->txtrtl->text(), QStringLiteral("0"));
    QVERIFY(w->formRightToLeft());
    QCOMPARE(leftOf(w, "cmdoptions"), 1560.0);
    // Texts the file does not carry stay as they were.
    QCOMPARE(w->cmdtools->text(), arabicTools);
    QCOMPARE(f.language->CurrentLang(), QStringLiteral("Broken"));

    // The window still switches normally afterwards.
    chooseLanguage(w, QStringLiteral("English"));
    QCOMPARE(leftOf(w, "cmdoptions"), FrmMine::DesignApplyLeft);
    QCOMPARE(w->cmdtools->text(), QStringLiteral("Other Tools"));
}

QTEST_MAIN(TestMirroring)
#include "tst_mirroring.moc"
