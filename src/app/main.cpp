#include "core/CommandLine.h"
#include "core/fs/AppFolders.h"
#include "core/fs/AppPaths.h"
#include "core/language/LanguageSupport.h"
#include "core/language/Texts.h"
#include "core/settings/AutoRun.h"
#include "core/settings/Settings.h"
#include "messenger/SessionBus.h"
#include "messenger/SessionMessengerClient.h"
#include "platform/ControlBus.h"
#include "platform/ControlService.h"
#include "platform/FreedesktopNotifier.h"
#include "platform/KeyboardLayoutFactory.h"
#include "platform/KeychainPasswordStore.h"
#include "platform/LockFileInstance.h"
#include "platform/QtDialogs.h"
#include "platform/SystemBrowser.h"
#include "platform/SystemTrayIcon.h"
#include "ui/main/FrmMine.h"

#include <QApplication>
#include <QDBusConnection>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

namespace {

// The whole request, the bus's handshake included, has this long: a stalled bus or a copy that
// does not answer is told as such, never waited for.
constexpr int AnswerWithinSeconds = 5;
std::atomic<bool> busConnected = false;

void giveUpInTime()
{
    // Worded here: the language is not to be read while the program ends on the other thread.
    const auto late = [](const QString& who) {
        return Texts::text(Text::NoAnswerInTime).arg(who).arg(AnswerWithinSeconds).toLocal8Bit();
    };
    std::thread([copy = late(QStringLiteral("Dorvane")),
                 bus = late(Texts::text(Text::TheSessionBus))] {
        std::this_thread::sleep_for(std::chrono::seconds(AnswerWithinSeconds));
        std::fprintf(stderr, "%s\n", (busConnected ? copy : bus).constData());
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(1);
    }).detach();
}

// --next, --previous, --pause, --resume, --show and --status: carried out by the running copy,
// the one that holds the single-instance lock.
int askRunningCopy(CommandLine::Action action)
{
    giveUpInTime();
    Result<QString> answer = QString();
    const QDBusConnection bus = QDBusConnection::sessionBus();
    busConnected = true;
    const qint64 holder = LockFileInstance::holder(LockFileInstance::defaultLockPath());
    if (action == CommandLine::Action::Status) {
        const Result<QVariantMap> state = ControlBus::state(holder, bus);
        answer = state ? Result<QString>(CommandLine::statusText(*state))
                       : Result<QString>(Failure{state.error()});
    } else if (const Result<void> done =
                   ControlBus::request(CommandLine::requestMethod(action), holder, bus);
               !done) {
        answer = Failure{done.error()};
    }
    if (!answer) {
        std::fprintf(stderr, "%s\n", qPrintable(answer.error()));
        return 1;
    }
    std::fputs(qPrintable(*answer), stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Messages go to standard error, which may be a pipe whose reader has gone (a closed
    // terminal): a write there must fail quietly, never end the program.
    std::signal(SIGPIPE, SIG_IGN);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine line = CommandLine::parse(arguments);
    // What the command line says is in the language the window would speak.
    std::optional<QCoreApplication> commandApp;
    std::optional<LanguageSupport> commandLanguage;
    if (line.action() != CommandLine::Action::Start) {
        commandApp.emplace(argc, argv);
        commandLanguage.emplace(AppFolders::ofRunningProgram().langDir(),
                                AppPaths::userConfigDir());
        commandLanguage->setCurrentLang(commandLanguage->startLanguage());
    }
    switch (line.action()) {
    case CommandLine::Action::Help:
        std::fputs(qPrintable(CommandLine::helpText(arguments.first())), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(qPrintable(CommandLine::versionText()), stdout);
        return 0;
    case CommandLine::Action::Invalid:
        std::fprintf(stderr, "%s\n\n%s", qPrintable(line.error()),
                     qPrintable(CommandLine::helpText(arguments.first())));
        return 1;
    case CommandLine::Action::Start:
        break;
    default: {
        const int code = askRunningCopy(line.action());
        // Nothing is left to save, and the bus library's own thread may still be reading a late
        // message from the bus while the program's statics go (which prints warnings): end here.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(code);
    }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvane"));
    QApplication::setApplicationVersion(QStringLiteral("4.0"));
    // The launcher, the icon and the window all go by the application id.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.dorvane.Dorvane"));
    // The main window ends the program itself; hiding it in the notification area must not.
    QApplication::setQuitOnLastWindowClosed(false);
    // The session bus (the Messenger client, the notification area) is reached while the window
    // is being built, so that its handshake, however long, never holds the window up.
    SessionBus::whenReady(&app, [](const QDBusConnection&) {});

    const AppFolders folders = AppFolders::ofRunningProgram();
    Settings settings;
    QtDialogs dialogs;
    SystemBrowser browser;
    SystemTrayIcon tray;
    AutoRun autoRun = AutoRun::fromEnvironment();
    LockFileInstance instance;
    LanguageSupport language(folders.langDir(), AppPaths::userConfigDir());
    // Even the message that another copy runs is in the user's language.
    language.setCurrentLang(language.startLanguage());
    const std::unique_ptr<KeyboardLayout> keyboard = createKeyboardLayout();
    FreedesktopNotifier notifier;
    KeychainPasswordStore passwords;

    const MainServices services{.settings = settings,
                                .dialogs = dialogs,
                                .browser = browser,
                                .tray = tray,
                                .autoRun = autoRun,
                                .instance = instance,
                                .language = language,
                                .keyboard = *keyboard,
                                .notifier = notifier,
                                .passwords = passwords,
                                .messengerFactory = &SessionMessengerClient::create,
                                .folders = folders};

    FrmMine window(services);
    if (!window.Form_Load())
        return 0;
    window.showAtStart();
    // Reachable by a second start and by the command line; without a session bus it runs alone.
    ControlService* control = window.controlService();
    SessionBus::whenReady(control,
                          [control](const QDBusConnection& bus) { control->publish(bus); });
    return QApplication::exec();
}
