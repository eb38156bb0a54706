#include "CommandLine.h"

#include <QFileInfo>

CommandLine CommandLine::parse(const QStringList& arguments)
{
    // Qt's own options (-style, -session from the session manager, ...) are Qt's to read.
    static const QStringList qtWithValue = {
        QStringLiteral("-platform"),        QStringLiteral("-platformpluginpath"),
        QStringLiteral("-platformtheme"),   QStringLiteral("-plugin"),
        QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowtitle"),
        QStringLiteral("-qwindowicon"),     QStringLiteral("-session"),
        QStringLiteral("-style"),           QStringLiteral("-stylesheet"),
        QStringLiteral("-display"),         QStringLiteral("-geometry"),
        QStringLiteral("-title"),           QStringLiteral("-name")};
    CommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        Action action = Action::Invalid;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            action = Action::Help;
        else if (argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            action = Action::Version;
        else if (argument.startsWith(QLatin1Char('-')) &&
                 !argument.startsWith(QLatin1String("--"))) {
            if (qtWithValue.contains(argument))
                ++i;
            continue;
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
                          "  -h, --help     Show this help and exit.\n"
                          "  -v, --version  Show the version and exit.\n")
        .arg(QFileInfo(program).fileName());
}

QString CommandLine::versionText()
{
    return QStringLiteral("Dorvane 4.0\n");
}
