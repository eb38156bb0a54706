// Dorvane on a real desktop: a StatusNotifierItem host and a Wayland session.
#include "ClientAnswers.h"
#include "MainWindowFixture.h"
#include "StandinProcess.h"

#include "messenger/DBusMessengerClient.h"
#include "platform/SystemTrayIcon.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QLibraryInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QThread>

// A StatusNotifierItem host as KDE, GNOME's AppIndicator extension and Wayland panels are: it
// lives on a thread and a connection of its own, as another program would.
class FakeWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "host");
    QString item; // the registered item's bus name
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
public slots:
    void RegisterStatusNotifierItem(const QString&, const QDBusMessage& message)
    {
        item = message.service();
    }
};

class TestDesktop : public QObject
{
    Q_OBJECT
private slots:
    void statusNotifierHostActivatesAndShowsTheMenu()
    {
        QThread thread;
        FakeWatcher watcher;
        watcher.moveToThread(&thread);
        thread.start();
        const auto stop = qScopeGuard([&] {
            watcher.bus.unregisterService("org.kde.StatusNotifierWatcher");
            thread.quit();
            thread.wait();
        });
        watcher.bus.registerObject("/StatusNotifierWatcher", &watcher,
                                   QDBusConnection::ExportAllContents);
        QVERIFY(watcher.bus.registerService("org.kde.StatusNotifierWatcher"));
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("no window system with StatusNotifierItem support (Xvfb missing)");
        SystemTrayIcon icon;
        MainWindowFixture f;
        f.trayIcon = &icon;
        QVERIFY(f.start({.pictures = {"a.png"}, .shown = true}));
        f.window->showMinimized();
        QTRY_VERIFY(!f.window->isVisible() && !watcher.item.isEmpty());
        auto call = [&](const QString& interface, const QString& method, const QVariantList& args) {
            auto message = QDBusMessage::createMethodCall(watcher.item, "/StatusNotifierItem",
                                                          interface, method);
            message.setArguments(args);
            return watcher.bus.asyncCall(message);
        };
        // The menu is handed to the host, which draws it itself.
        QDBusPendingCall menu =
            call("org.freedesktop.DBus.Properties", "Get", {"org.kde.StatusNotifierItem", "Menu"});
        QTRY_VERIFY(menu.isFinished());
        const QVariant path = menu.reply().arguments().value(0).value<QDBusVariant>().variant();
        QVERIFY(!path.value<QDBusObjectPath>().path().contains("NO_DBUSMENU"));
        // One activation, as a host sends for a click, brings the window back.
        call("org.kde.StatusNotifierItem", "Activate", {0, 0});
        QTRY_VERIFY(f.window->isVisible() && !f.window->isMinimized());
    }

    void startsOnAWaylandOnlySession()
    {
        if (QStandardPaths::findExecutable("weston").isEmpty() ||
            QLibraryInfo::path(QLibraryInfo::PluginsPath).isEmpty() ||
            !QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                           "/platforms/libqwayland-generic.so"))
            QSKIP("weston or Qt's Wayland platform is not installed");
        TestEnvironment env;
        QProcess compositor;
        compositor.start(
            "weston", {"--backend=headless-backend.so", "--socket=dorvane-test", "--idle-time=0"});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(env.runtimeDir() + "/dorvane-test"), 20000);
        StandinProcess standin;
        QVERIFY(standin.start({"--no-cache"}));
        QProcess dvn;
        QProcessEnvironment wayland = QProcessEnvironment::systemEnvironment();
        wayland.remove("DISPLAY");
        wayland.insert("QT_QPA_PLATFORM", "wayland");
        wayland.insert("WAYLAND_DISPLAY", "dorvane-test");
        dvn.setProcessEnvironment(wayland);
        dvn.start(DORVANE_PROGRAM_PATH);
        // It starts, finds its sample pictures and makes the first one the display picture.
        DBusMessengerClient client(QDBusConnection::sessionBus());
        QTRY_VERIFY_WITH_TIMEOUT(
            Answer::myProperty(client, 2).valueOr(QVariant()).toString().contains("/images/"),
            20000);
        QCOMPARE(dvn.state(), QProcess::Running);
        // Once its window shows it owns its name on the bus.
        QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(
            "example.dorvane.Dorvane"));
        dvn.terminate();
        QVERIFY(dvn.waitForFinished(10000));
        compositor.terminate();
        compositor.waitForFinished();
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
