#include "SessionBus.h"

#include <QCoreApplication>
#include <QList>
#include <QMutex>
#include <QPointer>

#include <thread>

namespace SessionBus {

namespace {

struct Waiting
{
    QPointer<QObject> context;
    std::function<void(const QDBusConnection&)> ready;
};

struct State
{
    QMutex mutex;
    bool started = false;
    bool ready = false;
    QList<Waiting> waiting;
};

// Never destroyed: the connecting thread may still be waiting for a stalled bus at exit.
State& state()
{
    static State* const shared = new State;
    return *shared;
}

void connectInBackground()
{
    // Not a thread of the global pool: the program waits for those at exit, and a stalled
    // daemon would hold this one for as long as it is stalled.
    std::thread([] {
        (void)QDBusConnection::sessionBus();
        State& s = state();
        const QMutexLocker lock(&s.mutex);
        s.ready = true;
        QList<Waiting> waiting = std::exchange(s.waiting, {});
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app,
                [waiting = std::move(waiting)] {
                    for (const Waiting& one : waiting) {
                        if (one.context)
                            one.ready(QDBusConnection::sessionBus());
                    }
                },
                Qt::QueuedConnection);
    }).detach();
}

} // namespace

bool isReady()
{
    State& s = state();
    const QMutexLocker lock(&s.mutex);
    return s.ready;
}

void whenReady(QObject* context, std::function<void(const QDBusConnection&)> ready)
{
    State& s = state();
    QMutexLocker lock(&s.mutex);
    if (s.ready) {
        lock.unlock();
        ready(QDBusConnection::sessionBus());
        return;
    }
    s.waiting.append({context, std::move(ready)});
    if (!std::exchange(s.started, true))
        connectInBackground();
}

} // namespace SessionBus
