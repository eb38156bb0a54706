// A stand-in for the Messenger client: owns the client's bus name, answers the automation
// calls and fills the client's picture cache, so the program can be run and tested
// without a real client.

#include "ContactList.h"
#include "MessengerAccount.h"
#include "MessengerCache.h"
#include "MessengerService.h"
#include "StandinWindow.h"

#include "messenger/MessengerApi.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QTextStream>

#include <csignal>
#include <cstring>
#include <memory>

namespace {

bool hasArgument(int argc, char** argv, const char* wanted)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], wanted) == 0)
            return true;
    }
    return false;
}

void warn(const QString& what)
{
    QTextStream(stderr) << "messenger-standin: " << what << Qt::endl;
}

} // namespace

int main(int argc, char** argv)
{
    // Scripts wait for "ready" with e.g. `| head -1`; a later line must not kill us then.
    std::signal(SIGPIPE, SIG_IGN);
    // Without a window there is no need for a display; pictures are still drawn with fonts.
    if (hasArgument(argc, argv, "--no-window") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("messenger-standin"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stands in for the Messenger client on the session bus."));
    parser.addHelpOption();
    const QCommandLineOption contactsOption(
        QStringLiteral("contacts"),
        QStringLiteral("Read the contacts from FILE (UTF-8, one \"signin<TAB>nickname\" a line)."),
        QStringLiteral("FILE"));
    const QCommandLineOption userOption(
        QStringLiteral("user"), QStringLiteral("Sign-in name of the signed-in user."),
        QStringLiteral("NAME"), QStringLiteral("you@dorvane.example"));
    const QCommandLineOption signedOutOption(
        QStringLiteral("signed-out"), QStringLiteral("Nobody is signed in: refuse contacts and "
                                                     "display-picture changes."));
    const QCommandLineOption noWindowOption(QStringLiteral("no-window"),
                                            QStringLiteral("Run without a window."));
    const QCommandLineOption hangOption(QStringLiteral("hang"),
                                        QStringLiteral("Own the name but never answer a call."));
    const QCommandLineOption noCacheOption(QStringLiteral("no-cache"),
                                           QStringLiteral("Leave TEMP/MessengerCache alone."));
    parser.addOptions(
        {contactsOption, userOption, signedOutOption, noWindowOption, hangOption, noCacheOption});
    parser.process(app);

    standin::ContactList contacts = standin::ContactList::samples();
    if (parser.isSet(contactsOption)) {
        QString error;
        QStringList problems;
        const auto loaded =
            standin::ContactList::load(parser.value(contactsOption), &error, &problems);
        if (!loaded) {
            warn(error);
            return 2;
        }
        for (const QString& problem : problems)
            warn(QStringLiteral("%1: %2").arg(parser.value(contactsOption), problem));
        contacts = *loaded;
    }

    standin::MessengerAccount account(parser.value(userOption), !parser.isSet(signedOutOption),
                                      contacts);

    if (!parser.isSet(noCacheOption)) {
        standin::MessengerCache cache(MessengerApi::cacheFolder());
        QStringList problems;
        // A cache that cannot be written is reported; the client still answers calls.
        if (!cache.fill(contacts.contacts(), &problems)) {
            for (const QString& problem : problems)
                warn(QStringLiteral("picture cache: %1").arg(problem));
        }
    }

    standin::MessengerService service(&account, parser.isSet(hangOption));
    QDBusConnection bus = QDBusConnection::sessionBus();
    QString error;
    if (!service.registerOn(bus, &error)) {
        warn(error);
        return 1;
    }

    std::unique_ptr<standin::StandinWindow> window;
    if (!parser.isSet(noWindowOption)) {
        window = std::make_unique<standin::StandinWindow>(&account);
        window->show();
    }

    QTextStream(stdout) << "ready" << Qt::endl;
    return app.exec();
}
