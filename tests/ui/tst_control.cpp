// Steering from outside the window: the tray's items, the bus interface and the command line
// share one controller; the list follows its folder; outages are told on the desktop, once.
#include "ClientAnswers.h"
#include "MainWindowFixture.h"
#include "StandinProcess.h"

#include "core/language/LangFile.h"
#include "messenger/DBusMessengerClient.h"
#include "platform/ControlBus.h"
#include "platform/ControlService.h"
#include "platform/FreedesktopNotifier.h"
#include "ui/main/NotificationArea.h"

#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QProcess>
#include <QRegularExpression>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using Entry = Settings::Entry;

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
    // As text: "true"/"false" for Paused.
    QString property(const QString& name)
    {
        const QDBusMessage reply =
            call("Get", {ControlBus::InterfaceName, name}, "org.freedesktop.DBus.Properties");
        return reply.arguments().value(0).value<QDBusVariant>().variant().toString();
    }
    // Stands in for the desktop's notification service.
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

// The running copy of the tests: a window whose controller owns the name on the test's bus.
struct RunningCopy : MainWindowFixture
{
    std::unique_ptr<ControlService> service;
    bool run(const Start& how)
    {
        if (!start(how))
            return false;
        service = std::make_unique<ControlService>(*window->rotation());
        QObject::connect(service.get(), &ControlService::showRequested, window->notificationArea(),
                         &NotificationArea::mnuopen_Click);
        return service->publish();
    }
    ~RunningCopy()
    {
        QDBusConnection::sessionBus().unregisterService(ControlBus::ServiceName);
        QDBusConnection::sessionBus().unregisterObject(ControlBus::ObjectPath);
    }
};

QStringList menuTexts(const MainWindowFixture& f)
{
    return {f.action("mnunext")->text(), f.action("mnupause")->text(),
            f.action("mnustatus")->text()};
}

} // namespace

class TestControl : public QObject
{
    Q_OBJECT
private slots:
    // Next sends what a tick would and starts the interval again; while paused the timer waits.
    void next_data()
    {
        columns<bool, bool>("random", "paused");
        row("in order", false, false);
        row("at random", true, false);
        row("while paused", false, true);
    }
    void next()
    {
        const auto [random, paused] = fetch<bool, bool>("random", "paused");
        const QStringList sent{"a.png", "b.png", "c.png"};
        MainWindowFixture f;
        QVERIFY(f.start({.pictures = {"a.png", "b.png", "c.png"}, .rotation = true}));
        f.store(Entry::Random, random ? "1" : "0"); // read afresh at every tick
        if (paused)
            f.action("mnupause")->trigger();
        for (int i = 1; i < 3; ++i) {
            const quint32 id = f.timer()->timerId();
            f.action("mnunext")->trigger();
            QCOMPARE(f.sent().size(), i + 1);
            if (!random)
                QCOMPARE(f.sent().last(), sent.at(i));
            QCOMPARE(f.listed().value(f.currentRow()), f.sent().last());
            QCOMPARE(f.timer()->isActive(), !paused);
            QCOMPARE(f.timer()->timerId(), paused ? id : id + 1);
        }
    }

    // A pause stops the timer and nothing more: the stored settings start it again next time.
    void pauseAndResume()
    {
        MainWindowFixture f;
        QVERIFY(f.start({.pictures = {"a.png", "b.png"}, .rotation = true}));
        f.action("mnupause")->trigger();
        QVERIFY(!f.timer()->isActive() && f.window->rotation()->isPaused());
        QCOMPARE(f.action("mnupause")->text(), "Resume Rotation");
        QCOMPARE(f.stored(Entry::Control), "1");
        f.action("mnupause")->trigger();
        QVERIFY(f.timer()->isActive() && !f.window->rotation()->isPaused());
        QCOMPARE(f.action("mnupause")->text(), "Pause Rotation");
        f.action("mnupause")->trigger(); // Apply starts a paused rotation
        f.apply();
        QVERIFY(f.timer()->isActive() && !f.window->rotation()->isPaused());
    }

