// Placeholder: being written.
#include <QTest>

class TestPicturelist : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestPicturelist)
#include "tst_picturelist.moc"
