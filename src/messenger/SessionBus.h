#pragma once

#include <QDBusConnection>
#include <QObject>

#include <functional>

// The session bus, reached without the window's thread ever waiting for it: the first connection
// waits for the bus daemon's handshake (for as long as the daemon is stalled), so it is made on a
// thread of its own, and the callers are told when it is there.
namespace SessionBus {

// True once the handshake is over, whether it succeeded or not; from then on
// QDBusConnection::sessionBus() returns at once.
bool isReady();

// Calls `ready` with the session bus (not connected when there is none) once the handshake is
// over: at once when it already is, else later on `context`'s thread, unless `context` is gone.
// The first call starts the connection.
void whenReady(QObject* context, std::function<void(const QDBusConnection&)> ready);

} // namespace SessionBus
