// How long an XMPP account waits before it tries to sign in again after failed tries.
#include "Table.h"
#include "xmpp/XmppRetry.h"

class TestXmppRetry : public QObject
{
    Q_OBJECT
private slots:
    void waits_data()
    {
        columns<int, int>("failures", "seconds");
        row("first try again at once, nearly", 0, 1);
        row("doubling", 3, 8);
        row("last below the cap", 8, 256);
        row("capped at five minutes", 9, 300);
        row("a server down for days: no overflow", 64, 300);
    }
    void waits()
    {
        const auto [failures, seconds] = fetch<int, int>("failures", "seconds");
        QCOMPARE(xmppRetryDelay(failures).count(), seconds);
    }
};

QTEST_GUILESS_MAIN(TestXmppRetry)
#include "tst_xmppretry.moc"
