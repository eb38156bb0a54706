#include "CommandLine.h"

#include <QFileInfo>

CommandLine CommandLine::parse(const QStringList& arguments)
{
    // Qt's own options (-style, -session from the session manager, ...) are Qt's to read, with
    // their value after them or after "=".
    static const QStringList qtWithValue = {
        QStringLiteral("-platform"),        QStringLiteral("-platformpluginpath"),
        QStringLiteral("-platformtheme"),   QStringLiteral("-plugin"),
        QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowtitle"),
        QStringLiteral("-qwindowicon"),     QStringLiteral("-session"),
        QStringLiteral("-style"),           QStringLiteral("-stylesheet"),
        QStringLiteral("-display"),         QStringLiteral("-geometry"),
        QStringLiteral("-title"),           QStringLiteral("-name")};
    static const QStringList qtFlags = {QStringLiteral("-reverse"), QStringLiteral("-widgetcount"),
                                        QStringLiteral("-nograb"),  QStringLiteral("-dograb"),
                                        QStringLiteral("-sync"),    QStringLiteral("-testability")};
    static const QList<std::pair<QLatin1String, Action>> options = {
        {QLatin1String("--help"), Action::Help},
        {QLatin1String("-h"), Action::Help},
        {QLatin1String("--version"), Action::Version},
        {QLatin1String("-v"), Action::Version},
        {QLatin1String("--next"), Action::Next},
        {QLatin1String("--previous"), Action::Previous},
        {QLatin1String("--pause"), Action::Pause},
        {QLatin1String("--resume"), Action::Resume},
        {QLatin1String("--show"), Action::Show},
        {QLatin1String("--status"), Action::Status}};
    CommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        Action action = Action::Invalid;
        for (const auto& [name, named] : options) {
            if (argument == name)
                action = named;
        }
        if (action == Action::Invalid && argument.startsWith(QLatin1Char('-')) &&
            !argument.startsWith(QLatin1String("--"))) {
            if (qtWithValue.contains(argument)) {
                ++i;
                continue;
            }
            if (qtFlags.contains(argument) ||
                qtWithValue.contains(argument.section(QLatin1Char('='), 0, 0)))
                continue;
            // "-next" is taken as "--next"; any other word with one dash is refused below,
            // never left for a window that would then start instead of the request.
            for (const auto& [name, named] : options) {
                if (name.startsWith(QLatin1String("--")) && argument == name.mid(1))
                    action = named;
            }
        }
        if (action == Action::Invalid) {
            line.m_action = Action::Invalid;
            line.m_error = QStringLiteral("Unknown option: %1").arg(argument);
            return line;
        }
        if (line.m_action != Action::Start && line.m_action != action) {
            line.m_action = Action::Invalid;
            line.m_error = QStringLiteral("Give one option at a time.");
            return line;
        }
        line.m_action = action;
    }
    return line;
}

QString CommandLine::helpText(const QString& program)
{
    return QStringLiteral("Usage: %1 [option]\n"
                          "Changes your Messenger display picture on a timer from a folder of "
                          "pictures.\n"
                          "Without an option the window starts (or the running copy comes "
                          "forward).\n\n"
                          "Options:\n"
                          "  --next         Send the next picture now (the running copy).\n"
                          "  --previous     Send the picture sent before the current one again.\n"
                          "  --pause        Pause the rotation until --resume.\n"
                          "  --resume       Resume a paused rotation.\n"
                          "  --show         Bring the running copy's window forward.\n"
                          "  --status       Show the running copy's picture, folder, state and\n"
                          "                 client.\n"
                          "  -h, --help     Show this help and exit.\n"
                          "  -v, --version  Show the version and exit.\n\n"
                          "These options exit with 1, saying why, when no copy of Dorvane is\n"
                          "running or when it refused (--resume while rotation is off, --previous\n"
                          "at the oldest picture).\n")
        .arg(QFileInfo(program).fileName());
}

QString CommandLine::requestMethod(Action action)
{
    switch (action) {
    case Action::Next:
        return QStringLiteral("Next");
    case Action::Previous:
        return QStringLiteral("Previous");
    case Action::Pause:
        return QStringLiteral("Pause");
    case Action::Resume:
        return QStringLiteral("Resume");
    case Action::Show:
        return QStringLiteral("Show");
    default:
        return QString();
    }
}

QString CommandLine::statusText(const QVariantMap& state)
{
    const auto value = [&](const char* name) {
        return state.value(QLatin1String(name)).toString();
    };
    const QString client = value("Client");
    // The state in one word, and why it is not running.
    QString rotation = value("State");
    if (!value("StateReason").isEmpty())
        rotation += QStringLiteral(": ") + value("StateReason");
    QString text =
        QStringLiteral("Picture: %1\nFolder: %2\nRotation: %3\nClient: %4\n")
            .arg(value("CurrentPicture").isEmpty() ? QStringLiteral("(none sent yet)")
                                                   : value("CurrentPicture"),
                 value("Folder"), rotation, client.isEmpty() ? QStringLiteral("(none)") : client);
    if (!value("LastError").isEmpty())
        text += QStringLiteral("Last failure: %1\n").arg(value("LastError"));
    return text;
}

QString CommandLine::versionText()
{
    return QStringLiteral("Dorvane 4.0\n");
}
