// Placeholder: being written.
#include <QTest>

class TestPidginclient : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestPidginclient)
#include "tst_pidginclient.moc"
