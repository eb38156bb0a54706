#pragma once

#include <QDBusMessage>
#include <QString>

namespace BusFailure {

// A failed call's reply in the user's words. The bus's own wording for a peer that is not there,
// does not answer or answers with something else than the call expects speaks of .service files,
// security policies and signatures; the user is told what it means about `peer` (who was called:
// "Dorvane", "Pidgin") instead. The peer's own refusals pass unchanged.
QString describe(const QDBusMessage& reply, const QString& peer, int timeoutMs);

} // namespace BusFailure
