// Placeholder: being written.
#include <QTest>

class TestTools : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
