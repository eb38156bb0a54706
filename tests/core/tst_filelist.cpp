// Placeholder: being written.
#include <QTest>

class TestFilelist : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestFilelist)
#include "tst_filelist.moc"
