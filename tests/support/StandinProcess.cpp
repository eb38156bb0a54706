#include "StandinProcess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTest>

bool StandinProcess::nameHasOwner()
{
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(QStringLiteral("MessengerAPI.Messenger")).value();
}

bool StandinProcess::waitForName(bool owned) const
{
    return QTest::qWaitFor(
               [&] {
                   return nameHasOwner() == owned ||
                          (owned && m_process.state() == QProcess::NotRunning);
               },
               20000) &&
           nameHasOwner() == owned;
}

bool StandinProcess::start(const QStringList& arguments)
{
    m_process.setProgram(QStringLiteral(DORVANE_STANDIN_PATH));
    m_process.setArguments(QStringList{QStringLiteral("--no-window")} + arguments);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    return m_process.waitForStarted(10000) && waitForName(true);
}

void StandinProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
    waitForName(false);
}

void StandinProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    waitForName(false);
}
