#include "common/MainFixture.h"

#include "common/NamedControl.h"
#include "settings/Colors.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Entry = Settings::Entry;

namespace {

QColor systemText()
{
    return QApplication::palette().color(QPalette::WindowText);
}

// Checks every kind of widget of the main window against a colour.
void verifyColoured(FrmMine* w, const QColor& colour, bool light)
{
    const QColor text = light ? systemText() : QColor(Qt::white);
    for (const char* name :
         {"lblbackcolor", "lblsite", "lblinfo1", "chkrun", "chkmwin", "frmoptions", "frmpath"}) {
        QWidget* widget = w->control(QString::fromLatin1(name))->widget();
        QVERIFY2(widget->autoFillBackground(), name);
        QCOMPARE(widget->palette().color(QPalette::Window), colour);
        QCOMPARE(widget->palette().color(QPalette::WindowText), text);
    }
    for (QPushButton* button : {w->cmdchange, w->cmdoptions, w->cmdPath, w->cmdtools})
        QCOMPARE(button->palette().color(QPalette::Button), light ? colour : QColor(Qt::white));
    // Text boxes and lists keep their own colours.
    QCOMPARE(w->txtm->palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::Base));
    QCOMPARE(w->lstimages->palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::Base));
    QCOMPARE(w->palette().color(QPalette::Window), colour);
}

} // namespace

class TestColors : public QObject
{
    Q_OBJECT
private slots:
    void splitColor_data();
    void splitColor();
    void isLight_data();
    void isLight();
    void chosenColour_data();
    void chosenColour();
    void colourAtStart_data();
    void colourAtStart();
    void cancelStoresTheCurrentColour();
    void customColoursOffered();
};

void TestColors::splitColor_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("default") << 16054520u << 248 << 248 << 244;
    QTest::newRow("black") << 0u << 0 << 0 << 0;
    QTest::newRow("white") << 0xFFFFFFu << 255 << 255 << 255;
    QTest::newRow("bytes in order") << 0x123456u << 0x56 << 0x34 << 0x12;
    QTest::newRow("high byte ignored") << 0x80000008u << 8 << 0 << 0;
}

void TestColors::splitColor()
{
    QFETCH(quint32, value);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    const Colors::Rgb rgb = Colors::SplitColor(value);
    QCOMPARE(rgb.red, red);
    QCOMPARE(rgb.green, green);
    QCOMPARE(rgb.blue, blue);
}

void TestColors::isLight_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<bool>("light");
    QTest::newRow("default") << 248 << 248 << 244 << true;
    QTest::newRow("two of three high") << 200 << 200 << 50 << true;
    QTest::newRow("one of three high") << 200 << 50 << 50 << false;
    QTest::newRow("128 counts as high") << 128 << 128 << 0 << true;
    QTest::newRow("127 counts as low") << 127 << 127 << 255 << false;
    QTest::newRow("green and blue") << 0 << 128 << 128 << true;
    QTest::newRow("red and blue") << 255 << 0 << 255 << true;
    QTest::newRow("black") << 0 << 0 << 0 << false;
}

void TestColors::isLight()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(bool, light);
    QCOMPARE(Colors::isLight(red, green, blue), light);
}

void TestColors::chosenColour_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("light");
    QTest::addColumn<QString>("code");
    QTest::newRow("default") << QColor(248, 248, 244) << true << "16054520";
    QTest::newRow("200, 200, 50") << QColor(200, 200, 50) << true << "3328200";
    QTest::newRow("200, 50, 50") << QColor(200, 50, 50) << false << "3289800";
    QTest::newRow("128, 128, 0") << QColor(128, 128, 0) << true << "32896";
    QTest::newRow("127, 127, 255") << QColor(127, 127, 255) << false << "16744319";
    QTest::newRow("black") << QColor(0, 0, 0) << false << "0";
}

void TestColors::chosenColour()
{
    QFETCH(QColor, colour);
    QFETCH(bool, light);
    QFETCH(QString, code);
    MainFixture f;
    FrmMine* w = f.start({});
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    f.dialogs.setNextColor(colour);
    QTest::mouseClick(w->cmdchange, Qt::LeftButton);
    QCOMPARE(f.stored(Entry::Color), code);
    QCOMPARE(w->backColor(), code.toUInt());
    verifyColoured(w, colour, light);
    QVERIFY(f.dialogs.messages().isEmpty());
}

void TestColors::colourAtStart_data()
{
    QTest::addColumn<QString>("stored"); // empty: nothing stored
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("light");
    QTest::newRow("nothing stored") << "" << QColor(248, 248, 244) << true;
    QTest::newRow("dark") << "3289800" << QColor(200, 50, 50) << false;
    QTest::newRow("light") << "3328200" << QColor(200, 200, 50) << true;
    QTest::newRow("not a number") << "blue" << QColor(248, 248, 244) << true;
}

void TestColors::colourAtStart()
{
    QFETCH(QString, stored);
    QFETCH(QColor, colour);
    QFETCH(bool, light);
    MainFixture f;
    if (!stored.isEmpty())
        f.settings->write(Entry::Color, stored);
    FrmMine* w = f.start({});
    QVERIFY(w);
    verifyColoured(w, colour, light);
    // Start-up reads the colour; it never writes it.
    QCOMPARE(f.isStored(Entry::Color), !stored.isEmpty());
}

void TestColors::cancelStoresTheCurrentColour()
{
    MainFixture f;
    FrmMine* w = f.start({});
    QVERIFY(w);
    QVERIFY(!f.isStored(Entry::Color));
    f.dialogs.setNextColor(std::nullopt);
    w->cmdchange_Click();
    QCOMPARE(f.stored(Entry::Color), QStringLiteral("16054520"));
    verifyColoured(w, QColor(248, 248, 244), true);

    f.dialogs.setNextColor(QColor(200, 50, 50));
    w->cmdchange_Click();
    f.dialogs.setNextColor(std::nullopt);
    w->cmdchange_Click();
    QCOMPARE(f.stored(Entry::Color), QStringLiteral("3289800"));
    verifyColoured(w, QColor(200, 50, 50), false);
}

void TestColors::customColoursOffered()
{
    MainFixture f;
    FrmMine* w = f.start({});
    QVERIFY(w);
    f.dialogs.setNextColor(std::nullopt);
    w->cmdchange_Click();
    const std::array<QColor, 16> offered = f.dialogs.lastCustomColors();
    for (int i = 0; i < 16; ++i) {
        const int grey = 15 * (i + 1);
        QCOMPARE(offered[static_cast<size_t>(i)], QColor(grey, grey, grey));
    }
}

QTEST_MAIN(TestColors)
#include "tst_colors.moc"
