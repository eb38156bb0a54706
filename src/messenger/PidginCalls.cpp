#include "PidginCalls.h"

#include "messenger/BusFailure.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>

namespace PidginCalls {

QDBusPendingCall send(const QDBusConnection& bus, const QString& method,
                      const QList<QVariant>& args)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(ServiceName, ObjectPath, InterfaceName, method);
    message.setArguments(args);
    return bus.asyncCall(message, CallTimeoutMs);
}

void call(QObject* owner, const QDBusConnection& bus, const QString& method,
          const QList<QVariant>& args, std::function<void(Result<QDBusMessage>)> answered)
{
    // A call to a name nobody owns fails at once, like a refused call.
    auto* watcher = new QDBusPendingCallWatcher(send(bus, method, args), owner);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, owner,
                     [watcher, answered = std::move(answered)] {
                         watcher->deleteLater();
                         const QDBusMessage reply = watcher->reply();
                         if (isReply(reply))
                             answered(reply);
                         else
                             answered(Failure{errorOf(reply)});
                     });
}

void awaitAll(QObject* owner, const QList<QDBusPendingCall>& calls, std::function<void()> then)
{
    // Pidgin answers in order, so the last call is watched; should an earlier one still be
    // out when it has come, that one is watched next.
    for (qsizetype i = calls.size() - 1; i >= 0; --i) {
        if (calls.at(i).isFinished())
            continue;
        auto* watcher = new QDBusPendingCallWatcher(calls.at(i), owner);
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, owner,
                         [owner, watcher, rest = calls.mid(0, i), then = std::move(then)] {
                             watcher->deleteLater();
                             awaitAll(owner, rest, then);
                         });
        return;
    }
    then();
}

QString errorOf(const QDBusMessage& reply)
{
    return BusFailure::describe(reply, QStringLiteral("Pidgin"), CallTimeoutMs);
}

bool isReply(const QDBusMessage& reply)
{
    return reply.type() == QDBusMessage::ReplyMessage;
}

std::optional<QList<int>> handlesOf(const QDBusMessage& reply)
{
    if (!isReply(reply) || reply.arguments().isEmpty())
        return std::nullopt;
    const QVariant value = reply.arguments().first();
    if (value.canConvert<QDBusArgument>()) {
        const QDBusArgument argument = value.value<QDBusArgument>();
        if (argument.currentSignature() != QLatin1String("ai"))
            return std::nullopt;
    } else if (value.metaType() != QMetaType::fromType<QList<int>>()) {
        return std::nullopt;
    }
    return qdbus_cast<QList<int>>(value);
}

std::optional<QString> stringOf(const QDBusMessage& reply)
{
    if (!isReply(reply) || reply.arguments().isEmpty() ||
        reply.arguments().first().metaType() != QMetaType::fromType<QString>())
        return std::nullopt;
    return reply.arguments().first().toString();
}

} // namespace PidginCalls
