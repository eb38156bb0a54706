#pragma once

#include <QProcess>
#include <QStringList>

// Runs the Messenger stand-in on the test's session bus, without a window.
class StandinProcess
{
public:
    StandinProcess() = default;
    ~StandinProcess();
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;

    // Starts it and waits until it owns the bus name; false when it did not come up.
    bool start(const QStringList& extraArguments = {});
    // Ends it the hard way, as a crash would.
    void kill();
    void stop();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    static bool nameHasOwner();

private:
    QProcess m_process;
};
