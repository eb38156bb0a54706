#include "AutoRun.h"

#include "core/fs/AppPaths.h"
#include "core/language/Texts.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QSaveFile>

namespace {

QString entryPath(const QString& dir, const QString& name)
{
    return AppPaths::join(dir, name + QStringLiteral(".desktop"));
}

// Escapes of the Desktop Entry string type, so that a value stays on its one line.
QString escapeValue(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (ch == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (ch == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (ch == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (ch == QLatin1Char(' ') && i == 0)
            out += QStringLiteral("\\s"); // a leading space would be trimmed away
        else
            out += ch;
    }
    return out;
}

QByteArray entryText(const QString& name, const QString& execLine)
{
    // The program's icon and a word on what it is, for the desktop's list of log-on programs.
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + escapeValue(name) +
                   QStringLiteral("\nComment=Changes your Messenger display picture on a timer"
                                  "\nIcon=example.dorvane.Dorvane\n") +
                   execLine + QLatin1Char('\n');
    return text.toUtf8();
}

// Makes sure no file of that name is left; an absent one is fine.
Result<void> removeFile(const QString& path)
{
    QFile file(path);
    if (!file.exists() || file.remove())
        return {};
    return Failure{Texts::text(Text::EntryNotRemovedBecause).arg(path, file.errorString())};
}

// The variable's value when it is an absolute path; relative ones are invalid for XDG.
QString absoluteDir(const QString& value)
{
    return QDir::isAbsolutePath(value) ? value : QString();
}

} // namespace

AutoRun::AutoRun() : AutoRun(fromEnvironment()) {}

AutoRun::AutoRun(const QString& machineDir, const QString& userDir)
    : m_machineDir(machineDir), m_userDir(userDir)
{
}

AutoRun AutoRun::fromEnvironment()
{
    QString machine;
    const QStringList dirs =
        qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& dir : dirs) {
        machine = absoluteDir(dir);
        if (!machine.isEmpty())
            break;
    }
    if (machine.isEmpty())
        machine = QStringLiteral("/etc/xdg");

    QString user = absoluteDir(qEnvironmentVariable("XDG_CONFIG_HOME"));
    if (user.isEmpty())
        user = AppPaths::join(QDir::homePath(), QStringLiteral(".config"));

    return AutoRun(AppPaths::join(machine, QStringLiteral("autostart")),
                   AppPaths::join(user, QStringLiteral("autostart")));
}

Result<void> AutoRun::AddRunEntry(const QString& name, const QString& data)
{
    // Data is one escaped Exec value; a raw line break would smuggle in further keys.
    if (!isUsableName(name) || data.contains(QLatin1Char('\n')) ||
        data.contains(QLatin1Char('\r')) || data.contains(QChar(0)))
        return Failure{Texts::text(Text::EntryNameNotWritten).arg(name)};

    const QByteArray content = entryText(name, QStringLiteral("Exec=") + data);
    if (writeEntry(m_machineDir, name, content)) {
        // A per-user entry of the same name would take precedence over this one at log-on
        // and start older data (or nothing, if it is a mask), so it has to go.
        return removeFile(entryPath(m_userDir, name));
    }
    return writeEntry(m_userDir, name, content);
}

Result<void> AutoRun::RemoveRunEntry(const QString& name)
{
    if (!isUsableName(name))
        return Failure{Texts::text(Text::EntryNameNotRemoved).arg(name)};

    const QString machineEntry = entryPath(m_machineDir, name);
    if (QFile::exists(machineEntry) && !QFile::remove(machineEntry)) {
        // The per-machine entry is beyond this user's rights. A per-user entry of the same
        // name marked Hidden switches it off for this user, so that clearing the option is
        // not silently ignored.
        return writeEntry(m_userDir, name, entryText(name, QStringLiteral("Hidden=true")));
    }
    return removeFile(entryPath(m_userDir, name));
}

QString AutoRun::runEntryData(const QString& appDir, const QString& name)
{
    const QString program = AppPaths::join(appDir, name);
    QString quoted;
    quoted.reserve(program.size() + 8);
    quoted += QLatin1Char('"');
    for (const QChar ch : program) {
        if (ch == QLatin1Char('"') || ch == QLatin1Char('`') || ch == QLatin1Char('$') ||
            ch == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        else if (ch == QLatin1Char('%'))
            quoted += QLatin1Char('%'); // a lone % would start a field code
        quoted += ch;
    }
    quoted += QLatin1Char('"');
    return escapeValue(quoted);
}

bool AutoRun::isUsableName(const QString& name)
{
    // The name becomes a file name in the autostart folders; it must not lead out of them.
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

Result<void> AutoRun::writeEntry(const QString& dir, const QString& name, const QByteArray& content)
{
    QDir().mkpath(dir);
    QSaveFile file(entryPath(dir, name));
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return {};
    return Failure{
        Texts::text(Text::EntryNotWrittenBecause).arg(file.fileName(), file.errorString())};
}
