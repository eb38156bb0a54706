// Placeholder: being written.
#include <QTest>

class TestDbusclient : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestDbusclient)
#include "tst_dbusclient.moc"
