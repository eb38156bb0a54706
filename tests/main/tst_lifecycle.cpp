#include "common/MainFixture.h"

#include "common/NamedControl.h"
#include "main/RotationTimer.h"
#include "main/SysTray.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace {

QStringList captions(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// Runs the application's own loop until something ends it; the code it ended with, or -1 when
// nothing did.
int runUntilEnded(const std::function<void()>& action)
{
    QTimer::singleShot(0, qApp, action);
    // Only reached when the program failed to end itself.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(-1); });
    guard.start(20000);
    return QCoreApplication::exec();
}

} // namespace

class TestLifecycle : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void minimiseAndRestore_data();
    void minimiseAndRestore();
    void minimiseWithoutNotificationArea();
    void iconContextOpensTheMenu();
    void ending_data();
    void ending();
};

void TestLifecycle::initTestCase()
{
    // As in the program: hiding the last window must not end anything by itself.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestLifecycle::minimiseAndRestore_data()
{
    QTest::addColumn<bool>("byDoubleClick");
    QTest::newRow("double-click on the icon") << true;
    QTest::newRow("Show Window") << false;
}

void TestLifecycle::minimiseAndRestore()
{
    QFETCH(bool, byDoubleClick);
    MainFixture f;
    FrmMine* w = f.start({.pictures = {"a.png"}, .rotation = true, .shown = true});
    QVERIFY(w);
    QCOMPARE(f.tray.shows, 0);

    w->showMinimized();
    QTRY_VERIFY(!w->isVisible());
    QCOMPARE(f.tray.shows, 1);
    QVERIFY(f.tray.isVisible());
    QCOMPARE(f.tray.toolTip, QStringLiteral("Dorvane V 4.0"));
    const TrayIconData& data = w->sysTray()->data();
    QCOMPARE(data.cbSize, 88u);
    QCOMPARE(data.uID, 1u);
    QCOMPARE(data.uFlags, 7u);
    QCOMPARE(data.uCallbackMessage, 0x200u);
    QCOMPARE(data.hWnd, w);

    if (byDoubleClick)
        f.tray.doubleClick();
    else
        w->control(QStringLiteral("mnuopen"))->action()->trigger();
    QTRY_VERIFY(w->isVisible());
    QVERIFY(!w->isMinimized());
    // Showing the window again leaves the icon where it is.
    QVERIFY(f.tray.isVisible());
    QCOMPARE(f.tray.hides, 0);

    w->showMinimized();
    QTRY_VERIFY(!w->isVisible());
    QCOMPARE(f.tray.shows, 1);
    QVERIFY(f.tray.isVisible());
    // The rotation goes on while hidden.
    QVERIFY(w->rotationTimer()->isActive());
}

void TestLifecycle::minimiseWithoutNotificationArea()
{
    MainFixture f;
    f.tray.available = false;
    FrmMine* w = f.start({.pictures = {"a.png"}, .rotation = true, .shown = true});
    QVERIFY(w);
    w->showMinimized();
    QTRY_VERIFY(w->isMinimized());
    // Never hidden with nothing to bring it back.
    QVERIFY(w->isVisible());
    QCOMPARE(f.tray.shows, 0);
}

void TestLifecycle::iconContextOpensTheMenu()
{
    MainFixture f;
    FrmMine* w = f.start({.pictures = {"a.png"}, .rotation = true, .shown = true});
    QVERIFY(w);
    w->showMinimized();
    QTRY_VERIFY(!w->isVisible());

    f.tray.requestContext();
    QTRY_VERIFY(w->mnuTray->isVisible());
    QCOMPARE(captions(w->mnuTray),
             QStringList({"Show Window", "-", "Visit Web Site", "-", "Exit"}));
    w->mnuTray->close();
    QTRY_VERIFY(!w->mnuTray->isVisible());
    // Opening the menu alone shows nothing and ends nothing.
    QVERIFY(!w->isVisible());
    QVERIFY(w->rotationTimer()->isActive());
    QVERIFY(f.tray.isVisible());
}

void TestLifecycle::ending_data()
{
    QTest::addColumn<bool>("minimise");
    QTest::addColumn<bool>("restore");
    QTest::addColumn<bool>("byExit");
    QTest::newRow("Exit while hidden in the notification area") << true << false << true;
    QTest::newRow("Exit after showing the window again") << true << true << true;
    QTest::newRow("close box with the icon present") << true << true << false;
    QTest::newRow("close box, never minimised") << false << false << false;
}

void TestLifecycle::ending()
{
    QFETCH(bool, minimise);
    QFETCH(bool, restore);
    QFETCH(bool, byExit);
    MainFixture f;
    FrmMine* w = f.start({.pictures = {"a.png"}, .rotation = true, .shown = true});
    QVERIFY(w);
    if (minimise) {
        w->showMinimized();
        QTRY_VERIFY(!w->isVisible());
        QVERIFY(f.tray.isVisible());
    }
    if (restore) {
        f.tray.doubleClick();
        QTRY_VERIFY(w->isVisible());
    }
    QVERIFY(w->rotationTimer()->isActive());

    const int code = runUntilEnded([w, byExit] {
        if (byExit)
            w->control(QStringLiteral("mnuexit"))->action()->trigger();
        else
            w->close();
    });
    QCOMPARE(code, 0);
    QVERIFY(!w->rotationTimer()->isActive());
    QVERIFY(!f.tray.isVisible());
    QVERIFY(!w->isVisible());
}

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
