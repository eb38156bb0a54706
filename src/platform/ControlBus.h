#pragma once

#include "core/Result.h"

#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

class RotationControl;

// Dorvane's own name on the session bus: the running copy owns it and answers through it, and a
// second copy or the command line reaches the running copy through it. Nothing here deletes or
// writes a file.
namespace ControlBus {

inline const QString ServiceName = QStringLiteral("example.dorvane.Dorvane");
inline const QString ObjectPath = QStringLiteral("/example/dorvane/Dorvane");
inline const QString InterfaceName = QStringLiteral("example.dorvane.Dorvane");

// Exports the controller on the bus and takes the name; false when the name is taken or there is
// no bus. The controller must outlive the connection's use of it.
bool publish(RotationControl* control, QDBusConnection bus = QDBusConnection::sessionBus());

// Asks the running copy to bring its window forward; false when none answers.
bool showRunningCopy(const QDBusConnection& bus = QDBusConnection::sessionBus());

// Calls one of the running copy's methods (Next, Pause, Resume, Show); the failure says why in
// the user's words, "Dorvane is not running." when no copy owns the name.
Result<void> request(const QString& method,
                     const QDBusConnection& bus = QDBusConnection::sessionBus());
// The running copy's properties by their bus names.
Result<QVariantMap> state(const QDBusConnection& bus = QDBusConnection::sessionBus());

} // namespace ControlBus
