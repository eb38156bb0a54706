// Typing into the two interval boxes, leaving them, and the interval their texts give.
#include "Table.h"
#include "ui/main/IntervalFields.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>

class TestIntervals : public QObject
{
    Q_OBJECT
private slots:
    // Typed into the minutes ("m:") or seconds box (at 0 and 30), left: "minutes seconds ms".
    void typedThenLeft_data()
    {
        columns<QString, int, QString>("typed", "reason", "after");
        const int tab = Qt::TabFocusReason;
        row("from one minute on: the minutes", "m:1", tab, "1 30 60000");
        row("1.8 minutes: 2", "m:1.8", tab, "1.8 30 120000");
        row("2.5 minutes: half to even", "m:2.5", tab, "2.5 30 120000");
        row("a leading 61 minutes: 60", "m:61min", tab, "60 30 3600000");
        row("minutes not a number: 1", "m:12abc", tab, "1 30 60000");
        row("60 seconds: a minute, then 3 s", "s:60", tab, "1 3 60000");
        row("2 seconds: 3", "s:2", tab, "0 3 3000");
        row("seconds not a number: 3", "s:abc", tab, "0 3 3000");
        row("left for another window: no seconds, 1 s", "s:0", int(Qt::ActiveWindowFocusReason),
            "0 0 1000");
    }
    void typedThenLeft()
    {
        const auto [typed, reason, after] =
            fetch<QString, int, QString>("typed", "reason", "after");
        QLineEdit m(QStringLiteral("0")), s(QStringLiteral("30"));
        IntervalFields panel(&m, &s);
        QLineEdit& box = typed.startsWith('m') ? m : s;
        box.setText(typed.mid(2));
        QFocusEvent leave(QEvent::FocusOut, Qt::FocusReason(reason));
        QCoreApplication::sendEvent(&box, &leave);
        QCOMPARE(QString("%1 %2 %3").arg(m.text(), s.text()).arg(panel.intervalMs()), after);
        // Only a hand-edited store goes past 2^31-1 ms.
        QCOMPARE(IntervalFields::intervalMs("0", "1e20"), qint64(2147483647));
    }
};

QTEST_MAIN(TestIntervals)
#include "tst_intervals.moc"