    // The items speak the chosen language; a file without their keys leaves them in English.
    void trayItems_data()
    {
        columns<QString>("language");
        for (const char* language : {"English", "French", "Arabic", "Old"})
            row(language, QString(language));
    }
    void trayItems()
    {
        const auto [language] = fetch<QString>("language");
        MainWindowFixture f;
        f.env.writeFile("app/lang/Old.lng", "[frmMine]\r\nfrmMine.Caption=Old\r\n[Strings]\r\n1");
        QVERIFY(f.start({.pictures = {"a.png"}, .rotation = true}));
        f.chooseLanguage(language);
        const auto text = [&, language = language](const char* key, const char* english) {
            const QString file = f.language.langFilePath(language);
            const QString value = LangFile::ReadLangValue(file, "Strings", key).valueOr("");
            return (value.isEmpty() ? QString(english) : value).arg(QString("\u2068Fake\u2069"));
        };
        const QString next = text("0005", "Next Picture");
        QCOMPARE(menuTexts(f), (QStringList{next, text("0006", "Pause Rotation"),
                                            text("0008", "Pictures go to %1.")}));
        f.action("mnupause")->trigger();
        f.messenger->setRunning(false);
        QCOMPARE(menuTexts(f), (QStringList{next, text("0007", "Resume Rotation"),
                                            text("0045", "Rotation is paused.") + ' ' +
                                                text("0009", "No Messenger client receives the "
                                                             "pictures.")}));
        // Chosen at start, the language is the menu's from the first.
        f.window.reset();
        QVERIFY(f.start());
        QCOMPARE(f.action("mnunext")->text(), next);
    }

    // Every method, property and the signal, as another program on the bus sees them.
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
        QCOMPARE(peer.property("CurrentPicture"), "");
        QCOMPARE(peer.property("Folder"), f.folder());
        QCOMPARE(peer.property("Client"), "Fake");
        QCOMPARE(peer.call("Next").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(peer.property("CurrentPicture"), f.path("b.png"));
        QTRY_COMPARE(peer.pictures, QStringList{f.path("b.png")});
        peer.call("Pause");
        QCOMPARE(peer.property("Paused"), "true");
        peer.call("Resume");
        QCOMPARE(peer.property("Paused"), "false");
        f.messenger->signedIn = false;
        peer.call("Next");
        QCOMPARE(peer.property("LastError"), "refused");
        QCOMPARE(peer.property("CurrentPicture"), f.path("b.png"));
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
        // Exactly the documented interface: nothing else, nothing that writes or deletes.
        // Each member as "kind name type access", whatever order its attributes come in.
        const auto members = [](const QString& xml) {
            static const QRegularExpression member(R"(<(method|property|signal)\b([^>]*)>)");
            static const QRegularExpression attribute("(name|type|access)=\"([^\"]*)\"");
            QStringList all;
            for (const auto& match : member.globalMatch(
                     xml.section(ControlBus::InterfaceName, 1).section("</interface>", 0, 0))) {
                QMap<QString, QString> values;
                for (const auto& a : attribute.globalMatch(match.captured(2)))
                    values[a.captured(1)] = a.captured(2);
                all.append(match.captured(1) + ' ' + values.value("name") + ' ' +
                           values.value("type") + ' ' + values.value("access"));
            }
            return QSet<QString>(all.begin(), all.end());
        };
        const QDBusMessage found =
            peer.call("Introspect", {}, "org.freedesktop.DBus.Introspectable");
        QCOMPARE(
            members(found.arguments().value(0).toString()),
            members(TestEnvironment::read(DORVANE_SOURCE_DIR "/dist/example.dorvane.Dorvane.xml")));
    }

