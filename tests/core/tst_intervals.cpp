// Placeholder: being written.
#include <QTest>

class TestIntervals : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestIntervals)
#include "tst_intervals.moc"
