// Placeholder: being written.
#include <QTest>

class TestSoak : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
