#pragma once

#include <QProcess>
#include <QStringList>

// The Messenger stand-in on the test's session bus, without a window.
class StandinProcess
{
public:
    StandinProcess() = default;
    ~StandinProcess() { stop(); }
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;

    // Starts it and waits until it owns the bus name; false when it did not come up.
    bool start(const QStringList& arguments = {});
    // Ends it the hard way, as a crash would.
    void kill();
    void stop();

    static bool nameHasOwner();

private:
    bool waitForName(bool owned) const;

    QProcess m_process;
};
