#include "MessengerService.h"

#include "MessengerAccount.h"
#include "standin/MessengerApiAdaptor.h"

#include "messenger/MessengerApi.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QTextStream>

namespace standin {

MessengerService::MessengerService(MessengerAccount* account, bool hang, QObject* parent)
    : QObject(parent), m_account(account), m_hang(hang)
{
    MessengerContact::registerMetaTypes();
    new MessengerApiAdaptor(this);
}

bool MessengerService::registerOn(QDBusConnection& bus, QString* error)
{
    const QString& service = MessengerApi::ServiceName;
    if (!bus.isConnected()) {
        *error = QStringLiteral("no session bus: %1").arg(bus.lastError().message());
        return false;
    }
    if (!bus.registerObject(MessengerApi::ObjectPath, this)) {
        *error = QStringLiteral("cannot export %1: %2")
                     .arg(MessengerApi::ObjectPath, bus.lastError().message());
        return false;
    }
    if (!bus.registerService(service)) {
        const QString owner = bus.interface()->serviceOwner(service).value();
        *error = owner.isEmpty()
                     ? QStringLiteral("cannot own the bus name %1: %2")
                           .arg(service, bus.lastError().message())
                     : QStringLiteral("the bus name %1 is already owned by %2").arg(service, owner);
        bus.unregisterObject(MessengerApi::ObjectPath);
        return false;
    }
    return true;
}

void MessengerService::SetMyProperty(int code, const QDBusVariant& value)
{
    if (holdBack())
        return;
    if (!m_account->isSignedIn())
        return refuse(QLatin1String(NotSignedInError), QStringLiteral("Nobody is signed in."));
    if (code != MessengerApi::DisplayPictureCode)
        return refuse(QDBusError::errorString(QDBusError::InvalidArgs),
                      QStringLiteral("Unknown property code %1.").arg(code));
    const QVariant path = value.variant();
    if (path.metaType() != QMetaType::fromType<QString>())
        return refuse(QDBusError::errorString(QDBusError::InvalidArgs),
                      QStringLiteral("The display picture must be given as a string path, "
                                     "not %1.")
                          .arg(QString::fromLatin1(path.metaType().name())));
    QString reason;
    if (!m_account->setDisplayPicture(path.toString(), &reason))
        return refuse(QLatin1String(InvalidPictureError), reason);
    QTextStream(stdout) << "display-picture " << path.toString() << Qt::endl;
}

QDBusVariant MessengerService::MyProperty(int code)
{
    if (holdBack())
        return {};
    if (code != MessengerApi::DisplayPictureCode) {
        refuse(QDBusError::errorString(QDBusError::InvalidArgs),
               QStringLiteral("Unknown property code %1.").arg(code));
        return {};
    }
    return QDBusVariant(m_account->displayPicturePath());
}

QList<Contact> MessengerService::MyContacts()
{
    if (holdBack())
        return {};
    if (!m_account->isSignedIn()) {
        refuse(QLatin1String(NotSignedInError), QStringLiteral("Nobody is signed in."));
        return {};
    }
    return m_account->contacts().contacts();
}

bool MessengerService::holdBack()
{
    if (!m_hang || !calledFromDBus())
        return false;
    setDelayedReply(true);
    return true;
}

void MessengerService::refuse(const QString& errorName, const QString& message)
{
    if (calledFromDBus())
        sendErrorReply(errorName, message);
}

} // namespace standin
