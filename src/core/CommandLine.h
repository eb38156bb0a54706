#pragma once

#include "core/language/Texts.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

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
    // Why the arguments were refused, in the current language; empty unless the action is
    // Invalid.
    QString error() const;

    // The running copy's bus method that carries out the action; empty for the actions carried
    // out here (--status reads properties instead).
    static QString requestMethod(Action action);
    // --status's report, from the running copy's properties.
    static QString statusText(const QVariantMap& state);

    static QString helpText(const QString& program);
    static QString versionText();

private:
    Action m_action = Action::Start;
    std::optional<Text> m_error;
    QString m_refused; // the option not known
};