    // Each option asks the running copy and exits 0; with none running it says so and exits 1.
    // Help and version are answered at once. None needs a display, none takes the lock.
    void commandLine_data()
    {
        // copy: "none" runs, "on" rotates (with one picture to go back to), "off" has rotation
        // off, "fresh" has sent only its first picture; error: what is said on standard error
        columns<QString, QString, QString>("option", "copy", "error");
        for (const char* option :
             {"--next", "--previous", "--pause", "--resume", "--show", "--status"}) {
            row(option, QString(option), "on", "");
            row(qPrintable(QString(option) + " with no copy running"), QString(option), "none",
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
        const auto [option, copy, error] =
            fetch<QString, QString, QString>("option", "copy", "error");
        RunningCopy f;
        if (copy != "none") {
            QVERIFY(f.run({.pictures = {"a.png", "b.png"}, .rotation = copy != "off"}));
            if (option == "--resume" && copy == "on")
                (void)f.window->rotation()->pause();
            if (option == "--previous" && copy == "on")
                f.window->rotation()->next();
        }
        QProcess dvn;
        QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            bare.remove(name);
        dvn.setProcessEnvironment(bare);
        dvn.start(DORVANE_PROGRAM_PATH, {option});
        QTRY_COMPARE_WITH_TIMEOUT(dvn.state(), QProcess::NotRunning, 10000);
        const QString output = dvn.readAllStandardOutput(), errors = dvn.readAllStandardError();
        QCOMPARE(errors, error);
        QCOMPARE(dvn.exitCode(), error.isEmpty() ? 0 : 1);
        QVERIFY(copy != "none" || QDir(f.env.runtimeDir()).isEmpty());
        if (option == "--help" || option == "--version")
            QVERIFY(output.startsWith(option == "--help" ? "Usage: dvn [option]" : "Dorvane 4.0"));
        if (copy != "on")
            return;
        if (option == "--next")
            QCOMPARE(f.sent(), (QStringList{"a.png", "b.png"}));
        if (option == "--previous")
            QCOMPARE(f.sent(), (QStringList{"a.png", "b.png", "a.png"}));
        if (option == "--pause" || option == "--resume")
            QCOMPARE(f.window->rotation()->isPaused(), option == "--pause");
        if (option == "--show")
            QVERIFY(f.window->isVisible());
        if (option == "--status")
            QCOMPARE(output, "Picture: " + f.path("a.png") + "\nFolder: " + f.folder() +
                                 "\nRotation: running\nClient: Fake\n");
    }

    // A client that comes after Dorvane (the usual order at log-on) gets the first picture at
    // once; until then, Dorvane says it waits for one.
    void clientComesLater()
    {
        MainWindowFixture setup; // its environment and stored settings only
        const QString folder = setup.pictureFolder({"a.png", "b.png"});
        setup.store(Settings::Entry::FirstRun, "1");
        setup.store(Settings::Entry::Control, "1");
        setup.store(Settings::Entry::ImagePath, folder);
        QProcess dvn;
        dvn.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        dvn.start(DORVANE_PROGRAM_PATH);
        const auto status = [] {
            QProcess ask;
            ask.start(DORVANE_PROGRAM_PATH, {"--status"});
            ask.waitForFinished(10000);
            return QString(ask.readAllStandardOutput());
        };
        QTRY_VERIFY_WITH_TIMEOUT(
            status().contains("Rotation: stopped: Waiting for a Messenger client."), 20000);
        StandinProcess standin;
        QVERIFY(standin.start({"--no-cache"}));
        DBusMessengerClient client(QDBusConnection::sessionBus());
        const QDeadlineTimer twoSeconds(2000);
        QTRY_COMPARE_WITH_TIMEOUT(Answer::myProperty(client, 2).valueOr(QVariant()).toString(),
                                  folder + "/a.png", 2000);
        QVERIFY(!twoSeconds.hasExpired());
        QVERIFY(status().contains("Rotation: running"));
        dvn.terminate();
        QVERIFY(dvn.waitForFinished(10000));
    }

    // Every property's change is announced, with its new value, as the bus's properties say.
    void propertiesChanged_data()
    {
        columns<QString>("property");
        for (const char* name :
             {"CurrentPicture", "Folder", "Paused", "Client", "LastError", "State", "StateReason"})
            row(name, QString(name));
    }
    void propertiesChanged()
    {
        const auto [property] = fetch<QString>("property");
        RunningCopy f;
        QVERIFY(f.run({.pictures = {"a.png", "b.png"}, .rotation = true}));
        BusPeer peer;
        QVERIFY(peer.bus.connect(ControlBus::ServiceName, ControlBus::ObjectPath,
                                 "org.freedesktop.DBus.Properties", "PropertiesChanged", &peer,
                                 SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
        Rotation& rotation = *f.window->rotation();
        if (property == "CurrentPicture")
            rotation.next();
        else if (property == "Folder")
            rotation.setFolder(f.pictureFolder({"c.png"}, "other"));
        else if (property == "Paused" || property == "State" || property == "StateReason")
            (void)rotation.pause();
        else if (property == "Client")
            f.messenger->setRunning(false);
        else if (property == "LastError") {
            f.messenger->signedIn = false;
            rotation.next();
        }
        QTRY_VERIFY(peer.changed.contains(property));
        QCOMPARE(peer.changed.value(property).toString(), peer.property(property));
    }

    // Its output on a pipe whose reader has gone: the write fails, and the program goes on.
    void closedOutputNeverEndsTheProgram()
    {
        int output[2] = {-1, -1};
        QCOMPARE(::pipe2(output, O_CLOEXEC), 0); // the child keeps only its copies on 1 and 2
        ::close(output[0]);
        QProcess dvn;
        dvn.setChildProcessModifier([out = output[1]] {
            ::dup2(out, STDOUT_FILENO);
            ::dup2(out, STDERR_FILENO);
            ::signal(SIGPIPE, SIG_DFL); // as a shell starts it; QProcess's parent ignores it
        });
        dvn.start(DORVANE_PROGRAM_PATH, {"--status"}); // no copy runs: it says so, and fails
        ::close(output[1]);
        QTRY_COMPARE_WITH_TIMEOUT(dvn.state(), QProcess::NotRunning, 10000);
        QCOMPARE(dvn.exitStatus(), QProcess::NormalExit);
        QCOMPARE(dvn.exitCode(), 1);
    }

    // Files come and go in the folder: the list follows, the selected one stays selected.
    void listFollowsTheFolder_data()
    {
        columns<QString, QStringList, QString>("change", "listed", "nextSent");
        row("added", "add a0.png", QStringList{"a.png", "a0.png", "b.png", "c.png"}, "c.png");
        row("removed", "remove c.png", QStringList{"a.png", "b.png"}, "a.png");
        row("renamed", "rename a.png d.png", QStringList{"b.png", "c.png", "d.png"}, "c.png");
        row("the selected one removed", "remove b.png", QStringList{"a.png", "c.png"}, "a.png");
    }
    void listFollowsTheFolder()
    {
        const auto [change, listed, nextSent] =
            fetch<QString, QStringList, QString>("change", "listed", "nextSent");
        MainWindowFixture f;
        QVERIFY(
            f.start({.pictures = {"a.png", "b.png", "c.png"}, .rotation = true, .shown = true}));
        f.tick();
        QCOMPARE(f.listed().value(f.currentRow()), "b.png");
        const QStringList words = change.split(' ');
        QDir folder(f.folder());
        if (words[0] == "add")
            f.pictureFolder({words[1]});
        else if (words[0] == "remove")
            QVERIFY(folder.remove(words[1]));
        else
            QVERIFY(folder.rename(words[1], words[2]));
        QTRY_COMPARE(f.listed(), listed);
        QCOMPARE(f.listed().value(f.currentRow()), listed.contains("b.png") ? "b.png" : "");
        QCOMPARE(f.tick(), QStringList{nextSent});
    }

    // Ticks that keep failing are told once, after the delay, and the end of it once again.
    void outageNotices_data()
    {
        columns<int, QStringList>("delayMs", "notes");
        row("longer than the delay", 0,
            QStringList{"Pictures have not reached \u2068Fake\u2069 for a while: \u2068refused\u2069",
                        "Pictures reach \u2068Fake\u2069 again."});
        row("shorter than the delay", 3600000, QStringList{});
    }
    void outageNotices()
    {
        const auto [delayMs, notes] = fetch<int, QStringList>("delayMs", "notes");
        BusPeer desktop;
        QVERIFY(desktop.serve());
        FreedesktopNotifier notifier;
        MainWindowFixture f;
        f.notifier = &notifier;
        f.outageNoticeAfter = std::chrono::milliseconds(delayMs);
        QVERIFY(f.start({.pictures = {"a.png", "b.png"}, .rotation = true}));
        f.messenger->signedIn = false;
        f.tick(3);
        QVERIFY(f.action("mnustatus")->text().endsWith("Last failure: \u2068refused\u2069"));
        f.messenger->signedIn = true;
        f.tick();
        // Answered after every note sent before it: then all of them are in.
        const QDBusPendingCall flush =
            QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
                "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                "org.freedesktop.Notifications", "GetCapabilities"));
        QTRY_VERIFY(flush.isFinished());
        QCOMPARE(desktop.notes, notes);
        QVERIFY(f.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(TestControl)
#include "tst_control.moc"
