// Steering from outside the window: the tray's items, the bus interface and the command line
// share one controller; the list follows its folder; outages are told on the desktop.
#include "RunningCopy.h"
#include "StandinProcess.h"

#include "core/language/Texts.h"
#include "platform/FreedesktopNotifier.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Another program on the test's bus: it calls the running copy and hears its signal.
class BusPeer : public QObject
{
    Q_OBJECT
public:
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "peer");
    QStringList pictures; // PictureChanged, as heard
    QStringList notes;    // what the desktop was asked to show, once serve() made it the service
    QVariantMap changed;  // each property's value as PropertiesChanged last told it

    ~BusPeer() override { QDBusConnection::disconnectFromBus("peer"); }

    // The call is answered by the window in this process: wait in the event loop, never block.
    QDBusMessage call(const QString& method, const QVariantList& arguments = {},
                      const QString& interface = ControlBus::InterfaceName)
    {
        QDBusMessage message = QDBusMessage::createMethodCall(
            ControlBus::ServiceName, ControlBus::ObjectPath, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = bus.asyncCall(message);
        (void)QTest::qWaitFor([&] { return pending.isFinished(); }, 10000);
        return pending.reply();
    }
    QString property(const QString& name)
    {
        const QDBusMessage reply =
            call("Get", {ControlBus::InterfaceName, name}, "org.freedesktop.DBus.Properties");
        return reply.arguments().value(0).value<QDBusVariant>().variant().toString();
    }
    bool serve()
    {
        return bus.registerObject("/org/freedesktop/Notifications", "org.freedesktop.Notifications",
                                  this, QDBusConnection::ExportAllSlots) &&
               bus.registerService("org.freedesktop.Notifications");
    }

public slots:
    void pictureChanged(const QString& path) { pictures.append(path); }
    void propertiesChanged(const QString&, const QVariantMap& values, const QStringList&)
    {
        changed.insert(values);
    }
    uint Notify(const QString&, uint, const QString&, const QString&, const QString& body,
                const QStringList&, const QVariantMap&, int)
    {
        notes.append(body);
        return uint(notes.size());
    }
    QStringList GetCapabilities() { return {"body"}; }
};
} // namespace

