// Placeholder: being written.
#include <QTest>

class TestAutorun : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestAutorun)
#include "tst_autorun.moc"
