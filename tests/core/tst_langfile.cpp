// Placeholder: being written.
#include <QTest>

class TestLangfile : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestLangfile)
#include "tst_langfile.moc"
