#pragma once

#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <csignal>
#include <unistd.h>

// The test's own bus daemon (the one dbus-run-session started for the test run) stopped with
// SIGSTOP for as long as the object lives, as a stalled daemon would be. Only a daemon started
// beside one of this process's ancestors is ever stopped; should the test die before it goes on
// again, a detached `kill -CONT` lets it go after 30 s.
class StoppedBus
{
public:
    // The daemon's process, when it is the test's own; 0 otherwise (or when there is no bus).
    static pid_t ownDaemon()
    {
        const pid_t daemon = pid_t( // 0 when the bus does not answer
            QDBusConnection::sessionBus().interface()->servicePid("org.freedesktop.DBus").value());
        if (daemon <= 0 || field(daemon, "Name") != "dbus-daemon")
            return 0;
        const pid_t parent = field(daemon, "PPid").toInt();
        for (pid_t up = ::getppid(); up > 1; up = field(up, "PPid").toInt())
            if (up == parent)
                return daemon;
        return 0;
    }

    explicit StoppedBus(pid_t daemon) : m_daemon(daemon)
    {
        // None of the test's own output: the test runner would wait for it to be closed.
        const QString guard = QStringLiteral("exec >/dev/null 2>&1; sleep 30; kill -CONT %1");
        qint64 pid = 0;
        if (QProcess::startDetached("sh", {"-c", guard.arg(m_daemon)}, {}, &pid))
            m_guard = pid_t(pid);
        ::kill(m_daemon, SIGSTOP);
    }
    ~StoppedBus()
    {
        ::kill(m_daemon, SIGCONT);
        if (m_guard > 0)
            ::kill(m_guard, SIGTERM);
    }
    StoppedBus(const StoppedBus&) = delete;
    StoppedBus& operator=(const StoppedBus&) = delete;

private:
    // A line of /proc/PID/status, without its name.
    static QByteArray field(pid_t pid, const QByteArray& name)
    {
        QFile file(QStringLiteral("/proc/%1/status").arg(pid));
        const QByteArray status = file.open(QIODevice::ReadOnly) ? '\n' + file.readAll() : "";
        const qsizetype at = status.indexOf('\n' + name + ':');
        return at < 0 ? QByteArray() : status.mid(at + name.size() + 2).split('\n')[0].trimmed();
    }

    pid_t m_daemon;
    pid_t m_guard = 0;
};
