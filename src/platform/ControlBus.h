#pragma once

#include "core/Result.h"

#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

// Dorvane's own name on the session bus: the running copy owns it and answers through it, and a
// second copy or the command line reaches the running copy through it. Nothing here deletes or
// writes a file.
namespace ControlBus {

inline const QString ServiceName = QStringLiteral("example.dorvane.Dorvane");
inline const QString ObjectPath = QStringLiteral("/example/dorvane/Dorvane");
inline const QString InterfaceName = QStringLiteral("example.dorvane.Dorvane");

// Asks the running copy to bring its window forward; false when none answers.
bool showRunningCopy(const QDBusConnection& bus = QDBusConnection::sessionBus());

// Calls one of the running copy's methods (Next, Previous, Pause, Resume, Show); the failure says
// why in the user's words: the running copy's own reason when it refused, "Dorvane is not
// running." when no copy owns the name.
Result<void> request(const QString& method,
                     const QDBusConnection& bus = QDBusConnection::sessionBus());
// The running copy's properties by their bus names.
Result<QVariantMap> state(const QDBusConnection& bus = QDBusConnection::sessionBus());

} // namespace ControlBus
