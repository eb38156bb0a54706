// The colour rule, on a small window with a control of each kind it colours.
#include "Table.h"
#include "ui/forms/Colors.h"
#include "ui/forms/Form.h"

#include <QApplication>
#include <QTest>

class SmallForm : public Form
{
public:
    SmallForm() : Form("frmTest", QSizeF(7665, 3000))
    {
        addLabel("lblloose", "Loose", {120, 120, 1000, 255});
        addFrame("frmbox", "Box", {120, 600, 7455, 2055});
        addButton("cmdin", "In", {4680, 1150, 1215, 375}, control("frmbox"));
        addCheckBox("chkin", "Check", {120, 760, 2535, 255}, control("frmbox"));
    }
    QPalette paletteOf(const char* name) const { return control(name)->widget()->palette(); }
};

class TestFormRules : public QObject
{
    Q_OBJECT
private slots:
    void colours_data()
    {
        // light: at least two of red, green and blue 128 or more
        columns<QColor, bool>("colour", "light");
        QTest::newRow("two of three high") << QColor(200, 200, 50) << true;
        QTest::newRow("one of three high") << QColor(200, 50, 50) << false;
        QTest::newRow("128 counts as high") << QColor(128, 128, 0) << true;
        QTest::newRow("127 counts as low") << QColor(127, 127, 255) << false;
    }
    void colours()
    {
        const auto [colour, light] = fetch<QColor, bool>("colour", "light");
        const auto [r, g, b] =
            Colors::SplitColor(colour.red() + colour.green() * 256 + colour.blue() * 65536);
        QCOMPARE(QColor(r, g, b), colour);
        QCOMPARE(Colors::isLight(r, g, b), light);
        SmallForm form;
        Colors::ApplyColors(&form, r, g, b);
        const QColor text = light ? QApplication::palette().color(QPalette::WindowText) : Qt::white;
        for (const char* name : {"lblloose", "chkin", "frmbox"}) {
            QVERIFY(form.control(name)->widget()->autoFillBackground());
            QCOMPARE(form.paletteOf(name).color(QPalette::Window), colour);
            QCOMPARE(form.paletteOf(name).color(QPalette::WindowText), text);
        }
        QCOMPARE(form.paletteOf("cmdin").color(QPalette::Button), light ? colour : Qt::white);
    }
};

QTEST_MAIN(TestFormRules)
#include "tst_formrules.moc"
