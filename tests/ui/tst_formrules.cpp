// The colour rule, on a small window with a control of each kind it colours; typing into the two
// interval boxes, leaving them, and the interval their texts give.
#include "Table.h"
#include "ui/forms/Colors.h"
#include "ui/forms/Form.h"
#include "ui/main/IntervalFields.h"

#include <QLineEdit>
#include <QStyle>

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
        columns<QColor, bool, bool>("colour", "light", "dark");
        row("two of three high, 128 counting as high", QColor(128, 128, 0), true, false);
        row("one of three high, 127 counting as low", QColor(127, 127, 255), false, false);
        row("light colour, dark theme: dark text", QColor(248, 248, 244), true, true);
        row("dark colour, dark theme: white text", QColor(20, 30, 90), false, true);
    }
    void colours()
    {
        const auto [c, light, dark] = fetch<QColor, bool, bool>("colour", "light", "dark");
        const auto [r, g, b] = Colors::SplitColor(c.red() + c.green() * 256 + c.blue() * 65536);
        QCOMPARE(QColor(r, g, b), c);
        QCOMPARE(Colors::isLight(r, g, b), light);
        QPalette theme = QApplication::style()->standardPalette();
        if (dark)
            for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::ButtonText})
                theme.setColor(role, role == QPalette::Window ? Qt::black : QColor(230, 230, 230));
        QApplication::setPalette(theme);
        SmallForm form;
        Colors::ApplyColors(&form, r, g, b);
        const QColor text = !light ? Qt::white
                            : dark ? Qt::black
                                   : theme.color(QPalette::WindowText);
        for (const char* name : {"lblloose", "chkin", "frmbox"}) {
            QVERIFY(form.control(name)->widget()->autoFillBackground());
            QCOMPARE(form.paletteOf(name).color(QPalette::Window), c);
            QCOMPARE(form.paletteOf(name).color(QPalette::WindowText), text);
        }
        // Never light on light nor dark on dark, on the buttons either.
        const auto isLight = [](QColor x) { return Colors::isLight(x.red(), x.green(), x.blue()); };
        const QPalette button = form.paletteOf("cmdin");
        QCOMPARE(button.button().color(), light ? c : Qt::white);
        QVERIFY(isLight(button.buttonText().color()) != isLight(button.button().color()));
    }
    // Typed into the minutes ("m:") or seconds box (at 0 and 30), left: "minutes seconds ms".
    void typedThenLeft_data()
    {
        columns<QString, int, QString>("typed", "by", "after"); // by: the reason it is left
        const int tab = Qt::TabFocusReason, away = Qt::ActiveWindowFocusReason;
        row("from one minute on: the minutes", "m:1", tab, "1 30 60000");
        row("1.8 minutes: 2", "m:1.8", tab, "1.8 30 120000");
        row("2.5 minutes: half to even", "m:2.5", tab, "2.5 30 120000");
        row("a leading 61 minutes: 60", "m:61min", tab, "60 30 3600000");
        row("minutes not a number: 1", "m:12abc", tab, "1 30 60000");
        row("60 seconds: a minute, then 3 s", "s:60", tab, "1 3 60000");
        row("2 seconds: 3", "s:2", tab, "0 3 3000");
        row("seconds not a number: 3", "s:abc", tab, "0 3 3000");
        row("left for another window: no seconds, 1 s", "s:0", away, "0 0 1000");
    }
    void typedThenLeft()
    {
        const auto [typed, by, after] = fetch<QString, int, QString>("typed", "by", "after");
        QLineEdit m(QStringLiteral("0")), s(QStringLiteral("30"));
        IntervalFields panel(&m, &s);
        QLineEdit& box = typed.startsWith('m') ? m : s;
        box.setText(typed.mid(2));
        QFocusEvent leave(QEvent::FocusOut, Qt::FocusReason(by));
        QCoreApplication::sendEvent(&box, &leave);
        QCOMPARE(QString("%1 %2 %3").arg(m.text(), s.text()).arg(panel.intervalMs()), after);
        // Only a hand-edited store goes past 2^31-1 ms.
        QCOMPARE(IntervalFields::intervalMs("0", "1e20"), qint64(2147483647));
    }
};

QTEST_MAIN(TestFormRules)
#include "tst_formrules.moc"
