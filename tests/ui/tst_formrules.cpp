// The colour rule, on a small window with a control of each kind it colours.
#include "Table.h"
#include "ui/forms/Colors.h"
#include "ui/forms/Form.h"

#include <QApplication>
#include <QStyle>
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
        // light: at least two of red, green and blue 128 or more; a dark theme has light text
        columns<QColor, bool, bool>("colour", "light", "darkTheme");
        row("two of three high", QColor(200, 200, 50), true, false);
        row("one of three high", QColor(200, 50, 50), false, false);
        row("128 counts as high", QColor(128, 128, 0), true, false);
        row("127 counts as low", QColor(127, 127, 255), false, false);
        row("light colour, dark theme: dark text", QColor(248, 248, 244), true, true);
        row("dark colour, dark theme: white text", QColor(20, 30, 90), false, true);
    }
    void colours()
    {
        const auto [colour, light, darkTheme] =
            fetch<QColor, bool, bool>("colour", "light", "darkTheme");
        const auto [r, g, b] =
            Colors::SplitColor(colour.red() + colour.green() * 256 + colour.blue() * 65536);
        QCOMPARE(QColor(r, g, b), colour);
        QCOMPARE(Colors::isLight(r, g, b), light);
        QPalette theme = QApplication::style()->standardPalette();
        if (darkTheme) {
            theme.setColor(QPalette::Window, Qt::black);
            theme.setColor(QPalette::WindowText, QColor(230, 230, 230));
            theme.setColor(QPalette::ButtonText, QColor(230, 230, 230));
        }
        QApplication::setPalette(theme);
        SmallForm form;
        Colors::ApplyColors(&form, r, g, b);
        const QColor text = !light      ? Qt::white
                            : darkTheme ? Qt::black
                                        : theme.color(QPalette::WindowText);
        for (const char* name : {"lblloose", "chkin", "frmbox"}) {
            QVERIFY(form.control(name)->widget()->autoFillBackground());
            QCOMPARE(form.paletteOf(name).color(QPalette::Window), colour);
            QCOMPARE(form.paletteOf(name).color(QPalette::WindowText), text);
        }
        // Never light on light nor dark on dark, on the buttons either.
        const QColor button = form.paletteOf("cmdin").color(QPalette::Button);
        const QColor buttonText = form.paletteOf("cmdin").color(QPalette::ButtonText);
        QCOMPARE(button, light ? colour : Qt::white);
        QVERIFY(Colors::isLight(buttonText.red(), buttonText.green(), buttonText.blue()) !=
                Colors::isLight(button.red(), button.green(), button.blue()));
    }
};

QTEST_MAIN(TestFormRules)
#include "tst_formrules.moc"
