// How long the main window's event loop is kept from running, at most, while the program meets
// slow surroundings. A 1 ms timer notes every gap between its turns; the longest one is printed
// for each scenario:
//   1. ticks every second to a Messenger client that never answers (the stand-in's --hang);
//   2. a click through ten 8000 x 8000 PNG pictures, one every 100 ms;
//   3. the contact tools window opening on 100,000 contacts;
//   4. ticks every second and a click every 100 ms while the bus daemon is stopped for 5 s (the
//      benchmark's own daemon: run it under dbus-run-session);
//   5. ticks every second for a minute to three XMPP accounts on a local Prosody of the
//      benchmark's own (the tests' server), each picture made into an avatar and published.
// Target: no gap over 50 ms.
//
//   bench_responsiveness [seconds of ticking, 10 when not given]

#include "core/rotation/Rotation.h"
#include "messenger/MessengerApi.h"
#include "ui/tools/FrmTools.h"
#include "ui/widgets/FileListBox.h"
#include "ui/widgets/ImageControl.h"

#include "BenchProgram.h"
#include "Prosody.h"
#include "StoppedBus.h"
#include "xmpp/XmppAccounts.h"
#include "xmpp/XmppClient.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

// The longest wait between two turns of a 1 ms timer.
class GapProbe : public QObject
{
public:
    GapProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_worst = std::max(m_worst, now - m_last);
            m_last = now;
        });
    }
    void start()
    {
        m_worst = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double stop()
    {
        m_timer.stop();
        return m_worst / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_worst = 0;
};

// Runs the event loop until `done` holds (checked every 10 ms) or `seconds` have passed.
void runUntil(const std::function<bool()>& done, int seconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < qint64(seconds) * 1000) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

struct Standin
{
    QProcess process;
    explicit Standin(const QStringList& arguments)
    {
        process.start(QStringLiteral(DORVANE_BIN_DIR "/messenger-standin"),
                      QStringList{QStringLiteral("--no-window"), QStringLiteral("--no-cache")} +
                          arguments);
        runUntil(
            [] {
                return QDBusConnection::sessionBus().interface()->isServiceRegistered(
                    MessengerApi::ServiceName);
            },
            20);
    }
    ~Standin()
    {
        process.kill();
        process.waitForFinished();
        runUntil(
            [] {
                return !QDBusConnection::sessionBus().interface()->isServiceRegistered(
                    MessengerApi::ServiceName);
            },
            20);
    }
};

double ticksToASilentClient(const QTemporaryDir& root, int seconds)
{
    Standin standin({QStringLiteral("--hang")});
    Program program(root, "[control]\nstate=1\n[timer]\ntimes=1\n[imagepath]\npath=" +
                              QByteArray(DORVANE_BIN_DIR "/images\n"));
    GapProbe probe;
    probe.start();
    runUntil([] { return false; }, seconds);
    return probe.stop();
}

double clicksThroughLargePictures(const QTemporaryDir& root)
{
    const QString folder = root.filePath(QStringLiteral("large"));
    QDir().mkpath(folder);
    QImage picture(8000, 8000, QImage::Format_RGB888);
    for (int i = 0; i < 10; ++i) {
        picture.fill(QColor::fromHsv(i * 36, 200, 200));
        picture.save(QStringLiteral("%1/p%2.png").arg(folder).arg(i), "PNG");
    }
    Standin standin({});
    Program program(root,
                    "[control]\nstate=0\n[imagepath]\npath=" + QFile::encodeName(folder) + '\n');
    auto* list = program.window->widget<FileListBox>(QStringLiteral("lstimages"));
    auto* preview = program.window->widget<ImageControl>(QStringLiteral("imgnow"));
    GapProbe probe;
    probe.start();
    for (int row = 0; row < 10; ++row) {
        list->setCurrentRow(row);
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
    }
    runUntil([preview] { return !preview->isLoading(); }, 60);
    return probe.stop();
}

double toolsWindowOnManyContacts(const QTemporaryDir& root)
{
    QFile contacts(root.filePath(QStringLiteral("contacts.txt")));
    if (contacts.open(QIODevice::WriteOnly)) {
        for (int i = 0; i < 100000; ++i)
            contacts.write(
                QStringLiteral("contact%1@example.org\tContact number %1\n").arg(i).toUtf8());
    }
    contacts.close();
    Standin standin({QStringLiteral("--contacts"), contacts.fileName()});
    Program program(root, "[control]\nstate=0\n");
    GapProbe probe;
    probe.start();
    FrmTools tools(*program.window, program.services);
    tools.Form_Load();
    tools.show();
    auto* nicks = tools.widget<QListWidget>(QStringLiteral("lstnick"));
    runUntil([&] { return nicks->count() == 100000; }, 60);
    const int filled = nicks->count();
    const double worst = probe.stop();
    if (filled != 100000)
        std::printf("  (the lists hold %d contacts, not 100000)\n", filled);
    return worst;
}

double clicksWhileTheBusIsStopped(const QTemporaryDir& root)
{
    const pid_t daemon = StoppedBus::ownDaemon();
    if (daemon == 0) {
        std::printf(
            "  (the bus daemon is not the benchmark's own: run it under dbus-run-session)\n");
        return -1;
    }
    Standin standin({});
    Program program(root, "[control]\nstate=1\n[timer]\ntimes=1\n[imagepath]\npath=" +
                              QByteArray(DORVANE_BIN_DIR "/images\n"));
    auto* list = program.window->widget<FileListBox>(QStringLiteral("lstimages"));
    runUntil([] { return false; }, 2);
    GapProbe probe;
    probe.start();
    {
        const StoppedBus stopped(daemon);
        for (int click = 0; click < 50; ++click) {
            list->setCurrentRow(click % std::max(1, list->count()));
            QEventLoop loop;
            QTimer::singleShot(100, &loop, &QEventLoop::quit);
            loop.exec();
        }
    }
    // What the daemon held back arrives at once.
    runUntil([] { return false; }, 2);
    return probe.stop();
}

double ticksToThreeAccounts(const QTemporaryDir& root)
{
    TestEnvironment env;
    Prosody prosody(env);
    const QStringList accounts{"a@localhost", "b@localhost", "c@localhost"};
    for (const QString& account : accounts)
        prosody.addUser(account, QStringLiteral("secret"));
    if (!Prosody::installed() || !prosody.start()) {
        std::printf("  (no Prosody here: apt-get install prosody openssl)\n");
        return -1;
    }
    Program program(root, "[control]\nstate=1\n[timer]\ntimes=1\n[imagepath]\npath=" +
                              QByteArray(DORVANE_BIN_DIR "/images\n"));
    auto* xmpp = program.window->findChild<XmppAccounts*>();
    // No keyring on the benchmark's bus: the passwords are kept for the run.
    for (const QString& account : accounts)
        xmpp->add({account, prosody.server(), true}, QStringLiteral("secret"),
                  [](const Result<void>&) {});
    const auto signedIn = [&] {
        return std::all_of(accounts.begin(), accounts.end(), [&](const QString& account) {
            return xmpp->client(account) && xmpp->client(account)->isAvailable();
        });
    };
    runUntil(signedIn, 20);
    if (!signedIn())
        std::printf("  (not every account signed in)\n");
    // Publications that ended, over the three accounts.
    int published = 0;
    for (const QString& account : accounts) {
        XmppClient* client = xmpp->client(account);
        QObject::connect(client, &XmppClient::stateChanged,
                         [client, &published, was = client->state()]() mutable {
                             if (std::exchange(was, client->state()) ==
                                 XmppClient::State::Publishing)
                                 ++published;
                         });
    }
    GapProbe probe;
    probe.start();
    runUntil([] { return false; }, 60);
    const double worst = probe.stop();
    std::printf("  (%d publications over the three accounts; last failure: %s)\n", published,
                qPrintable(program.window->findChild<Rotation*>()->lastError()));
    return worst;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir root;
    qputenv("Temp", QFile::encodeName(root.path()));
    qputenv("BROWSER", "true");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10;
    if (!QDBusConnection::sessionBus().isConnected()) {
        std::fprintf(stderr, "needs a session bus: run it under dbus-run-session\n");
        return 2;
    }
    std::printf("Longest time the event loop was kept from running (target: 50 ms at most)\n");
    const auto report = [](const char* what, double ms) {
        std::printf("  %-58s %7.1f ms %s\n", what, ms, ms <= 50 ? "" : "  OVER");
        std::fflush(stdout);
    };
    {
        QTemporaryDir scenario;
        report("ticks every second to a client that never answers",
               ticksToASilentClient(scenario, seconds));
    }
    {
        QTemporaryDir scenario;
        report("clicking through ten 8000 x 8000 PNG pictures",
               clicksThroughLargePictures(scenario));
    }
    {
        QTemporaryDir scenario;
        report("\"Other Tools\" opening on 100,000 contacts", toolsWindowOnManyContacts(scenario));
    }
    {
        QTemporaryDir scenario;
        report("ticks and clicks while the bus daemon is stopped for 5 s",
               clicksWhileTheBusIsStopped(scenario));
    }
    {
        QTemporaryDir scenario;
        report("ticks every second for a minute to three XMPP accounts",
               ticksToThreeAccounts(scenario));
    }
    return 0;
}
