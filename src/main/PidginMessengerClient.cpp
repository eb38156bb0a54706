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

bool PidginMessengerClient::isReadablePicture(const QString& path, QString* reason)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        if (reason)
            *reason = QObject::tr("%1 is not a file.").arg(path);
        return false;
    }
    // Decoding the whole picture, not only its header, also catches a truncated file.
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) {
        if (reason)
            *reason =
                QObject::tr("%1 cannot be read as a picture: %2").arg(path, reader.errorString());
        return false;
    }
    return true;
}

QDBusMessage PidginMessengerClient::message(const QString& method,
                                            const QList<QVariant>& args) const
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(ServiceName, ObjectPath, InterfaceName, method);
    message.setArguments(args);
    return message;
}

std::optional<QDBusMessage> PidginMessengerClient::callReply(const QString& method,
                                                             const QList<QVariant>& args,
                                                             QString* error) const
{
    // A call to a name nobody owns fails at once, like a refused call.
    QDBusMessage reply = m_connection.call(message(method, args), QDBus::Block, CallTimeoutMs);
    if (!isReply(reply)) {
        if (error)
            *error = replyError(reply);
        return std::nullopt;
    }
    return reply;
}

std::optional<QList<QVariant>> PidginMessengerClient::call(const QString& method,
                                                           const QList<QVariant>& args,
                                                           QString* error) const
{
    const auto reply = callReply(method, args, error);
    if (!reply)
        return std::nullopt;
    return reply->arguments();
}

std::optional<QString> PidginMessengerClient::callString(const QString& method,
                                                         const QList<QVariant>& args,
                                                         QString* error) const
{
    const auto reply = callReply(method, args, error);
    if (!reply)
        return std::nullopt;
    auto text = stringOf(*reply);
    if (!text && error)
        *error = QObject::tr("Pidgin sent an unexpected answer to %1.").arg(method);
    return text;
}

std::optional<QList<int>> PidginMessengerClient::callHandles(const QString& method,
                                                             const QList<QVariant>& args,
                                                             QString* error) const
{
    const auto reply = callReply(method, args, error);
    if (!reply)
        return std::nullopt;
    auto handles = handlesOf(*reply);
    if (!handles && error)
        *error = QObject::tr("Pidgin sent an unexpected answer to %1.").arg(method);
    return handles;
}

bool PidginMessengerClient::isRunning() const
{
    QDBusConnectionInterface* bus = m_connection.interface();
    return bus && bus->isServiceRegistered(ServiceName).value();
}

bool PidginMessengerClient::setIconPath(const QString& path, QString* error)
{
    return call(QStringLiteral("PurplePrefsSetPath"), {BuddyIconPref, path}, error).has_value();
}

bool PidginMessengerClient::setMyProperty(int code, const QVariant& value, QString* error)
{
    if (code != DisplayPictureProperty) {
        if (error)
            *error = QObject::tr("Pidgin has no property %1.").arg(code);
        return false;
    }
    if (value.metaType() != QMetaType::fromType<QString>()) {
        if (error)
            *error = QObject::tr("The display picture must be given as a path.");
        return false;
    }
    // Pidgin reads the file from its own working folder; make it the file checked here.
    const QString text = value.toString();
    const QString path = text.isEmpty() ? text : QFileInfo(text).absoluteFilePath();
    QString reason;
    if (!isReadablePicture(path, &reason)) {
        if (error)
            *error = reason;
        return false;
    }

    const auto current = callString(QStringLiteral("PurplePrefsGetPath"), {BuddyIconPref}, error);
    if (!current)
        return false;
    // Pidgin ignores a pref set to the value it already has, so a file changed under the same
    // name would never be taken: clear the pref first.
    if (*current == path && !setIconPath(QString(), error))
        return false;
    return setIconPath(path, error);
}

std::optional<QVariant> PidginMessengerClient::myProperty(int code, QString* error)
{
    if (code != DisplayPictureProperty) {
        if (error)
            *error = QObject::tr("Pidgin has no property %1.").arg(code);
        return std::nullopt;
    }
    const auto path = callString(QStringLiteral("PurplePrefsGetPath"), {BuddyIconPref}, error);
    if (!path)
        return std::nullopt;
    return QVariant(*path);
}

std::optional<QList<MessengerContact>> PidginMessengerClient::myContacts(QString* error)
{
    const auto accounts = callHandles(QStringLiteral("PurpleAccountsGetAllActive"), {}, error);
    if (!accounts)
        return std::nullopt;

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
        if (!isReply(reply)) {
            if (error)
                *error = replyError(reply);
            return std::nullopt;
        }
        const auto buddies = handlesOf(reply);
        if (!buddies) {
            if (error)
                *error = QObject::tr("Pidgin sent an unexpected buddy list.");
            return std::nullopt;
        }
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
                if (!isReply(reply)) {
                    if (error)
                        *error = replyError(reply);
                    return std::nullopt;
                }
            }
            const auto name = stringOf(nameReply);
            const auto alias = stringOf(aliasReply);
            if (!name || !alias) {
                if (error)
                    *error = QObject::tr("Pidgin sent an unexpected buddy name.");
                return std::nullopt;
            }
            ofAccount.append(MessengerContact{*name, *alias});
        }
        std::stable_sort(ofAccount.begin(), ofAccount.end(), byName);
        contacts += ofAccount;
    }
    return contacts;
}

QString PidginMessengerClient::cacheFolder() const
{
    return callString(QStringLiteral("PurpleBuddyIconsGetCacheDir"), {}, nullptr)
        .value_or(QString());
}
