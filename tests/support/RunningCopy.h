#pragma once

#include "MainWindowFixture.h"
#include "platform/ControlBus.h"
#include "platform/ControlService.h"
#include <QProcess>

// The running copy of the tests: a window whose controller owns Dorvane's name on the test's bus.
struct RunningCopy : MainWindowFixture
{
    bool run(const Start& how) { return start(how) && window->controlService()->publish(); }
    ~RunningCopy()
    {
        QDBusConnection::sessionBus().unregisterService(ControlBus::ServiceName);
        QDBusConnection::sessionBus().unregisterObject(ControlBus::ObjectPath);
    }
};

// `dvn` run to its end as a shell without a display runs it; exitCode -1: it crashed, or did not
// end within 20 s.
struct DvnRun
{
    int exitCode = -1;
    QString output, errors;
};
inline DvnRun runDvn(const QStringList& arguments, const std::function<void()>& inChild = {})
{
    QProcess dvn;
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        bare.remove(name);
    dvn.setProcessEnvironment(bare);
    if (inChild)
        dvn.setChildProcessModifier(inChild);
    dvn.start(DORVANE_PROGRAM_PATH, arguments);
    // The copy it asks may be a window of this process: wait in the event loop.
    if (!QTest::qWaitFor([&] { return dvn.state() == QProcess::NotRunning; }, 20000)) {
        dvn.kill();
        dvn.waitForFinished();
    }
    return {dvn.exitStatus() == QProcess::NormalExit ? dvn.exitCode() : -1,
            dvn.readAllStandardOutput(), dvn.readAllStandardError()};
}
