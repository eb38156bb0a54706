#include "common/MainFixture.h"

#include "common/NamedControl.h"
#include "links/Browser.h"
#include "links/WebLinks.h"

#include <QAction>
#include <QLabel>
#include <QTest>

namespace {

QLabel* label(FrmMine* w, const QString& name)
{
    return qobject_cast<QLabel*>(w->control(name)->widget());
}

// A point of the window's own surface, outside every widget.
QPoint bareSurface(FrmMine* w)
{
    for (int y = w->height() - 1; y > 0; y -= 3) {
        for (int x = w->width() - 1; x > 0; x -= 3) {
            if (!w->childAt(x, y))
                return {x, y};
        }
    }
    return {};
}

bool bold(QLabel* l)
{
    return l->font().bold();
}

} // namespace

class TestWebLinks : public QObject
{
    Q_OBJECT
private slots:
    void pages_data();
    void pages();
    void hoverAndReset_data();
    void hoverAndReset();
    void straightFromOneLabelToAnother();
    void iconMessagesResetTheHover();
};

void TestWebLinks::pages_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("clicks");
    QTest::newRow("lblhelp") << "lblhelp"
                             << "/dvn/faq.php" << 1;
    QTest::newRow("lblsite") << "lblsite"
                             << "/dvn" << 1;
    QTest::newRow("lblsupport") << "lblsupport"
                                << "/dvn/contactus.php" << 1;
    QTest::newRow("mnuweb") << "mnuweb"
                            << "/dvn" << 1;
    QTest::newRow("lblhelp twice") << "lblhelp"
                                   << "/dvn/faq.php" << 2;
    QTest::newRow("mnuweb twice") << "mnuweb"
                                  << "/dvn" << 2;
}

void TestWebLinks::pages()
{
    QFETCH(QString, widget);
    QFETCH(QString, path);
    QFETCH(int, clicks);
    MainFixture f;
    FrmMine* w = f.start({.shown = true});
    QVERIFY(w);
    for (int i = 0; i < clicks; ++i) {
        if (widget == QLatin1String("mnuweb"))
            w->control(widget)->action()->trigger();
        else
            QTest::mouseClick(label(w, widget), Qt::LeftButton);
    }
    // Each click opens its own page.
    QCOMPARE(f.browser.opened().size(), clicks);
    for (const QUrl& url : f.browser.opened()) {
        QCOMPARE(url.scheme(), vendorUrl().scheme());
        QCOMPARE(url.host(), vendorUrl().host());
        QCOMPARE(url.path(), path);
    }
    QVERIFY(f.dialogs.messages().isEmpty());
    QCOMPARE(label(w, QStringLiteral("lblsite"))->text(), vendorUrl().host());
}

void TestWebLinks::hoverAndReset_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("lblhelp") << "lblhelp";
    QTest::newRow("lblsite") << "lblsite";
    QTest::newRow("lblsupport") << "lblsupport";
}

void TestWebLinks::hoverAndReset()
{
    QFETCH(QString, name);
    MainFixture f;
    FrmMine* w = f.start({.shown = true});
    QVERIFY(w);
    QLabel* link = label(w, name);
    QVERIFY(!bold(link));
    QVERIFY(link->font().underline());

    QTest::mouseMove(link);
    QTRY_VERIFY(bold(link));
    QVERIFY(link->font().underline());
    QCOMPARE(w->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(w->links()->mousePointer(), WebLinks::CustomPointer);

    const QPoint surface = bareSurface(w);
    QVERIFY(!surface.isNull());
    QTest::mouseMove(w, surface);
    QTRY_VERIFY(!bold(link));
    QVERIFY(link->font().underline());
    QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(w->links()->mousePointer(), WebLinks::DefaultPointer);
    // Moving never opens anything.
    QVERIFY(f.browser.opened().isEmpty());
}

void TestWebLinks::straightFromOneLabelToAnother()
{
    MainFixture f;
    FrmMine* w = f.start({.shown = true});
    QVERIFY(w);
    QLabel* help = label(w, QStringLiteral("lblhelp"));
    QLabel* site = label(w, QStringLiteral("lblsite"));
    QLabel* support = label(w, QStringLiteral("lblsupport"));
    QTest::mouseMove(help);
    QTRY_VERIFY(bold(help));
    QTest::mouseMove(site);
    QTRY_VERIFY(bold(site));
    QVERIFY(bold(help));
    QVERIFY(!bold(support));

    QTest::mouseMove(w, bareSurface(w));
    QTRY_VERIFY(!bold(site));
    QVERIFY(!bold(help));
}

void TestWebLinks::iconMessagesResetTheHover()
{
    MainFixture f;
    FrmMine* w = f.start({.shown = true});
    QVERIFY(w);
    QLabel* help = label(w, QStringLiteral("lblhelp"));
    QTest::mouseMove(help);
    QTRY_VERIFY(bold(help));
    // The icon's messages go through the window's mouse-move handler.
    f.tray.doubleClick();
    QVERIFY(!bold(help));
    QCOMPARE(w->links()->mousePointer(), WebLinks::DefaultPointer);
}

QTEST_MAIN(TestWebLinks)
#include "tst_weblinks.moc"
