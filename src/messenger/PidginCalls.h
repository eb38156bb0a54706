#pragma once

#include "core/Result.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QObject>

#include <functional>

// Calls on Pidgin's automation interface that never wait: each answer arrives later, from the
// event loop, to the `owner` given, and never once the owner is gone.
namespace PidginCalls {

inline const QString ServiceName = QStringLiteral("im.pidgin.purple.PurpleService");
inline const QString ObjectPath = QStringLiteral("/im/pidgin/purple/PurpleObject");
inline const QString InterfaceName = QStringLiteral("im.pidgin.purple.PurpleInterface");
// Pidgin answers with this error name for a handle that no longer exists (a buddy or an account
// removed while we read).
inline const QString InvalidHandleError = QStringLiteral("im.pidgin.purple.InvalidHandle");
constexpr int CallTimeoutMs = 2000;

QDBusPendingCall send(const QDBusConnection& bus, const QString& method,
                      const QList<QVariant>& args);
// The reply of one call; fails when the call failed or timed out.
void call(QObject* owner, const QDBusConnection& bus, const QString& method,
          const QList<QVariant>& args, std::function<void(Result<QDBusMessage>)> answered);
// `then` runs once every one of the calls has its answer.
void awaitAll(QObject* owner, const QList<QDBusPendingCall>& calls, std::function<void()> then);

// A failed reply in the user's words.
QString errorOf(const QDBusMessage& reply);
bool isReply(const QDBusMessage& reply);
std::optional<QString> stringOf(const QDBusMessage& reply);
std::optional<QList<int>> handlesOf(const QDBusMessage& reply);

} // namespace PidginCalls
