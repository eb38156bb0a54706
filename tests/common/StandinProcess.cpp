#include "StandinProcess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QTest>

namespace {
const QString ServiceName = QStringLiteral("MessengerAPI.Messenger");
}

StandinProcess::~StandinProcess()
{
    stop();
}

bool StandinProcess::nameHasOwner()
{
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(ServiceName).value();
}

bool StandinProcess::start(const QStringList& extraArguments)
{
    m_process.setProgram(QStringLiteral(DORVANE_STANDIN_PATH));
    m_process.setArguments(QStringList{QStringLiteral("--no-window")} + extraArguments);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(10000))
        return false;
    // It says "ready" once it owns the name.
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (nameHasOwner())
            return true;
        if (m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(100);
    }
    return nameHasOwner();
}

void StandinProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
    QTRY_VERIFY_WITH_TIMEOUT(!nameHasOwner(), 10000);
}

void StandinProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        kill();
    QTRY_VERIFY_WITH_TIMEOUT(!nameHasOwner(), 10000);
}
