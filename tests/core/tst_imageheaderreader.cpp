// Placeholder: being written.
#include <QTest>

class TestImageheaderreader : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestImageheaderreader)
#include "tst_imageheaderreader.moc"
