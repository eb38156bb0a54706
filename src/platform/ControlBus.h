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

// Asks the running copy to bring its window forward; waits for nothing.
void showRunningCopy(const QDBusConnection& bus);

// Calls one of the running copy's methods (Next, Previous, Pause, Resume, Show); the failure says
// why in the user's words: the running copy's own reason when it refused, "Dorvane is not
// running." when no copy owns the name. Only the process `lockHolder` (the one that holds the
// single-instance lock) is taken for the running copy: another program that holds the name is
// never asked.
Result<void> request(const QString& method, qint64 lockHolder, const QDBusConnection& bus);
// The running copy's properties by their bus names.
Result<QVariantMap> state(qint64 lockHolder, const QDBusConnection& bus);

} // namespace ControlBus
