// The window's shell: the notification area and the end, the keyboard, links, the colour.
#include "MainWindowFixture.h"

#include "core/web/VendorSite.h"
#include "platform/SystemBrowser.h"

#include <QAccessible>
#include <QLabel>

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); } // as the program
    // Hidden behind the tray icon, or only minimised without a tray; Exit or closing ends it.
    void notificationArea_data()
    {
        columns<bool, bool>("tray", "atStart");
        row("minimised into the tray", true, false);
        row("minimised without a tray", false, false);
        row("Min As Icon: started in the tray", true, true);
        row("Min As Icon without a tray: started minimised", false, true);
    }
    void notificationArea()
    {
        const auto [tray, atStart] = fetch<bool, bool>("tray", "atStart");
        MainWindowFixture f;
        f.tray.available = tray;
        f.store(Settings::Entry::WinMode, atStart ? "1" : "0");
        QVERIFY(f.start({.pictures = {"a.png"}, .rotation = true, .shown = !atStart}));
        atStart ? f.window->showAtStart() : f.window->showMinimized();
        QTRY_COMPARE(f.window->isVisible(), !tray);
        QCOMPARE(f.tray.shows, tray ? 1 : 0);
        if (tray) {
            QCOMPARE(f.tray.toolTip.section('\n', 0, 0), QStringLiteral("Dorvane V 4.0"));
            // The pointer crossing x = 515 or 516 is a move of the pointer, not the icon's event.
            for (const qreal x : {515, 516}) {
                QMouseEvent m(QEvent::MouseMove, {x, 5}, {x, 5}, Qt::NoButton, Qt::LeftButton, {});
                QCoreApplication::sendEvent(f.window.get(), &m);
            }
            QVERIFY(!f.window->isVisible() && !f.window->control("mnuTray")->menu()->isVisible());
            f.tray.requestContext();
            QTRY_VERIFY(f.window->control("mnuTray")->menu()->isVisible());
            f.window->control("mnuTray")->menu()->close();
            f.action("mnuweb")->trigger(); // Visit Web Site
            QCOMPARE(f.browser.opened, QList<QUrl>{vendorUrl("/dvn")});
            f.tray.activate();
            QTRY_VERIFY(f.window->isVisible() && !f.window->isMinimized());
        }
        QVERIFY(f.timer()->isActive());
        QTimer::singleShot(0, f.window.get(), [&, tray = tray] {
            tray ? f.action("mnuexit")->trigger() : void(f.window->close());
        });
        QTimer::singleShot(20000, f.window.get(), [] { QCoreApplication::exit(-1); }); // not ended
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!f.timer()->isActive() && !f.tray.isVisible() && !f.window->isVisible());
    }
    // Each link opens its page from the mouse, the keyboard and a screen reader; it turns bold
    // under a pointing hand while hovered. Enter applies, Escape closes the contact tools window.
    // The command in BROWSER opens the pages, given the address as its one argument.
    void keyboardAndLinks()
    {
        MainWindowFixture f;
        QVERIFY(f.start({.pictures = {"A.png", "B.png"}, .rotation = true, .shown = true}));
        const QPoint bare(f.window->width() - 2, f.window->height() - 2); // past the banner
        for (const auto& [link, page] : {std::pair{"lblsite", "/dvn"},
                                         {"lblhelp", "/dvn/faq.php"},
                                         {"lblsupport", "/dvn/contactus.php"}}) {
            auto* label = f.widget<QLabel>(link);
            QTest::mouseMove(label);
            QTRY_VERIFY(label->font().bold());
            QCOMPARE(f.window->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(label, Qt::LeftButton);
            QTest::mouseMove(f.window.get(), bare);
            QTRY_VERIFY(!label->font().bold());
            label->setFocus();
            QCOMPARE(QApplication::focusWidget(), label);
            QTest::keyClick(label, Qt::Key_Space);
            QAccessible::queryAccessibleInterface(label)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
            QCOMPARE(f.browser.opened, QList<QUrl>(3, vendorUrl(page)));
            f.browser.opened.clear();
        }
        QVERIFY(f.dialogs.messages.isEmpty());
        auto* seconds = f.widget<QLineEdit>("txts");
        seconds->setFocus();
        seconds->setText("45");
        QTest::keyClick(seconds, Qt::Key_Return);
        QCOMPARE(f.timer()->intervalMs(), 45000);
        seconds->setText("2"); // checked first, as leaving the box checks it: 3 s at least
        QTest::keyClick(seconds, Qt::Key_Enter);
        QCOMPARE(f.stored(Settings::Entry::TimerSeconds), "3");
        auto* apply = f.widget<QPushButton>("cmdoptions");
        apply->setFocus();
        f.setText("txtm", "2");
        QTest::keyClick(apply, Qt::Key_Return);
        QCOMPARE(f.timer()->intervalMs(), 120000);
        const auto tools = f.openTools();
        tools->show();
        QVERIFY(QTest::qWaitForWindowActive(tools.get()));
        QTest::keyClick(tools.get(), Qt::Key_Escape);
        QVERIFY(!tools->isVisible());
        const QString script =
            f.env.writeFile("browser", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$0.opened\"\n");
        QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner));
        f.env.setVar("BROWSER", QFile::encodeName(script));
        const QUrl page("https://dorvane.example/dvn/faq.php?a=1&b=two words;$(id)");
        QVERIFY(SystemBrowser().openUrl(page));
        QTRY_COMPARE(TestEnvironment::read(script + ".opened"), "1\n" + page.toEncoded() + "\n");
    }
    // Cancel keeps what is shown: windows that follow the desktop's palette go on following it
    // through a change of theme, a chosen colour is stored again. The dialog offers greys from
    // 15 to 240; the next start shows the colour stored.
    void backgroundColour()
    {
        const QPalette before = QApplication::palette();
        const auto theme = [&](const QColor& window) {
            QPalette palette = before;
            palette.setColor(QPalette::Window, window);
            QApplication::setPalette(palette);
            return QList<QColor>(2, window); // as both windows should show it
        };
        const QList<QColor> dark = theme(QColor(40, 40, 48));
        MainWindowFixture f;
        QVERIFY(f.start());
        auto* change = f.widget<QPushButton>("cmdchange");
        change->click(); // Cancel
        auto tools = f.openTools();
        const auto colours = [&] {
            return QList{f.window->palette().window().color(), tools->palette().window().color()};
        };
        QCOMPARE(colours(), dark);
        const QList<QColor> light = theme(QColor(250, 250, 250));
        QTRY_COMPARE(colours(), light);
        QApplication::setPalette(before);
        f.dialogs.setNextColor(QColor(200, 50, 50));
        change->click();
        const QString chosen = f.stored(Settings::Entry::Color);
        f.store(Settings::Entry::Color, "keep");
        change->click(); // Cancel
        QCOMPARE(chosen + ' ' + f.stored(Settings::Entry::Color), "3289800 3289800");
        for (int i = 0; i < 16; ++i)
            QCOMPARE(f.dialogs.offeredCustomColors[size_t(i)], QColor(QRgb(0x0F0F0F * (i + 1))));
        QVERIFY(f.dialogs.messages.isEmpty());
        tools.reset();
        f.window.reset();
        QVERIFY(f.start());
        QCOMPARE(f.window->palette().color(QPalette::Window), QColor(200, 50, 50));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
