#include "BusFailure.h"

#include "core/language/Texts.h"
#include <QDBusError>

namespace BusFailure {

QString describe(const QDBusMessage& reply, const QString& peer, int timeoutMs)
{
    // A call to a name nobody owns, or the bus's answer to a question about one.
    if (QDBusError(reply).type() == QDBusError::ServiceUnknown ||
        reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return Texts::text(Text::PeerNotRunning).arg(peer);
    switch (QDBusError(reply).type()) {
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return Texts::text(Text::NoAnswerInTime).arg(peer).arg(timeoutMs / 1000);
    case QDBusError::InvalidSignature: // an answer of another kind than the call expects
        return Texts::text(Text::PeerOddAnswer).arg(peer);
    default:
        return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    }
}

} // namespace BusFailure
