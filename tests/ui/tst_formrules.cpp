// Placeholder: being written.
#include <QTest>

class TestFormrules : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestFormrules)
#include "tst_formrules.moc"
