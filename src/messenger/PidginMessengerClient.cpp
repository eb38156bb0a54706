#include "PidginMessengerClient.h"

#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QObject>

#include <algorithm>

const QString PidginMessengerClient::ServiceName = QStringLiteral("im.pidgin.purple.PurpleService");
const QString PidginMessengerClient::ObjectPath = QStringLiteral("/im/pidgin/purple/PurpleObject");
const QString PidginMessengerClient::InterfaceName =
    QStringLiteral("im.pidgin.purple.PurpleInterface");
const QString PidginMessengerClient::BuddyIconPref = QStringLiteral("/pidgin/accounts/buddyicon");
const QString PidginMessengerClient::InvalidHandleError =
    QStringLiteral("im.pidgin.purple.InvalidHandle");

namespace {

QString replyError(const QDBusMessage& reply)
{
    return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
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

// Pidgin lists buddies in no stable order; by name, without regard to case first, so that the
// same list always comes out the same.
bool byName(const MessengerContact& a, const MessengerContact& b)
{
    const int folded = a.signinName.compare(b.signinName, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.signinName < b.signinName;
}

} // namespace

PidginMessengerClient::PidginMessengerClient(const QDBusConnection& connection)
    : m_connection(connection)
{
}

Result<void> PidginMessengerClient::checkReadablePicture(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return Failure{QObject::tr("%1 is not a file.").arg(path)};
    // Decoding the whole picture, not only its header, also catches a truncated file.
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (reader.read().isNull())
        return Failure{
            QObject::tr("%1 cannot be read as a picture: %2").arg(path, reader.errorString())};
    return {};
}

QDBusMessage PidginMessengerClient::message(const QString& method,
                                            const QList<QVariant>& args) const
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(ServiceName, ObjectPath, InterfaceName, method);
    message.setArguments(args);
    return message;
}

Result<QDBusMessage> PidginMessengerClient::callReply(const QString& method,
                                                      const QList<QVariant>& args) const
{
    // A call to a name nobody owns fails at once, like a refused call.
    QDBusMessage reply = m_connection.call(message(method, args), QDBus::Block, CallTimeoutMs);
    if (!isReply(reply))
        return Failure{replyError(reply)};
    return reply;
}

Result<QString> PidginMessengerClient::callString(const QString& method,
                                                  const QList<QVariant>& args) const
{
    const auto reply = callReply(method, args);
    if (!reply)
        return Failure{reply.error()};
    if (auto text = stringOf(*reply))
        return *text;
    return Failure{QObject::tr("Pidgin sent an unexpected answer to %1.").arg(method)};
}

Result<QList<int>> PidginMessengerClient::callHandles(const QString& method,
                                                      const QList<QVariant>& args) const
{
    const auto reply = callReply(method, args);
    if (!reply)
        return Failure{reply.error()};
    if (auto handles = handlesOf(*reply))
        return *handles;
    return Failure{QObject::tr("Pidgin sent an unexpected answer to %1.").arg(method)};
}

bool PidginMessengerClient::isRunning() const
{
    QDBusConnectionInterface* bus = m_connection.interface();
    return bus && bus->isServiceRegistered(ServiceName).value();
}

Result<void> PidginMessengerClient::setIconPath(const QString& path)
{
    const auto reply = callReply(QStringLiteral("PurplePrefsSetPath"), {BuddyIconPref, path});
    if (!reply)
        return Failure{reply.error()};
    return {};
}

Result<void> PidginMessengerClient::setMyProperty(int code, const QVariant& value)
{
    if (code != DisplayPictureProperty)
        return Failure{QObject::tr("Pidgin has no property %1.").arg(code)};
    if (value.metaType() != QMetaType::fromType<QString>())
        return Failure{QObject::tr("The display picture must be given as a path.")};
    // Pidgin reads the file from its own working folder; make it the file checked here.
    const QString text = value.toString();
    const QString path = text.isEmpty() ? text : QFileInfo(text).absoluteFilePath();
    if (Result<void> readable = checkReadablePicture(path); !readable)
        return readable;

    const auto current = callString(QStringLiteral("PurplePrefsGetPath"), {BuddyIconPref});
    if (!current)
        return Failure{current.error()};
    // Pidgin ignores a pref set to the value it already has, so a file changed under the same
    // name would never be taken: clear the pref first.
    if (*current == path) {
        if (Result<void> cleared = setIconPath(QString()); !cleared)
            return cleared;
    }
    return setIconPath(path);
}

Result<QVariant> PidginMessengerClient::myProperty(int code)
{
    if (code != DisplayPictureProperty)
        return Failure{QObject::tr("Pidgin has no property %1.").arg(code)};
    const auto path = callString(QStringLiteral("PurplePrefsGetPath"), {BuddyIconPref});
    if (!path)
        return Failure{path.error()};
    return QVariant(*path);
}

Result<QList<MessengerContact>> PidginMessengerClient::myContacts()
{
    const auto accounts = callHandles(QStringLiteral("PurpleAccountsGetAllActive"), {});
    if (!accounts)
        return Failure{accounts.error()};

    // Every account's buddies, then every buddy's name and alias, each round sent at once and
    // then awaited: a long buddy list costs a few round trips, not two per buddy.
    auto awaitAll = [](QList<QDBusPendingCall>& calls) {
        for (QDBusPendingCall& pending : calls)
            pending.waitForFinished();
    };
    QList<QDBusPendingCall> buddyCalls;
    for (int account : *accounts)
        buddyCalls.append(m_connection.asyncCall(
            message(QStringLiteral("PurpleFindBuddies"), {account, QString()}), CallTimeoutMs));
    awaitAll(buddyCalls);

    QList<QList<int>> buddiesPerAccount;
    for (const QDBusPendingCall& pending : buddyCalls) {
        const QDBusMessage reply = pending.reply();
        // An account removed while we read simply has no buddies any more.
        if (reply.errorName() == InvalidHandleError) {
            buddiesPerAccount.append(QList<int>());
            continue;
        }
        if (!isReply(reply))
            return Failure{replyError(reply)};
        const auto buddies = handlesOf(reply);
        if (!buddies)
            return Failure{QObject::tr("Pidgin sent an unexpected buddy list.")};
        buddiesPerAccount.append(*buddies);
    }

    QList<QDBusPendingCall> nameCalls;
    for (const QList<int>& buddies : buddiesPerAccount) {
        for (int buddy : buddies) {
            nameCalls.append(m_connection.asyncCall(
                message(QStringLiteral("PurpleBuddyGetName"), {buddy}), CallTimeoutMs));
            nameCalls.append(m_connection.asyncCall(
                message(QStringLiteral("PurpleBuddyGetAlias"), {buddy}), CallTimeoutMs));
        }
    }
    awaitAll(nameCalls);

    QList<MessengerContact> contacts;
    qsizetype next = 0;
    for (const QList<int>& buddies : buddiesPerAccount) {
        QList<MessengerContact> ofAccount;
        for (qsizetype i = 0; i < buddies.size(); ++i, next += 2) {
            const QDBusMessage nameReply = nameCalls.at(next).reply();
            const QDBusMessage aliasReply = nameCalls.at(next + 1).reply();
            // A buddy removed while we read is left out.
            if (nameReply.errorName() == InvalidHandleError ||
                aliasReply.errorName() == InvalidHandleError)
                continue;
            for (const QDBusMessage& reply : {nameReply, aliasReply}) {
                if (!isReply(reply))
                    return Failure{replyError(reply)};
            }
            const auto name = stringOf(nameReply);
            const auto alias = stringOf(aliasReply);
            if (!name || !alias)
                return Failure{QObject::tr("Pidgin sent an unexpected buddy name.")};
            ofAccount.append(MessengerContact{*name, *alias});
        }
        std::stable_sort(ofAccount.begin(), ofAccount.end(), byName);
        contacts += ofAccount;
    }
    return contacts;
}

QString PidginMessengerClient::cacheFolder() const
{
    return callString(QStringLiteral("PurpleBuddyIconsGetCacheDir"), {}).valueOr(QString());
}
