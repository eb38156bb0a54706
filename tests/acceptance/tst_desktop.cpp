// Dorvane on a real desktop: a StatusNotifierItem host, a Wayland session and a screen reader.
#include "MainWindowFixture.h"
#include "StandinProcess.h"
#include "core/web/VendorSite.h"
#include "platform/SystemTrayIcon.h"
#include <QLibraryInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QThread>
#include <QtDBus>

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
    void RegisterStatusNotifierItem(const QString&, const QDBusMessage& m) { item = m.service(); }
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
    // Weston has no notification area: a window started minimised stays on screen, and --show
    // brings it forward (a window weston minimised is mapped anew; it says nothing of it).
    void startsOnAWaylandOnlySession()
    {
        const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath);
        if (QStandardPaths::findExecutable("weston").isEmpty() ||
            QStandardPaths::findExecutable("weston-debug").isEmpty() ||
            !QFile::exists(plugins + "/platforms/libqwayland-generic.so"))
            QSKIP("weston or Qt's Wayland platform is not installed");
        TestEnvironment env;
        env.writeFile("config/Dorvane/Dorvane.ini", "[state]\nwinmode=1\n");
        QProcess compositor;
        compositor.start("weston", {"--backend=headless-backend.so", "--socket=dorvane-test",
                                    "--idle-time=0", "--debug"});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(env.runtimeDir() + "/dorvane-test"), 20000);
        StandinProcess standin;
        QVERIFY(standin.start({"--no-cache"}));
        env.unsetVar("DISPLAY");
        env.setVar("QT_QPA_PLATFORM", "wayland");
        env.setVar("WAYLAND_DISPLAY", "dorvane-test");
        // What weston shows: its scene lists no window it minimised or that is hidden.
        const auto shown = [&] {
            QProcess scene;
            scene.start("weston-debug", {"scene-graph"});
            scene.waitForFinished(10000);
            return scene.readAllStandardOutput().contains("of example.dorvane.Dorvane");
        };
        QProcess dvn;
        dvn.start(DORVANE_PROGRAM_PATH);
        // It starts, finds its sample pictures and makes the first one the display picture.
        QTRY_VERIFY_WITH_TIMEOUT(StandinProcess::displayPicture().contains("/images/"), 20000);
        QCOMPARE(dvn.state(), QProcess::Running);
        // Once its window shows it owns its name on the bus.
        QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(
            "example.dorvane.Dorvane"));
        QTRY_VERIFY(shown());
        QCOMPARE(QProcess::execute(DORVANE_PROGRAM_PATH, {"--show"}), 0);
        QTRY_VERIFY(shown());
        dvn.terminate();
        QVERIFY(dvn.waitForFinished(10000));
    }
    // What a screen reader hears of both windows, through at-spi as Orca reads it.
    void screenReaderSeesWhatTheControlsAre()
    {
        const QString launcher = QStandardPaths::findExecutable(
            "at-spi-bus-launcher", {"/usr/libexec", "/usr/lib/at-spi2-core"});
        if (launcher.isEmpty())
            QSKIP("at-spi (at-spi2-core) is not installed");
        TestEnvironment env;
        QProcess accessibilityBus;
        accessibilityBus.start(launcher, {"--launch-immediately"});
        const auto stop = qScopeGuard([&] {
            accessibilityBus.terminate();
            accessibilityBus.waitForFinished();
        });
        QTRY_VERIFY_WITH_TIMEOUT(
            QDBusConnection::sessionBus().interface()->isServiceRegistered("org.a11y.Bus"), 20000);
        StandinProcess standin;
        QVERIFY(standin.start());
        env.setVar("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        QProcess dvn;
        dvn.start(DORVANE_PROGRAM_PATH);
        // Debian's pyatspi is built for Debian's own interpreter. The tree comes one node a line:
        // depth|role|name|description|visible.
        QProcess reader;
        const QString python = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
        const QString script = DORVANE_SOURCE_DIR "/tests/acceptance/a11y_tree.py";
        const auto read = [&](const QStringList& options) {
            reader.start(python, QStringList{script, "Dorvane"} + options);
            reader.waitForFinished(60000);
            return QString::fromUtf8(reader.readAllStandardOutput());
        };
        QString tree = read({});
        if (reader.exitCode() == 77 || reader.error() == QProcess::FailedToStart)
            QSKIP("python3 or python3-pyatspi is not installed");
        // The preview is described by the picture it shows, once it is read.
        const QRegularExpression preview("\\|image\\|Current picture\\|([^|]+)\\|");
        QTRY_VERIFY_WITH_TIMEOUT((tree = read({})).contains(preview), 20000);
        QVERIFY(QDir(QFileInfo(DORVANE_PROGRAM_PATH).path() + "/images")
                    .exists(preview.match(tree).captured(1)));
        tree = read({"--press", "Other Tools"});
        QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
        QStringList heard;
        for (const QString& line : tree.split('\n', Qt::SkipEmptyParts)) {
            const QStringList node = line.split('|');
            // No bare pane, and nothing hidden but a list box's list while it is closed.
            QVERIFY2(node.value(1) != "filler", qPrintable(line));
            QVERIFY2(node.value(4) == "1" || node.value(1) + node.value(2) == "list",
                     qPrintable(line));
            heard.append(node.value(1) + "|" + node.value(2));
        }
        // At-spi calls a titled top-level window a frame.
        for (const QString& node : QStringList{
                 "frame|Dorvane 4.0", "frame|Dorvane", "combo box|Language",
                 "link|" + vendorUrl().host(), "link|For Help Click Here",
                 "link|For Support Click Here", "image|Current picture", "image|Cached picture"})
            QVERIFY2(heard.contains(node), qPrintable(node));
        dvn.terminate();
        QVERIFY(dvn.waitForFinished(10000));
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
