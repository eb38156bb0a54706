// Placeholder: being written.
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
