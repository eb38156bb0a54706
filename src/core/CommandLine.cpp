#include "CommandLine.h"
#include "core/language/Texts.h"

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
            line.m_error = Text::UnknownOption;
            line.m_refused = argument;
            return line;
        }
        if (line.m_action != Action::Start && line.m_action != action) {
            line.m_action = Action::Invalid;
            line.m_error = Text::OneOptionAtATime;
            return line;
        }
        line.m_action = action;
    }
    return line;
}

QString CommandLine::error() const
{
    if (!m_error)
        return QString();
    return *m_error == Text::UnknownOption ? Texts::text(*m_error).arg(m_refused)
                                           : Texts::text(*m_error);
}

QString CommandLine::helpText(const QString& program)
{
    const std::pair<const char*, Text> options[] = {
        {"--next", Text::HelpNext},     {"--previous", Text::HelpPrevious},
        {"--pause", Text::HelpPause},   {"--resume", Text::HelpResume},
        {"--show", Text::HelpShow},     {"--status", Text::HelpStatus},
        {"-h, --help", Text::HelpHelp}, {"-v, --version", Text::HelpVersion}};
    QString text = Texts::text(Text::HelpUsage).arg(QFileInfo(program).fileName()) +
                   QLatin1Char('\n') + Texts::text(Text::HelpWhat) + QLatin1Char('\n') +
                   Texts::text(Text::HelpWithout) + QStringLiteral("\n\n") +
                   Texts::text(Text::HelpOptions) + QLatin1Char('\n');
    for (const auto& [option, what] : options)
        text += QStringLiteral("  %1 %2\n").arg(QLatin1String(option), -14).arg(Texts::text(what));
    return text + QLatin1Char('\n') + Texts::text(Text::HelpExits) + QLatin1Char('\n');
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
    const QString picture = value("CurrentPicture");
    QStringList lines = {Texts::text(Text::StatusPicture)
                             .arg(picture.isEmpty() ? Texts::text(Text::StatusNoneSent) : picture),
                         Texts::text(Text::StatusFolder).arg(value("Folder")),
                         Texts::text(Text::StatusRotation).arg(rotation),
                         Texts::text(Text::StatusClient)
                             .arg(client.isEmpty() ? Texts::text(Text::StatusNone) : client)};
    // Each place the pictures go, and why they do not reach it.
    const QVariantMap destinations = state.value(QStringLiteral("Destinations")).toMap();
    for (auto it = destinations.cbegin(); it != destinations.cend(); ++it) {
        const QString why = it.value().toString();
        lines.append(why.isEmpty() ? Texts::text(Text::StatusReceives).arg(it.key())
                                   : Texts::text(Text::StatusFails).arg(it.key(), why));
    }
    if (!value("LastError").isEmpty())
        lines.append(Texts::text(Text::LastFailure).arg(value("LastError")));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString CommandLine::versionText()
{
    return QStringLiteral("Dorvane 4.0\n");
}