class TestControl : public QObject
{
    Q_OBJECT
private slots:
    // The items steer the rotation (whose rules are the model's) and speak the chosen language.
    void trayItems_data()
    {
        columns<QString>("language");
        for (const char* language : {"English", "French", "Arabic"})
            row(language, QString(language));
    }
    void trayItems()
    {
        const auto [language] = fetch<QString>("language");
        MainWindowFixture f;
        QVERIFY(f.start({.pictures = {"a.png", "b.png"}, .rotation = true}));
        f.chooseLanguage(language);
        const auto text = [](Text text) { return Texts::text(text).arg("\u2068Fake\u2069"); };
        const QString next = text(Text::NextPicture);
        const auto menu = [&] {
            return QStringList{f.action("mnunext")->text(), f.action("mnupause")->text(),
                               f.action("mnustatus")->text()};
        };
        QCOMPARE(menu(), (QStringList{next, text(Text::PauseRotation), text(Text::PicturesGoTo)}));
        QSignalSpy started(f.timer(), &RotationTimer::started);
        f.action("mnunext")->trigger();
        QCOMPARE(f.sent(), (QStringList{"a.png", "b.png"}));
        QVERIFY(f.currentRow() == 1 && started.count() == 1);
        f.action("mnupause")->trigger();
        QVERIFY(f.rotation().isPaused() && f.stored(Settings::Entry::Control) == "1"); // not kept
        f.messenger->setRunning(false);
        QCOMPARE(menu(),
                 (QStringList{next, text(Text::ResumeRotation),
                              text(Text::RotationPaused) + ' ' + text(Text::NoClientReceives)}));
        f.action("mnupause")->trigger();
        QVERIFY(!f.rotation().isPaused());
        // Chosen at start, the language is the menu's from the first.
        f.window.reset();
        QVERIFY(f.start());
        QCOMPARE(f.action("mnunext")->text(), next);
    }
    // Every method, property and the signal, as another program on the bus sees them; every
    // property's change is announced, with its new value, as the bus's properties say.
    void busInterface()
    {
        RunningCopy f;
        f.messenger->signedIn = false; // the first picture refused: none sent yet
        QVERIFY(f.run({.pictures = {"a.png", "b.png"}, .rotation = true}));
        f.messenger->signedIn = true;
        BusPeer peer;
        QVERIFY(peer.bus.connect(ControlBus::ServiceName, ControlBus::ObjectPath,
                                 ControlBus::InterfaceName, "PictureChanged", &peer,
                                 SLOT(pictureChanged(QString))));
        QVERIFY(peer.bus.connect(ControlBus::ServiceName, ControlBus::ObjectPath,
                                 "org.freedesktop.DBus.Properties", "PropertiesChanged", &peer,
                                 SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
        QCOMPARE(peer.property("CurrentPicture"), "");
        QCOMPARE(peer.call("Next").type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(peer.pictures, QStringList{f.path("b.png")});
        f.messenger->signedIn = false;
        peer.call("Next"); // refused: the picture shown stays
        QStringList values;
        for (const char* name : {"CurrentPicture", "Folder", "Client", "Paused", "LastError"})
            values.append(peer.property(name));
        QCOMPARE(values, (QStringList{f.path("b.png"), f.folder(), "Fake", "false", "refused"}));
        QVERIFY(!f.window->isVisible());
        peer.call("Show");
        QVERIFY(f.window->isVisible());
        // A second copy of the same user is refused, and brings the running one forward.
        f.window->showMinimized();
        QTRY_VERIFY(!f.window->isVisible());
        MainWindowFixture second; // no language read yet
        second.instance = std::make_unique<LockFileInstance>(f.env.runtimeDir() + "/dorvane.lock");
        QVERIFY(!second.start());
        QCOMPARE(second.dialogs.messages.value(0).text, f.language.GetLangString("0001"));
        QCOMPARE(second.dialogs.messages.value(0).icon, Dialogs::Icon::Warning);
        QTRY_VERIFY(f.window->isVisible() && !f.window->isMinimized());
        // Exactly the documented interface (nothing that writes), attributes in any order.
        const auto members = [](const QString& xml) {
            static const QRegularExpression member(R"(<(method|property|signal)\b([^>]*)>)");
            static const QRegularExpression attribute("(name|type|access)=\"[^\"]*\"");
            QSet<QString> all;
            for (const auto& match : member.globalMatch(
                     xml.section(ControlBus::InterfaceName, 1).section("</interface>", 0, 0))) {
                QStringList values{match.captured(1)};
                for (const auto& a : attribute.globalMatch(match.captured(2)))
                    values.append(a.captured());
                std::sort(values.begin() + 1, values.end());
                all.insert(values.join(' '));
            }
            return all;
        };
        const auto found = peer.call("Introspect", {}, "org.freedesktop.DBus.Introspectable");
        const QString xml =
            TestEnvironment::read(DORVANE_SOURCE_DIR "/dist/example.dorvane.Dorvane.xml");
        QCOMPARE(members(found.arguments().value(0).toString()), members(xml));
        (void)f.rotation().pause(); // Paused, State and StateReason
        f.rotation().setFolder(f.pictureFolder({"c.png"}, "other"));
        f.messenger->setRunning(false);
        for (const char* name : {"CurrentPicture", "Folder", "Paused", "Client", "LastError",
                                 "State", "StateReason"}) {
            QTRY_VERIFY2(peer.changed.contains(name), name);
            QCOMPARE(peer.changed.value(name).toString(), peer.property(name));
        }
    }
    // Each option asks the running copy and exits 0; with none running it says so and exits 1.
    // Help and version are answered at once. None needs a display, none takes the lock.
    void commandLine_data()
    {
        // copy: "none" runs, "on" rotates (with one picture to go back to), "off" has rotation
        // off, "fresh" has sent only its first picture; err: what is said on standard error
        columns<QString, QString, QString>("option", "copy", "err");
        for (const char* o :
             {"--next", "--previous", "--pause", "--resume", "--show", "--status"}) {
            row(o, QString(o), "on", "");
            row(qPrintable(QString(o) + " with no copy running"), QString(o), "none",
                "Dorvane is not running.\n");
        }
        row("--resume while rotation is off", "--resume", "off",
            "Rotation is off: tick \"Enable Control.\" and press Apply first.\n");
        row("--previous at the oldest picture", "--previous", "fresh",
            "This is the oldest picture sent since Dorvane started.\n");
        row("--help", "--help", "none", "");
        row("--version", "--version", "none", "");
    }
    void commandLine()
    {
        const auto [option, copy, err] = fetch<QString, QString, QString>("option", "copy", "err");
        RunningCopy f;
        QVERIFY(copy == "none" ||
                f.run({.pictures = {"a.png", "b.png"}, .rotation = copy != "off"}));
        if (copy == "on" && option == "--resume")
            (void)f.rotation().pause();
        if (copy == "on" && option == "--previous")
            f.rotation().next();
        const DvnRun run = runDvn({option});
        QCOMPARE(run.errors + QString::number(run.exitCode), err + (err.isEmpty() ? "0" : "1"));
        QVERIFY(copy != "none" || QDir(f.env.runtimeDir()).isEmpty());
        QVERIFY(option != "--help" || run.output.startsWith("Usage: dvn [option]"));
        QVERIFY(option != "--version" || run.output.startsWith("Dorvane 4.0"));
        if (copy != "on")
            return;
        QCOMPARE(QList<bool>({f.rotation().isPaused(), f.window->isVisible()}),
                 QList<bool>({option == "--pause", option == "--show"}));
        if (option == "--next" || option == "--previous")
            QCOMPARE(f.sent().join(' '), option == "--next" ? "a.png b.png" : "a.png b.png a.png");
        if (option == "--status")
            QCOMPARE(run.output, "Picture: " + f.path("a.png") + "\nFolder: " + f.folder() +
                                     "\nRotation: running\nClient: Fake\nDestination Fake: "
                                     "receives the pictures\n");
    }
    // A client that comes after Dorvane (the usual order at log-on) gets the first picture at
    // once, then the timer's; until then, Dorvane says it waits for one. Once it has ended, the
    // output of --status on a pipe whose reader has gone: the write fails, the program goes on.
    void clientComesLater()
    {
        MainWindowFixture setup; // its environment and stored settings only
        const QString folder = setup.pictureFolder({"a.png", "b.png"});
        setup.store(Settings::Entry::FirstRun, "1");
        setup.store(Settings::Entry::Control, "1");
        setup.store(Settings::Entry::ImagePath, folder);
        setup.store(Settings::Entry::TimerSeconds, "1"); // hand-edited: a short wait
        QProcess running;
        running.start(DORVANE_PROGRAM_PATH);
        const auto status = [] { return runDvn({"--status"}).output; };
        QTRY_VERIFY_WITH_TIMEOUT(
            status().contains("Rotation: stopped: Waiting for a Messenger client."), 20000);
        StandinProcess standin;
        QVERIFY(standin.start({"--no-cache"}));
        QTRY_COMPARE_WITH_TIMEOUT(StandinProcess::displayPicture(), folder + "/a.png", 2000);
        QVERIFY(status().contains("Rotation: running"));
        for (const char* next : {"/b.png", "/a.png"}) // the timer's, on and on
            QTRY_COMPARE_WITH_TIMEOUT(StandinProcess::displayPicture(), folder + next, 5000);
        running.terminate();
        QVERIFY(running.waitForFinished(10000));
        int output[2] = {-1, -1};
        QCOMPARE(::pipe2(output, O_CLOEXEC), 0); // the child keeps only its copies on 1 and 2
        ::close(output[0]);
        const DvnRun run = runDvn({"--status"}, [out = output[1]] { // no copy runs: it fails
            for (int fd : {STDOUT_FILENO, STDERR_FILENO})
                ::dup2(out, fd);
            ::signal(SIGPIPE, SIG_DFL); // as a shell starts it; QProcess's parent ignores it
        });
        ::close(output[1]);
        QCOMPARE(run.exitCode, 1);
    }
    // Files come and go in the folder: the list follows, the selected one stays selected; with
    // the selected one gone, the next tick starts from the first. Ticks that keep failing are
    // told on the desktop; the rules of when are the model's.
    void listAndOutages()
    {
        BusPeer desktop;
        QVERIFY(desktop.serve());
        FreedesktopNotifier notifier;
        MainWindowFixture f;
        f.notifier = &notifier;
        f.outageNoticeAfter = std::chrono::milliseconds(0);
        QVERIFY(f.start({.pictures = {"a.png", "b.png", "c.png"}, .rotation = true}));
        QCOMPARE(f.tick(), QStringList{"b.png"});
        QVERIFY(QDir(f.folder()).rename("a.png", "d.png"));
        QTRY_COMPARE(f.listed(), QStringList({"b.png", "c.png", "d.png"}));
        QCOMPARE(f.currentRow(), 0);
        QCOMPARE(f.tick(), QStringList{"c.png"});
        QVERIFY(QDir(f.folder()).remove("c.png"));
        QTRY_COMPARE(f.listed(), QStringList({"b.png", "d.png"}));
        QCOMPARE(f.currentRow(), -1);
        QCOMPARE(f.tick(), QStringList{"b.png"});
        f.messenger->signedIn = false;
        f.tick(3);
        QVERIFY(f.action("mnustatus")->text().endsWith("Last failure: \u2068refused\u2069"));
        f.messenger->signedIn = true;
        f.tick();
        QTRY_COMPARE(desktop.notes,
                     (QStringList{"Pictures have not reached \u2068Fake\u2069 for a while: "
                                  "\u2068refused\u2069",
                                  "Pictures reach \u2068Fake\u2069 again."}));
        QVERIFY(f.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(TestControl)
#include "tst_control.moc"
