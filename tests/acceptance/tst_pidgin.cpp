// Placeholder: being written.
#include <QTest>

class TestPidgin : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestPidgin)
#include "tst_pidgin.moc"
