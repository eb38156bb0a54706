#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

// What the command line asks for. It is read before any window exists, so that --help and
// --version work without a display and without touching the single-instance lock.
class CommandLine
{
public:
    enum class Action {
        Start,
        Help,
        Version,
        Invalid,
        Next,
        Previous,
        Pause,
        Resume,
        Show,
        Status
    };

    // `arguments` as main() has them, the program first.
    static CommandLine parse(const QStringList& arguments);

    Action action() const { return m_action; }
    // Why the arguments were refused; empty unless the action is Invalid.
    const QString& error() const { return m_error; }

    // The running copy's bus method that carries out the action; empty for the actions carried
    // out here (--status reads properties instead).
    static QString requestMethod(Action action);
    // --status's report, from the running copy's properties.
    static QString statusText(const QVariantMap& state);

    static QString helpText(const QString& program);
    static QString versionText();

private:
    Action m_action = Action::Start;
    QString m_error;
};
