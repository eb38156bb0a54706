#pragma once

#include "messenger/MessengerApi.h"
#include "messenger/MessengerApiProxy.h"
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTest>

// The Messenger stand-in on the test's session bus, without a window.
class StandinProcess
{
public:
    ~StandinProcess() { end(false); }

    // Starts it and waits until it owns the bus name; false when it did not come up.
    bool start(const QStringList& arguments = {})
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(DORVANE_STANDIN_PATH, QStringList{"--no-window"} + arguments);
        return m_process.waitForStarted(10000) && waitForName(true);
    }
    // Ends it the hard way, as a crash would.
    void kill() { end(true); }
    // The display picture it shows, as it tells it; empty when it does not answer.
    static QString displayPicture()
    {
        MessengerApiProxy proxy(MessengerApi::ServiceName, MessengerApi::ObjectPath,
                                QDBusConnection::sessionBus());
        return proxy.MyProperty(MessengerApi::DisplayPictureCode).value().variant().toString();
    }

private:
    void end(bool hard)
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        hard ? m_process.kill() : m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        waitForName(false);
    }
    bool waitForName(bool owned) const
    {
        const auto named = [] {
            return QDBusConnection::sessionBus().interface()->isServiceRegistered(
                MessengerApi::ServiceName);
        };
        const auto gone = [&] { return owned && m_process.state() == QProcess::NotRunning; };
        (void)QTest::qWaitFor([&] { return named() == owned || gone(); }, 20000);
        return named() == owned;
    }

    QProcess m_process;
};
