// Placeholder: being written.
#include <QTest>

class TestPictureloader : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestPictureloader)
#include "tst_pictureloader.moc"
