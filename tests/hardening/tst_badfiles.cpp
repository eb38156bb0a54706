// Placeholder: being written.
#include <QTest>

class TestBadfiles : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestBadfiles)
#include "tst_badfiles.moc"
