// Placeholder: being written.
#include <QTest>

class TestLanguages : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
